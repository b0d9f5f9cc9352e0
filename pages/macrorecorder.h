#pragma once

#include <QObject>
#include <functional>

class KeyboardData;

// Turns key events of the computer's keyboard into the macro steps of the
// selected key: which key, press or release, and the time since the event
// before it. Knows nothing of widgets; the macro page feeds it while it holds
// the keyboard.
class MacroRecorder : public QObject
{
    Q_OBJECT
public:
    // Milliseconds since the epoch; tests put a clock of their own in.
    using Clock = std::function<qint64()>;

    // The longest pause a step records, in ms.
    static constexpr int kMaxRecordedDelay = 9999;
    // Shortest delay of any step after a macro's first one, in ms.
    static constexpr int kMinStepDelay = 50;

    explicit MacroRecorder(KeyboardData &store, QObject *parent = nullptr);

    void setClock(Clock clock);
    bool isRecording() const { return m_recording; }

    // Starts a recording; false (and nothing changes) without a selected key.
    // The caller clears the key.
    bool begin();
    void end();

    // Whether native scan codes name key positions; set from the platform,
    // tests switch it.
    void setScanCodesArePositions(bool arePositions) { m_scanCodesArePositions = arePositions; }

    // One key event: its Qt key, and its native scan code (0 when it has
    // none). Returns true when the recording took it, false when it should go
    // on to normal handling (not recording, or an auto-repeat).
    bool recordKeyEvent(int qtKey, quint32 nativeScanCode, bool press, bool autoRepeat);

    // Delay of a step recorded `elapsed` ms after the previous event into a
    // key that already holds `heldSteps` steps.
    static int recordedDelay(qint64 elapsed, int heldSteps);

signals:
    // Step `index` of the selected key was recorded.
    void stepRecorded(int index);
    // The selected key holds as many steps as the keypad takes.
    void limitReached();

private:
    uint8_t usageOf(int qtKey, quint32 nativeScanCode) const;
    void recordStep(uint8_t usage, bool press, qint64 elapsed);

    KeyboardData &m_store;
    Clock m_clock;
    bool m_scanCodesArePositions = false;
    bool m_recording = false;
    qint64 m_lastEventTime = -1;
};
