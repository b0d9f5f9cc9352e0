// The keypad in a file: export, import with its preview, and what a file
// holds when it lands on another model, on the virtual keypads.

#include "tst_keypad_file_support.h"

#include "app/editing/edithistory.h"
#include "app/files/importpreview.h"
#include "app/files/keypadfilecommands.h"
#include "model/keypadfile.h"
#include "virtual_keypad/legacyfirmware.h"
#include "model/keytexts.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace flowtest;
using namespace filetest;

namespace {

// Everything the keypad keeps, as bytes: the committed memory of a legacy
// keypad, the key slots and lighting of a current one.
QByteArray keypadMemory(int device)
{
    QByteArray memory;
    VirtualKeypad::withFirmware(device, [&memory](VirtualFirmware &firmware) {
        if (auto *legacy = dynamic_cast<LegacyFirmware *>(&firmware)) {
            const LegacyFirmware::Memory &kept = legacy->committed();
            memory = QByteArray(reinterpret_cast<const char *>(&kept), int(sizeof(kept)));
        }
    });
    if (!memory.isEmpty())
        return memory;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int slot = 0; slot < kKeySlotCount; ++slot) {
            const VirtualKeySlot key = VirtualKeypad::key(layer, slot, device);
            memory.append(char(key.type));
            memory.append(reinterpret_cast<const char *>(key.payload.data()), int(key.payload.size()));
        }
        const VirtualLighting lighting = VirtualKeypad::lighting(layer, device);
        memory.append(char(lighting.effect));
        memory.append(reinterpret_cast<const char *>(lighting.colors.data()), 48);
    }
    return memory;
}

// What the store holds, marks included.
QString storeDump(const KeyboardData &store)
{
    QString dump;
    for (const KeyLayer &layer : store.layers())
        for (const KeyConfig &key : layer)
            dump += QStringLiteral("%1:%2:%3|").arg(key.type).arg(fullTextOf(key)).arg(key.dirty);
    for (const LedLayerConfig &lighting : store.ledLayers()) {
        dump += QString::number(lighting.effect) + QString::number(lighting.isChanged());
        for (const RgbColor &color : lighting.colors)
            dump += QStringLiteral("%1.%2.%3,").arg(color.r).arg(color.g).arg(color.b);
    }
    return dump;
}

bool saveAndWait(Widget &window)
{
    window.onSaveSettingsClicked();
    return waitFor([&window] { return poolIdle() && !window.keyboardData().hasUnsavedChanges(); });
}

} // namespace

class KeypadFileTest : public QObject
{
    Q_OBJECT
private slots:
    void roundTripRestoresTheKeypad_data();
    void roundTripRestoresTheKeypad();
    void fileLandsOnAnotherModel();
    void badFilesAreRefusedAndNothingChanges_data();
    void badFilesAreRefusedAndNothingChanges();
    void previewChoosesLayersAndLighting();
    void importIsOneUndoStep();
    void keypadWorkGoesOnWhileADialogIsOpen();
};

void KeypadFileTest::roundTripRestoresTheKeypad_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("current") << "16k3e";
    QTest::newRow("R20Wide") << "r20wide";
    QTest::newRow("Old") << "old";
}

void KeypadFileTest::roundTripRestoresTheKeypad()
{
    QFETCH(QString, model);
    Session session;
    QVERIFY(session.connect(model.toStdString()));
    KeyboardData &store = session.store();
    // The first layer's lighting as Zentrik writes it (an "Old" keypad's
    // own byte can differ from what it reads as).
    store.setLayerEffect(0, 2);
    QVERIFY(saveAndWait(*session.window));
    const QByteArray original = keypadMemory(session.device);
    QVERIFY(session.commands->exportToFile());
    const std::optional<KeypadFile> file = readKeypadFile(readFile(session.path)).file;
    QVERIFY(file.has_value());
    // An "Old" keypad cannot report its lighting: the file holds none.
    const bool lightingRead = model != QLatin1String("old");
    QCOMPARE(file->layers.first().lighting.has_value(), lightingRead);

    // Every layer emptied and a colour changed, and saved: the keypad differs.
    for (int layer = 0; layer < 3; ++layer) {
        store.setCurrentLayer(layer);
        store.clearAllKeys();
    }
    if (lightingRead)
        store.setLedColor(0, 0, 1, 2, 3);
    store.setCurrentLayer(0);
    QVERIFY(saveAndWait(*session.window));
    QVERIFY(keypadMemory(session.device) != original);

    QVERIFY(session.commands->importPath(session.path));
    QVERIFY(session.refusals.isEmpty());
    QVERIFY(store.hasUnsavedChanges());
    QVERIFY(saveAndWait(*session.window));
    QCOMPARE(keypadMemory(session.device), original);
}

void KeypadFileTest::fileLandsOnAnotherModel()
{
    QString fromSixteenKeys;
    {
        Session session;
        QVERIFY(session.connect("16k3e"));
        // Knob 2 turns the page; key 3 holds the demo's macro.
        session.store().updateKey(0, 19, [](KeyConfig &key) { key.setSingleKey(0x4B); });
        QVERIFY(session.commands->exportToFile());
        fromSixteenKeys = QString::fromUtf8(readFile(session.path));
    }
    {
        // The six-key pad's one knob sits after its keys, in slots 6..8.
        Session session;
        QVERIFY(session.connect("6k1e"));
        session.store().clearAllKeys();
        writeFile(session.path, fromSixteenKeys.toUtf8());
        QVERIFY(session.commands->importPath(session.path));
        const KeyLayer &layer = session.store().layers()[0];
        QCOMPARE(layer[6].mediaCode, uint16_t(0xEA));
        QCOMPARE(layer[7].mediaCode, uint16_t(0xE9));
        QCOMPARE(layer[8].mediaCode, uint16_t(0xE2));
        QCOMPARE(layer[2].type, uint8_t(KeyTypeMacro));
        QVERIFY(session.shownPreview.contains(QStringLiteral("Knob 2 turn left: PgUp: this keypad has no such control")));
    }
    {
        // An R20Wide keypad keeps three knobs after its sixteen keys.
        Session session;
        QVERIFY(session.connect("r20wide"));
        writeFile(session.path, fromSixteenKeys.toUtf8());
        QVERIFY(session.commands->importPath(session.path));
        QCOMPARE(session.store().layers()[0][19].keycode, uint8_t(0x4B));
    }
    {
        // An "Old" keypad keeps no recorded macro: listed, and key 3 left empty.
        Session session;
        QVERIFY(session.connect("old"));
        session.store().clearAllKeys();
        writeFile(session.path, fromSixteenKeys.toUtf8());
        QVERIFY(session.commands->importPath(session.path));
        QVERIFY(session.shownPreview.contains(QStringLiteral("Layer 1, Key 3: ")));
        QVERIFY(session.shownPreview.contains(QStringLiteral("this keypad cannot hold it")));
        const KeyLayer &layer = session.store().layers()[0];
        QVERIFY(layer[2].isEmpty());
        QCOMPARE(layer[0].keycode, uint8_t(0x04));
        QCOMPARE(layer[16].mediaCode, uint16_t(0xEA));
    }
}

void KeypadFileTest::badFilesAreRefusedAndNothingChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("named");
    QTest::newRow("truncated") << "truncate" << "not valid JSON";
    QTest::newRow("wrong type") << "layers[0].controls[0].key=\"A\"" << "layers[0].controls[0].key";
    QTest::newRow("out of range") << "layers[0].controls[3].media=70000" << "between 1 and 65535";
    QTest::newRow("65 macro steps") << "steps65" << "65 steps";
    QTest::newRow("future version") << "version=\"2.0\"" << "newer Zentrik";
    QTest::newRow("too large") << "large" << "larger than 1024 KiB";
    QTest::newRow("deeply nested") << "nested" << "deeper than";
    // "\u0061" is an "a": the same name, written another way; the escaped
    // backslash and quote in the member before it do not end its strings.
    QTest::newRow("name twice") << "twice" << "names \"layers\" twice";
    QTest::newRow("bad colour") << "colour" << "layers[0].lighting.colors[0]";
    // Twice is twice, whatever the first entry says.
    QTest::newRow("control twice") << "emptyTwice" << "key 1 is in layer 1 twice";
    QTest::newRow("no controls list") << "noControls" << "layers[0].controls is missing";
}

void KeypadFileTest::badFilesAreRefusedAndNothingChanges()
{
    QFETCH(QString, change);
    QFETCH(QString, named);
    Session session;
    QVERIFY(session.connect("16k3e"));
    session.store().updateKey(0, 0, [](KeyConfig &key) { key.setSingleKey(0x05); });
    QVERIFY(session.commands->exportToFile());
    QByteArray bytes = readFile(session.path);
    QJsonObject root = QJsonDocument::fromJson(bytes).object();
    QJsonArray layers = root.value("layers").toArray();
    QJsonObject layer = layers.at(0).toObject();
    QJsonArray controls = layer.value("controls").toArray();
    const auto setControl = [&](int index, const QString &field, const QJsonValue &value) {
        QJsonObject control = controls.at(index).toObject();
        control.insert(field, value);
        controls.replace(index, control);
    };
    if (change == "truncate") {
        bytes.chop(bytes.size() / 3);
    } else {
        if (change.startsWith("layers[0].controls[0].key"))
            setControl(0, "key", "A");
        else if (change.startsWith("layers[0].controls[3].media"))
            setControl(3, "media", 70000);
        else if (change == "steps65") {
            QJsonArray steps;
            for (int i = 0; i < 65; ++i)
                steps.append(QJsonObject{{"action", i % 2 ? "release" : "press"}, {"key", 4}, {"delay", 20}});
            setControl(2, "steps", steps);
        } else if (change == "colour") {
            QJsonObject lighting = layer.value("lighting").toObject();
            QJsonArray colors = lighting.value("colors").toArray();
            colors.replace(0, "#12345");
            lighting.insert("colors", colors);
            layer.insert("lighting", lighting);
        } else if (change.startsWith("version"))
            root.insert("version", "2.0");
        if (change == "emptyTwice")
            controls.prepend(QJsonObject{{"control", "key 1"}, {"type", "empty"}});
        layer.insert("controls", controls);
        if (change == "noControls") {
            layer.remove("controls");
            layer.insert("contorls", controls);
        }
        layers.replace(0, layer);
        root.insert("layers", layers);
        bytes = QJsonDocument(root).toJson();
        if (change == "large")
            bytes.insert(bytes.size() - 2, ", \"padding\": \"" + QByteArray(1024 * 1024, 'x') + "\"");
        if (change == "nested")
            bytes.insert(bytes.size() - 2, ", \"x\": " + QByteArray(40, '[') + QByteArray(40, ']'));
        if (change == "twice")
            bytes.insert(bytes.size() - 2, R"(, "q\\": "\"", "l\u0061yers": [])");
    }
    writeFile(session.path, bytes);

    const QString before = storeDump(session.store());
    const int steps = session.window->findChild<EditHistory *>()->stack()->count();
    QVERIFY(!session.commands->importPath(session.path));
    QCOMPARE(session.refusals.size(), 1);
    QVERIFY2(session.refusals.first().contains(named), qPrintable(session.refusals.first()));
    QVERIFY(session.shownPreview.isEmpty());
    QCOMPARE(storeDump(session.store()), before);
    QCOMPARE(session.window->findChild<EditHistory *>()->stack()->count(), steps);
}

void KeypadFileTest::previewChoosesLayersAndLighting()
{
    Session session;
    // No keypad: refused with a message.
    QVERIFY(!session.commands->importPath(session.path));
    QVERIFY(session.refusals.value(0).startsWith("Connect a keypad"));

    QVERIFY(session.connect("16k3e"));
    QVERIFY(session.commands->exportToFile());
    KeyboardData &store = session.store();
    const KeyConfig layer1Key = store.layers()[1][0];
    const LedLayerConfig layer0Lighting = store.ledLayers()[0];
    store.updateKey(0, 0, [](KeyConfig &key) { key.clear(); });
    store.updateKey(1, 0, [](KeyConfig &key) { key.clear(); });
    store.setLedColor(0, 3, 9, 9, 9);

    // Layer 2 and the lighting left out; Enter takes the rest.
    session.commands->setShowPreview([](ImportPreview &preview) {
        preview.layerBox(1)->setChecked(false);
        preview.lightingBox()->setChecked(false);
        preview.show();
        QTest::keyClick(&preview, Qt::Key_Return);
        return preview.result() == QDialog::Accepted;
    });
    QVERIFY(session.commands->importPath(session.path));
    QCOMPARE(store.layers()[0][0].keycode, uint8_t(0x04));
    QVERIFY(store.layers()[0][0].dirty);
    QVERIFY(store.layers()[1][0].isEmpty());
    QCOMPARE(store.ledLayers()[0].colors[3], (RgbColor{9, 9, 9}));

    // Cancelled: nothing changes.
    const QString before = storeDump(store);
    session.commands->setShowPreview([](ImportPreview &) { return false; });
    QVERIFY(!session.commands->importPath(session.path));
    QCOMPARE(storeDump(store), before);

    session.commands->setShowPreview([](ImportPreview &) { return true; });
    QVERIFY(session.commands->importPath(session.path));
    QVERIFY(store.layers()[1][0].sameAssignment(layer1Key));
    QVERIFY(store.ledLayers()[0].colors == layer0Lighting.colors);
}

void KeypadFileTest::importIsOneUndoStep()
{
    Session session;
    QVERIFY(session.connect("16k3e"));
    QVERIFY(session.commands->exportToFile());
    KeyboardData &store = session.store();
    for (int layer = 0; layer < 2; ++layer) {
        store.setCurrentLayer(layer);
        store.clearAllKeys();
    }
    store.setLayerEffect(1, 5);
    EditHistory *history = session.window->findChild<EditHistory *>();
    history->commitPending();
    const QString edited = storeDump(store);
    const int steps = history->stack()->count();

    // Dropped on the window.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(session.path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(session.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(session.window.get(), &drop);
    QVERIFY(waitFor([&] { return history->stack()->count() == steps + 1; }));
    QVERIFY(history->stack()->undoText().endsWith("Import"));
    QVERIFY(storeDump(store) != edited);
    history->undo();
    QCOMPARE(storeDump(store), edited);
}

void KeypadFileTest::keypadWorkGoesOnWhileADialogIsOpen()
{
    Session session;
    QVERIFY(session.connect("16k3e"));
    KeyboardData &store = session.store();
    store.updateKey(0, 9, [](KeyConfig &key) { key.setSingleKey(0x1D); });

    // The save dialog stays open until the save started before it has ended
    // and its result has reached the window.
    QString title;
    session.commands->setChooseFile([&](bool, const QString &shown) {
        title = shown;
        waitFor([&] { return poolIdle() && !store.hasUnsavedChanges(); });
        return session.path;
    });
    session.window->onSaveSettingsClicked();
    QVERIFY(session.commands->exportToFile());
    QVERIFY(title.contains("unsaved edits included"));
    QVERIFY(!store.hasUnsavedChanges());
    QVERIFY(VirtualKeypad::key(0, 9, session.device) == VirtualKeySlot::singleKey(0x1D));
    QVERIFY(readFile(session.path).contains("\"control\": \"key 10\""));
}

QTEST_MAIN(KeypadFileTest)
#include "tst_keypad_file.moc"
