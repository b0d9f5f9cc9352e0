// Keypad files the user can trust: a special file never blocks the window, a
// file names each control as the window does on every picture, an export is
// complete or not written, and what a keypad cannot report is not invented.

#include "tst_keypad_file_support.h"
#include "tst_control_support.h"

#include "keypad/controlmap.h"
#include "app/files/importpreview.h"
#include "app/files/keypadfilecommands.h"
#include "keypad/keypadroles.h"
#include "model/keypadfile.h"
#include "virtual_keypad/oldfirmware.h"
#include "virtual_keypad/r20widefirmware.h"
#include "model/keytexts.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <sys/stat.h>

using namespace flowtest;
using namespace filetest;

namespace {

// Ends the test run when the test thread, which is the UI thread, stops
// answering: a read stuck in open() would otherwise hang the suite.
class Watchdog
{
public:
    explicit Watchdog(int seconds)
        : m_thread([this, seconds] {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_stop; }))
                qFatal("the UI thread stopped answering");
        })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_stop = false;
    std::thread m_thread;
};

// What a screen reader hears of every assigned control the window shows.
QSet<QString> windowNames(Widget &window)
{
    QSet<QString> names;
    for (int place = 0; place < kKeySlotCount; ++place) {
        QPushButton *button = controlButton(window, place);
        if (button && button->isVisibleTo(&window)
            && !button->accessibleName().endsWith(QStringLiteral("not assigned")))
            names << button->accessibleName();
    }
    return names;
}

// The same, as the file names the controls of its first layer.
QSet<QString> fileNames(const KeypadFile &file)
{
    QSet<QString> names;
    for (const KeypadFileControl &control : file.layers.first().controls) {
        const QString function =
            QTextDocumentFragment::fromHtml(fullTextOf(control.record)).toPlainText().simplified();
        if (!function.isEmpty())
            names << controlText(control.role, function);
    }
    return names;
}

struct PictureCase {
    const char *name;
    std::function<int()> plug;
};

int plugCurrent(VirtualKeypadModel model)
{
    VirtualKeypadConfig config;
    config.model = model;
    return VirtualKeypad::plug(config);
}

int plugLegacy(std::unique_ptr<VirtualFirmware> firmware, uint16_t productId)
{
    VirtualKeypadConfig config;
    config.vendorId = productId == 0x8830 ? 0xF1C3 : 0xF1B2;
    config.productId = productId;
    return VirtualKeypad::plug(config, std::move(firmware));
}

int plugR20Wide(uint8_t keys, uint8_t knobs)
{
    return plugLegacy(std::make_unique<R20WideFirmware>(LegacyFirmware::Identity{keys, knobs, 10, 0}),
                      0x8830);
}

} // namespace

class KeypadFileTrustTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { dropKeypads(); }
    void specialFilesAreRefusedWithoutBlocking();
    void everyPictureNamesItsControlsAsTheWindow();
    void exportIsCompleteOrNotWritten();
    void aCompletedNameAsksBeforeReplacing();
    void oldKeypadFileHoldsItsFixedControlsAndNoLighting();
};

void KeypadFileTrustTest::specialFilesAreRefusedWithoutBlocking()
{
    Session session;
    VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(session.loaded());
    const QString before = fullTextOf(session.store().layers()[0][0]);

    // A pipe nobody writes to: open() would wait for a writer for ever.
    const QString fifo = session.folder.filePath(QStringLiteral("pipe.zentrik.json"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = session.folder.filePath(QStringLiteral("link.zentrik.json"));
    QVERIFY(QFile::link(fifo, link));
    const QString folder = session.folder.filePath(QStringLiteral("folder.zentrik.json"));
    QVERIFY(QDir().mkdir(folder));

    struct Case {
        QString path;
        const char *said;
    } cases[] = {{fifo, "not a regular file"},
                 {link, "not a regular file"},
                 {QStringLiteral("/dev/zero"), "not a regular file"},
                 {folder, "a folder"},
                 {session.folder.filePath(QStringLiteral("missing.json")), "does not exist"}};
    for (const Case &c : cases) {
        session.refusals.clear();
        {
            Watchdog watchdog(20);
            QVERIFY(!session.commands->importPath(c.path));
        }
        QCOMPARE(session.refusals.size(), 1);
        QVERIFY2(session.refusals.first().contains(QLatin1String(c.said)),
                 qPrintable(session.refusals.first()));
    }
    QCOMPARE(fullTextOf(session.store().layers()[0][0]), before);
}

void KeypadFileTrustTest::everyPictureNamesItsControlsAsTheWindow()
{
    const PictureCase cases[] = {
        {"Layout_16K_3E_P0_S0", [] { return plugCurrent({16, 3, 0, 3, 0, 0, 0}); }},
        {"Layout_16K_3E_P0_S1", [] { return plugCurrent({16, 3, 0, 3, 0, 1, 0}); }},
        {"Layout_16K_3E_P0_S2", [] { return plugCurrent({16, 3, 0, 3, 0, 2, 0}); }},
        {"Layout_16K_3E_P0_S3", [] { return plugCurrent({16, 3, 0, 3, 0, 3, 0}); }},
        {"Layout_6K_1E_P0_S0", [] { return plugCurrent({6, 1, 0, 3, 0, 0, 0}); }},
        {"Layout_6K_0E_P0_S0", [] { return plugCurrent({6, 0, 0, 3, 0, 0, 0}); }},
        {"Layout_1K_0E_P0_S0", [] { return plugCurrent({1, 0, 0, 3, 0, 0, 0}); }},
        {"Layout_0K_1E_P0_S0", [] { return plugCurrent({0, 1, 0, 3, 0, 0, 0}); }},
        {"Layout_0K_1E_P1_S1", [] { return plugCurrent({0, 1, 0, 3, 1, 1, 0}); }},
        {"Layout_5K_2E_P0_S0", [] { return plugCurrent({5, 2, 0, 3, 0, 0, 0}); }},
        // The older families' pictures, their single knob and six-key pad
        // keeping some controls in other slots.
        {"Layout_0K_1E_P0_S0", [] { return plugR20Wide(0, 1); }},
        {"Layout_6K_1E_P0_S0", [] { return plugR20Wide(6, 1); }},
        {"Layout_16K_3E_P0_S1", [] { return plugR20Wide(4, 3); }},
        {"Layout_16K_3E_P0_S2", [] { return plugR20Wide(0, 2); }},
        {"Layout_1K_0E_P0_S0", [] { return plugR20Wide(1, 0); }},
        {"Layout_16K_3E_P0_S0",
         [] { return plugLegacy(std::make_unique<OldFirmware>(), 0x8842); }},
    };
    for (const PictureCase &c : cases) {
        Session session;
        c.plug();
        QVERIFY(session.loaded());
        QCOMPARE(session.window->currentLayout().name, QString::fromLatin1(c.name));
        // A function of its own on every control shown: key A on the first,
        // B on the next and so on.
        KeyboardData &store = session.store();
        for (int place = 0; place < kKeySlotCount; ++place) {
            const QPushButton *button = controlButton(*session.window, place);
            const int slot = session.window->keyIndexForButton(place);
            if (button && button->isVisibleTo(session.window.get()) && slot >= 0
                && store.isWritableSlot(slot)) {
                KeyConfig key;
                key.setSingleKey(uint8_t(4 + place));
                store.replaceKey(0, slot, key);
            }
        }
        QVERIFY(session.commands->exportToFile());
        const std::optional<KeypadFile> file = readKeypadFile(readFile(session.path)).file;
        QVERIFY(file);
        QVERIFY(!file->layers.first().controls.isEmpty());
        const QSet<QString> inFile = fileNames(*file);
        const QSet<QString> inWindow = windowNames(*session.window);
        QVERIFY2(inFile == inWindow,
                 qPrintable(QStringLiteral("%1: file %2 / window %3")
                                .arg(QLatin1String(c.name),
                                     QStringList(QSet<QString>(inFile).subtract(inWindow).values()).join(','),
                                     QStringList(QSet<QString>(inWindow).subtract(inFile).values()).join(','))));

        // Read back onto the same pad emptied, the file puts every function
        // where it was.
        const KeyLayer exported = store.layers()[0];
        store.clearAllKeys();
        QVERIFY(session.commands->importPath(session.path));
        for (int slot = 0; slot < kKeySlotCount; ++slot)
            QVERIFY2(store.layers()[0][slot].sameAssignment(exported[slot]), c.name);
    }
}

void KeypadFileTrustTest::exportIsCompleteOrNotWritten()
{
    Session session;
    const int device = VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(session.loaded());

    // While a read runs the window holds what it is replacing.
    session.window->onViewSettingsClicked();
    QVERIFY(!session.commands->exportToFile());
    QVERIFY(session.refusals.value(0).contains(QStringLiteral("being read")));
    QVERIFY(!QFile::exists(session.path));
    finishTasks();

    // Pulled out while the dialog is open: nothing written, nothing claimed.
    session.commands->setChooseFile([&](bool, const QString &) {
        VirtualKeypad::unplug(device);
        waitFor([&] { return statusLabel(*session.window)->text() == kNoDeviceText; });
        return session.path;
    });
    session.refusals.clear();
    QVERIFY(!session.commands->exportToFile());
    QVERIFY2(session.refusals.value(0).contains(QStringLiteral("disconnected")),
             qPrintable(session.refusals.join('|')));
    QVERIFY(!QFile::exists(session.path));
}

void KeypadFileTrustTest::aCompletedNameAsksBeforeReplacing()
{
    Session session;
    VirtualKeypad::installDemoKeypad("16k3e");
    QVERIFY(session.loaded());
    // The user typed "backup"; "backup.zentrik.json" is an older backup.
    const QString typed = session.folder.filePath(QStringLiteral("backup"));
    const QString completed = typed + QStringLiteral(".zentrik.json");
    writeFile(completed, "older");
    session.commands->setChooseFile([&](bool, const QString &) { return typed; });
    QStringList asked;
    bool replace = false;
    session.commands->setConfirmReplace([&](const QString &path) {
        asked << path;
        return replace;
    });

    QVERIFY(!session.commands->exportToFile());
    QCOMPARE(asked, QStringList{completed});
    QCOMPARE(readFile(completed), QByteArray("older"));
    QVERIFY(!QFile::exists(typed));

    replace = true;
    QVERIFY(session.commands->exportToFile());
    QVERIFY(readKeypadFile(readFile(completed)).file);
}

void KeypadFileTrustTest::oldKeypadFileHoldsItsFixedControlsAndNoLighting()
{
    QByteArray fromOld;
    QVector<ControlRole> fixed;
    {
        Session session;
        VirtualKeypad::installDemoKeypad("old");
        QVERIFY(session.loaded());
        QVERIFY(session.commands->exportToFile());
        fromOld = readFile(session.path);
        const std::optional<KeypadFile> file = readKeypadFile(fromOld).file;
        QVERIFY(file);
        QVERIFY(!fromOld.contains("\"lighting\""));
        // Every control its window shows is there, those it cannot write
        // marked fixed.
        for (const KeypadFileControl &control : file->layers.first().controls)
            if (control.fixed)
                fixed << control.role;
        QVERIFY(!fixed.isEmpty());
        int shown = 0;
        for (int place = 0; place < kKeySlotCount; ++place) {
            QPushButton *button = controlButton(*session.window, place);
            shown += button && button->isVisibleTo(session.window.get());
        }
        QVERIFY(file->layers.first().controls.size() <= shown);
    }
    {
        // Onto a keypad that can change those controls, the file leaves them
        // and the lighting as they are.
        Session session;
        VirtualKeypad::installDemoKeypad("16k3e");
        QVERIFY(session.loaded());
        KeyboardData &store = session.store();
        for (int slot = 0; slot < kKeySlotCount; ++slot)
            store.updateKey(0, slot, [](KeyConfig &key) { key.setSingleKey(0x1E); });
        const LedLayerConfig lighting = store.ledLayers()[0];
        writeFile(session.path, fromOld);
        QVERIFY(session.commands->importPath(session.path));
        const ControlMap map(session.window->currentLayout());
        for (const ControlRole &role : fixed) {
            const MappedControl *control = map.controlOf(*identityOf(role));
            QVERIFY(control);
            QCOMPARE(store.layers()[0][control->slot].keycode, uint8_t(0x1E));
        }
        QCOMPARE(store.ledLayers()[0].effect, lighting.effect);
        QVERIFY(store.ledLayers()[0].colors == lighting.colors);
    }
    {
        // An effect past the six an "Old" keypad shows is listed, not
        // saved as another one.
        Session session;
        VirtualKeypad::installDemoKeypad("old");
        QVERIFY(session.loaded());
        KeypadFile file = *readKeypadFile(fromOld).file;
        LedLayerConfig lighting;
        lighting.effect = 9;
        file.layers.first().lighting = lighting;
        writeFile(session.path, writeKeypadFile(file));
        const uint8_t before = session.store().ledLayers()[0].effect;
        session.commands->importPath(session.path);
        QVERIFY2(session.shownPreview.contains(
                     QStringLiteral("Layer 1, lighting effect 9: this keypad cannot show it")),
                 qPrintable(session.shownPreview));
        QCOMPARE(session.store().ledLayers()[0].effect, before);
    }
}

QTEST_MAIN(KeypadFileTrustTest)
#include "tst_keypad_file_trust.moc"
