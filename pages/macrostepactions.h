#pragma once

#include <QObject>
#include <QPoint>
#include <array>

class QAction;
class QKeyEvent;
class QWidget;

// The edits the macro page offers on its steps, as actions with their
// shortcuts, for the context menu and the keyboard.
//
// The actions are never added to a widget: the window binds Delete to
// "Clear" for the whole window, and two actions on one key would cancel each
// other. The macro flow takes the keys first while it has the focus
// (takesKey) and hands them here (triggerForKey).
class MacroStepActions : public QObject
{
    Q_OBJECT
public:
    enum Step {
        TypeText,
        InsertKey,
        DeleteSteps,
        DuplicateSteps,
        MoveEarlier,
        MoveLater,
        SetDelay,
        SelectAll,
        StepCount
    };

    explicit MacroStepActions(QObject *parent = nullptr);

    QAction *action(Step step) const { return m_actions[size_t(step)]; }
    void retranslate();
    // Greys what cannot run on `steps` steps with `selected` of them
    // selected; `editable` is false while nothing may change the key.
    void refreshEnabled(int steps, int selected, bool editable);

    bool takesKey(const QKeyEvent *event) const;
    // Runs the enabled action bound to the event's key; false when none is.
    bool triggerForKey(const QKeyEvent *event);
    void popupMenu(QWidget *parent, QPoint globalPos);

private:
    QAction *actionForKey(const QKeyEvent *event) const;

    std::array<QAction *, StepCount> m_actions{};
};
