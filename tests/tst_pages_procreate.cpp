// The Procreate shortcut page: the shortcut table and its recognition, the
// button texts, and shortcuts stored in the selected key.

#include "model/keyboarddata.h"
#include "pages/procreatepage.h"
#include "pages/procreateshortcuts.h"
#include "model/keytexts.h"
#include "tst_device_support.h"
#include "tst_language_support.h"
#include "tst_store_save.h"

#include <QPushButton>

namespace {

QPushButton *shortcutButton(ProcreatePage &page, const QString &label)
{
    for (QPushButton *button : page.shortcutButtons())
        if (button->property("procreateLabel").toString() == label)
            return button;
    return nullptr;
}

// The page's choices into the store, as the page host wires them.
void storeChoices(const ProcreatePage &page, KeyboardData &data)
{
    QObject::connect(
        &page, &ProcreatePage::shortcutChosen, &page,
        [&data](const QVector<uint8_t> &keys) { assignProcreateShortcut(data, keys); });
}

QString recognizedLabel(const KeyConfig &key)
{
    const auto match = recognizeProcreate(key);
    return match ? QString::fromUtf8(match->label) : QString();
}

} // namespace

class TestPagesProcreate : public QObject
{
    Q_OBJECT

private slots:
    void recordsPressInOrderAndReleaseInReverse();
    void recognitionTakesTheFirstMatch();
    void buttonTextsBreakIntoLines();
    void pageCarriesItsShortcuts();
    void clickAssignsToSelectedKey();
    void savedShortcutReadsBackRecognised();
};

void TestPagesProcreate::recordsPressInOrderAndReleaseInReverse()
{
    const KeyConfig undo = procreateRecord({0xE3, 0x1D});
    QCOMPARE(undo.type, uint8_t(KeyTypeMacro));
    QCOMPARE(undo.dirty, uint8_t(1));
    const QVector<MacroStep> expected{{0, 0xE3, 0}, {0, 0x1D, 20}, {1, 0x1D, 20}, {1, 0xE3, 20}};
    QCOMPARE(undo.macroSteps, expected);
    QCOMPARE(shortTextOf(undo), QStringLiteral("LWin -> ..."));

    const KeyConfig redo = procreateRecord({0xE1, 0xE3, 0x1D});
    QCOMPARE(redo.macroSteps.size(), 6);
    QCOMPARE(redo.macroSteps.at(3), (MacroStep{1, 0x1D, 20}));
    QCOMPARE(redo.macroSteps.at(5), (MacroStep{1, 0xE1, 20}));

    const KeyConfig brush = procreateRecord({0x05});
    QCOMPARE(brush.type, uint8_t(KeyTypeSingle));
    QCOMPARE(brush.keycode, uint8_t(0x05));
    QCOMPARE(fullTextOf(brush), QStringLiteral("B"));
    QCOMPARE(shortTextOf(brush), QStringLiteral("B"));
    QVERIFY(brush.macroSteps.isEmpty());
}

void TestPagesProcreate::recognitionTakesTheFirstMatch()
{
    // Every shortcut's own record is recognised as itself, except Deselect,
    // whose keys are Clear Selection's.
    const auto &shortcuts = procreateShortcuts();
    for (const ProcreateShortcut &shortcut : shortcuts) {
        const QString expected = QString::fromUtf8(shortcut.label) == QLatin1String("Deselect")
            ? QStringLiteral("Clear Selection") : QString::fromUtf8(shortcut.label);
        QCOMPARE(recognizedLabel(procreateRecord(procreateKeys(shortcut))), expected);
    }
    const auto clearSel = recognizeProcreate(procreateRecord({0xE3, 0x07}));
    QVERIFY(clearSel);
    QCOMPARE(QString::fromUtf8(clearSel->shortLabel), QStringLiteral("Clear Sel"));

    // A single key only matches as a single key; a macro only step by step.
    KeyConfig key;
    key.setSingleKey(0x2F);
    QCOMPARE(recognizedLabel(key), QStringLiteral("Decrease Brush Size by 5%"));
    key.setSingleKey(0x1D);
    QCOMPARE(recognizedLabel(key), QString());
    key.setCombination(0x08, QByteArray("\x1d"));
    QCOMPARE(recognizedLabel(key), QString());
    KeyConfig edited = procreateRecord({0xE3, 0x1D});
    edited.macroSteps[2].delay = 21;
    QCOMPARE(recognizedLabel(edited), QString());
    edited.macroSteps[2].delay = 20;
    edited.macroSteps.append(MacroStep{0, 0x04, 20});
    QCOMPARE(recognizedLabel(edited), QString());
    QCOMPARE(recognizedLabel(KeyConfig()), QString());
}

void TestPagesProcreate::buttonTextsBreakIntoLines()
{
    // Hand-made breaks win over the wrapping rule.
    QCOMPARE(procreateWrappedText(QStringLiteral("Switch Between Previous and Current Color")),
             QStringLiteral("Switch Between\nPrevious and\nCurrent Color"));
    QCOMPARE(procreateWrappedText(QStringLiteral("Color Pick M (iOS 17)")),
             QStringLiteral("Color Pick\nM (iOS 17)"));

    // 26 characters wrap at 10.
    QCOMPARE(procreateWrappedText(QStringLiteral("Decrease Brush Size by 10%")),
             QStringLiteral("Decrease\nBrush Size\nby 10%"));
    QCOMPARE(procreateWrappedText(QStringLiteral("Copy All")), QStringLiteral("Copy All"));
    QCOMPARE(procreateWrappedText(QStringLiteral("Undo")), QStringLiteral("Undo"));
    QCOMPARE(procreateWrappedText(QStringLiteral("  Copy   All ")), QStringLiteral("Copy All"));
    QCOMPARE(procreateWrappedText(QStringLiteral("Duplicate Selection")),
             QStringLiteral("Duplicate\nSelection"));
    // Never more than three lines: the rest stays on the last one.
    QCOMPARE(procreateWrappedText(QStringLiteral("aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd")),
             QStringLiteral("aaaaaaaaaa\nbbbbbbbbbb\ncccccccccc dddddddddd"));

    // Translated first, so the fixed breaks never touch Chinese texts.
    QCOMPARE(procreateButtonText(QStringLiteral("Activate Brush Tool")),
             QStringLiteral("Activate\nBrush Tool"));
    const ChineseInterface chinese;
    QCOMPARE(procreateButtonText(QStringLiteral("Undo")), QStringLiteral("撤销"));
    QCOMPARE(procreateButtonText(QStringLiteral("Switch Between Previous and Current Color")),
             QStringLiteral("切换上一个\n当前颜色"));
    QCOMPARE(procreateButtonText(QStringLiteral("Color Pick M (iOS 17)")),
             QStringLiteral("取色M(iOS\n17)"));
}

void TestPagesProcreate::pageCarriesItsShortcuts()
{
    ProcreatePage page;
    const QList<QPushButton *> all = page.findChildren<QPushButton *>();
    QCOMPARE(all.size(), 40);
    QCOMPARE(page.shortcutButtons().size(), 32);
    int empty = 0;
    for (QPushButton *button : all) {
        QVERIFY(button->minimumHeight() >= 96);
        if (button->property("class").toString() == QLatin1String("procreateKeyEmpty")) {
            ++empty;
            QVERIFY(!button->isEnabled());
            QVERIFY(!button->property("procreateLabel").isValid());
            QCOMPARE(button->font().pixelSize(), 16);
        }
    }
    QCOMPARE(empty, 8);

    QPushButton *redo = shortcutButton(page, QStringLiteral("Redo"));
    QVERIFY(redo);
    QCOMPARE(redo->property("class").toString(), QStringLiteral("procreateKey"));
    QCOMPARE(redo->property("procreateShortLabel").toString(), QStringLiteral("Redo"));
    QCOMPARE(redo->property("procreateKeycodes").toList(),
             (QVariantList{0xE1, 0xE3, 0x1D}));
    QCOMPARE(page.shortcutButtons().first()->property("procreateLabel").toString(),
             QStringLiteral("QuickMenu"));
    QCOMPARE(page.shortcutButtons().last()->property("procreateLabel").toString(),
             QStringLiteral("Deselect"));

    QPushButton *toggle = shortcutButton(page, QStringLiteral("Toggle Full Screen Mode"));
    QCOMPARE(toggle->text(), QStringLiteral("Toggle Full\nScreen Mode"));
    {
        const ChineseInterface chinese;
        page.retranslate();
        QCOMPARE(toggle->text(), QStringLiteral("全屏模式"));
        QCOMPARE(toggle->property("procreateLabel").toString(),
                 QStringLiteral("Toggle Full Screen Mode"));
    }
    page.retranslate();
    QCOMPARE(toggle->text(), QStringLiteral("Toggle Full\nScreen Mode"));

    page.setScale(0.8);
    QCOMPARE(toggle->minimumHeight(), 77);
    QVERIFY(page.styleSheet().contains(QLatin1String("font-size: 14px")));
}

void TestPagesProcreate::clickAssignsToSelectedKey()
{
    KeyboardData data;
    ProcreatePage page;
    storeChoices(page, data);
    QSignalSpy buttonTexts(&data, &KeyboardData::keyButtonTextChanged);

    // Without a selection the click changes nothing.
    shortcutButton(page, QStringLiteral("Undo"))->click();
    QCOMPARE(buttonTexts.count(), 0);
    QVERIFY(data.layers()[0][2].isEmpty());

    data.selectKey(2);
    shortcutButton(page, QStringLiteral("Undo"))->click();
    const KeyConfig &undo = data.layers()[0][2];
    QCOMPARE(undo.type, uint8_t(KeyTypeMacro));
    QCOMPARE(undo.dirty, uint8_t(1));
    QCOMPARE(undo.macroSteps.size(), 4);
    QCOMPARE(recognizedLabel(undo), QStringLiteral("Undo"));
    QCOMPARE(buttonTexts.count(), 1);
    QCOMPARE(buttonTexts[0][0].toInt(), 2);

    // A shortcut is a start: the next base key extends it instead of replacing it.
    data.selectKey(3);
    shortcutButton(page, QStringLiteral("Activate Brush Tool"))->click();
    QCOMPARE(data.layers()[0][3].type, uint8_t(KeyTypeSingle));
    QCOMPARE(data.layers()[0][3].keycode, uint8_t(0x05));
    QVERIFY(!data.startFresh());
    data.appendBaseKey(0x06);
    QCOMPARE(data.layers()[0][3].type, uint8_t(KeyTypeMacro));
    QCOMPARE(data.layers()[0][3].macroSteps.first(), (MacroStep{0, 0x05, 0}));
}

void TestPagesProcreate::savedShortcutReadsBackRecognised()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));
    KeyboardData data;
    ProcreatePage page;
    storeChoices(page, data);
    data.selectKey(1);
    shortcutButton(page, QStringLiteral("Clear Selection"))->click();
    data.selectKey(5);
    shortcutButton(page, QStringLiteral("QuickMenu"))->click();
    QVERIFY(saveAll(manager, data));

    KeyLayers layers;
    LedLayers lighting;
    QVERIFY(manager.readAllConfiguration(layers, lighting));
    QCOMPARE(recognizedLabel(layers[0][1]), QStringLiteral("Clear Selection"));
    QCOMPARE(recognizedLabel(layers[0][5]), QStringLiteral("QuickMenu"));
}

QTEST_MAIN(TestPagesProcreate)
#include "tst_pages_procreate.moc"
