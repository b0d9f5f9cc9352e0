// What the desktop learns about Zentrik from the installed files: the
// keypads it supports, under which id it runs, and its names in both
// languages.

#include "keypad/appidentity.h"
#include "device/candidates.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// "vvvv:pppp" for every match of a pattern with the two ids as its groups.
QStringList idPairs(const QString &text, const QString &pattern)
{
    QStringList pairs;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        pairs << match.captured(1) + QLatin1Char(':') + match.captured(2);
    }
    return pairs;
}

} // namespace

class PackagingTest : public QObject
{
    Q_OBJECT

private slots:
    void metainfoNamesTheUdevRulesKeypads()
    {
        const QString rules = readAll(QStringLiteral(ZENTRIK_PACKAGING_BUILD_DIR "/70-zentrik.rules"));
        const QString metainfo =
            readAll(QStringLiteral(ZENTRIK_PACKAGING_BUILD_DIR "/org.zentrik.Zentrik.metainfo.xml"));
        QVERIFY(!rules.isEmpty());
        QVERIFY(!metainfo.isEmpty());

        QStringList table;
        for (const DeviceCandidate &c : kDeviceCandidates)
            table << QStringLiteral("%1:%2").arg(c.vendorId, 4, 16, QLatin1Char('0'))
                         .arg(c.productId, 4, 16, QLatin1Char('0'));

        // udev compares lower-case hex; a modalias is upper case with a
        // wildcard for the rest of the kernel's string.
        const QStringList udev = idPairs(
            rules, QStringLiteral("ATTRS\\{idVendor\\}==\"([0-9a-f]{4})\", ATTRS\\{idProduct\\}==\"([0-9a-f]{4})\""));
        QStringList modalias = idPairs(
            metainfo, QStringLiteral("<modalias>usb:v([0-9A-F]{4})p([0-9A-F]{4})\\*</modalias>"));
        for (QString &pair : modalias)
            pair = pair.toLower();
        QCOMPARE(udev, table);
        QCOMPARE(modalias, udev);
        QCOMPARE(metainfo.count(QLatin1String("<modalias>")), modalias.size());
    }

    void allowAccessInstallsOnlyZentriksRule()
    {
        // pkexec runs the helper under Zentrik's own action only when the
        // action names the helper's installed path; the helper installs the
        // rule CMake ships, and that rule makes no node world-writable.
        const QString build = QStringLiteral(ZENTRIK_PACKAGING_BUILD_DIR "/");
        const QString policy = readAll(build + QStringLiteral("org.zentrik.Zentrik.policy"));
        const QString helper = readAll(build + QStringLiteral("zentrik-allow-access"));
        const QString rules = readAll(build + QStringLiteral("70-zentrik.rules"));
        QVERIFY(!policy.isEmpty() && !helper.isEmpty() && !rules.isEmpty());
        const QRegularExpression execPath(QStringLiteral(
            "<annotate key=\"org.freedesktop.policykit.exec.path\">(/[^<]+/zentrik-allow-access)</annotate>"));
        QVERIFY(execPath.match(policy).hasMatch());
        QVERIFY(policy.contains(QLatin1String("<action id=\"org.zentrik.Zentrik.allow-access\">")));
        QVERIFY(policy.contains(QLatin1String("<message xml:lang=\"zh_CN\">")));
        QVERIFY(!policy.contains(QLatin1String("<allow_active>yes")));

        const QRegularExpression source(QStringLiteral("^rule='(/[^']+/70-zentrik\\.rules)'$"),
                                        QRegularExpression::MultilineOption);
        QVERIFY(source.match(helper).hasMatch());
        QVERIFY(!helper.contains(QLatin1String("@")));
        QVERIFY(helper.contains(QLatin1String("udevadm trigger --subsystem-match=hidraw --action=change")));
        // Nothing from its caller: no argument is read, let alone run.
        QVERIFY(!helper.contains(QLatin1String("$1")) && !helper.contains(QLatin1String("$*"))
                && !helper.contains(QLatin1String("eval")));
        QVERIFY(!rules.contains(QLatin1String("MODE")));
        QCOMPARE(rules.count(QLatin1String("TAG+=\"uaccess\"")), int(kDeviceCandidates.size()));
    }

    void desktopIdAndBothLanguages()
    {
        const QString id = QString::fromLatin1(kDesktopFileId);
        const QString desktop = readAll(QStringLiteral(ZENTRIK_SOURCE_DIR "/packaging/") + id
                                        + QStringLiteral(".desktop"));
        const QString metainfo =
            readAll(QStringLiteral(ZENTRIK_PACKAGING_BUILD_DIR "/") + id + QStringLiteral(".metainfo.xml"));
        QVERIFY2(!desktop.isEmpty(), "the desktop file must be named after the program's desktop id");
        QVERIFY(metainfo.contains(QStringLiteral("<id>") + id + QStringLiteral("</id>")));
        QVERIFY(metainfo.contains(QStringLiteral("<launchable type=\"desktop-id\">") + id
                                  + QStringLiteral(".desktop</launchable>")));

        for (const char *key : {"Name", "GenericName", "Comment"}) {
            const QRegularExpression line(QStringLiteral("^%1\\[zh_CN\\]=\\S").arg(QLatin1String(key)),
                                          QRegularExpression::MultilineOption);
            QVERIFY2(line.match(desktop).hasMatch(), key);
        }
        for (const char *element : {"name", "summary"}) {
            const QRegularExpression tag(QStringLiteral("<%1 xml:lang=\"zh_CN\">[^<]+</%1>").arg(QLatin1String(element)));
            QVERIFY2(tag.match(metainfo).hasMatch(), element);
        }
    }
};

QTEST_GUILESS_MAIN(PackagingTest)
#include "tst_packaging.moc"
