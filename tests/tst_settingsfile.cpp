#include "keypad/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void arbitraryBytesGiveValidSettings();
    void readsConfigIniFromDirectory();
};

namespace {
constexpr int kNoLayerNum = -1;
}

void TestSettingsFile::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<int>("layerNum");

    QTest::newRow("empty file") << QByteArray() << false << kNoLayerNum;
    QTest::newRow("plain") << QByteArray("language=ch\nlayernum=1\n") << true << 1;
    QTest::newRow("spaces and letter case") << QByteArray("  Language = CH  \n LAYERNUM\t=\t3")
                                            << true << 3;
    QTest::newRow("english") << QByteArray("language=EN") << false << kNoLayerNum;
    QTest::newRow("byte-order mark and windows line ends")
        << QByteArray("\xEF\xBB\xBFlanguage=ch\r\nlayernum=2\r\n") << true << 2;
    QTest::newRow("byte-order marks inside the text")
        << QByteArray("layernum=1\n\xEF\xBB\xBFlang\xEF\xBB\xBFuage=ch") << true << 1;
    QTest::newRow("layernum 0 is valid") << QByteArray("layernum=0") << false << 0;
    QTest::newRow("layernum 4") << QByteArray("layernum=4") << false << kNoLayerNum;
    QTest::newRow("layernum -1") << QByteArray("layernum=-1") << false << kNoLayerNum;
    QTest::newRow("layernum two") << QByteArray("layernum=two") << false << kNoLayerNum;
    QTest::newRow("layernum 1.5") << QByteArray("layernum=1.5") << false << kNoLayerNum;
    QTest::newRow("layernum empty") << QByteArray("layernum=") << false << kNoLayerNum;
    QTest::newRow("layernum 2 then 9") << QByteArray("layernum=2\nlayernum=9\n") << false << 2;
    QTest::newRow("layernum 2 then two") << QByteArray("layernum=2\nlayernum=two") << false << 2;
    QTest::newRow("last valid layernum wins") << QByteArray("layernum=2\nlayernum=1") << false << 1;
    QTest::newRow("ch then en") << QByteArray("language=ch\nlanguage=en") << false << kNoLayerNum;
    QTest::newRow("ch then unknown") << QByteArray("language=ch\nlanguage=zh") << true
                                     << kNoLayerNum;
    QTest::newRow("unknown language") << QByteArray("language=chinese") << false << kNoLayerNum;
    QTest::newRow("section header")
        << QByteArray("[language=ch]\n[General]\nlayernum=2") << false << 2;
    QTest::newRow("section header holding a layer count") << QByteArray("[layernum=2]") << false
                                                         << kNoLayerNum;
    QTest::newRow("comments")
        << QByteArray("#language=ch\n;layernum=2\n   # layernum=3") << false << kNoLayerNum;
    QTest::newRow("line without equals") << QByteArray("language ch\nlayernum 2") << false
                                         << kNoLayerNum;
    QTest::newRow("value holding equals") << QByteArray("language=ch=en") << false << kNoLayerNum;
    QTest::newRow("unknown key") << QByteArray("layers=2\nlang=ch") << false << kNoLayerNum;
    QTest::newRow("text ends at NUL")
        << QByteArray("language=ch\n") + '\0' + QByteArray("layernum=2") << true << kNoLayerNum;
    QTest::newRow("history off") << QByteArray("History = OFF\nlanguage=ch") << true << kNoLayerNum;
    QTest::newRow("history on, or unknown")
        << QByteArray("history = maybe\nhistory=on") << false << kNoLayerNum;
    QTest::newRow("invalid utf-8 line") << QByteArray("\xFF\xFE\x80\nlanguage=ch") << true
                                        << kNoLayerNum;
}

void TestSettingsFile::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, chinese);
    QFETCH(int, layerNum);

    const AppSettings settings = parseSettingsText(text);
    QCOMPARE(settings.useChinese, chinese);
    QCOMPARE(settings.layerNum.value_or(kNoLayerNum), layerNum);
    // Only an explicit "off" stops the history.
    QCOMPARE(settings.keepHistory, !text.toLower().contains("history = off"));
}

void TestSettingsFile::arbitraryBytesGiveValidSettings()
{
    // The file is whatever a user left beside the program.
    QRandomGenerator random(20240611);
    const QByteArray alphabet("layernumLANGUAGE=ch en#;[]\r\n\t\0-+0123456789\xEF\xBB\xBF\xFF", 46);
    for (int round = 0; round < 2000; ++round) {
        QByteArray text;
        const int length = int(random.bounded(64));
        for (int i = 0; i < length; ++i)
            text.append(alphabet.at(int(random.bounded(alphabet.size()))));
        const AppSettings settings = parseSettingsText(text);
        if (settings.layerNum)
            QVERIFY2(*settings.layerNum >= 0 && *settings.layerNum <= 3, text.toHex().constData());
    }
}

void TestSettingsFile::readsConfigIniFromDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(settingsFilePath(dir.path()), dir.path() + "/Config.ini");

    // Missing file: defaults.
    AppSettings settings = readSettingsFile(dir.path());
    QCOMPARE(settings.useChinese, false);
    QVERIFY(!settings.layerNum);

    // A directory in the file's place cannot be read: defaults again.
    QVERIFY(QDir(dir.path()).mkdir("Config.ini"));
    settings = readSettingsFile(dir.path());
    QCOMPARE(settings.useChinese, false);
    QVERIFY(!settings.layerNum);
    QVERIFY(QDir(dir.path()).rmdir("Config.ini"));

    QFile file(settingsFilePath(dir.path()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF[Zentrik]\r\nLanguage = CH\r\nlayernum = 2\r\n");
    file.close();
    settings = readSettingsFile(dir.path());
    QCOMPARE(settings.useChinese, true);
    QCOMPARE(settings.layerNum.value_or(kNoLayerNum), 2);
}

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
