#include "widgets/macroblock.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtMath>

namespace {

constexpr int kBlockMargin = 4;
constexpr int kBlockSpacing = 2;
constexpr int kMaxBlockDelay = 9999;
// Spin boxes draw their text inset by a frame of their own.
constexpr int kSpinTextInset = 2;

constexpr auto kBlockStyle =
    "QWidget#macroBlock { background-color: #3a3a3a; border-radius: 6px; }"
    "QLabel { background-color: transparent; border: none; }"
    "QSpinBox { background-color: transparent; border: none; }";
constexpr auto kTitleStyle = "color: %1; font-size: %2px; font-weight: bold;";
constexpr auto kKeyNameStyle = "color: #ffffff; font-size: %1px; font-weight: bold;";
constexpr auto kDelaySpinStyle = "QSpinBox { color: #ffffff; font-size: %1px; font-weight: bold; }";

constexpr auto kDelayTitleColor = "#aaaaaa";
constexpr auto kPressTitleColor = "#5599ff";
constexpr auto kReleaseTitleColor = "#ff7755";

// Turning the wheel over a long flow scrolls it; a delay changes by wheel
// only once its editor was clicked.
class DelaySpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        if (hasFocus())
            QSpinBox::wheelEvent(event);
        else
            event->ignore();
    }
};

int scaled(double value, double ratio, int floor)
{
    return qMax(qRound(value * ratio), floor);
}

} // namespace

// Long texts ("Release", "LShift", "9999ms") are drawn smaller rather than
// cut off at the block's edges.
int MacroBlock::fittedPixelSize(const QString &text, int wantedPx, int inset) const
{
    const int available = width() - 2 * kBlockMargin - inset;
    // The block has its family from the flow, which has it from the window.
    QFont font = this->font();
    font.setBold(true);
    int px = wantedPx;
    for (; px > 6; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(text) <= available)
            break;
    }
    return px;
}

MacroBlockMetrics MacroBlockMetrics::forScale(double ratio)
{
    if (ratio <= 0)
        return {};
    MacroBlockMetrics m;
    m.side = scaled(70, ratio, 58);
    m.titlePx = scaled(16.5, ratio, 10);
    m.keyPx = scaled(21, ratio, 12);
    m.delayPx = scaled(15, ratio, 9);
    return m;
}

MacroBlock::MacroBlock(Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("macroBlock"));
    // A plain QWidget paints its style-sheet background only with this set.
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QLatin1String(kBlockStyle));

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(kBlockMargin, kBlockMargin, kBlockMargin, kBlockMargin);
    m_layout->setSpacing(kBlockSpacing);
    m_layout->setAlignment(Qt::AlignCenter);

    m_title = new QLabel(this);
    m_title->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_title, 0, Qt::AlignCenter);
}

MacroBlock *MacroBlock::createDelayBlock(int delay, const MacroBlockMetrics &metrics,
                                         QWidget *parent)
{
    auto *block = new MacroBlock(Kind::Delay, parent);
    block->m_title->setText(QStringLiteral("delay"));

    auto *spin = new DelaySpinBox(block);
    spin->setRange(0, kMaxBlockDelay);
    spin->setValue(delay);
    spin->setSuffix(QStringLiteral("ms"));
    spin->setAlignment(Qt::AlignCenter);
    spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    spin->setFocusPolicy(Qt::StrongFocus);
    block->m_delaySpin = spin;
    block->m_layout->addWidget(spin);
    connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), block, &MacroBlock::delayChanged);

    block->applyMetrics(metrics);
    return block;
}

MacroBlock *MacroBlock::createKeyBlock(bool press, const QString &keyName,
                                       const MacroBlockMetrics &metrics, QWidget *parent)
{
    auto *block = new MacroBlock(press ? Kind::Press : Kind::Release, parent);
    block->m_title->setText(press ? QStringLiteral("Press") : QStringLiteral("Release"));

    block->m_keyName = new QLabel(keyName, block);
    block->m_keyName->setAlignment(Qt::AlignCenter);
    block->m_layout->addWidget(block->m_keyName, 0, Qt::AlignCenter);

    block->applyMetrics(metrics);
    return block;
}

void MacroBlock::applyMetrics(const MacroBlockMetrics &metrics)
{
    setFixedSize(metrics.side, metrics.side);

    const char *titleColor = m_kind == Kind::Delay ? kDelayTitleColor
        : m_kind == Kind::Press                   ? kPressTitleColor
                                                  : kReleaseTitleColor;
    // Every title takes the size that fits the longest one, so a row of
    // blocks reads evenly.
    const int titlePx = fittedPixelSize(QStringLiteral("Release"), metrics.titlePx);
    m_title->setStyleSheet(
        QString::fromLatin1(kTitleStyle).arg(QLatin1String(titleColor)).arg(titlePx));

    if (m_delaySpin) {
        // Sized for the longest delay, so the text keeps its size while edited.
        const QString longest = QString::number(m_delaySpin->maximum()) + m_delaySpin->suffix();
        const int delayPx = fittedPixelSize(longest, metrics.delayPx, kSpinTextInset);
        m_delaySpin->setStyleSheet(QString::fromLatin1(kDelaySpinStyle).arg(delayPx));
    }
    if (m_keyName) {
        const int keyPx = fittedPixelSize(m_keyName->text(), metrics.keyPx);
        m_keyName->setStyleSheet(QString::fromLatin1(kKeyNameStyle).arg(keyPx));
    }
}
