#include "model/translation.h"

#include <QtTest>

class TestTranslation : public QObject
{
    Q_OBJECT
private slots:
    void tableKeepsEveryRowInOrder();
    void englishToChinese();
    void chineseToEnglish();
    void everyChineseTextComesBackAsEnglish();
    void heldLanguageIsUsedByTheShortLookup();
};

void TestTranslation::tableKeepsEveryRowInOrder()
{
    const QVector<TranslationPair> &table = translationTable();
    QVERIFY(table.size() >= 139);
    QCOMPARE(table.first(), TranslationPair("Connect the device with a usb cable",
                                            QString::fromUtf8("请用USB线连接设备")));
    QCOMPARE(table.at(31), TranslationPair("LAYER 1", QString::fromUtf8("第1层")));
    QCOMPARE(table.at(115).second, QString::fromUtf8("切换上一个\n当前颜色"));
    QCOMPARE(table.at(138), TranslationPair("Deselect", QString::fromUtf8("取消选择")));
    // The gesture names appear twice, for the mouse page and for the knobs.
    for (int row = 74; row <= 78; ++row)
        QCOMPARE(table.at(row), table.at(row + 14));
    QCOMPARE(table.at(74).first, QStringLiteral("Left Swipe"));
}

void TestTranslation::englishToChinese()
{
    QCOMPARE(translateText("Clear", true), QString::fromUtf8("清除"));
    QCOMPARE(translateText("Clear All", true), QString::fromUtf8("清除全部"));
    QCOMPARE(translateText("Left\nCommand", true), QString::fromUtf8("左\nCommand"));
    QCOMPARE(translateText("Mouse Left", true), QString::fromUtf8("鼠标左键"));
    QCOMPARE(translateText("Color Pick (Alt)", true), QString::fromUtf8("取色(Alt)"));
    // Whole, case-sensitive matches only; anything else is shown as it is.
    QCOMPARE(translateText("Procreate", true), QStringLiteral("Procreate"));
    QCOMPARE(translateText("clear", true), QStringLiteral("clear"));
    QCOMPARE(translateText("Clear ", true), QStringLiteral("Clear "));
    QCOMPARE(translateText(QString(), true), QString());
    // A text that is already Chinese stays Chinese.
    QCOMPARE(translateText(QString::fromUtf8("清除"), true), QString::fromUtf8("清除"));
}

void TestTranslation::chineseToEnglish()
{
    QCOMPARE(translateText(QString::fromUtf8("清除"), false), QStringLiteral("Clear"));
    QCOMPARE(translateText(QString::fromUtf8("第3层"), false), QStringLiteral("LAYER 3"));
    QCOMPARE(translateText(QString::fromUtf8("右\nOption"), false), QStringLiteral("Right\nOption"));
    // Shared Chinese texts come back as the English of their first row.
    QCOMPARE(translateText(QString::fromUtf8("鼠标左键"), false), QStringLiteral("Mouse LeftKey"));
    QCOMPARE(translateText(QString::fromUtf8("Ctrl+鼠标滚轮向上"), false),
             QStringLiteral("Ctrl+Mouse Up"));
    // English passes through unchanged, known or not.
    QCOMPARE(translateText("Save Settings", false), QStringLiteral("Save Settings"));
    QCOMPARE(translateText("Procreate", false), QStringLiteral("Procreate"));
    QCOMPARE(translateText(QString::fromUtf8("未知"), false), QString::fromUtf8("未知"));
}

void TestTranslation::everyChineseTextComesBackAsEnglish()
{
    for (const TranslationPair &pair : translationTable()) {
        QVERIFY2(translateText(pair.first, true) != pair.first, qPrintable(pair.first));
        const QString english = translateText(pair.second, false);
        QVERIFY2(english != pair.second, qPrintable(pair.first));
        QCOMPARE(translateText(english, true), pair.second);
    }
}

void TestTranslation::heldLanguageIsUsedByTheShortLookup()
{
    // English until the window sets the language from the settings file.
    QCOMPARE(interfaceIsChinese(), false);
    QCOMPARE(translateText(QStringLiteral("Clear")), QStringLiteral("Clear"));
    setInterfaceChinese(true);
    QCOMPARE(translateText(QStringLiteral("Clear")), QString::fromUtf8("清除"));
    setInterfaceChinese(false);
    QCOMPARE(translateText(QString::fromUtf8("清除")), QStringLiteral("Clear"));
}

QTEST_APPLESS_MAIN(TestTranslation)
#include "tst_translation.moc"
