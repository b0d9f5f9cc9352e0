#pragma once

#include "pages/assignmentpage.h"
#include "pages/macrorecorder.h"

class KeyboardData;
class MacroFlowWidget;
class QPushButton;
class QScrollArea;

// The macro page of keypads of the current family: a record button that
// captures presses and releases of the computer's keyboard into the selected
// key, and the flow of the key's steps with editable delays.
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

signals:
    // true when a recording starts, false when it stops; the window disables
    // and re-enables its other controls.
    void recordingChanged(bool recording);
    // A recording into a key ended: the changed keys should go to the keypad
    // (when a keypad is there and not busy).
    void saveKeysRequested();

protected:
    bool event(QEvent *event) override;

private:
    void onRecordClicked();
    void endRecording(bool requestSave);
    void onStepRecorded(int index);
    void onDelayEdited(int index, int delay);
    void restyleRecordButton();
    void setRecordText(const char *text);

    KeyboardData &m_store;
    MacroRecorder m_recorder;
    QPushButton *m_recordButton = nullptr;
    QScrollArea *m_flowArea = nullptr;
    MacroFlowWidget *m_flow = nullptr;
    double m_scaleRatio = 1.0;
};
