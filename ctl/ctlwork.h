#pragma once

#include "ctl/ctlexit.h"
#include "ctl/ctlkeypad.h"
#include "ctl/ctlreport.h"
#include "ctl/ctlrequest.h"

#include "keypad/configurationhistory.h"

#include <QByteArray>
#include <optional>

class QTextStream;

// A write a command needs: the file, what of it differs, and what the
// history calls the one who wrote.
struct CtlWrite {
    KeypadFile file;
    CtlPlan plan;
    HistoryWriter writer = HistoryWriter::Apply;
};

// The commands on one opened keypad, wherever it is held: by zentrikctl
// itself, or by the window a command was handed to. The write itself is the
// holder's: it lays the plan, saves, reads back, and calls finish().
class CtlWork
{
public:
    CtlWork(CtlKeypad &keypad, QTextStream &out, QTextStream &err);

    // show, export (the file's bytes in `written`), diff, history list and
    // show, and apply or history restore up to the write, which comes back
    // in `write`. `file` is the file diff and apply named.
    CtlExit run(const CtlRequest &request, const ConfigurationHistory &history,
                const std::optional<KeypadFile> &file, QByteArray &written,
                std::optional<CtlWrite> &write);
    // After the write: the keypad's store holds what it read back. `failure`
    // is what the save said went wrong, or empty.
    CtlExit finish(const CtlRequest &request, const CtlWrite &write, const QString &failure);

    CtlExit fail(CtlExit exit, const QString &message);

private:
    CtlExit compare(const CtlRequest &request, const KeypadFile &file, HistoryWriter writer,
                    std::optional<CtlWrite> &write);
    CtlExit history(const CtlRequest &request, const ConfigurationHistory &history,
                    std::optional<CtlWrite> &write);
    CtlExit historyList(const CtlRequest &request, const QVector<HistoryEntry> &entries);

    CtlKeypad &m_keypad;
    QTextStream &m_out;
    QTextStream &m_err;
};
