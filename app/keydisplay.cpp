#include "app/keydisplay.h"

#include "app/widgetstyle.h"
#include "model/translation.h"

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

} // namespace

KeyDisplay::KeyDisplay(QObject *parent)
    : QObject(parent)
{
}

QWidget *KeyDisplay::build()
{
    m_frame = new QWidget;
    m_frame->setObjectName(QStringLiteral("inputFrame"));

    m_display = new QTextEdit;
    m_display->setReadOnly(true);
    m_display->setPlaceholderText(QStringLiteral("Key Function Display Area"));
    m_display->setMinimumHeight(kKeyDisplayMinHeight);
    m_display->setMaximumHeight(kKeyDisplayMaxHeight);
    m_display->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_display->setLineWrapMode(QTextEdit::WidgetWidth);
    m_display->setWordWrapMode(QTextOption::WrapAnywhere);
    m_display->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_display->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_display->setStyleSheet(keyDisplayStyleSheet());
    m_display->setAccessibleName(translateText(QStringLiteral("Function of the selected key")));

    auto *layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(0);
    layout->addStretch();
    layout->addWidget(m_display);
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

void KeyDisplay::showText(const QString &text)
{
    if (text.contains(QLatin1String("<span")))
        m_display->setHtml(text);
    else
        m_display->setPlainText(translateText(text));
    m_display->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void KeyDisplay::clear()
{
    m_display->clear();
}

void KeyDisplay::showPlaceholder()
{
    m_display->setPlaceholderText(
        translateText(QStringLiteral("Key Function Display Area")));
}
