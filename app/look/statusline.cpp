#include "app/look/statusline.h"

#include "model/translation.h"
#include "widgets/stylesheetupdate.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kSavedStatusMs = 1500;
// A saved status that says more than "Saved successfully" stays to be read.
constexpr int kSavedDetailMs = 4000;
constexpr int kProgressWidth = 140;
constexpr int kProgressHeight = 10;
constexpr int kNoticeMs = 5000;
constexpr int kDoneMs = 3000;
constexpr int kTipLabelHeight = 34;

const QString kDisconnectedStyle = QStringLiteral("color: #FF0000;");
const QString kConnectedStyle = QStringLiteral("color: #00FF00; font-weight: bold;");
const QString kFailureStyle = QStringLiteral("color: #FF0000; font-weight: bold;");
const QString kNoticeStyle = QStringLiteral("color: #FFB020; font-weight: bold;");
const QString kDoneStyle = QStringLiteral("color: #87CEFA; font-weight: bold;");
// Its own look: the line's colours would otherwise reach into the button.
const QString kAllowAccessStyle = QStringLiteral(
    "QPushButton { color: #FFFFFF; font-size: 14px; font-weight: normal; background: #3C3C3C;"
    " border: 1px solid #9A9A9A; border-radius: 4px; padding: 2px 10px; }"
    "QPushButton:hover { background: #505050; }"
    "QPushButton:disabled { color: #8A8A8A; }");
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
    // The bar sits inside the line, so the window's rows do not move while a
    // save runs.
    auto *row = new QHBoxLayout(m_label);
    row->setContentsMargins(0, 0, 8, 0);
    row->addStretch();
    m_progress = new QProgressBar(m_label);
    m_progress->setObjectName(QStringLiteral("saveProgress"));
    m_progress->setAccessibleName(translateText(QStringLiteral("Save progress")));
    m_progress->setTextVisible(false);
    m_progress->setFixedSize(kProgressWidth, kProgressHeight);
    m_progress->hide();
    row->addWidget(m_progress, 0, Qt::AlignVCenter);
    m_allowAccess = new QPushButton(translateText(QStringLiteral("Allow access…")), m_label);
    m_allowAccess->setObjectName(QStringLiteral("allowAccessButton"));
    m_allowAccess->setStyleSheet(kAllowAccessStyle);
    m_allowAccess->hide();
    connect(m_allowAccess, &QPushButton::clicked, this, &StatusLine::accessRequested);
    row->addWidget(m_allowAccess, 0, Qt::AlignVCenter);
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

void StatusLine::present(const Shown &shown)
{
    // A long text must not widen the window: the line shows what fits, the
    // tooltip all of it.
    // Before the window is laid out the line has no width to fit.
    // The text is centred, so a button at one end takes its width off both.
    m_allowAccess->setVisible(shown.offersAccess);
    const int buttonRoom = shown.offersAccess ? 2 * (m_allowAccess->sizeHint().width() + 8) : 0;
    const int room = m_label->isVisible() ? m_label->width() - 8 - buttonRoom : 0;
    const QFontMetrics metrics(m_label->font());
    const QString fitted =
        room > 0 ? metrics.elidedText(shown.text, Qt::ElideRight, room) : shown.text;
    m_label->setText(fitted);
    setStyleSheetIfChanged(m_label, shown.style);
    m_label->setToolTip(fitted != shown.text && shown.toolTip.isEmpty() ? shown.text
                                                                         : shown.toolTip);
}

void StatusLine::rest(const Shown &shown)
{
    m_resting = shown;
    present(shown);
}

void StatusLine::showDisconnected()
{
    rest({translateText(QStringLiteral("Connect the device with a usb cable")),
          kDisconnectedStyle, QString()});
}

void StatusLine::showConnected()
{
    rest({translateText(QStringLiteral("Device connected")), kConnectedStyle, QString()});
}

void StatusLine::showProgress(int done, int total)
{
    m_progress->setRange(0, qMax(0, total));
    m_progress->setValue(total > 0 ? qBound(0, done, total) : 0);
    m_progress->show();
}

void StatusLine::hideProgress()
{
    m_progress->hide();
}

void StatusLine::showSaved(const QString &text, const QString &toolTip)
{
    // A result that comes in after the keypad went away must not turn the
    // line green again.
    if (!m_connected)
        return;
    // After the moment of success the line says the keypad is there, even
    // when an earlier save had failed.
    m_resting = {translateText(QStringLiteral("Device connected")), kConnectedStyle, QString()};
    present({text.isEmpty() ? translateText(QStringLiteral("Saved successfully")) : text,
             kSavedStyle, toolTip});
    showFor(text.isEmpty() ? kSavedStatusMs : kSavedDetailMs);
}

void StatusLine::showFailure(const QString &text)
{
    if (m_resetTimer)
        m_resetTimer->stop();
    rest({text, kFailureStyle, text});
}

void StatusLine::showNoAccess(const QString &text, const QString &toolTip)
{
    if (m_resetTimer)
        m_resetTimer->stop();
    rest({text, kFailureStyle, toolTip, true});
}

void StatusLine::setAccessRequestEnabled(bool enabled)
{
    m_allowAccess->setEnabled(enabled);
}

void StatusLine::showNotice(const QString &text)
{
    present({text, kNoticeStyle, QString()});
    showFor(kNoticeMs);
}

void StatusLine::showDone(const QString &text)
{
    present({text, kDoneStyle, QString()});
    showFor(kDoneMs);
}

void StatusLine::showFor(int ms)
{
    if (!m_resetTimer) {
        m_resetTimer = new QTimer(this);
        m_resetTimer->setSingleShot(true);
        // Back to the keypad's state: connected, not there, or a failure
        // that still stands.
        connect(m_resetTimer, &QTimer::timeout, this, [this] { present(m_resting); });
    }
    // One timer, restarted: a second message keeps its full time.
    m_resetTimer->start(ms);
}
