#include "ctl/ctlcommands.h"

#include "ctl/ctlexit.h"
#include "ctl/ctlhandoff.h"
#include "ctl/ctlkeypad.h"
#include "ctl/ctlreport.h"
#include "ctl/ctlrequest.h"
#include "ctl/ctlwork.h"

#include "keypad/failuretexts.h"
#include "keypad/configurationhistory.h"
#include "keypad/keypadfileload.h"
#include "keypad/keypadfileplan.h"
#include "keypad/storesave.h"
#include "model/translation.h"

#include <QCommandLineParser>
#include <QSaveFile>
#include <QTextStream>

#include <unistd.h>

namespace {

// A save may take a while on a slow keypad; the window answers when its
// verified save is done.
constexpr int kWindowAnswerTimeoutMs = 120000;

class Run
{
public:
    Run(QTextStream &out, QTextStream &err, const CtlSurroundings &surroundings)
        : m_out(out)
        , m_err(err)
        , m_surroundings(surroundings)
        , m_history(surroundings.historyRoot)
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
    bool parse(const QStringList &arguments, CtlRequest &request, CtlExit &exit);
    bool windowHoldsKeypad() const;
    CtlExit list(const CtlRequest &request);
    CtlExit handToWindow(const CtlRequest &request, const std::optional<KeypadFile> &file);
    CtlExit onKeypad(const CtlRequest &request, const std::optional<KeypadFile> &file);
    CtlExit write(CtlWork &work, const CtlRequest &request, const CtlWrite &write);
    void keepWhatIsHeld(HistoryWriter writer);
    CtlExit writeExported(const QString &path, const QByteArray &bytes);

    QTextStream &m_out;
    QTextStream &m_err;
    CtlSurroundings m_surroundings;
    ConfigurationHistory m_history;
    std::unique_ptr<CtlKeypad> m_keypad;
};

bool Run::parse(const QStringList &arguments, CtlRequest &request, CtlExit &exit)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(translateText("The keypad from a script."));
    const QCommandLineOption json(QStringLiteral("json"), translateText("Output as JSON."));
    const QCommandLineOption keypad(QStringLiteral("keypad"),
                                    translateText("The keypad: its path or its number in list."),
                                    QStringLiteral("PATH|INDEX"));
    const QCommandLineOption layer(QStringLiteral("layer"),
                                   translateText("Only this layer, from 1."), QStringLiteral("N"));
    const QCommandLineOption layers(QStringLiteral("layers"),
                                    translateText("Only these layers, from 1, such as 1,3."),
                                    QStringLiteral("LIST"));
    const QCommandLineOption noLighting(QStringLiteral("no-lighting"),
                                        translateText("Leave the lighting as it is."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    translateText("Print the differences and write nothing."));
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
        exit = fail(CtlExit::Usage,
                    translateText("Usage: zentrikctl list | show | export FILE | diff FILE | "
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
            exit = fail(CtlExit::Usage, translateText("Layers count from 1 to %1: %2")
                                             .arg(kLayerCount)
                                             .arg(item));
            return false;
        }
        request.layers.append(number - 1);
    }
    return true;
}

CtlExit Run::list(const CtlRequest &request)
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
            entry.reason = translateText("Zentrik's window holds it");
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
        return fail(CtlExit::NoKeypad, translateText("No supported keypad is plugged in."));
    return worst;
}

bool Run::windowHoldsKeypad() const
{
    // Two writers on one keypad would undo each other's work, and the
    // window would show what the keypad no longer holds.
    return ctlWindowIsRunning(m_surroundings.windowBusName);
}

CtlExit Run::handToWindow(const CtlRequest &request, const std::optional<KeypadFile> &file)
{
    const std::optional<QVariantMap> reply =
        ctlHandToWindow(m_surroundings.windowBusName,
                        request.toBus(file ? writeKeypadFile(*file) : QByteArray()),
                        kWindowAnswerTimeoutMs);
    if (!reply)
        return fail(CtlExit::Busy, translateText("Zentrik's window is open and holds the keypad: use the "
                                        "window, or close it first."));
    const CtlBusAnswer answer = CtlBusAnswer::fromBus(*reply);
    m_out << answer.out;
    m_err << answer.err;
    if (request.command == QLatin1String("export") && answer.exit == exitCode(CtlExit::Ok))
        return writeExported(request.file, answer.written);
    return static_cast<CtlExit>(answer.exit);
}

CtlExit Run::writeExported(const QString &path, const QByteArray &bytes)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) < 0 || !out.commit())
        return fail(CtlExit::BadFile,
                    translateText("The file could not be written: %1").arg(out.errorString()));
    return CtlExit::Ok;
}

CtlExit Run::onKeypad(const CtlRequest &request, const std::optional<KeypadFile> &file)
{
    // A window started now waits until this name goes with the process.
    if (!ctlHoldScriptName(m_surroundings.scriptBusName))
        return fail(CtlExit::Busy, translateText("Another zentrikctl is using the keypad."));
    CtlOpen opened = openCtlKeypad(request.keypad);
    if (!opened.keypad)
        return fail(opened.exit, opened.message);
    m_keypad = std::move(opened.keypad);
    CtlWork work(*m_keypad, m_out, m_err);
    QByteArray written;
    std::optional<CtlWrite> planned;
    const CtlExit exit = work.run(request, m_history, file, written, planned);
    if (exit != CtlExit::Ok)
        return exit;
    if (request.command == QLatin1String("export"))
        return writeExported(request.file, written);
    return planned ? write(work, request, *planned) : exit;
}

void Run::keepWhatIsHeld(HistoryWriter writer)
{
    if (!m_surroundings.keepHistory)
        return;
    const CtlKeypad &keypad = *m_keypad;
    if (!keypad.readComplete) {
        m_err << "zentrikctl: "
              << translateText("What the keypad holds could not be read whole, so it was not kept.")
              << '\n';
        return;
    }
    QString why;
    if (!m_history.keep(keypadFileOf(keypad.store, keypad.keypad.state, keypad.keypad.controls,
                                     sourceOf(keypad)),
                        writer, &why))
        m_err << "zentrikctl: "
              << translateText("What the keypad held could not be kept: %1").arg(why) << '\n';
}

CtlExit Run::write(CtlWork &work, const CtlRequest &request, const CtlWrite &write)
{
    CtlKeypad &keypad = *m_keypad;
    // The store still holds what was read: that goes to the history first.
    keepWhatIsHeld(write.writer);
    // Only what differs is marked, so only that is written.
    layImport(write.plan.import, write.plan.choice, keypad.store);
    const SaveSnapshot snapshot = saveSnapshotOf(keypad.store, SaveKind::All);
    // A line that counts up while the keypad is written, on a terminal only.
    const bool terminal = isatty(STDERR_FILENO);
    QObject::connect(keypad.link.get(), &HIDManager::progressUpdated, keypad.link.get(),
                     [this, terminal](int done, int total, const QString &) {
                         if (!terminal)
                             return;
                         m_err << '\r' << translateText("Saving %1 of %2").arg(done + 1).arg(total);
                         m_err.flush();
                     });
    const SaveResult result = keypad.keypad.state.connectedFamily().save(
        *keypad.link, keypad.keypad.state.description(), snapshot);
    if (terminal)
        m_err << '\r' << QString(40, QLatin1Char(' ')) << '\r';
    // What the keypad holds now decides, read back as the window would.
    rereadCtlKeypad(keypad);
    return work.finish(request, write, saveStatusText(result));
}

int Run::exec(const QStringList &arguments)
{
    CtlRequest request;
    CtlExit exit = CtlExit::Ok;
    if (!parse(arguments, request, exit))
        return exitCode(exit);
    if (request.command == QLatin1String("list")) {
        exit = list(request);
    } else {
        std::optional<KeypadFile> file;
        if (!request.file.isEmpty() && request.command != QLatin1String("export")) {
            const LoadedKeypadFile loaded = loadKeypadFile(request.file);
            if (!loaded.file)
                return exitCode(fail(CtlExit::BadFile, loaded.problem));
            file = loaded.file;
        }
        // While the window runs, the keypad is its own: the command goes to
        // it, and it does what the user would have done.
        exit = windowHoldsKeypad() ? handToWindow(request, file) : onKeypad(request, file);
    }
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
