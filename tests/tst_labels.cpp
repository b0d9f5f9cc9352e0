#include "model/keyconfig.h"
#include "model/labels.h"
#include "model/keypadfile.h"
#include "model/keytexts.h"

#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

class TestLabels : public QObject
{
    Q_OBJECT
private slots:
    void keyLabelsAtTheTableEdges();
    void mediaAndMouseNames();
    void combinationText();
    void macroText();
    void shiftScanForLetters();
    void everyUseWordsEachType();
};

void TestLabels::keyLabelsAtTheTableEdges()
{
    QCOMPARE(keyLabel(0x00), QStringLiteral("0x00"));
    QCOMPARE(keyLabel(0x0A), QStringLiteral("G"));
    QCOMPARE(keyLabel(0x04), QStringLiteral("A"));
    QCOMPARE(keyLabel(0x1D), QStringLiteral("Z"));
    QCOMPARE(keyLabel(0x1E), QStringLiteral("1"));
    QCOMPARE(keyLabel(0x26), QStringLiteral("9"));
    QCOMPARE(keyLabel(0x27), QStringLiteral("0"));
    QCOMPARE(keyLabel(0x31), QStringLiteral("\\"));
    QCOMPARE(keyLabel(0x32), QStringLiteral("0x32"));
    QCOMPARE(keyLabel(0x33), QStringLiteral(";"));
    QCOMPARE(keyLabel(0x39), QStringLiteral("Caps"));
    QCOMPARE(keyLabel(0x3A), QStringLiteral("F1"));
    QCOMPARE(keyLabel(0x45), QStringLiteral("F12"));
    QCOMPARE(keyLabel(0x46), QStringLiteral("PrtSc"));
    QCOMPARE(keyLabel(0x53), QStringLiteral("NumLk"));
    QCOMPARE(keyLabel(0x58), QStringLiteral("Enter"));
    QCOMPARE(keyLabel(0x59), QStringLiteral("1"));
    QCOMPARE(keyLabel(0x62), QStringLiteral("0"));
    QCOMPARE(keyLabel(0x63), QStringLiteral("."));
    QCOMPARE(keyLabel(0x64), QStringLiteral("0x64"));
    QCOMPARE(keyLabel(0x65), QStringLiteral("Menu"));
    QCOMPARE(keyLabel(0x66), QStringLiteral("0x66"));
    QCOMPARE(keyLabel(0x67), QStringLiteral("0x67"));
    QCOMPARE(keyLabel(0x68), QStringLiteral("F13"));
    QCOMPARE(keyLabel(0x73), QStringLiteral("F24"));
    QCOMPARE(keyLabel(0x74), QStringLiteral("0x74"));
    QCOMPARE(keyLabel(0xCD), QStringLiteral("0xcd"));
    QCOMPARE(keyLabel(0xCE), QStringLiteral("PrtSc"));
    QCOMPARE(keyLabel(0xCF), QStringLiteral("ScrLk"));
    QCOMPARE(keyLabel(0xD0), QStringLiteral("0xd0"));
    QCOMPARE(keyLabel(0xE0), QStringLiteral("LCtrl"));
    QCOMPARE(keyLabel(0xE3), QStringLiteral("LWin"));
    QCOMPARE(keyLabel(0xE7), QStringLiteral("RWin"));
    QCOMPARE(keyLabel(0xE8), QStringLiteral("0xe8"));
    QCOMPARE(keyLabel(0xFF), QStringLiteral("0xff"));

    QCOMPARE(modifierLabel(0xE5), QStringLiteral("RShift"));
    QCOMPARE(modifierLabel(0x04), QStringLiteral("0x04"));
}

void TestLabels::mediaAndMouseNames()
{
    QCOMPARE(mediaLabel(226), QStringLiteral("Mute"));
    QCOMPARE(mediaLabel(0x006F), QStringLiteral("Bright+"));
    QCOMPARE(mediaLabel(0x0227), QStringLiteral("Refresh"));
    QCOMPARE(mediaLabel(0x0B0), QStringLiteral("Media(0x00b0)"));
    QCOMPARE(mediaLabel(0xFFFF), QStringLiteral("Media(0xffff)"));

    QCOMPARE(mouseActionNames(0)->first, QStringLiteral("Mouse Left"));
    QCOMPARE(mouseActionNames(0)->second, QStringLiteral("M-L"));
    QCOMPARE(mouseActionNames(15)->second, QStringLiteral("LIKE"));
    QVERIFY(!mouseActionNames(16));

    KeyConfig key;
    key.setMouseAction(6);
    QCOMPARE(fullTextOf(key), QStringLiteral("Ctrl+Wheel Down"));
    QCOMPARE(shortTextOf(key), QStringLiteral("C+W-"));
    key.setMouseAction(16);
    QCOMPARE(key.type, uint8_t(KeyTypeMouse));
    QVERIFY(fullTextOf(key).isEmpty() && shortTextOf(key).isEmpty());

    key.setMedia(0x00E9);
    QCOMPARE(fullTextOf(key), QStringLiteral("Vol+"));
    QCOMPARE(shortTextOf(key), fullTextOf(key));
}

void TestLabels::combinationText()
{
    KeyConfig key;
    key.setCombination(0x01, QByteArray("\x06", 1));
    QCOMPARE(fullTextOf(key), QStringLiteral("LCtrl + C"));
    QCOMPARE(shortTextOf(key), QStringLiteral("LCtrl + C"));

    key.setCombination(0x03, QByteArray("\x06", 1));
    QCOMPARE(fullTextOf(key), QStringLiteral("LCtrl + LShift + C"));
    QCOMPARE(shortTextOf(key), QStringLiteral("LCtrl + LS..."));

    // "LAlt + Esc" is 10 characters and stays whole; "LCtrl + Esc" is 11.
    key.setCombination(0x04, QByteArray("\x29", 1));
    QCOMPARE(shortTextOf(key), QStringLiteral("LAlt + Esc"));
    key.setCombination(0x01, QByteArray("\x29", 1));
    QCOMPARE(shortTextOf(key), QStringLiteral("LCtrl + Es..."));

    key.setCombination(0, QByteArray());
    QVERIFY(fullTextOf(key).isEmpty());
    QCOMPARE(shortTextOf(key), QStringLiteral("-"));

    // Zeros, modifiers and repeats are dropped; at most six keys are kept.
    key.setCombination(0, QByteArray("\x04\x00\xE1\x04\x05\x06\x07\x08\x09\x0A", 10));
    QCOMPARE(key.keycodes, QByteArray("\x04\x05\x06\x07\x08\x09", 6));
    QCOMPARE(key.dirty, uint8_t(1));
}

void TestLabels::macroText()
{
    KeyConfig key;
    key.setMacro({});
    QVERIFY(fullTextOf(key).isEmpty());
    QCOMPARE(shortTextOf(key), QStringLiteral("-"));

    key.setMacro({{1, 0x04, 0}});
    QCOMPARE(fullTextOf(key), QStringLiteral("Macro(1)"));
    QCOMPARE(shortTextOf(key), QStringLiteral("Macro(1)"));

    // "a -> b" fits in 8 characters; "a -> b -> c" is cut.
    key.setMacro({{0, 0x04, 0}, {1, 0x04, 20}, {0, 0x05, 20}, {1, 0x05, 20}});
    QCOMPARE(shortTextOf(key), QStringLiteral("a -> b"));
    key.setMacro({{0, 0x04, 0}, {0, 0x05, 0}, {0, 0x06, 0}});
    QCOMPARE(shortTextOf(key), QStringLiteral("a -> b -..."));
    const QString arrow = QString::fromLatin1(kMacroArrowSpan);
    QCOMPARE(fullTextOf(key), QStringLiteral("a") + arrow + "b" + arrow + "c");

    // Keypad digits have no case.
    key.setMacro({{0, 0x59, 0}});
    QCOMPARE(fullTextOf(key), QStringLiteral("1"));
}

void TestLabels::shiftScanForLetters()
{
    KeyConfig key;
    key.setMacro({{0, 0xE1, 0}, {0, 0x04, 0}, {1, 0x04, 0}, {1, 0xE1, 0}, {0, 0x05, 0}, {1, 0x05, 0}});
    const QString arrow = QString::fromLatin1(kMacroArrowSpan);
    QCOMPARE(fullTextOf(key), QStringLiteral("LShift") + arrow + "A" + arrow + "b");
    QCOMPARE(shortTextOf(key), QStringLiteral("LShift -..."));

    // Right Shift counts too, and presses of other keys are passed over.
    key.setMacro({{0, 0xE5, 0}, {0, 0xE0, 0}, {0, 0x06, 0}});
    QCOMPARE(fullTextOf(key), QStringLiteral("RShift") + arrow + "LCtrl" + arrow + "C");

    // A release between the Shift press and the letter ends the scan.
    key.setMacro({{0, 0xE1, 0}, {1, 0x1E, 0}, {0, 0x06, 0}});
    QCOMPARE(fullTextOf(key), QStringLiteral("LShift") + arrow + "c");
}

namespace {

// The text a keypad file holds for the record, as written; null when the
// file holds none.
QString textInFile(const KeyConfig &record)
{
    KeypadFileLayer layer;
    layer.controls << KeypadFileControl{ControlRole(), record, false};
    KeypadFile file;
    file.layers << layer;
    const QJsonObject written = QJsonDocument::fromJson(writeKeypadFile(file)).object();
    const QJsonObject control = written.value(QStringLiteral("layers")).toArray().at(0).toObject()
                                    .value(QStringLiteral("controls")).toArray().at(0).toObject();
    return control.value(QStringLiteral("text")).toString(QString());
}

} // namespace

// One record of each type as each place words it: its control's legend, the
// store's short and long texts, the key display and the keypad file; and the
// shape its legend is broken and cut by, which follows the type alone.
void TestLabels::everyUseWordsEachType()
{
    const auto record = [](const std::function<void(KeyConfig &)> &set) {
        KeyConfig key;
        set(key);
        return key;
    };
    const QString span = QString::fromLatin1(kMacroArrowSpan);
    const QString fileArrow = QStringLiteral(" \u2192 ");
    struct Row {
        const char *name;
        KeyConfig key;
        QString control, shortText, display, full, file;
        LegendShape shape;
    };
    const Row rows[] = {
        {"empty", KeyConfig(), "", "", "", "", "", LegendShape::Words},
        {"single", record([](KeyConfig &k) { k.setSingleKey(0x04); }), "A", "A", "A", "A", "A",
         LegendShape::Words},
        {"modifier alone", record([](KeyConfig &k) { k.setSingleKey(0xE1); }), "LShift", "LShift",
         "LShift", "LShift", "LShift", LegendShape::Words},
        {"media", record([](KeyConfig &k) { k.setMedia(0x00E9); }), "Vol+", "Vol+", "Vol+", "Vol+",
         "Vol+", LegendShape::Words},
        {"unknown media", record([](KeyConfig &k) { k.setMedia(0x1234); }), "Media(0x1234)",
         "Media(0x1234)", "Media(0x1234)", "Media(0x1234)", "Media(0x1234)", LegendShape::Words},
        {"mouse", record([](KeyConfig &k) { k.setMouseAction(4); }), "Mouse Wheel Down", "W-",
         "Mouse Wheel Down", "Mouse Wheel Down", "Mouse Wheel Down", LegendShape::Words},
        {"mouse above the table", record([](KeyConfig &k) { k.setMouseAction(16); }), "", "", "",
         "", "", LegendShape::Words},
        {"combination", record([](KeyConfig &k) { k.setCombination(0x01, QByteArray(1, 0x06)); }),
         "LCtrl + C", "LCtrl + C", "LCtrl + C", "LCtrl + C", "LCtrl + C",
         LegendShape::Combination},
        {"long combination",
         record([](KeyConfig &k) { k.setCombination(0x03, QByteArray(1, 0x06)); }),
         "LCtrl + LS...", "LCtrl + LS...", "LCtrl + LShift + C", "LCtrl + LShift + C",
         "LCtrl + LShift + C", LegendShape::Combination},
        {"combination of a modifier", record([](KeyConfig &k) { k.setCombination(0x01, {}); }),
         "LCtrl", "LCtrl", "LCtrl", "LCtrl", "LCtrl", LegendShape::Combination},
        {"combination of nothing", record([](KeyConfig &k) { k.setCombination(0, {}); }), "-",
         "-", "", "", "", LegendShape::Combination},
        {"macro of nothing", record([](KeyConfig &k) { k.setMacro({}); }), "-", "-", "Macro(0)",
         "", "", LegendShape::Chain},
        {"macro of releases", record([](KeyConfig &k) { k.setMacro({{1, 0x04, 0}}); }), "-",
         "Macro(1)", "Macro(1)", "Macro(1)", "Macro(1)", LegendShape::Chain},
        {"macro",
         record([](KeyConfig &k) {
             k.setMacro({{0, 0xE1, 0}, {0, 0x04, 0}, {1, 0x04, 20}, {1, 0xE1, 20}, {0, 0x05, 20}});
         }),
         "LShift -...", "LShift -...", "LShift" + span + "A" + span + "b",
         "LShift" + span + "A" + span + "b", "LShift" + fileArrow + "A" + fileArrow + "b",
         LegendShape::Chain},
        // The keypad's "+" in a macro: a chain, whatever its text holds.
        {"macro pressing plus", record([](KeyConfig &k) { k.setMacro({{0, 0x57, 0}, {0, 0x05, 0}}); }),
         "+ -> b", "+ -> b", "+" + span + "b", "+" + span + "b", "+" + fileArrow + "b",
         LegendShape::Chain},
    };
    for (const Row &row : rows) {
        const KeyConfig &key = row.key;
        const QByteArray name(row.name);
        QVERIFY2(controlTextOf(key) == row.control, name + ": " + controlTextOf(key).toUtf8());
        QVERIFY2(shortTextOf(key) == row.shortText, name + ": " + shortTextOf(key).toUtf8());
        QVERIFY2(displayTextOf(key) == row.display, name + ": " + displayTextOf(key).toUtf8());
        QVERIFY2(fullTextOf(key) == row.full, name + ": " + fullTextOf(key).toUtf8());
        QVERIFY2(fileTextOf(key) == row.file, name + ": " + fileTextOf(key).toUtf8());
        const QString written = textInFile(key);
        QVERIFY2(key.isEmpty() ? written.isNull() : written == row.file,
                 name + ": " + written.toUtf8());
        QVERIFY2(legendShapeOf(key) == row.shape, name);
    }
}

QTEST_GUILESS_MAIN(TestLabels)
#include "tst_labels.moc"
