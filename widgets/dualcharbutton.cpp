#include "widgets/dualcharbutton.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

constexpr double kMarginShare = 0.03;
constexpr double kLabelShare = 0.42;
constexpr double kFontShare = 0.15;
constexpr int kMinFontPoints = 6;
constexpr int kMaxFontPoints = 18;

} // namespace

DualCharButton::DualCharButton(const QString &mainText, const QString &smallText, QWidget *parent)
    : SharedBevelButton(mainText, parent)
    , m_mainText(mainText)
    , m_smallText(smallText)
    , m_smallLabel(new QLabel(smallText, this))
{
    m_smallLabel->setStyleSheet(QStringLiteral(
        "color: #FFFFFF;background: transparent;border: none;font-weight: bold;"));
    m_smallLabel->setAlignment(Qt::AlignCenter);
    m_smallLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DualCharButton::resizeEvent(QResizeEvent *event)
{
    SharedBevelButton::resizeEvent(event);
    placeSmallLabel();
}

void DualCharButton::showEvent(QShowEvent *event)
{
    SharedBevelButton::showEvent(event);
    placeSmallLabel();
}

void DualCharButton::placeSmallLabel()
{
    const int w = width();
    const int h = height();
    const int margin = qRound(kMarginShare * w);
    QFont labelFont = font();
    labelFont.setBold(true);
    labelFont.setPointSize(qBound(kMinFontPoints, qRound(kFontShare * h), kMaxFontPoints));
    m_smallLabel->setFont(labelFont);
    // On a narrow key the legend's share may be narrower than the legend:
    // it takes the room it needs, up to the key's width.
    const int textWidth = QFontMetrics(labelFont).horizontalAdvance(m_smallLabel->text());
    const int labelWidth = qMin(w - 2 * margin, qMax(qRound(kLabelShare * w), textWidth));
    m_smallLabel->setGeometry(margin, margin, labelWidth, qRound(kLabelShare * h));
    m_smallLabel->raise();
    m_smallLabel->show();
}
