#include "ctl/ctlkeypad.h"

#include "keypad/connectresult.h"
#include "keypad/failuretexts.h"
#include "model/translation.h"

namespace {

// Lays a read onto the store as the window's connect read does.
void loadRead(CtlKeypad &opened, const KeypadContents &contents)
{
    opened.store.loadLayers(contents.layers);
    opened.readComplete = contents.readComplete;
    // A family without a lighting read brings none back.
    if (contents.lighting.size() == kLayerCount)
        opened.store.loadLighting(contents.lighting);
}

} // namespace

CtlOpen openCtlKeypad(const QString &selector)
{
    CtlOpen open;
    const QVector<HIDManager::KeypadNode> nodes = HIDManager::listKeypads();
    if (nodes.isEmpty()) {
        open.exit = CtlExit::NoKeypad;
        open.message = translateText("No supported keypad is plugged in.");
        return open;
    }
    bool isNumber = false;
    const int number = selector.toInt(&isNumber);
    int chosen = selector.isEmpty() ? 0 : -1;
    for (int i = 0; i < nodes.size() && chosen < 0; ++i)
        if ((isNumber && number == i + 1) || nodes[i].path == selector)
            chosen = i;
    if (chosen < 0) {
        open.exit = CtlExit::NoKeypad;
        open.message = translateText("No keypad %1: zentrikctl list shows the keypads plugged in.")
                           .arg(selector);
        return open;
    }

    auto keypad = std::make_unique<CtlKeypad>();
    keypad->link = std::make_unique<HIDManager>();
    keypad->node = nodes[chosen];
    keypad->link->setOnlyPath(keypad->node.path);
    if (!keypad->link->openDevice()) {
        const OpenFailure failure = keypad->link->lastOpenFailure();
        open.exit = failure.noPermission ? CtlExit::NoPermission : CtlExit::Busy;
        open.message = openFailureStatusText(failure);
        if (open.message.isEmpty())
            open.message = translateText("The keypad could not be opened.");
        return open;
    }
    const KeypadConnectRead read = identifyAndReadKeypad(*keypad->link);
    if (!read.family) {
        open.exit = CtlExit::NoKeypad;
        open.message = translateText("The keypad did not answer.");
        return open;
    }
    keypad->keypad = describeConnectedKeypad(read);
    keypad->store.setUnwritableSlots(
        read.family->unwritableSlots(keypad->keypad.state.description()));
    loadRead(*keypad, read);
    open.keypad = std::move(keypad);
    return open;
}

bool rereadCtlKeypad(CtlKeypad &keypad)
{
    const KeypadContents contents =
        keypad.keypad.state.connectedFamily().read(*keypad.link);
    loadRead(keypad, contents);
    return contents.readComplete;
}
