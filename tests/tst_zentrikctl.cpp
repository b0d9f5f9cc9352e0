// zentrikctl on the virtual keypads: apply, diff and the dry run against what
// the keypad keeps, a keypad that forgets a write, a file it cannot fully
// hold, two keypads, and the program itself as a script sees it.

#include "tst_session_support.h"

#include "ctl/ctlcommands.h"
#include "keypad/appidentity.h"
#include "keypad/configurationhistory.h"
#include "model/keypadfile.h"
#include "virtual_keypad/virtualkeypad.h"

#include <QCoreApplication>
#ifndef ZENTRIK_PORTABLE
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

constexpr uint8_t kUsageB = 0x05;
constexpr int kCmdWriteKey = 1;

struct Ran {
    int exit = -1;
    QString out;
    QString err;
};

// zentrikctl in this process, against the keypads plugged in here.
Ran ctl(const QStringList &arguments, bool keepHistory = true)
{
    Ran ran;
    QTextStream out(&ran.out);
    QTextStream err(&ran.err);
    ran.exit = runZentrikctl(arguments, out, err,
                             CtlSurroundings{QStringLiteral("org.zentrik.test.NoWindow"), QString(),
                                             keepHistory, ConfigurationHistory::defaultRoot()});
    return ran;
}

QJsonArray historyEntries()
{
    const Ran listed = ctl({QStringLiteral("history"), QStringLiteral("list"), QStringLiteral("--json")});
    return QJsonDocument::fromJson(listed.out.toUtf8()).object().value("entries").toArray();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// The file with a control of layer 1 set to `usage`.
QByteArray withControl(const QByteArray &bytes, const ControlRole &role, uint8_t usage)
{
    KeypadFile file = *readKeypadFile(bytes).file;
    KeypadFileControl control{role, KeyConfig(), false};
    control.record.setSingleKey(usage);
    QVector<KeypadFileControl> &controls = file.layers[0].controls;
    controls.erase(std::remove_if(controls.begin(), controls.end(),
                                  [&role](const KeypadFileControl &c) { return c.role == role; }),
                   controls.end());
    controls.prepend(control);
    return writeKeypadFile(file);
}

const ControlRole kFirstKey{RolePart::Key, 1};

} // namespace

class ZentrikctlTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { VirtualKeypad::reset(); }
    void applyMakesTheKeypadHoldTheFile_data();
    void applyMakesTheKeypadHoldTheFile();
    void aForgottenWriteFailsTheApply();
    void aFileTheKeypadCannotFullyHold();
    void twoKeypadsAndTheKeypadOption();
    void eachApplyKeepsWhatTheKeypadHeld();
    void theProgramAsAScriptSeesIt();
};

void ZentrikctlTest::applyMakesTheKeypadHoldTheFile_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("current") << "16k3e";
    QTest::newRow("R20Wide") << "r20wide";
    QTest::newRow("Old") << "old";
}

void ZentrikctlTest::applyMakesTheKeypadHoldTheFile()
{
    QFETCH(QString, model);
    VirtualKeypad::installDemoKeypad(model.toStdString());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("setup.zentrik.json"));
    QCOMPARE(ctl({QStringLiteral("export"), path}).exit, 0);
    QCOMPARE(ctl({QStringLiteral("diff"), path}).exit, 0);

    writeAll(path, withControl(readAll(path), kFirstKey, kUsageB));
    const auto firstKeyShown = [] {
        return ctl({QStringLiteral("show"), QStringLiteral("--layer"), QStringLiteral("1")})
            .out.section(QLatin1Char('\n'), 1, 1).trimmed();
    };
    const QString before = firstKeyShown();
    // The dry run tells and writes nothing.
    const Ran dry = ctl({QStringLiteral("apply"), QStringLiteral("--dry-run"), path});
    QCOMPARE(dry.exit, 1);
    QVERIFY2(dry.out.contains(QStringLiteral("Layer 1, Key 1: ")), qPrintable(dry.out));
    QCOMPARE(firstKeyShown(), before);

    const Ran applied = ctl({QStringLiteral("apply"), path});
    QCOMPARE(applied.exit, 0);
    QVERIFY2(applied.out.contains(QStringLiteral("Key 1: ")), qPrintable(applied.out));
    // What the keypad keeps, read by a second run, is the file.
    const Ran after = ctl({QStringLiteral("diff"), path});
    QCOMPARE(after.exit, 0);
    QVERIFY2(after.out.isEmpty(), qPrintable(after.out));
    QCOMPARE(firstKeyShown(), QStringLiteral("Key 1: B"));
    // Applied again, it says why it wrote nothing.
    const Ran again = ctl({QStringLiteral("apply"), path});
    QCOMPARE(again.exit, 0);
    QCOMPARE(again.out.trimmed(), QStringLiteral("The keypad already holds the file: nothing written."));
}

void ZentrikctlTest::aForgottenWriteFailsTheApply()
{
    const int device = VirtualKeypad::installDemoKeypad("16k3e");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("setup.zentrik.json"));
    QCOMPARE(ctl({QStringLiteral("export"), path}).exit, 0);
    writeAll(path, withControl(readAll(path), kFirstKey, kUsageB));
    VirtualKeypad::forgetWrite(kCmdWriteKey, 1, device);

    const Ran applied = ctl({QStringLiteral("apply"), path});
    QCOMPARE(applied.exit, 1);
    // The control the keypad did not keep is named.
    QVERIFY2(applied.err.contains(QStringLiteral("Layer 1, Key 1: ")), qPrintable(applied.err));
    QCOMPARE(ctl({QStringLiteral("diff"), path}).exit, 1);
}

void ZentrikctlTest::aFileTheKeypadCannotFullyHold()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sixteen.zentrik.json"));
    VirtualKeypad::installDemoKeypad("16k3e");
    QCOMPARE(ctl({QStringLiteral("export"), path}).exit, 0);
    writeAll(path, withControl(readAll(path), ControlRole{RolePart::KnobTurnLeft, 2}, kUsageB));
    VirtualKeypad::reset();

    // The six-key pad has no knob 2 or 3 and no key 7: listed, the rest
    // written, and the exit code says not all of it is held.
    VirtualKeypad::installDemoKeypad("6k1e");
    const Ran applied = ctl({QStringLiteral("apply"), path});
    QCOMPARE(applied.exit, 7);
    QVERIFY2(applied.out.contains(QStringLiteral("Not held: ")), qPrintable(applied.out));
    QCOMPARE(ctl({QStringLiteral("diff"), path}).exit, 1);
}

void ZentrikctlTest::twoKeypadsAndTheKeypadOption()
{
    VirtualKeypad::installDemoKeypad("16k3e");
    VirtualKeypad::installDemoKeypad("5k2e");
    const Ran listed = ctl({QStringLiteral("list"), QStringLiteral("--json")});
    QCOMPARE(listed.exit, 0);
    const QJsonArray keypads =
        QJsonDocument::fromJson(listed.out.toUtf8()).object().value("keypads").toArray();
    QCOMPARE(keypads.size(), 2);
    QCOMPARE(keypads.at(1).toObject().value("model").toString(),
             QStringLiteral("Layout_5K_2E_P0_S0"));

    const Ran second = ctl({QStringLiteral("show"), QStringLiteral("--keypad"), QStringLiteral("2"),
                            QStringLiteral("--layer"), QStringLiteral("1")});
    QCOMPARE(second.exit, 0);
    QVERIFY2(second.out.contains(QStringLiteral("Knob 2 turn right: ")), qPrintable(second.out));
    QVERIFY(!second.out.contains(QStringLiteral("Layer 2")));
    const QString path = keypads.at(0).toObject().value("path").toString();
    QVERIFY(ctl({QStringLiteral("show"), QStringLiteral("--keypad"), path}).out.contains("Key 16: "));
    QCOMPARE(ctl({QStringLiteral("show"), QStringLiteral("--keypad"), QStringLiteral("3")}).exit, 3);
}

void ZentrikctlTest::eachApplyKeepsWhatTheKeypadHeld()
{
    QDir(ConfigurationHistory::defaultRoot()).removeRecursively();
    VirtualKeypad::installDemoKeypad("16k3e");
    QTemporaryDir folder;
    const QString original = folder.filePath(QStringLiteral("original.zentrik.json"));
    const QString changed = folder.filePath(QStringLiteral("changed.zentrik.json"));
    QCOMPARE(ctl({QStringLiteral("export"), original}).exit, 0);
    writeAll(changed, withControl(readAll(original), kFirstKey, kUsageB));
    QVERIFY(historyEntries().isEmpty());
    QCOMPARE(ctl({QStringLiteral("apply"), QStringLiteral("--dry-run"), changed}).exit, 1);
    QVERIFY(historyEntries().isEmpty());

    QCOMPARE(ctl({QStringLiteral("apply"), changed}).exit, 0);
    QJsonArray entries = historyEntries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].toObject().value("writtenNextBy").toString(), QStringLiteral("zentrikctl apply"));
    QCOMPARE(entries[0].toObject().value("changes").toInt(), 1);
    const Ran shown = ctl({QStringLiteral("history"), QStringLiteral("show"), QStringLiteral("1")});
    QCOMPARE(shown.exit, 1);
    QVERIFY2(shown.out.contains(QStringLiteral("Layer 1, Key 1: ")), qPrintable(shown.out));

    // Restored, the keypad holds what it held before the apply.
    QCOMPARE(ctl({QStringLiteral("history"), QStringLiteral("restore"), QStringLiteral("1")}).exit, 0);
    QCOMPARE(ctl({QStringLiteral("diff"), original}).exit, 0);
    entries = historyEntries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].toObject().value("writtenNextBy").toString(),
             QStringLiteral("zentrikctl history restore"));
    QCOMPARE(ctl({QStringLiteral("history"), QStringLiteral("show"), QStringLiteral("3")}).exit, 2);

    // Turned off, nothing more is kept.
    QCOMPARE(ctl({QStringLiteral("apply"), changed}, false).exit, 0);
    QCOMPARE(historyEntries().size(), 2);
}

void ZentrikctlTest::theProgramAsAScriptSeesIt()
{
#ifndef ZENTRIK_PORTABLE
    sessiontest::PrivateSessionBus bus;
    QString why;
    if (!bus.start(&why))
        QSKIP(qPrintable(why));
#endif
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../zentrikctl-demo");
    QTemporaryDir folder;
    const auto run = [&](const QStringList &arguments, const QString &model = "16k3e") {
        sessiontest::TiedProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZENTRIK_VIRTUAL_KEYPAD"), model);
#ifndef ZENTRIK_PORTABLE
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
#endif
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        process.waitForFinished(30000);
        return Ran{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
    };

    // Standard output holds the results alone: the JSON parses.
    const Ran listed = run({QStringLiteral("list"), QStringLiteral("--json")});
    QCOMPARE(listed.exit, 0);
    QCOMPARE(QJsonDocument::fromJson(listed.out.toUtf8())
                 .object().value("keypads").toArray().at(0).toObject().value("state").toString(),
             QStringLiteral("ok"));
    QVERIFY2(listed.err.isEmpty(), qPrintable(listed.err));

    const QString path = folder.filePath(QStringLiteral("demo.zentrik.json"));
    QCOMPARE(run({QStringLiteral("export"), path}).exit, 0);
    QVERIFY(readKeypadFile(readAll(path)).file);
    QCOMPARE(run({QStringLiteral("diff"), path}).exit, 0);
    QCOMPARE(run({QStringLiteral("diff"), folder.filePath("missing.json")}).exit, 6);
    QCOMPARE(run({QStringLiteral("frobnicate")}).exit, 2);
    QCOMPARE(run({QStringLiteral("list")}, QStringLiteral("none")).exit, 3);

#ifndef ZENTRIK_PORTABLE
    // While the window holds the keypad, the program leaves it alone.
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), "zentrikctl-test");
    QVERIFY(connection.isConnected());
    QVERIFY(connection.registerService(QString::fromLatin1(kDemoBusName)));
    const Ran busy = run({QStringLiteral("diff"), path});
    QCOMPARE(busy.exit, 5);
    QVERIFY2(busy.err.contains(QStringLiteral("window")), qPrintable(busy.err));
    QDBusConnection::disconnectFromBus("zentrikctl-test");
#endif
}

QTEST_GUILESS_MAIN(ZentrikctlTest)
#include "tst_zentrikctl.moc"
