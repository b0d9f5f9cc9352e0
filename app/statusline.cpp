#include "app/statusline.h"

#include "model/translation.h"

#include <QLabel>
#include <QTimer>

namespace {

constexpr int kSavedStatusMs = 1500;
constexpr int kNoticeMs = 3000;
constexpr int kTipLabelHeight = 34;

const QString kDisconnectedStyle = QStringLiteral("color: #FF0000;");
const QString kConnectedStyle = QStringLiteral("color: #00FF00; font-weight: bold;");
const QString kNoticeStyle =
    QStringLiteral("background-color: #5a4a2d; color: #FFD060; font-weight: bold;");
const QString kSavedStyle =
    QStringLiteral("background-color: #2d5a2d; color: #00FF00; font-weight: bold;");

} // namespace

StatusLine::StatusLine(bool useChinese, QObject *parent)
    : QObject(parent)
    , m_useChinese(useChinese)
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

void StatusLine::setConnected(bool connected)
{
    m_connected = connected;
    if (!connected && m_resetTimer)
        m_resetTimer->stop();
}

void StatusLine::showDisconnected()
{
    m_label->setText(translateText(QStringLiteral("Connect the device with a usb cable"),
                                   m_useChinese));
    m_label->setStyleSheet(kDisconnectedStyle);
}

void StatusLine::showConnected()
{
    m_label->setText(translateText(QStringLiteral("Device connected"), m_useChinese));
    m_label->setStyleSheet(kConnectedStyle);
}

void StatusLine::showSaved()
{
    // A result that comes in after the keypad went away must not turn the
    // line green again.
    if (!m_connected)
        return;
    m_label->setText(translateText(QStringLiteral("Saved successfully"), m_useChinese));
    m_label->setStyleSheet(kSavedStyle);
    if (!m_resetTimer) {
        m_resetTimer = new QTimer(this);
        m_resetTimer->setSingleShot(true);
        m_resetTimer->setInterval(kSavedStatusMs);
        connect(m_resetTimer, &QTimer::timeout, this, [this] {
            if (m_connected)
                showConnected();
        });
    }
    // One timer, restarted: a second save keeps its message its full time.
    m_resetTimer->start();
}

void StatusLine::showNotice(const QString &text)
{
    m_label->setText(text);
    m_label->setStyleSheet(kNoticeStyle);
    if (!m_noticeTimer) {
        m_noticeTimer = new QTimer(this);
        m_noticeTimer->setSingleShot(true);
        m_noticeTimer->setInterval(kNoticeMs);
        connect(m_noticeTimer, &QTimer::timeout, this, [this] {
            if (m_connected)
                showConnected();
            else
                showDisconnected();
        });
    }
    m_noticeTimer->start();
}
