#pragma once

#include "model/keyconfig.h"

#include <QObject>
#include <QString>
#include <optional>

class EditHistory;
class KeyboardData;
class StatusLine;
struct DeviceState;

// Copy, paste and swap of key and knob functions. A copied function may be
// pasted on any layer; a swap exchanges two keys of the current layer. A
// function the target cannot hold is refused with a message on the status
// line, and nothing changes. Each paste and swap is one step of the history.
class KeyClipboard : public QObject
{
    Q_OBJECT
public:
    KeyClipboard(KeyboardData &store, const DeviceState &device, EditHistory &history,
                 StatusLine &status, QObject *parent);

    bool hasContent() const { return m_copied.has_value(); }
    // Whether a key is selected to copy from, or to paste the copy on.
    bool canCopy() const;
    bool canPaste() const;
    // Copies the selected key's function (an unassigned key copies "none",
    // which clears where it is pasted).
    void copySelected();
    // Gives the copied function to the selected key; false when refused or
    // nothing happened.
    bool pasteToSelected();
    // Exchanges the functions of two keys of the current layer.
    bool swap(int keyA, int keyB);

    // Why `key` cannot hold `record` (in the window's language); empty when
    // it can.
    QString refusal(int key, const KeyConfig &record) const;

private:
    bool refuse(const QString &why);

    KeyboardData &m_store;
    const DeviceState &m_device;
    EditHistory &m_history;
    StatusLine &m_status;
    std::optional<KeyConfig> m_copied;
};
