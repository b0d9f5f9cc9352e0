#include "app/files/windowcommands.h"

#include "app/connection/connectionflows.h"
#include "app/files/keypadfilecommands.h"
#include "model/keyboarddata.h"
#include "model/logging.h"
#include "model/translation.h"

#include <QTextStream>

namespace {

bool knownCommand(const CtlRequest &request)
{
    static const QStringList commands{QStringLiteral("show"), QStringLiteral("export"),
                                      QStringLiteral("diff"), QStringLiteral("apply"),
                                      QStringLiteral("history")};
    static const QStringList history{QStringLiteral("list"), QStringLiteral("show"),
                                     QStringLiteral("restore")};
    return commands.contains(request.command)
        && (request.command != QLatin1String("history") || history.contains(request.historyCommand));
}

} // namespace

WindowCommands::WindowCommands(QObject *busObject, const QDBusConnection &bus, Parts parts)
    : QDBusAbstractAdaptor(busObject), m_bus(bus), m_parts(std::move(parts))
{
    connect(&m_parts.flows, &ConnectionFlows::saveFinished, this, &WindowCommands::onSaveFinished);
}

std::unique_ptr<CtlKeypad> WindowCommands::heldKeypad() const
{
    auto keypad = std::make_unique<CtlKeypad>();
    const KeypadIdentity &identity = m_parts.flows.keypad();
    keypad->node.vendorId = identity.vendorId;
    keypad->node.productId = identity.productId;
    keypad->node.serialNumber = identity.serialNumber;
    keypad->keypad = m_parts.keypad();
    QVector<int> unwritable;
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (!m_parts.store.isWritableSlot(slot))
            unwritable.append(slot);
    keypad->store.setUnwritableSlots(unwritable);
    m_parts.flows.held().fill(keypad->store);
    keypad->readComplete = m_parts.flows.held().known();
    return keypad;
}

QVariantMap WindowCommands::Run(const QVariantMap &map, const QDBusMessage &message)
{
    QByteArray fileBytes;
    const CtlRequest request = CtlRequest::fromBus(map, &fileBytes);
    CtlBusAnswer answer;
    QTextStream out(&answer.out);
    QTextStream err(&answer.err);
    const auto answered = [&](CtlExit exit) {
        out.flush();
        err.flush();
        answer.exit = exitCode(exit);
        return answer.toBus();
    };
    const auto refused = [&](CtlExit exit, const QString &why) {
        err << "zentrikctl: " << why << '\n';
        return answered(exit);
    };
    qCDebug(lcApp).noquote() << "App: zentrikctl asks for" << request.command << request.historyCommand;
    if (!knownCommand(request))
        return refused(CtlExit::Usage,
                       translateText("Usage: zentrikctl list | show | export FILE | diff FILE | "
                                     "apply FILE (zentrikctl --help tells more)"));
    if (!m_parts.flows.state().connected)
        return refused(CtlExit::NoKeypad, translateText("No supported keypad is plugged in."));
    if (m_pending || m_parts.flows.taskRunning() || !m_parts.flows.held().known())
        return refused(CtlExit::Busy,
                       translateText("Zentrik's window is reading or saving the keypad: try "
                                     "again when it is done."));
    std::optional<KeypadFile> file;
    if (!fileBytes.isEmpty()) {
        file = readKeypadFile(fileBytes).file;
        if (!file)
            return refused(CtlExit::BadFile,
                           translateText("The file is not a Zentrik keypad file."));
    }

    std::unique_ptr<CtlKeypad> keypad = heldKeypad();
    CtlWork work(*keypad, out, err);
    std::optional<CtlWrite> planned;
    const CtlExit exit = work.run(request, ConfigurationHistory(), file, answer.written, planned);
    if (exit != CtlExit::Ok || !planned)
        return answered(exit);
    // The user's own unsaved edits would go with the save.
    if (m_parts.store.hasUnsavedChanges())
        return refused(CtlExit::Busy,
                       translateText("Zentrik's window has unsaved changes: save or undo "
                                     "them there, then try again."));
    m_parts.files.layPlan(planned->plan.import, planned->plan.choice);
    if (!m_parts.flows.save(planned->writer))
        return refused(CtlExit::Busy,
                       translateText("Zentrik's window is reading or saving the keypad: try "
                                     "again when it is done."));
    out.flush();
    err.flush();
    // The answer goes when the save has ended; what was said so far with it.
    message.setDelayedReply(true);
    m_pending = Pending{request, *planned, message};
    m_pendingOut = answer.out;
    return {};
}

void WindowCommands::onSaveFinished(bool ok)
{
    if (!m_pending)
        return;
    const Pending pending = *m_pending;
    m_pending.reset();
    CtlBusAnswer answer;
    answer.out = m_pendingOut;
    QTextStream out(&answer.out);
    QTextStream err(&answer.err);
    std::unique_ptr<CtlKeypad> keypad = heldKeypad();
    CtlWork work(*keypad, out, err);
    const CtlExit exit = work.finish(
        pending.request, pending.write,
        ok ? QString() : translateText("The save did not get everything onto the keypad."));
    out.flush();
    err.flush();
    answer.exit = exitCode(exit);
    m_bus.send(pending.message.createReply(QVariant(answer.toBus())));
}
