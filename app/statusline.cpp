#include "app/statusline.h"

#include "model/translation.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kSavedStatusMs = 1500;
constexpr int kNoticeMs = 5000;
constexpr int kTipLabelHeight = 34;

const QString kDisconnectedStyle = QStringLiteral("color: #FF0000;");
const QString kConnectedStyle = QStringLiteral("color: #00FF00; font-weight: bold;");
const QString kFailureStyle = QStringLiteral("color: #FF0000; font-weight: bold;");
const QString kNoticeStyle = QStringLiteral("color: #FFB020; font-weight: bold;");
const QString kSavedStyle =
    QStringLiteral("background-color: #2d5a2d; color: #00FF00; font-weight: bold;");

} // namespace

StatusLine::StatusLine(QObject *parent)
    : QObject(parent)
{
}

QLabel *StatusLine::build()
{
    m_label = new QLabel;
    m_label->setObjectName(QStringLiteral("topTipBar"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setFixedHeight(kTipLabelHeight);
    return m_label;
}

void StatusLine::setEnabled(bool enabled)
{
    m_label->setEnabled(enabled);
}

void StatusLine::setConnected(bool connected)
{
    m_connected = connected;
    if (!connected && m_resetTimer)
        m_resetTimer->stop();
}

void StatusLine::showDisconnected()
{
    m_label->setToolTip(QString());
    m_label->setText(translateText(QStringLiteral("Connect the device with a usb cable")));
    m_label->setStyleSheet(kDisconnectedStyle);
}

void StatusLine::showConnected()
{
    m_label->setToolTip(QString());
    m_label->setText(translateText(QStringLiteral("Device connected")));
    m_label->setStyleSheet(kConnectedStyle);
}

void StatusLine::showSaved()
{
    // A result that comes in after the keypad went away must not turn the
    // line green again.
    if (!m_connected)
        return;
    m_label->setText(translateText(QStringLiteral("Saved successfully")));
    m_label->setStyleSheet(kSavedStyle);
    showFor(kSavedStatusMs);
}

void StatusLine::showFailure(const QString &text)
{
    if (m_resetTimer)
        m_resetTimer->stop();
    // A long reason from the system must not widen the window: the line
    // shows what fits, the tooltip all of it.
    m_label->setStyleSheet(kFailureStyle);
    const int room = m_label->width() - 8;
    const QFontMetrics metrics(m_label->font());
    m_label->setText(room > 0 ? metrics.elidedText(text, Qt::ElideRight, room) : text);
    m_label->setToolTip(text);
}

void StatusLine::showNotice(const QString &text)
{
    m_label->setText(text);
    m_label->setStyleSheet(kNoticeStyle);
    showFor(kNoticeMs);
}

void StatusLine::showFor(int ms)
{
    if (!m_resetTimer) {
        m_resetTimer = new QTimer(this);
        m_resetTimer->setSingleShot(true);
        connect(m_resetTimer, &QTimer::timeout, this, [this] {
            if (m_connected)
                showConnected();
            else
                showDisconnected();
        });
    }
    // One timer, restarted: a second message keeps its full time.
    m_resetTimer->start(ms);
}
