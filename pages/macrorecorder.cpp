#include "pages/macrorecorder.h"

#include "model/keyboarddata.h"
#include "pages/qtkeytable.h"
#include "pages/scancodetable.h"

#include <QDateTime>
#include <QGuiApplication>

MacroRecorder::MacroRecorder(KeyboardData &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock([] { return QDateTime::currentMSecsSinceEpoch(); })
    , m_scanCodesArePositions(scanCodesArePositions(QGuiApplication::platformName()))
{
}

void MacroRecorder::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

bool MacroRecorder::begin()
{
    if (m_store.selectedKey() < 0)
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

uint8_t MacroRecorder::usageOf(int qtKey, quint32 nativeScanCode) const
{
    // The keypad plays key positions, and the computer turns them into
    // characters with its own layout: record where the key is, not what it
    // typed. The Qt key (read as on a US layout) serves when the event
    // carries no position.
    const uint8_t atPosition = m_scanCodesArePositions ? usageForXkbKeycode(nativeScanCode) : 0;
    return atPosition != 0 ? atPosition : usageForQtKey(qtKey);
}

bool MacroRecorder::recordKeyEvent(int qtKey, quint32 nativeScanCode, bool press, bool autoRepeat)
{
    // Holding a key makes the system repeat it; the keypad repeats nothing,
    // so only the real press and release count.
    if (!m_recording || autoRepeat)
        return false;

    const qint64 now = m_clock();
    const qint64 elapsed = m_lastEventTime < 0 ? 0 : now - m_lastEventTime;
    if (press)
        m_lastEventTime = now;
    recordStep(usageOf(qtKey, nativeScanCode), press, elapsed);
    if (!press)
        m_lastEventTime = now;
    return true;
}

void MacroRecorder::recordStep(uint8_t usage, bool press, qint64 elapsed)
{
    const KeyConfig *key = m_store.selectedConfig();
    if (!key)
        return;
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

    m_store.updateSelectedKey([isMacro, step](KeyConfig &record) {
        if (isMacro) {
            record.macroSteps.append(step);
            record.dirty = 1;
        } else {
            record.setMacro({step});
        }
    });
    m_store.refreshSelectedTexts();
    emit stepRecorded(held);

    if (held + 1 >= kMaxMacroSteps)
        emit limitReached();
}
