#include "ctl/ctlcommands.h"

#include "ctl/ctlexit.h"
#include "ctl/ctlkeypad.h"
#include "ctl/ctlreport.h"

#include "device/savefailure.h"
#include "keypad/configurationhistory.h"
#include "keypad/keypadfileload.h"
#include "keypad/keypadfileplan.h"
#include "keypad/storesave.h"
#include "model/translation.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSaveFile>
#include <QTextStream>

#include <unistd.h>

namespace {

QString text(const char *english)
{
    return translateText(QString::fromUtf8(english));
}

// What one run was asked for.
struct Request {
    QString command;
    QString file;
    QString historyCommand; // list, show or restore
    int entry = 0;          // from 1, the newest
    QString keypad;
    bool json = false;
    bool dryRun = false;
    bool noLighting = false;
    QVector<int> layers; // 0-based; empty for all
};

class Run
{
public:
    Run(QTextStream &out, QTextStream &err, const CtlSurroundings &surroundings)
        : m_out(out)
        , m_err(err)
        , m_windowBusName(surroundings.windowBusName)
        , m_history(surroundings.historyRoot)
        , m_keepHistory(surroundings.keepHistory)
    {
    }

    int exec(const QStringList &arguments);

private:
    CtlExit fail(CtlExit exit, const QString &message)
    {
        m_err << "zentrikctl: " << message << '\n';
        m_err.flush();
        return exit;
    }
    bool parse(const QStringList &arguments, Request &request, CtlExit &exit);
    bool windowHoldsKeypad() const;
    CtlExit open(const Request &request);
    CtlExit list(const Request &request);
    CtlExit show(const Request &request);
    CtlExit exportTo(const Request &request);
    CtlExit compare(const Request &request, bool write);
    CtlExit compareFile(const Request &request, const KeypadFile &file, bool write,
                        HistoryWriter writer);
    CtlExit save(const Request &request, const KeypadFile &file, const CtlPlan &plan,
                 HistoryWriter writer);
    CtlExit history(const Request &request);
    CtlExit historyList(const Request &request, const QVector<HistoryEntry> &entries);
    void keepWhatIsHeld(HistoryWriter writer);

    QTextStream &m_out;
    QTextStream &m_err;
    QString m_windowBusName;
    ConfigurationHistory m_history;
    bool m_keepHistory = true;
    std::unique_ptr<CtlKeypad> m_keypad;
};

bool Run::parse(const QStringList &arguments, Request &request, CtlExit &exit)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(text("The keypad from a script."));
    const QCommandLineOption json(QStringLiteral("json"), text("Output as JSON."));
    const QCommandLineOption keypad(QStringLiteral("keypad"),
                                    text("The keypad: its path or its number in list."),
                                    QStringLiteral("PATH|INDEX"));
    const QCommandLineOption layer(QStringLiteral("layer"), text("Only this layer, from 1."),
                                   QStringLiteral("N"));
    const QCommandLineOption layers(QStringLiteral("layers"),
                                    text("Only these layers, from 1, such as 1,3."),
                                    QStringLiteral("LIST"));
    const QCommandLineOption noLighting(QStringLiteral("no-lighting"),
                                        text("Leave the lighting as it is."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    text("Print the differences and write nothing."));
    parser.addOptions({json, keypad, layer, layers, noLighting, dryRun});
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("list | show | export FILE | diff FILE | apply FILE | "
                                                "history [list | show N | restore N]"));
    if (!parser.parse(QStringList{QStringLiteral("zentrikctl")} + arguments)) {
        exit = fail(CtlExit::Usage, parser.errorText());
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        m_out << parser.helpText();
        exit = CtlExit::Ok;
        return false;
    }
    const QStringList positional = parser.positionalArguments();
    request.command = positional.value(0);
    const bool needsFile = request.command == QLatin1String("export")
        || request.command == QLatin1String("diff") || request.command == QLatin1String("apply");
    const bool history = request.command == QLatin1String("history");
    const bool known = needsFile || history || request.command == QLatin1String("list")
        || request.command == QLatin1String("show");
    // history [list], history show N, history restore N
    request.historyCommand = positional.value(1, QStringLiteral("list"));
    const bool needsEntry = request.historyCommand == QLatin1String("show")
        || request.historyCommand == QLatin1String("restore");
    bool entryOk = true;
    if (history && needsEntry)
        request.entry = positional.value(2).toInt(&entryOk);
    const bool historyOk = !history
        || (needsEntry ? positional.size() == 3 && entryOk && request.entry >= 1
                       : request.historyCommand == QLatin1String("list") && positional.size() <= 2);
    if (!known || !historyOk || (!history && positional.size() != (needsFile ? 2 : 1))) {
        exit = fail(CtlExit::Usage, text("Usage: zentrikctl list | show | export FILE | diff FILE | "
                                         "apply FILE (zentrikctl --help tells more)"));
        return false;
    }
    if (!history)
        request.file = positional.value(1);
    request.keypad = parser.value(keypad);
    request.json = parser.isSet(json);
    request.dryRun = parser.isSet(dryRun);
    request.noLighting = parser.isSet(noLighting);
    const QString layerList = parser.isSet(layer) ? parser.value(layer) : parser.value(layers);
    for (const QString &item : layerList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = item.trimmed().toInt(&ok);
        if (!ok || number < 1 || number > kLayerCount) {
            exit = fail(CtlExit::Usage, text("Layers count from 1 to %1: %2")
                                             .arg(kLayerCount)
                                             .arg(item));
            return false;
        }
        request.layers.append(number - 1);
    }
    return true;
}

bool Run::windowHoldsKeypad() const
{
    // Two writers on one keypad would undo each other's work, and the
    // window would show what the keypad no longer holds.
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(m_windowBusName).value();
}

CtlExit Run::open(const Request &request)
{
    if (windowHoldsKeypad())
        return fail(CtlExit::Busy, text("Zentrik's window is open and holds the keypad: use the "
                                        "window, or close it first."));
    CtlOpen opened = openCtlKeypad(request.keypad);
    if (!opened.keypad)
        return fail(opened.exit, opened.message);
    m_keypad = std::move(opened.keypad);
    return CtlExit::Ok;
}

CtlExit Run::list(const Request &request)
{
    const QVector<HIDManager::KeypadNode> nodes = HIDManager::listKeypads();
    QVector<CtlListed> listed;
    CtlExit worst = nodes.isEmpty() ? CtlExit::NoKeypad : CtlExit::Ok;
    const bool windowOpen = windowHoldsKeypad();
    for (int i = 0; i < nodes.size(); ++i) {
        CtlListed entry;
        entry.index = i + 1;
        entry.node = nodes[i];
        if (windowOpen) {
            entry.exit = CtlExit::Busy;
            entry.reason = text("Zentrik's window holds it");
        } else {
            CtlOpen opened = openCtlKeypad(nodes[i].path);
            entry.exit = opened.exit;
            entry.reason = opened.message;
            if (opened.keypad)
                entry.keypad = opened.keypad->keypad;
        }
        if (worst == CtlExit::Ok)
            worst = entry.exit;
        listed.append(entry);
    }
    m_out << (request.json ? listJson(listed) : listText(listed));
    if (nodes.isEmpty() && !request.json)
        return fail(CtlExit::NoKeypad, text("No supported keypad is plugged in."));
    return worst;
}

CtlExit Run::show(const Request &request)
{
    const CtlExit opened = open(request);
    if (opened != CtlExit::Ok)
        return opened;
    const CtlShown shown{m_keypad->keypad, m_keypad->store, request.layers};
    m_out << (request.json ? showJson(shown, m_keypad->node) : showText(shown));
    return CtlExit::Ok;
}

CtlExit Run::exportTo(const Request &request)
{
    const CtlExit opened = open(request);
    if (opened != CtlExit::Ok)
        return opened;
    const KeypadFile file = keypadFileOf(m_keypad->store, m_keypad->keypad.state,
                                         m_keypad->keypad.controls, sourceOf(*m_keypad));
    QSaveFile out(request.file);
    if (!out.open(QIODevice::WriteOnly) || out.write(writeKeypadFile(file)) < 0 || !out.commit())
        return fail(CtlExit::BadFile,
                    text("The file could not be written: %1").arg(out.errorString()));
    return CtlExit::Ok;
}

CtlExit Run::compare(const Request &request, bool write)
{
    const LoadedKeypadFile loaded = loadKeypadFile(request.file);
    if (!loaded.file)
        return fail(CtlExit::BadFile, loaded.problem);
    const CtlExit opened = open(request);
    if (opened != CtlExit::Ok)
        return opened;
    return compareFile(request, *loaded.file, write, HistoryWriter::Apply);
}

CtlExit Run::compareFile(const Request &request, const KeypadFile &file, bool write,
                         HistoryWriter writer)
{
    const CtlPlan plan = planOf(*m_keypad, file, request.layers, !request.noLighting);
    m_out << differencesText(plan);
    m_out.flush();
    // For diff, a part the keypad cannot hold is one more difference.
    if (!write)
        return plan.differs() || plan.exitWhenHeld() != CtlExit::Ok ? CtlExit::Differs
                                                                    : CtlExit::Ok;
    if (request.dryRun || !plan.differs())
        return plan.differs() ? CtlExit::Differs : plan.exitWhenHeld();
    const CtlExit saved = save(request, file, plan, writer);
    return saved == CtlExit::Ok ? plan.exitWhenHeld() : saved;
}

void Run::keepWhatIsHeld(HistoryWriter writer)
{
    if (!m_keepHistory)
        return;
    const CtlKeypad &keypad = *m_keypad;
    if (!keypad.readComplete) {
        m_err << "zentrikctl: "
              << text("What the keypad holds could not be read whole, so it was not kept.") << '\n';
        return;
    }
    QString why;
    if (!m_history.keep(keypadFileOf(keypad.store, keypad.keypad.state, keypad.keypad.controls,
                                     sourceOf(keypad)),
                        writer, &why))
        m_err << "zentrikctl: " << text("What the keypad held could not be kept: %1").arg(why)
              << '\n';
}

CtlExit Run::save(const Request &request, const KeypadFile &file, const CtlPlan &plan,
                  HistoryWriter writer)
{
    CtlKeypad &keypad = *m_keypad;
    // The store still holds what was read: that goes to the history first.
    keepWhatIsHeld(writer);
    // Only what differs is marked, so only that is written.
    layImport(plan.import, plan.choice, keypad.store);
    const SaveSnapshot snapshot = saveSnapshotOf(keypad.store, SaveKind::All);
    // A line that counts up while the keypad is written, on a terminal only.
    const bool terminal = isatty(STDERR_FILENO);
    QObject::connect(keypad.link.get(), &HIDManager::progressUpdated, keypad.link.get(),
                     [this, terminal](int done, int total, const QString &) {
                         if (!terminal)
                             return;
                         m_err << '\r' << text("Saving %1 of %2").arg(done + 1).arg(total);
                         m_err.flush();
                     });
    const SaveResult result = keypad.keypad.state.connectedFamily().save(
        *keypad.link, keypad.keypad.state.description(), snapshot);
    if (terminal)
        m_err << '\r' << QString(40, QLatin1Char(' ')) << '\r';
    // What the keypad holds now decides, read back as the window would.
    rereadCtlKeypad(keypad);
    const CtlPlan after = planOf(keypad, file, request.layers, !request.noLighting);
    if (!result.ok || after.differs()) {
        const QString failure = saveStatusText(result);
        m_err << differencesText(after);
        return fail(CtlExit::Differs,
                    failure.isEmpty() ? text("The keypad does not hold the file after the save.")
                                      : failure);
    }
    m_out << text("Saved; the keypad holds the file.") << '\n';
    return CtlExit::Ok;
}

CtlExit Run::history(const Request &request)
{
    const CtlExit opened = open(request);
    if (opened != CtlExit::Ok)
        return opened;
    const QVector<HistoryEntry> entries =
        m_history.entries(ConfigurationHistory::keypadFolderName(sourceOf(*m_keypad)));
    if (request.historyCommand == QLatin1String("list"))
        return historyList(request, entries);
    if (request.entry > entries.size())
        return fail(CtlExit::Usage, text("No history entry %1: zentrikctl history list shows them.")
                                        .arg(request.entry));
    const LoadedKeypadFile loaded = loadKeypadFile(entries[request.entry - 1].path);
    if (!loaded.file)
        return fail(CtlExit::BadFile, loaded.problem);
    return compareFile(request, *loaded.file, request.historyCommand == QLatin1String("restore"),
                       HistoryWriter::Restore);
}

CtlExit Run::historyList(const Request &request, const QVector<HistoryEntry> &entries)
{
    // Each entry against the one kept after it; the newest against the keypad.
    const CtlKeypad &keypad = *m_keypad;
    std::optional<KeypadFile> next = keypadFileOf(keypad.store, keypad.keypad.state,
                                                  keypad.keypad.controls, sourceOf(keypad));
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
                          changes < 0 ? text("Cannot be read") : text("%1 changes").arg(changes));
    }
    if (request.json)
        m_out << QJsonDocument(QJsonObject{{QStringLiteral("entries"), listed}}).toJson();
    else if (entries.isEmpty())
        m_out << text("Nothing kept yet: an entry is kept before each save.") << '\n';
    else
        m_out << lines;
    return CtlExit::Ok;
}

int Run::exec(const QStringList &arguments)
{
    Request request;
    CtlExit exit = CtlExit::Ok;
    if (!parse(arguments, request, exit))
        return exitCode(exit);
    if (request.command == QLatin1String("list"))
        exit = list(request);
    else if (request.command == QLatin1String("show"))
        exit = show(request);
    else if (request.command == QLatin1String("export"))
        exit = exportTo(request);
    else if (request.command == QLatin1String("history"))
        exit = history(request);
    else
        exit = compare(request, request.command == QLatin1String("apply"));
    m_out.flush();
    m_err.flush();
    return exitCode(exit);
}

} // namespace

int runZentrikctl(const QStringList &arguments, QTextStream &out, QTextStream &err,
                  const CtlSurroundings &surroundings)
{
    Run run(out, err, surroundings);
    return run.exec(arguments);
}
