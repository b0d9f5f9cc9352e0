#include "model/translation.h"
#include "tst_language_support.h"

#include <QtTest>

class TestTranslation : public QObject
{
    Q_OBJECT
private slots:
    void tableKeepsEveryRowInOrder();
    void englishToChinese();
    void chineseToEnglish();
    void everyChineseTextComesBackAsEnglish();
    void heldLanguageChoosesTheDirection();
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
    const ChineseInterface chinese;
    QCOMPARE(translateText("Clear"), QString::fromUtf8("清除"));
    QCOMPARE(translateText("Clear All"), QString::fromUtf8("清除全部"));
    QCOMPARE(translateText("Left\nCommand"), QString::fromUtf8("左\nCommand"));
    QCOMPARE(translateText("Mouse Left"), QString::fromUtf8("鼠标左键"));
    QCOMPARE(translateText("Color Pick (Alt)"), QString::fromUtf8("取色(Alt)"));
    // Whole, case-sensitive matches only; anything else is shown as it is.
    QCOMPARE(translateText("Procreate"), QStringLiteral("Procreate"));
    QCOMPARE(translateText("clear"), QStringLiteral("clear"));
    QCOMPARE(translateText("Clear "), QStringLiteral("Clear "));
    QCOMPARE(translateText(QString()), QString());
    // A text that is already Chinese stays Chinese.
    QCOMPARE(translateText(QString::fromUtf8("清除")), QString::fromUtf8("清除"));
}

void TestTranslation::chineseToEnglish()
{
    QCOMPARE(translateText(QString::fromUtf8("清除")), QStringLiteral("Clear"));
    QCOMPARE(translateText(QString::fromUtf8("第3层")), QStringLiteral("LAYER 3"));
    QCOMPARE(translateText(QString::fromUtf8("右\nOption")), QStringLiteral("Right\nOption"));
    // Shared Chinese texts come back as the English of their first row.
    QCOMPARE(translateText(QString::fromUtf8("鼠标左键")), QStringLiteral("Mouse LeftKey"));
    QCOMPARE(translateText(QString::fromUtf8("Ctrl+鼠标滚轮向上")),
             QStringLiteral("Ctrl+Mouse Up"));
    // English passes through unchanged, known or not.
    QCOMPARE(translateText("Save Settings"), QStringLiteral("Save Settings"));
    QCOMPARE(translateText("Procreate"), QStringLiteral("Procreate"));
    QCOMPARE(translateText(QString::fromUtf8("未知")), QString::fromUtf8("未知"));
}

void TestTranslation::everyChineseTextComesBackAsEnglish()
{
    for (const TranslationPair &pair : translationTable()) {
        const QString english = translateText(pair.second);
        QVERIFY2(english != pair.second, qPrintable(pair.first));
        const ChineseInterface chinese;
        QVERIFY2(translateText(pair.first) != pair.first, qPrintable(pair.first));
        QCOMPARE(translateText(english), pair.second);
    }
}

void TestTranslation::heldLanguageChoosesTheDirection()
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
