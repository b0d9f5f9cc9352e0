#include "ctl/ctlwork.h"

#include "keypad/keypadfileload.h"
#include "keypad/keypadfileplan.h"
#include "model/translation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

} // namespace

CtlWork::CtlWork(CtlKeypad &keypad, QTextStream &out, QTextStream &err)
    : m_keypad(keypad), m_out(out), m_err(err)
{
}

CtlExit CtlWork::fail(CtlExit exit, const QString &message)
{
    m_err << "zentrikctl: " << message << '\n';
    m_err.flush();
    return exit;
}

CtlExit CtlWork::run(const CtlRequest &request, const ConfigurationHistory &history,
                     const std::optional<KeypadFile> &file, QByteArray &written,
                     std::optional<CtlWrite> &write)
{
    if (request.command == QLatin1String("show")) {
        const CtlShown shown{m_keypad.keypad, m_keypad.store, request.layers};
        m_out << (request.json ? showJson(shown, m_keypad.node) : showText(shown));
        return CtlExit::Ok;
    }
    if (request.command == QLatin1String("export")) {
        written = writeKeypadFile(keypadFileOf(m_keypad.store, m_keypad.keypad.state,
                                               m_keypad.keypad.controls, sourceOf(m_keypad)));
        return CtlExit::Ok;
    }
    if (request.command == QLatin1String("history"))
        return this->history(request, history, write);
    if (!file)
        return fail(CtlExit::Usage,
                    translateText("Usage: zentrikctl list | show | export FILE | diff FILE | "
                                  "apply FILE (zentrikctl --help tells more)"));
    return compare(request, *file, HistoryWriter::Apply, write);
}

CtlExit CtlWork::compare(const CtlRequest &request, const KeypadFile &file, HistoryWriter writer,
                         std::optional<CtlWrite> &write)
{
    const CtlPlan plan = planOf(m_keypad, file, request.layers, !request.noLighting);
    m_out << differencesText(plan);
    m_out.flush();
    // For diff, a part the keypad cannot hold is one more difference.
    if (!request.applies())
        return plan.differs() || plan.exitWhenHeld() != CtlExit::Ok ? CtlExit::Differs
                                                                    : CtlExit::Ok;
    if (request.writes() && !plan.differs())
        m_out << translateText("The keypad already holds the file: nothing written.") << '\n';
    if (!request.writes() || !plan.differs())
        return plan.differs() ? CtlExit::Differs : plan.exitWhenHeld();
    write = CtlWrite{file, plan, writer};
    return CtlExit::Ok;
}

CtlExit CtlWork::finish(const CtlRequest &request, const CtlWrite &write, const QString &failure)
{
    const CtlPlan after = planOf(m_keypad, write.file, request.layers, !request.noLighting);
    if (!failure.isEmpty() || after.differs()) {
        m_err << differencesText(after);
        return fail(CtlExit::Differs,
                    failure.isEmpty()
                        ? translateText("The keypad does not hold the file after the save.")
                        : failure);
    }
    m_out << translateText("Saved; the keypad holds the file.") << '\n';
    return write.plan.exitWhenHeld();
}

CtlExit CtlWork::history(const CtlRequest &request, const ConfigurationHistory &history,
                         std::optional<CtlWrite> &write)
{
    const QVector<HistoryEntry> entries =
        history.entries(ConfigurationHistory::keypadFolderName(sourceOf(m_keypad)));
    if (request.historyCommand == QLatin1String("list"))
        return historyList(request, entries);
    if (request.entry < 1 || request.entry > entries.size())
        return fail(CtlExit::Usage,
                    translateText("No history entry %1: zentrikctl history list shows them.")
                        .arg(request.entry));
    const LoadedKeypadFile loaded = loadKeypadFile(entries[request.entry - 1].path);
    if (!loaded.file)
        return fail(CtlExit::BadFile, loaded.problem);
    return compare(request, *loaded.file, HistoryWriter::Restore, write);
}

CtlExit CtlWork::historyList(const CtlRequest &request, const QVector<HistoryEntry> &entries)
{
    // Each entry against the one kept after it; the newest against the keypad.
    std::optional<KeypadFile> next = keypadFileOf(m_keypad.store, m_keypad.keypad.state,
                                                  m_keypad.keypad.controls, sourceOf(m_keypad));
    QJsonArray listed;
    QString lines;
    for (int i = 0; i < entries.size(); ++i) {
        const LoadedKeypadFile loaded = loadKeypadFile(entries[i].path);
        const int changes = loaded.file && next ? historyDifferenceCount(*loaded.file, *next) : -1;
        next = loaded.file;
        const QDateTime kept = entries[i].kept;
        listed.append(QJsonObject{
            {QStringLiteral("number"), i + 1},
            {QStringLiteral("kept"), kept.toString(Qt::ISODateWithMs)},
            {QStringLiteral("writtenNextBy"), historyWriterText(entries[i].writer)},
            {QStringLiteral("changes"), changes},
            {QStringLiteral("path"), entries[i].path},
        });
        lines += QStringLiteral("%1  %2  %3  %4\n")
                     .arg(i + 1)
                     .arg(kept.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                          historyWriterText(entries[i].writer),
                          changes < 0 ? translateText("Cannot be read")
                                      : translateText("%1 changes").arg(changes));
    }
    if (request.json)
        m_out << QJsonDocument(QJsonObject{{QStringLiteral("entries"), listed}}).toJson();
    else if (entries.isEmpty())
        m_out << translateText("Nothing kept yet: an entry is kept before each save.") << '\n';
    else
        m_out << lines;
    return CtlExit::Ok;
}
