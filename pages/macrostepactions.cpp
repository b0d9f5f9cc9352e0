#include "pages/macrostepactions.h"

#include "model/keyconfig.h"
#include "model/translation.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace {

QList<QKeySequence> actionKeys(MacroStepActions::Step step)
{
    switch (step) {
    case MacroStepActions::TypeText: return {QKeySequence(Qt::CTRL | Qt::Key_T)};
    case MacroStepActions::InsertKey: return {QKeySequence(Qt::Key_Insert)};
    case MacroStepActions::DeleteSteps:
        return {QKeySequence(QKeySequence::Delete), QKeySequence(Qt::Key_Backspace)};
    case MacroStepActions::DuplicateSteps: return {QKeySequence(Qt::CTRL | Qt::Key_D)};
    case MacroStepActions::MoveEarlier: return {QKeySequence(Qt::ALT | Qt::Key_Left)};
    case MacroStepActions::MoveLater: return {QKeySequence(Qt::ALT | Qt::Key_Right)};
    case MacroStepActions::SetDelay: return {QKeySequence(Qt::Key_F2)};
    case MacroStepActions::SelectAll: return QKeySequence::keyBindings(QKeySequence::SelectAll);
    case MacroStepActions::StepCount: break;
    }
    return {};
}

constexpr const char *kActionTexts[] = {
    "Type text…",      "Insert key…", "Delete steps",    "Duplicate steps",
    "Move earlier",    "Move later",  "Set delay…",      "Select all steps",
};
static_assert(std::size(kActionTexts) == MacroStepActions::StepCount);

} // namespace

MacroStepActions::MacroStepActions(QObject *parent)
    : QObject(parent)
{
    for (int i = 0; i < StepCount; ++i) {
        auto *action = new QAction(this);
        action->setShortcuts(actionKeys(Step(i)));
        m_actions[size_t(i)] = action;
    }
    retranslate();
}

void MacroStepActions::retranslate()
{
    for (int i = 0; i < StepCount; ++i)
        m_actions[size_t(i)]->setText(translateText(QString::fromUtf8(kActionTexts[i])));
}

void MacroStepActions::refreshEnabled(int steps, int selected, bool editable)
{
    const bool some = editable && selected > 0;
    action(TypeText)->setEnabled(editable && steps < kMaxMacroSteps);
    action(InsertKey)->setEnabled(editable && steps + 2 <= kMaxMacroSteps);
    action(DeleteSteps)->setEnabled(some);
    action(DuplicateSteps)->setEnabled(some && steps + selected <= kMaxMacroSteps);
    action(MoveEarlier)->setEnabled(some && selected < steps);
    action(MoveLater)->setEnabled(some && selected < steps);
    action(SetDelay)->setEnabled(some);
    action(SelectAll)->setEnabled(editable && steps > 0);
}

QAction *MacroStepActions::actionForKey(const QKeyEvent *event) const
{
    const QKeySequence pressed(int(event->modifiers() & ~Qt::KeypadModifier) | event->key());
    for (QAction *action : m_actions)
        if (action->isEnabled() && action->shortcuts().contains(pressed))
            return action;
    return nullptr;
}

bool MacroStepActions::takesKey(const QKeyEvent *event) const
{
    return actionForKey(event) != nullptr;
}

bool MacroStepActions::triggerForKey(const QKeyEvent *event)
{
    QAction *action = actionForKey(event);
    if (!action)
        return false;
    action->trigger();
    return true;
}

void MacroStepActions::popupMenu(QWidget *parent, QPoint globalPos)
{
    QMenu menu(parent);
    menu.setAccessibleName(translateText(QStringLiteral("Macro steps")));
    menu.addAction(action(TypeText));
    menu.addAction(action(InsertKey));
    menu.addSeparator();
    for (Step step : {DeleteSteps, DuplicateSteps, MoveEarlier, MoveLater, SetDelay})
        menu.addAction(action(step));
    menu.addSeparator();
    menu.addAction(action(SelectAll));
    menu.exec(globalPos);
}
