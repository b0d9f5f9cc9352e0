#include "app/editing/keyclipboard.h"

#include "keypad/devicestate.h"
#include "app/editing/edithistory.h"
#include "app/look/statusline.h"
#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"

namespace {

// The record as it lands on a key: marked changed unless the key holds that
// function already.
KeyConfig landed(const KeyConfig &current, const KeyConfig &record)
{
    KeyConfig result = record;
    result.dirty = current.sameAssignment(record) ? current.dirty : 1;
    return result;
}

} // namespace

KeyClipboard::KeyClipboard(KeyboardData &store, const DeviceState &device,
                           EditHistory &history, StatusLine &status, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_device(device)
    , m_history(history)
    , m_status(status)
{
}

bool KeyClipboard::canCopy() const
{
    return m_store.selectedConfig() != nullptr;
}

bool KeyClipboard::canPaste() const
{
    const int key = m_store.selectedKey();
    return m_copied && key >= 0 && key < kKeySlotCount;
}

void KeyClipboard::copySelected()
{
    const KeyConfig *key = m_store.selectedConfig();
    if (!key)
        return;
    m_copied = *key;
}

QString KeyClipboard::refusal(int key, const KeyConfig &record) const
{
    if (!m_store.isWritableSlot(key))
        return translateText(QStringLiteral("This keypad cannot store this key"));
    // The older families have no macro recorder and keep no macros of ours.
    if (record.type == KeyTypeMacro && !m_device.capabilities().holdsMacros())
        return translateText(QStringLiteral("This keypad cannot store macros"));
    return QString();
}

bool KeyClipboard::refuse(const QString &why)
{
    qCWarning(lcUi).noquote() << "[Edit] refused:" << why;
    m_status.showNotice(why);
    return false;
}

bool KeyClipboard::pasteToSelected()
{
    const int key = m_store.selectedKey();
    if (!m_copied || key < 0 || key >= kKeySlotCount)
        return false;
    const QString why = refusal(key, *m_copied);
    if (!why.isEmpty())
        return refuse(why);
    const int layer = m_store.currentLayer();
    const KeyConfig record = landed(m_store.layers()[layer][key], *m_copied);
    m_history.perform(EditKind::Paste, [&] { m_store.replaceKey(layer, key, record); });
    // The pages that follow the selected key show its new function; the
    // next base key replaces it, as after any selection.
    m_store.selectKey(key);
    return true;
}

bool KeyClipboard::swap(int keyA, int keyB)
{
    if (keyA == keyB || keyA < 0 || keyB < 0 || keyA >= kKeySlotCount || keyB >= kKeySlotCount)
        return false;
    const int layer = m_store.currentLayer();
    const KeyConfig a = m_store.layers()[layer][keyA];
    const KeyConfig b = m_store.layers()[layer][keyB];
    QString why = refusal(keyA, b);
    if (why.isEmpty())
        why = refusal(keyB, a);
    if (!why.isEmpty())
        return refuse(why);
    m_history.perform(EditKind::Swap, [&] {
        m_store.replaceKey(layer, keyA, landed(a, b));
        m_store.replaceKey(layer, keyB, landed(b, a));
    });
    if (m_store.selectedKey() == keyA || m_store.selectedKey() == keyB)
        m_store.selectKey(m_store.selectedKey());
    return true;
}
