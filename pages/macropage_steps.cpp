// The macro page's editing of written steps: the selection's edits, their
// actions and context menu, "Type text…", and the summary under the flow.

#include "pages/macropage.h"

#include "model/keyboarddata.h"
#include "model/translation.h"
#include "pages/macrostepactions.h"
#include "pages/macrosummary.h"
#include "pages/pagebutton.h"
#include "pages/typetextdialog.h"
#include "widgets/macroflowwidget.h"

#include <QAction>
#include <QInputDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QtConcurrent>
#include <numeric>

namespace {

// The delay a release added by a fix waits, as the recorder's shortest.
constexpr uint16_t kAddedReleaseDelay = MacroRecorder::kMinStepDelay;
constexpr auto kTypeTextStyle =
    "QPushButton { background-color: #3a3a3a; color: white; border-radius: 4px; padding: 4px 10px; }"
    "QPushButton:hover { background-color: #4a4a4a; }"
    "QPushButton:disabled { color: #666666; }";

} // namespace

void MacroPage::createStepEditing()
{
    m_actions = new MacroStepActions(this);
    m_summary = new MacroSummary(this);
    m_typeTextButton = new QPushButton(this);
    m_typeTextButton->setObjectName(QStringLiteral("macroTypeTextButton"));
    m_typeTextButton->setStyleSheet(QLatin1String(kTypeTextStyle));
    makeKeyboardReachable(m_typeTextButton);
    m_summary->fixButton()->setStyleSheet(QLatin1String(kTypeTextStyle));
    m_flow->installEventFilter(this);

    using A = MacroStepActions;
    connect(m_actions->action(A::TypeText), &QAction::triggered, this,
            &MacroPage::openTypeTextDialog);
    connect(m_actions->action(A::InsertKey), &QAction::triggered, this,
            &MacroPage::keyChoiceRequested);
    connect(m_actions->action(A::DeleteSteps), &QAction::triggered, this,
            &MacroPage::deleteSelectedSteps);
    connect(m_actions->action(A::DuplicateSteps), &QAction::triggered, this,
            &MacroPage::duplicateSelectedSteps);
    connect(m_actions->action(A::MoveEarlier), &QAction::triggered, this,
            [this] { moveSelectedSteps(-1); });
    connect(m_actions->action(A::MoveLater), &QAction::triggered, this,
            [this] { moveSelectedSteps(1); });
    connect(m_actions->action(A::SetDelay), &QAction::triggered, this, &MacroPage::askForDelay);
    connect(m_actions->action(A::SelectAll), &QAction::triggered, this, [this] {
        QVector<int> all(m_flow->stepCount());
        std::iota(all.begin(), all.end(), 0);
        m_flow->setSelectedSteps(all);
    });
    connect(m_typeTextButton, &QPushButton::clicked, m_actions->action(A::TypeText),
            &QAction::trigger);
    connect(m_flow, &MacroFlowWidget::selectionChanged, this, &MacroPage::refreshStepEditing);
    connect(m_flow, &MacroFlowWidget::moveRequested, this, &MacroPage::moveSelectedStepsTo);
    connect(m_flow, &MacroFlowWidget::menuRequested, this,
            [this](QPoint globalPos) { m_actions->popupMenu(this, globalPos); });
    connect(m_summary, &MacroSummary::fixRequested, this, &MacroPage::addMissingReleases);
    connect(&m_layoutRead, &QFutureWatcherBase::finished, this, [this] {
        // A layout chosen in "Type text…" meanwhile stays.
        if (!m_layout.isValid() && m_layoutRead.future().resultCount() > 0)
            setTypingLayout(m_layoutChoice, m_layoutRead.result());
    });
    retranslateStepEditing();
}

void MacroPage::retranslateStepEditing()
{
    m_actions->retranslate();
    m_typeTextButton->setText(m_actions->action(MacroStepActions::TypeText)->text());
    m_typeTextButton->setAccessibleName(m_typeTextButton->text());
    m_flow->setAccessibleName(translateText(QStringLiteral("Macro steps")));
    m_summary->retranslate();
}

void MacroPage::showEvent(QShowEvent *event)
{
    AssignmentPage::showEvent(event);
    // The desktop's layout, read once the page is first seen.
    if (!m_layout.isValid() && !m_layoutRead.isRunning())
        m_layoutRead.setFuture(QtConcurrent::run(&TypingLayout::load, m_layoutChoice));
}

void MacroPage::setTypingLayout(const LayoutChoice &choice, const TypingLayout &layout)
{
    m_layoutChoice = choice;
    m_layout = layout;
    refreshStepEditing();
}

QVector<MacroStep> MacroPage::selectedSteps() const
{
    const KeyConfig *key = m_store.selectedConfig();
    return key && key->type == KeyTypeMacro ? key->macroSteps : QVector<MacroStep>();
}

void MacroPage::refreshStepEditing()
{
    const KeyConfig *key = m_store.selectedConfig();
    const bool editable =
        key && !isRecording() && m_store.isWritableSlot(m_store.selectedKey());
    const QVector<MacroStep> steps = selectedSteps();
    m_actions->refreshEnabled(steps.size(), m_flow->selectedSteps().size(), editable);
    m_typeTextButton->setEnabled(m_actions->action(MacroStepActions::TypeText)->isEnabled());
    m_summary->setVisible(!isRecording() || !steps.isEmpty());
    m_summary->showMacro(steps, m_layout);
    if (m_flow->currentStep() >= 0 && 2 * m_flow->currentStep() + 1 < m_flow->blocks().size())
        m_flowArea->ensureWidgetVisible(m_flow->blocks().at(2 * m_flow->currentStep() + 1));
}

void MacroPage::applyEdit(const MacroEditResult &edit)
{
    const KeyConfig *key = m_store.selectedConfig();
    if (!key || isRecording() || !m_store.isWritableSlot(m_store.selectedKey()))
        return;
    if (key->type == KeyTypeMacro && key->macroSteps == edit.steps)
        return;
    // One change of the record: the window's history makes it one step.
    m_store.updateSelectedKey([&edit](KeyConfig &record) {
        if (edit.steps.isEmpty()) {
            record.clear();
            record.dirty = 1;
        } else {
            record.setMacro(edit.steps);
        }
    });
    // The texts' announcement shows the flow again, keeping the old
    // selection where it fits; then the edit's own selection replaces it.
    m_store.refreshSelectedTexts();
    m_flow->setSelectedSteps(edit.selection);
    refreshStepEditing();
}

void MacroPage::deleteSelectedSteps()
{
    applyEdit(deleteSteps(selectedSteps(), m_flow->selectedSteps()));
}

void MacroPage::duplicateSelectedSteps()
{
    applyEdit(duplicateSteps(selectedSteps(), m_flow->selectedSteps()));
}

void MacroPage::moveSelectedSteps(int offset)
{
    applyEdit(moveStepsBy(selectedSteps(), m_flow->selectedSteps(), offset));
}

void MacroPage::moveSelectedStepsTo(int target)
{
    applyEdit(moveStepsTo(selectedSteps(), m_flow->selectedSteps(), target));
}

void MacroPage::setSelectedDelays(int delay)
{
    applyEdit(setStepDelays(selectedSteps(), m_flow->selectedSteps(), uint16_t(delay)));
}

void MacroPage::insertKey(uint8_t usage)
{
    const QVector<MacroStep> steps = selectedSteps();
    // The first step of a macro waits for nothing, as a recorded one.
    const uint16_t delay = steps.isEmpty() ? 0 : kAddedReleaseDelay;
    QVector<MacroStep> tap = keyTap(usage, kAddedReleaseDelay);
    tap.first().delay = delay;
    applyEdit(insertSteps(steps, m_flow->selectedSteps(), tap));
}

void MacroPage::addMissingReleases()
{
    const QVector<MacroStep> steps = selectedSteps();
    applyEdit({withMissingReleases(steps, kAddedReleaseDelay), m_flow->selectedSteps()});
}

void MacroPage::askForDelay()
{
    const QVector<MacroStep> steps = selectedSteps();
    const QVector<int> chosen = m_flow->selectedSteps();
    if (chosen.isEmpty())
        return;
    bool ok = false;
    const int delay = QInputDialog::getInt(
        this, translateText(QStringLiteral("Set delay…")),
        translateText(QStringLiteral("Delay of the selected steps (ms)")),
        steps.value(chosen.first()).delay, 0, MacroRecorder::kMaxRecordedDelay, 10, &ok);
    if (ok)
        setSelectedDelays(delay);
}

TypeTextDialog *MacroPage::createTypeTextDialog()
{
    const QVector<MacroStep> steps = selectedSteps();
    auto *dialog = new TypeTextDialog(kMaxMacroSteps - steps.size(), steps.isEmpty(), false, this);
    dialog->useLayout(m_layoutChoice, m_layout);
    return dialog;
}

void MacroPage::addTypedText(const TypeTextDialog &dialog)
{
    setTypingLayout(dialog.layoutChoice(), dialog.layout());
    applyEdit(insertSteps(selectedSteps(), m_flow->selectedSteps(), dialog.steps()));
}

void MacroPage::openTypeTextDialog()
{
    if (!m_actions->action(MacroStepActions::TypeText)->isEnabled())
        return;
    // Shown window-modal without a nested loop: the page goes on painting
    // and the keypad's signals keep coming while the user types.
    TypeTextDialog *dialog = createTypeTextDialog();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { addTypedText(*dialog); });
    dialog->open();
}

bool MacroPage::eventFilter(QObject *watched, QEvent *event)
{
    // The flow's keys go to its actions before the window's shortcuts see
    // them (Delete there clears the whole key).
    if (watched == m_flow
        && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (!isRecording() && m_actions->takesKey(keyEvent)) {
            if (event->type() == QEvent::KeyPress)
                m_actions->triggerForKey(keyEvent);
            event->accept();
            return true;
        }
    }
    return AssignmentPage::eventFilter(watched, event);
}
