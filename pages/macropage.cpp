#include "pages/macropage.h"

#include "model/translation.h"
#include "model/keyboarddata.h"
#include "model/logging.h"
#include "pages/pagebutton.h"
#include "pages/pagestyles.h"
#include "pages/macrostepactions.h"
#include "pages/macrosummary.h"
#include "widgets/macroflowwidget.h"
#include "widgets/stylesheetupdate.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr auto kStartText = "Click here to start key macro recording";
constexpr auto kStopText = "Click here to end key macro recording";

constexpr int kRecordButtonHeight = 56;
constexpr int kMinRecordButtonHeight = 44;
constexpr int kPageMargin = 8;
constexpr int kPageSpacing = 8;
constexpr int kFlowScrollBarWidth = 6;

constexpr auto kFlowAreaStyle =
    "QScrollArea { background-color: #2a2a2a; border: 1px solid #3a3a3a; border-radius: 4px; }";
constexpr auto kFlowScrollBarStyle =
    "QScrollBar:vertical { width: 6px; background: #2a2a2a; margin: 0px; border: none; }"
    "QScrollBar::handle:vertical { background: #555555; min-height: 20px; border-radius: 3px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";
// The window styles every line edit for its key display; the editor inside a
// delay spin box must keep the spin box's own size and colour.
constexpr auto kPageStyle =
    "QAbstractSpinBox QLineEdit { min-height: 0px; max-height: 16777215px;"
    " background: transparent; color: #ffffff; font-weight: bold; }";

constexpr auto kRecordingStyle =
    "QPushButton { background-color: #8b1a1a; color: white; border-radius: 6px; font-size: %1px; font-weight: bold; }"
    "QPushButton:hover { background-color: #b22222; }";
constexpr auto kIdleDisabledStyle =
    "QPushButton { background-color: #2a2a2a; color: #555555; border-radius: 6px; font-size: %1px; font-weight: bold; }";
constexpr auto kIdleEnabledStyle =
    "QPushButton { background-color: #2d7a2d; color: white; border-radius: 6px; font-size: %1px; font-weight: bold; }"
    "QPushButton:hover { background-color: #3a9a3a; }";

} // namespace

MacroPage::MacroPage(KeyboardData &store, QWidget *parent)
    : AssignmentPage(parent)
    , m_store(store)
    , m_recorder(store)
{
    setObjectName(QStringLiteral("macroPage"));
    // Paints the page background the window's style sheet gives every page.
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QLatin1String(kPageStyle));

    m_recordButton = new QPushButton(translateText(QString::fromLatin1(kStartText)), this);
    m_recordButton->setObjectName(QStringLiteral("macroRecordButton"));
    m_recordButton->setEnabled(false);
    // While recording the page holds the keyboard, so Space and Enter are
    // recorded and never click the button.
    makeKeyboardReachable(m_recordButton);

    m_flow = new MacroFlowWidget;
    m_flowArea = new QScrollArea(this);
    m_flowArea->setWidgetResizable(true);
    m_flowArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_flowArea->setStyleSheet(QLatin1String(kFlowAreaStyle));
    m_flowArea->verticalScrollBar()->setStyleSheet(QLatin1String(kFlowScrollBarStyle));
    m_flowArea->verticalScrollBar()->setFixedWidth(kFlowScrollBarWidth);
    m_flowArea->setWidget(m_flow);

    createStepEditing();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->setSpacing(kPageSpacing);
    layout->addWidget(m_recordButton);
    layout->addWidget(m_flowArea, 1);
    auto *summaryRow = new QHBoxLayout;
    summaryRow->addWidget(m_summary, 1);
    summaryRow->addWidget(m_typeTextButton, 0, Qt::AlignTop);
    layout->addLayout(summaryRow);

    connect(m_recordButton, &QPushButton::clicked, this, &MacroPage::onRecordClicked);
    connect(&m_recorder, &MacroRecorder::stepRecorded, this, &MacroPage::onStepRecorded);
    connect(&m_recorder, &MacroRecorder::limitReached, this, &MacroPage::stopMacroRecording);
    connect(m_flow, &MacroFlowWidget::delayEdited, this, &MacroPage::onDelayEdited);
    connect(&m_store, &KeyboardData::selectedKeyChanged, this, &MacroPage::onSelectedKeyChanged);
    connect(&m_store, &KeyboardData::keyButtonTextChanged, this, &MacroPage::onKeyButtonTextChanged);

    restyleRecordButton();
}

QString MacroPage::recordButtonStyle(bool recording, bool enabled, double ratio)
{
    const double s = ratio > 0 ? ratio : 1.0;
    const int fontPx = qMax(qRound(33.6 * s), 14);
    const char *style = recording ? kRecordingStyle : enabled ? kIdleEnabledStyle : kIdleDisabledStyle;
    return QString::fromLatin1(style).arg(fontPx) + pageFocusRingRule();
}

void MacroPage::restyleRecordButton()
{
    const double s = m_scaleRatio > 0 ? m_scaleRatio : 1.0;
    m_recordButton->setFixedHeight(qMax(qRound(kRecordButtonHeight * s), kMinRecordButtonHeight));
    const QString style = recordButtonStyle(isRecording(), m_recordButton->isEnabled(), m_scaleRatio);
    setStyleSheetIfChanged(m_recordButton, style);
}

void MacroPage::setRecordText(const char *text)
{
    m_recordButton->setText(translateText(QString::fromLatin1(text)));
}

void MacroPage::retranslate()
{
    setRecordText(isRecording() ? kStopText : kStartText);
    m_flow->retranslate();
    retranslateStepEditing();
}

void MacroPage::setScale(double ratio)
{
    m_scaleRatio = ratio;
    restyleRecordButton();
    m_flow->setScaleRatio(ratio);
}

void MacroPage::onRecordClicked()
{
    if (isRecording())
        stopMacroRecording();
    else
        startMacroRecording();
}

void MacroPage::startMacroRecording()
{
    if (isRecording() || !m_recorder.begin())
        return;
    m_store.clearSelectedKey();
    m_flow->setSelectedSteps({});
    m_flow->clearBlocks();
    emit recordingChanged(true);
    setRecordText(kStopText);
    restyleRecordButton();
    grabKeyboard();
    qCDebug(lcMacro).noquote() << "Macro: recording started";
}

void MacroPage::stopMacroRecording()
{
    endRecording(true);
}

void MacroPage::abandonRecording()
{
    endRecording(false);
}

void MacroPage::endRecording(bool requestSave)
{
    if (!isRecording())
        return;
    m_recorder.end();
    if (QWidget::keyboardGrabber() == this)
        releaseKeyboard();
    emit recordingChanged(false);
    setRecordText(kStartText);
    m_recordButton->setEnabled(m_store.selectedKey() >= 0);
    restyleRecordButton();
    refreshStepEditing();
    if (requestSave && m_store.selectedKey() >= 0)
        emit saveKeysRequested();
    qCDebug(lcMacro).noquote() << "Macro: recording stopped";
}

bool MacroPage::event(QEvent *event)
{
    // Taken here rather than in keyPressEvent, before Tab can move the focus.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (m_recorder.recordKeyEvent(keyEvent->key(), keyEvent->nativeScanCode(),
                                      event->type() == QEvent::KeyPress,
                                      keyEvent->isAutoRepeat())) {
            keyEvent->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void MacroPage::onSelectedKeyChanged(int keyIdx)
{
    if (isRecording())
        return;
    m_recordButton->setEnabled(keyIdx >= 0);
    restyleRecordButton();
    // Another key: nothing of its macro is selected yet.
    m_flow->setSelectedSteps({});
    rebuildFlow();
}

void MacroPage::onKeyButtonTextChanged(int keyIdx, const QString &text)
{
    Q_UNUSED(text);
    if (keyIdx != m_store.selectedKey())
        return;
    if (!isRecording()) {
        // A read, a clear or another page changed the selected key: the flow
        // shows what the store holds now.
        rebuildFlow();
        return;
    }
    const KeyConfig *key = m_store.selectedConfig();
    if (key && key->isEmpty())
        m_flow->clearBlocks();
}

void MacroPage::rebuildFlow()
{
    const QVector<MacroStep> steps = selectedSteps();
    if (steps.isEmpty())
        m_flow->clearBlocks();
    else
        m_flow->setSteps(steps);
    refreshStepEditing();
}

void MacroPage::onStepRecorded(int index)
{
    const KeyConfig *key = m_store.selectedConfig();
    if (!key || index >= key->macroSteps.size())
        return;
    m_flow->addStep(index, key->macroSteps[index]);
    refreshStepEditing();

    // Keep the newest step in view; the area learns the flow's new height
    // only after the layout request is processed.
    QTimer::singleShot(0, this, [this] {
        if (!m_flow->blocks().isEmpty())
            m_flowArea->ensureWidgetVisible(m_flow->blocks().last());
    });
}

void MacroPage::onDelayEdited(int index, int delay)
{
    const KeyConfig *key = m_store.selectedConfig();
    if (!key || key->type != KeyTypeMacro || index < 0 || index >= key->macroSteps.size())
        return;
    m_store.updateSelectedKey([index, delay](KeyConfig &record) {
        record.macroSteps[index].delay = uint16_t(delay);
        record.dirty = 1;
    });
    refreshStepEditing();
}
