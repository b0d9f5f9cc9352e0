#pragma once

#include "model/macroedits.h"
#include "pages/assignmentpage.h"
#include "pages/macrorecorder.h"
#include "pages/typinglayout.h"

#include <QFutureWatcher>

class KeyboardData;
class MacroFlowWidget;
class MacroStepActions;
class MacroSummary;
class QPushButton;
class QScrollArea;
class TypeTextDialog;

// The macro page of keypads of the current family: a record button that
// captures presses and releases of the computer's keyboard into the selected
// key, the flow of the key's steps, which can be selected and edited, and
// the summary under it. "Type text…" writes steps that type a text.
//
// The page follows the key store's signals itself. While recording it holds
// the keyboard grab, so every key event of the application comes here; the
// window only locks its other controls on recordingChanged and runs the
// keys-only save on saveKeysRequested.
class MacroPage : public AssignmentPage
{
    Q_OBJECT
public:
    explicit MacroPage(KeyboardData &store, QWidget *parent = nullptr);

    bool isRecording() const { return m_recorder.isRecording(); }
    // Restyles the record button and the blocks for the window's scale ratio.
    void setScale(double ratio) override;
    void refresh() override { rebuildFlow(); }
    void retranslate() override;
    void setClock(MacroRecorder::Clock clock) { m_recorder.setClock(std::move(clock)); }
    void setScanCodesArePositions(bool arePositions) { m_recorder.setScanCodesArePositions(arePositions); }

    QPushButton *recordButton() const { return m_recordButton; }
    MacroFlowWidget *flow() const { return m_flow; }
    QScrollArea *flowArea() const { return m_flowArea; }
    MacroStepActions *stepActions() const { return m_actions; }
    MacroSummary *summary() const { return m_summary; }
    QPushButton *typeTextButton() const { return m_typeTextButton; }
    // The layout the preview and "Type text…" type on.
    const TypingLayout &typingLayout() const { return m_layout; }
    void setTypingLayout(const LayoutChoice &choice, const TypingLayout &layout);
    // The dialog "Type text…" opens, and what its steps do once accepted;
    // apart so tests can fill the dialog without running it.
    TypeTextDialog *createTypeTextDialog();
    void addTypedText(const TypeTextDialog &dialog);

    // Style sheet of the record button; exposed for the window's resize pass.
    static QString recordButtonStyle(bool recording, bool enabled, double ratio);

public slots:
    void startMacroRecording();
    void stopMacroRecording();
    // Ends a recording without asking for the keys-only save: the keypad it
    // was meant for went away, or another one came.
    void abandonRecording();
    void onSelectedKeyChanged(int keyIdx);
    void onKeyButtonTextChanged(int keyIdx, const QString &text);
    // Shows the selected key's steps again.
    void rebuildFlow();
    // The edits of the selected steps (see macroedits.h); each is one step
    // of the window's history.
    void deleteSelectedSteps();
    void duplicateSelectedSteps();
    void moveSelectedSteps(int offset);
    void moveSelectedStepsTo(int target);
    void setSelectedDelays(int delay);
    // A key chosen on the base keys page: its press and release go after
    // the selection.
    void insertKey(uint8_t usage);
    void addMissingReleases();
    void openTypeTextDialog();

signals:
    // true when a recording starts, false when it stops; the window disables
    // and re-enables its other controls.
    void recordingChanged(bool recording);
    // A recording into a key ended: the changed keys should go to the keypad
    // (when a keypad is there and not busy).
    void saveKeysRequested();
    // "Insert key…": the window shows the base keys page, and the key
    // clicked there comes back through insertKey.
    void keyChoiceRequested();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onRecordClicked();
    void endRecording(bool requestSave);
    void onStepRecorded(int index);
    void onDelayEdited(int index, int delay);
    void restyleRecordButton();
    void setRecordText(const char *text);
    void createStepEditing();
    // The selected key's steps; empty when it holds no macro.
    QVector<MacroStep> selectedSteps() const;
    void applyEdit(const MacroEditResult &edit);
    void askForDelay();
    void refreshStepEditing();
    void retranslateStepEditing();

    KeyboardData &m_store;
    MacroRecorder m_recorder;
    QPushButton *m_recordButton = nullptr;
    QScrollArea *m_flowArea = nullptr;
    MacroFlowWidget *m_flow = nullptr;
    MacroStepActions *m_actions = nullptr;
    MacroSummary *m_summary = nullptr;
    QPushButton *m_typeTextButton = nullptr;
    LayoutChoice m_layoutChoice;
    TypingLayout m_layout;
    QFutureWatcher<TypingLayout> m_layoutRead;
    double m_scaleRatio = 1.0;
};
