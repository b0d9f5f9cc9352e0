#include "model/keyconfig.h"
#include "model/labels.h"

#include <QtTest>

class TestLabels : public QObject
{
    Q_OBJECT
private slots:
    void keyLabelsAtTheTableEdges();
    void mediaAndMouseNames();
    void combinationText();
    void macroText();
    void shiftScanForLetters();
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
    QCOMPARE(key.fullText, QStringLiteral("Ctrl+Wheel Down"));
    QCOMPARE(key.buttonText, QStringLiteral("C+W-"));
    key.setMouseAction(16);
    QCOMPARE(key.type, uint8_t(KeyTypeMouse));
    QVERIFY(key.fullText.isEmpty() && key.buttonText.isEmpty());

    key.setMedia(0x00E9);
    QCOMPARE(key.fullText, QStringLiteral("Vol+"));
    QCOMPARE(key.buttonText, key.fullText);
}

void TestLabels::combinationText()
{
    KeyConfig key;
    key.setCombination(0x01, QByteArray("\x06", 1));
    QCOMPARE(key.fullText, QStringLiteral("LCtrl + C"));
    QCOMPARE(key.buttonText, QStringLiteral("LCtrl + C"));

    key.setCombination(0x03, QByteArray("\x06", 1));
    QCOMPARE(key.fullText, QStringLiteral("LCtrl + LShift + C"));
    QCOMPARE(key.buttonText, QStringLiteral("LCtrl + LS..."));

    // "LAlt + Esc" is 10 characters and stays whole; "LCtrl + Esc" is 11.
    key.setCombination(0x04, QByteArray("\x29", 1));
    QCOMPARE(key.buttonText, QStringLiteral("LAlt + Esc"));
    key.setCombination(0x01, QByteArray("\x29", 1));
    QCOMPARE(key.buttonText, QStringLiteral("LCtrl + Es..."));

    key.setCombination(0, QByteArray());
    QVERIFY(key.fullText.isEmpty());
    QCOMPARE(key.buttonText, QStringLiteral("-"));

    // Zeros, modifiers and repeats are dropped; at most six keys are kept.
    key.setCombination(0, QByteArray("\x04\x00\xE1\x04\x05\x06\x07\x08\x09\x0A", 10));
    QCOMPARE(key.keycodes, QByteArray("\x04\x05\x06\x07\x08\x09", 6));
    QCOMPARE(key.dirty, uint8_t(1));
}

void TestLabels::macroText()
{
    KeyConfig key;
    key.setMacro({});
    QVERIFY(key.fullText.isEmpty());
    QCOMPARE(key.buttonText, QStringLiteral("-"));

    key.setMacro({{1, 0x04, 0}});
    QCOMPARE(key.fullText, QStringLiteral("Macro(1)"));
    QCOMPARE(key.buttonText, QStringLiteral("Macro(1)"));

    // "a -> b" fits in 8 characters; "a -> b -> c" is cut.
    key.setMacro({{0, 0x04, 0}, {1, 0x04, 20}, {0, 0x05, 20}, {1, 0x05, 20}});
    QCOMPARE(key.buttonText, QStringLiteral("a -> b"));
    key.setMacro({{0, 0x04, 0}, {0, 0x05, 0}, {0, 0x06, 0}});
    QCOMPARE(key.buttonText, QStringLiteral("a -> b -..."));
    const QString arrow = QString::fromLatin1(kMacroArrowSpan);
    QCOMPARE(key.fullText, QStringLiteral("a") + arrow + "b" + arrow + "c");

    // Keypad digits have no case.
    key.setMacro({{0, 0x59, 0}});
    QCOMPARE(key.fullText, QStringLiteral("1"));
}

void TestLabels::shiftScanForLetters()
{
    KeyConfig key;
    key.setMacro({{0, 0xE1, 0}, {0, 0x04, 0}, {1, 0x04, 0}, {1, 0xE1, 0}, {0, 0x05, 0}, {1, 0x05, 0}});
    const QString arrow = QString::fromLatin1(kMacroArrowSpan);
    QCOMPARE(key.fullText, QStringLiteral("LShift") + arrow + "A" + arrow + "b");
    QCOMPARE(key.buttonText, QStringLiteral("LShift -..."));

    // Right Shift counts too, and presses of other keys are passed over.
    key.setMacro({{0, 0xE5, 0}, {0, 0xE0, 0}, {0, 0x06, 0}});
    QCOMPARE(key.fullText, QStringLiteral("RShift") + arrow + "LCtrl" + arrow + "C");

    // A release between the Shift press and the letter ends the scan.
    key.setMacro({{0, 0xE1, 0}, {1, 0x1E, 0}, {0, 0x06, 0}});
    QCOMPARE(key.fullText, QStringLiteral("LShift") + arrow + "c");
}

QTEST_GUILESS_MAIN(TestLabels)
#include "tst_labels.moc"
