#include "pages/macrorecorder.h"

#include "model/keyboarddata.h"
#include "pages/qtkeytable.h"

#include <QDateTime>

MacroRecorder::MacroRecorder(KeyboardData &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
{
}

void MacroRecorder::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

bool MacroRecorder::begin()
{
    if (m_store.selectedKey < 0)
        return false;
    m_recording = true;
    m_lastEventTime = -1;
    return true;
}

void MacroRecorder::end()
{
    m_recording = false;
}

int MacroRecorder::recordedDelay(qint64 elapsed, int heldSteps)
{
    if (elapsed > kMaxRecordedDelay)
        return kMaxRecordedDelay;
    if (elapsed >= 1)
        return (heldSteps > 0 && elapsed < kMinStepDelay) ? kMinStepDelay : int(elapsed);
    // No time measured (the first event, or a clock that stepped back).
    return heldSteps == 0 ? 0 : kMinStepDelay;
}

bool MacroRecorder::recordKeyEvent(int qtKey, bool press, bool autoRepeat)
{
    // Holding a key makes the system repeat it; the keypad repeats nothing,
    // so only the real press and release count.
    if (!m_recording || autoRepeat)
        return false;

    const qint64 now = m_clock();
    const qint64 elapsed = m_lastEventTime < 0 ? 0 : now - m_lastEventTime;
    if (press)
        m_lastEventTime = now;
    recordStep(qtKey, press, elapsed);
    if (!press)
        m_lastEventTime = now;
    return true;
}

void MacroRecorder::recordStep(int qtKey, bool press, qint64 elapsed)
{
    KeyConfig *key = m_store.selectedConfig();
    if (!key)
        return;
    const uint8_t usage = usageForQtKey(qtKey);
    if (usage == 0)
        return;

    const bool isMacro = key->type == KeyTypeMacro;
    const int held = isMacro ? key->macroSteps.size() : 0;
    if (held >= kMaxMacroSteps)
        return;

    MacroStep step;
    step.action = press ? 0 : 1;
    step.keycode = usage;
    step.delay = uint16_t(recordedDelay(elapsed, held));

    if (isMacro) {
        key->macroSteps.append(step);
        key->dirty = 1;
        key->updateMacroText();
    } else {
        key->setMacro({step});
    }
    m_store.refreshSelectedTexts();
    emit stepRecorded(held);

    if (held + 1 >= kMaxMacroSteps)
        emit limitReached();
}
