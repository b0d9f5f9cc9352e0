#include "app/keypadview/keydisplay.h"

#include "app/look/widgetstyle.h"
#include "model/labels.h"
#include "model/translation.h"

#include <QLabel>
#include <QStringList>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kKeyDisplayMinHeight = 80;
constexpr int kKeyDisplayMaxHeight = 150;

constexpr double kInputFrameShare = 0.2;
constexpr int kInputFrameMinWidth = 250;
constexpr int kInputFrameMaxWidth = 500;
// Narrower windows than this take the frame's width down with them.
constexpr int kFloorWidth = 1200;

constexpr QChar kNoBreakSpace(0x00A0);

// Spaces inside a key's name ("Num Lock") and before a combination's "+"
// never break; the breaks left fall between keys and between macro steps.
QString breakingOnlyBetweenSteps(const QString &text)
{
    const QString arrow = QString::fromLatin1(kMacroArrowSpan);
    if (text.contains(arrow)) {
        QStringList steps = text.split(arrow);
        for (QString &step : steps)
            step.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
        return steps.join(arrow);
    }
    QStringList keys = text.split(QStringLiteral(" + "));
    for (QString &key : keys)
        key.replace(QLatin1Char(' '), kNoBreakSpace);
    return keys.join(QString(kNoBreakSpace) + QStringLiteral("+ "));
}

} // namespace

KeyDisplay::KeyDisplay(QObject *parent)
    : QObject(parent)
{
}

QWidget *KeyDisplay::build()
{
    m_frame = new QWidget;
    m_frame->setObjectName(QStringLiteral("inputFrame"));

    m_heading = new QLabel;
    m_heading->setObjectName(QStringLiteral("keyDisplayHeading"));
    m_heading->setStyleSheet(QStringLiteral(
        "QLabel { background: transparent; color: #555555; font-size: 13px;"
        " font-weight: bold; padding-left: 8px; }"));

    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("keyDisplayHint"));
    m_hint->setWordWrap(true);
    m_hint->setStyleSheet(QStringLiteral(
        "QLabel { background: transparent; color: #6b6b6b; font-size: 11px;"
        " padding: 0 8px; }"));
    m_hint->hide();

    m_display = new QTextEdit;
    m_display->setReadOnly(true);
    m_display->setPlaceholderText(QStringLiteral("Key Function Display Area"));
    m_display->setMinimumHeight(kKeyDisplayMinHeight);
    m_display->setMaximumHeight(kKeyDisplayMaxHeight);
    m_display->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_display->setLineWrapMode(QTextEdit::WidgetWidth);
    m_display->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_display->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_display->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_display->setStyleSheet(keyDisplayStyleSheet());
    m_display->setAccessibleName(translateText(QStringLiteral("Function of the selected key")));

    auto *layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(0);
    layout->addStretch();
    layout->addWidget(m_heading);
    layout->addWidget(m_display);
    layout->addWidget(m_hint);
    layout->addStretch();
    return m_frame;
}

void KeyDisplay::fitToWindowWidth(int windowWidth)
{
    // Narrower than the floor's width, the frame gives up its share.
    m_frame->setFixedWidth(
        windowWidth >= kFloorWidth
            ? qBound(kInputFrameMinWidth, qRound(kInputFrameShare * windowWidth),
                     kInputFrameMaxWidth)
            : qRound(double(kInputFrameMinWidth) * windowWidth / kFloorWidth));
}

void KeyDisplay::showText(const QString &controlName, const QString &text)
{
    m_heading->setText(controlName);
    if (text.contains(QLatin1String("<span")))
        m_display->setHtml(breakingOnlyBetweenSteps(text));
    else
        m_display->setPlainText(breakingOnlyBetweenSteps(translateText(text)));
    m_display->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void KeyDisplay::clear()
{
    m_heading->clear();
    m_display->clear();
}

void KeyDisplay::setHint(const QString &hint)
{
    m_hint->setText(hint);
    m_hint->setVisible(!hint.isEmpty());
}

void KeyDisplay::showPlaceholder()
{
    m_display->setPlaceholderText(
        translateText(QStringLiteral("Key Function Display Area")));
}
