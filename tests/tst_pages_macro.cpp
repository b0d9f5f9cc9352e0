#include "model/keyboarddata.h"
#include "model/macroedits.h"
#include "pages/legacydelayedit.h"
#include "pages/macropage.h"
#include "pages/macrorecorder.h"
#include "pages/macrostepactions.h"
#include "pages/olddelaypage.h"
#include "pages/qtkeytable.h"
#include "pages/r20widedelaypage.h"
#include "pages/scancodetable.h"
#include "tst_language_support.h"
#include "widgets/macroblock.h"
#include "widgets/macroflowwidget.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

namespace {

MacroStep step(uint8_t action, uint8_t keycode, uint16_t delay)
{
    return macroStep(action, keycode, delay);
}

// Sends one key event straight to `target`; returns whether it was taken.
bool sendKey(QWidget *target, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
    return event.isAccepted();
}

// A key event as X11 delivers it: the Qt key the layout made of the key, and
// the key's XKB keycode.
void sendNativeKey(QWidget *target, QEvent::Type type, int key, quint32 keycode)
{
    QKeyEvent event(type, key, Qt::NoModifier, keycode, 0, 0);
    QApplication::sendEvent(target, &event);
}

// A page with a fake clock the test moves by hand.
struct RecorderRig {
    KeyboardData store;
    MacroPage page{store};
    qint64 now = 1000000;

    RecorderRig()
    {
        page.setClock([this] { return now; });
        page.resize(600, 300);
    }

    KeyConfig key(int index) const { return store.layers()[store.currentLayer()][index]; }
    // Through the keyboard grab, as the system would deliver it.
    void press(int qtKey) { QTest::keyPress(static_cast<QWidget *>(nullptr), Qt::Key(qtKey)); }
    void release(int qtKey) { QTest::keyRelease(static_cast<QWidget *>(nullptr), Qt::Key(qtKey)); }
};

KeyLayers layersWith(int index, const KeyConfig &record)
{
    KeyLayers layers(kLayerCount, KeyLayer(kKeySlotCount));
    layers[0][index] = record;
    return layers;
}

KeyConfig macroOf(const QVector<MacroStep> &steps)
{
    KeyConfig key;
    key.setMacro(steps);
    return key;
}

KeyConfig singleKey(uint8_t usage)
{
    KeyConfig key;
    key.setSingleKey(usage);
    return key;
}

} // namespace

class TestPagesMacro : public QObject
{
    Q_OBJECT

private slots:
    void qtKeyTableMapsKeysNotCharacters();
    void keyPositionsAgreeWithTheQtKeysOfAUsLayout();
    void recordingTakesKeyPositionsOnAnyLayout();
    void delayRules();
    void recordingPressAndRelease();
    void pausesRepeatsAndUnmappedKeys();
    void recordingStopsAtSixtyFourSteps();
    void shiftedCharactersAndTab();
    void recordButtonFollowsSelectionAndScale();
    void flowShowsStepsAndWraps();
    void editingADelayChangesThatStep();
    void reusedBlocksShowTheNewMacro();
    void aRescaledFlowShowsEveryBlockInItsNewSize();
    void blockTitlesFitInEitherLanguage();
    void oldDelayPageSetsEveryPress();
    void r20WideDelayPageSlots();
};

void TestPagesMacro::qtKeyTableMapsKeysNotCharacters()
{
    QCOMPARE(usageForQtKey(Qt::Key_A), uint8_t(0x04));
    QCOMPARE(usageForQtKey(Qt::Key_Z), uint8_t(0x1D));
    QCOMPARE(usageForQtKey(Qt::Key_1), uint8_t(0x1E));
    QCOMPARE(usageForQtKey(Qt::Key_9), uint8_t(0x26));
    QCOMPARE(usageForQtKey(Qt::Key_0), uint8_t(0x27));
    QCOMPARE(usageForQtKey(Qt::Key_At), uint8_t(0x1F));
    QCOMPARE(usageForQtKey(Qt::Key_ParenRight), uint8_t(0x27));
    QCOMPARE(usageForQtKey(Qt::Key_Plus), uint8_t(0x2E));
    QCOMPARE(usageForQtKey(Qt::Key_QuoteDbl), uint8_t(0x34));
    QCOMPARE(usageForQtKey(Qt::Key_AsciiTilde), uint8_t(0x35));
    QCOMPARE(usageForQtKey(Qt::Key_Question), uint8_t(0x38));
    QCOMPARE(usageForQtKey(Qt::Key_F12), uint8_t(0x45));
    QCOMPARE(usageForQtKey(Qt::Key_Return), uint8_t(0x28));
    QCOMPARE(usageForQtKey(Qt::Key_Enter), uint8_t(0x58));
    QCOMPARE(usageForQtKey(Qt::Key_Up), uint8_t(0x52));
    QCOMPARE(usageForQtKey(Qt::Key_Control), uint8_t(0xE0));
    QCOMPARE(usageForQtKey(Qt::Key_Meta), uint8_t(0xE3));
    // Keys the keypad cannot play.
    QCOMPARE(usageForQtKey('a'), uint8_t(0));
    QCOMPARE(usageForQtKey(Qt::Key_F13), uint8_t(0));
    QCOMPARE(usageForQtKey(Qt::Key_VolumeUp), uint8_t(0));
    QCOMPARE(usageForQtKey(Qt::Key_unknown), uint8_t(0));
}

void TestPagesMacro::keyPositionsAgreeWithTheQtKeysOfAUsLayout()
{
    // What X11 delivers on a US layout: rows of printable keys (XKB keycode
    // of the first, the Qt keys plain and shifted), then keys one by one.
    struct UsRow {
        quint32 firstKeycode;
        const char *plain;
        const char *shifted;
    };
    const UsRow rows[] = {
        {10, "1234567890-=", "!@#$%^&*()_+"},
        {24, "QWERTYUIOP[]", "QWERTYUIOP{}"},
        {38, "ASDFGHJKL;'`", "ASDFGHJKL:\"~"},
        {51, "\\ZXCVBNM,./", "|ZXCVBNM<>?"},
    };
    QVector<QPair<quint32, int>> usKeys;
    for (const UsRow &row : rows) {
        for (int i = 0; row.plain[i]; ++i) {
            usKeys.append({row.firstKeycode + i, row.plain[i]});
            usKeys.append({row.firstKeycode + i, row.shifted[i]});
        }
    }
    for (int f = 0; f < 10; ++f)
        usKeys.append({67u + f, Qt::Key_F1 + f});
    usKeys += {{95, Qt::Key_F11}, {96, Qt::Key_F12}, {9, Qt::Key_Escape}, {22, Qt::Key_Backspace},
               {23, Qt::Key_Tab}, {23, Qt::Key_Backtab}, {36, Qt::Key_Return}, {65, Qt::Key_Space},
               {66, Qt::Key_CapsLock}, {107, Qt::Key_Print}, {78, Qt::Key_ScrollLock},
               {127, Qt::Key_Pause}, {118, Qt::Key_Insert}, {110, Qt::Key_Home},
               {112, Qt::Key_PageUp}, {119, Qt::Key_Delete}, {115, Qt::Key_End},
               {117, Qt::Key_PageDown}, {114, Qt::Key_Right}, {113, Qt::Key_Left},
               {116, Qt::Key_Down}, {111, Qt::Key_Up}, {77, Qt::Key_NumLock},
               {104, Qt::Key_Enter}, {37, Qt::Key_Control}, {50, Qt::Key_Shift},
               {64, Qt::Key_Alt}, {133, Qt::Key_Meta}};

    QSet<int> listed;
    for (const auto &usKey : usKeys) {
        QVERIFY2(usageForXkbKeycode(usKey.first) == usageForQtKey(usKey.second),
                 qPrintable(QStringLiteral("keycode %1").arg(usKey.first)));
        listed.insert(usKey.second);
    }
    // The list holds every Qt key the table maps.
    QSet<int> mapped;
    for (int qtKey = 0x20; qtKey < 0x7F; ++qtKey)
        if (usageForQtKey(qtKey) != 0)
            mapped.insert(qtKey);
    for (int qtKey = Qt::Key_Escape; qtKey < Qt::Key_Escape + 0x100; ++qtKey)
        if (usageForQtKey(qtKey) != 0)
            mapped.insert(qtKey);
    QCOMPARE(listed, mapped);

    // Keys the Qt keys cannot tell apart, and codes that name no key.
    QCOMPARE(usageForXkbKeycode(105), uint8_t(0xE4));  // right Ctrl
    QCOMPARE(usageForXkbKeycode(134), uint8_t(0xE7));  // right Windows key
    QCOMPARE(usageForXkbKeycode(87), uint8_t(0x59));   // keypad 1, which Qt calls 1
    QCOMPARE(usageForXkbKeycode(91), uint8_t(0x63));   // keypad .
    QCOMPARE(usageForXkbKeycode(135), uint8_t(0x65));  // Menu
    QCOMPARE(usageForXkbKeycode(0), uint8_t(0));
    QCOMPARE(usageForXkbKeycode(7), uint8_t(0));
    QCOMPARE(usageForXkbKeycode(123), uint8_t(0));     // volume up
    QCOMPARE(usageForXkbKeycode(136), uint8_t(0));
    QCOMPARE(usageForXkbKeycode(0xFFFFFFFF), uint8_t(0));

#ifdef ZENTRIK_PORTABLE
    // The portable build reads keys as Qt maps them, on Linux as well.
    QVERIFY(!scanCodesArePositions(QStringLiteral("xcb")));
    QVERIFY(!scanCodesArePositions(QStringLiteral("wayland-egl")));
#else
    QVERIFY(scanCodesArePositions(QStringLiteral("xcb")));
    QVERIFY(scanCodesArePositions(QStringLiteral("wayland-egl")));
#endif
    QVERIFY(!scanCodesArePositions(QStringLiteral("offscreen")));
    QVERIFY(!scanCodesArePositions(QStringLiteral("windows")));
}

void TestPagesMacro::recordingTakesKeyPositionsOnAnyLayout()
{
    RecorderRig rig;
    rig.page.setScanCodesArePositions(true);
    rig.store.selectKey(0);
    rig.page.startMacroRecording();
    auto type = [&](int qtKey, quint32 keycode) {
        rig.now += 100;
        sendNativeKey(&rig.page, QEvent::KeyPress, qtKey, keycode);
        rig.now += 100;
        sendNativeKey(&rig.page, QEvent::KeyRelease, qtKey, keycode);
    };
    // German: z and y swap places, the ISO key beside left Shift types <.
    type(Qt::Key_Z, 29);
    type(Qt::Key_Y, 52);
    type(Qt::Key_Less, 94);
    // French: a sits where US has q, & on the 1 key.
    type(Qt::Key_A, 24);
    type(Qt::Key_Ampersand, 10);
    // US, and the right-hand modifiers Qt names like the left ones.
    type(Qt::Key_A, 38);
    type(Qt::Key_Control, 105);
    type(Qt::Key_Shift, 62);
    // No scan code (a synthetic event): the Qt key, read on a US layout.
    type(Qt::Key_Z, 0);
    // A code with no position of its own falls back to the Qt key too.
    type(Qt::Key_Q, 7);

    QVector<uint8_t> pressed;
    const QVector<MacroStep> &steps = rig.key(0).macroSteps;
    for (int i = 0; i < steps.size(); i += 2) {
        QCOMPARE(steps[i + 1].keycode, steps[i].keycode);
        pressed << steps[i].keycode;
    }
    QCOMPARE(pressed, (QVector<uint8_t>{0x1C, 0x1D, 0x64, 0x14, 0x1E, 0x04, 0xE4, 0xE5, 0x1D, 0x14}));
    QCOMPARE(steps[1], step(1, 0x1C, 100));
    rig.page.stopMacroRecording();

    // Where scan codes are no positions, the Qt key decides.
    rig.page.setScanCodesArePositions(false);
    rig.store.selectKey(1);
    rig.page.startMacroRecording();
    type(Qt::Key_Z, 29);
    QCOMPARE(rig.key(1).macroSteps.first().keycode, uint8_t(0x1D));
    rig.page.stopMacroRecording();
}

void TestPagesMacro::delayRules()
{
    // (elapsed ms, steps already held) -> recorded delay
    QCOMPARE(MacroRecorder::recordedDelay(0, 0), 0);
    QCOMPARE(MacroRecorder::recordedDelay(0, 3), 50);
    QCOMPARE(MacroRecorder::recordedDelay(-40, 2), 50);
    QCOMPARE(MacroRecorder::recordedDelay(30, 0), 30);
    QCOMPARE(MacroRecorder::recordedDelay(30, 1), 50);
    QCOMPARE(MacroRecorder::recordedDelay(49, 1), 50);
    QCOMPARE(MacroRecorder::recordedDelay(51, 1), 51);
    QCOMPARE(MacroRecorder::recordedDelay(9999, 1), 9999);
    QCOMPARE(MacroRecorder::recordedDelay(10000, 1), 9999);
    QCOMPARE(MacroRecorder::recordedDelay(12000, 0), 9999);
}

void TestPagesMacro::recordingPressAndRelease()
{
    RecorderRig rig;
    rig.store.loadLayers(layersWith(3, singleKey(0x05)));
    rig.store.selectKey(3);
    QSignalSpy recordingSpy(&rig.page, &MacroPage::recordingChanged);
    QSignalSpy saveSpy(&rig.page, &MacroPage::saveKeysRequested);
    QSignalSpy textSpy(&rig.store, &KeyboardData::keyButtonTextChanged);

    rig.page.recordButton()->click();
    QVERIFY(rig.page.isRecording());
    QCOMPARE(QWidget::keyboardGrabber(), &rig.page);
    QCOMPARE(recordingSpy.count(), 1);
    QCOMPARE(recordingSpy.at(0).at(0).toBool(), true);
    QCOMPARE(rig.page.recordButton()->text(), QStringLiteral("Click here to end key macro recording"));
    QVERIFY(rig.page.recordButton()->styleSheet().contains(QLatin1String("#8b1a1a")));
    // Recording starts from an empty key.
    QVERIFY(rig.key(3).isEmpty());
    QCOMPARE(rig.page.flow()->blocks().size(), 0);

    rig.press(Qt::Key_A);
    rig.now += 30;
    rig.release(Qt::Key_A);

    const QVector<MacroStep> expected = {step(0, 0x04, 0), step(1, 0x04, 50)};
    QCOMPARE(rig.key(3).type, uint8_t(KeyTypeMacro));
    QCOMPARE(rig.key(3).macroSteps, expected);
    QCOMPARE(rig.key(3).dirty, uint8_t(1));
    QCOMPARE(textSpy.last().at(0).toInt(), 3);
    QCOMPARE(textSpy.last().at(1).toString(), QStringLiteral("a"));
    QCOMPARE(rig.page.flow()->blocks().size(), 4);
    QVERIFY(saveSpy.isEmpty());

    rig.page.recordButton()->click();
    QVERIFY(!rig.page.isRecording());
    QCOMPARE(QWidget::keyboardGrabber(), nullptr);
    QCOMPARE(recordingSpy.count(), 2);
    QCOMPARE(recordingSpy.at(1).at(0).toBool(), false);
    QCOMPARE(saveSpy.count(), 1);
    QCOMPARE(rig.page.recordButton()->text(), QStringLiteral("Click here to start key macro recording"));
    QVERIFY(rig.page.recordButton()->isEnabled());
    QVERIFY(rig.page.recordButton()->styleSheet().contains(QLatin1String("#2d7a2d")));

    // Keys typed after the recording are not recorded.
    QVERIFY(!sendKey(&rig.page, QEvent::KeyPress, Qt::Key_B));
    QCOMPARE(rig.key(3).macroSteps.size(), 2);

    // Without a selection the button starts nothing.
    rig.store.selectKey(-1);
    rig.page.startMacroRecording();
    QVERIFY(!rig.page.isRecording());
    QCOMPARE(QWidget::keyboardGrabber(), nullptr);
}

void TestPagesMacro::pausesRepeatsAndUnmappedKeys()
{
    RecorderRig rig;
    rig.store.selectKey(0);
    rig.page.startMacroRecording();

    rig.press(Qt::Key_A);
    rig.now += 12000;
    rig.release(Qt::Key_A);
    QCOMPARE(rig.key(0).macroSteps.last(), step(1, 0x04, 9999));

    // Holding B: the system repeats press and release pairs.
    rig.now += 200;
    rig.press(Qt::Key_B);
    for (int i = 0; i < 5; ++i) {
        rig.now += 33;
        QVERIFY(!sendKey(&rig.page, QEvent::KeyRelease, Qt::Key_B, true));
        QVERIFY(!sendKey(&rig.page, QEvent::KeyPress, Qt::Key_B, true));
    }
    rig.now += 35;
    rig.release(Qt::Key_B);
    QCOMPARE(rig.key(0).macroSteps.size(), 4);
    QCOMPARE(rig.key(0).macroSteps[2], step(0, 0x05, 200));
    // The release counts from the real press, not from the repeats.
    QCOMPARE(rig.key(0).macroSteps[3], step(1, 0x05, 200));

    // An unplayable key adds nothing, but the next delay counts from it.
    rig.now += 500;
    QVERIFY(sendKey(&rig.page, QEvent::KeyPress, Qt::Key_VolumeUp));
    rig.now += 70;
    rig.press(Qt::Key_C);
    QCOMPARE(rig.key(0).macroSteps.size(), 5);
    QCOMPARE(rig.key(0).macroSteps[4], step(0, 0x06, 70));
    QCOMPARE(rig.page.flow()->blocks().size(), 10);
}

void TestPagesMacro::recordingStopsAtSixtyFourSteps()
{
    RecorderRig rig;
    rig.store.selectKey(5);
    QSignalSpy saveSpy(&rig.page, &MacroPage::saveKeysRequested);
    rig.page.startMacroRecording();

    for (int i = 0; i < 63; ++i) {
        rig.now += 100;
        if (i % 2 == 0)
            rig.press(Qt::Key_X);
        else
            rig.release(Qt::Key_X);
    }
    QCOMPARE(rig.key(5).macroSteps.size(), 63);
    QVERIFY(rig.page.isRecording());

    rig.now += 100;
    rig.press(Qt::Key_Y);
    QCOMPARE(rig.key(5).macroSteps.size(), kMaxMacroSteps);
    QCOMPARE(rig.key(5).macroSteps.last(), step(0, 0x1C, 100));
    QVERIFY(!rig.page.isRecording());
    QCOMPARE(QWidget::keyboardGrabber(), nullptr);
    QCOMPARE(saveSpy.count(), 1);
    QCOMPARE(rig.page.flow()->blocks().size(), 2 * kMaxMacroSteps);

    // The release of that last key comes after the recording ended.
    rig.now += 100;
    QVERIFY(!sendKey(&rig.page, QEvent::KeyRelease, Qt::Key_Y));
    QCOMPARE(rig.key(5).macroSteps.size(), kMaxMacroSteps);
    QCOMPARE(rig.page.flow()->blocks().size(), 2 * kMaxMacroSteps);
}

void TestPagesMacro::shiftedCharactersAndTab()
{
    RecorderRig rig;
    rig.store.selectKey(1);
    rig.page.show();
    rig.page.startMacroRecording();

    // Shift+1 reaches Qt as "!", Shift+Tab as Backtab.
    rig.press(Qt::Key_Shift);
    rig.now += 80;
    rig.press(Qt::Key_Exclam);
    rig.now += 80;
    rig.release(Qt::Key_Exclam);
    rig.now += 80;
    rig.press(Qt::Key_Backtab);
    rig.now += 80;
    rig.release(Qt::Key_Backtab);
    rig.now += 80;
    rig.release(Qt::Key_Shift);
    // Tab is a key to record, not a move of the focus.
    rig.now += 80;
    rig.press(Qt::Key_Tab);

    QVector<uint8_t> usages;
    for (const MacroStep &s : rig.key(1).macroSteps)
        usages << s.keycode;
    QCOMPARE(usages, (QVector<uint8_t>{0xE1, 0x1E, 0x1E, 0x2B, 0x2B, 0xE1, 0x2B}));
    QCOMPARE(rig.key(1).macroSteps[0].action, uint8_t(0));
    QCOMPARE(rig.key(1).macroSteps[5].action, uint8_t(1));
    rig.page.stopMacroRecording();
}

void TestPagesMacro::recordButtonFollowsSelectionAndScale()
{
    KeyboardData store;
    MacroPage page(store);
    QPushButton *button = page.recordButton();
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Click here to start key macro recording"));
    QCOMPARE(button->styleSheet(), MacroPage::recordButtonStyle(false, false, 1.0));
    QVERIFY(button->styleSheet().contains(QLatin1String("color: #555555;")));
    QCOMPARE(button->height(), 56);

    store.selectKey(4);
    QVERIFY(button->isEnabled());
    QCOMPARE(button->styleSheet(), MacroPage::recordButtonStyle(false, true, 1.0));

    // While recording the selection cannot take the button away.
    page.startMacroRecording();
    store.selectKey(-1);
    QVERIFY(button->isEnabled());
    QVERIFY(page.isRecording());
    page.stopMacroRecording();
    QVERIFY(!button->isEnabled());

    QVERIFY(MacroPage::recordButtonStyle(false, true, 1.0).contains(QLatin1String("font-size: 34px;")));
    QVERIFY(MacroPage::recordButtonStyle(true, true, 2.0).contains(QLatin1String("font-size: 67px;")));
    QVERIFY(MacroPage::recordButtonStyle(false, true, 0.3).contains(QLatin1String("font-size: 14px;")));
    QCOMPARE(MacroPage::recordButtonStyle(false, true, 0), MacroPage::recordButtonStyle(false, true, 1.0));
    page.setScale(2.0);
    QCOMPARE(button->minimumHeight(), 112);
    page.setScale(0.5);
    QCOMPARE(button->minimumHeight(), 44);

    const ChineseInterface chinese;
    page.retranslate();
    QCOMPARE(button->text(), QStringLiteral("点击这里开始按键宏录入"));
}

void TestPagesMacro::flowShowsStepsAndWraps()
{
    const MacroBlockMetrics unscaled = MacroBlockMetrics::forScale(0);
    QCOMPARE(unscaled.side, 70);
    QCOMPARE(unscaled.titlePx, 17);
    QCOMPARE(unscaled.keyPx, 21);
    QCOMPARE(unscaled.delayPx, 15);
    const MacroBlockMetrics small = MacroBlockMetrics::forScale(0.5);
    QCOMPARE(small.side, 58);
    QCOMPARE(small.titlePx, 10);
    QCOMPARE(small.keyPx, 12);
    QCOMPARE(small.delayPx, 9);
    const MacroBlockMetrics large = MacroBlockMetrics::forScale(2.0);
    QCOMPARE(large.side, 140);
    QCOMPARE(large.titlePx, 33);

    MacroFlowWidget flow;
    flow.resize(250, 100);
    flow.show();
    flow.setSteps({step(0, 0x04, 0), step(1, 0xE1, 120)});
    const QList<QWidget *> &blocks = flow.blocks();
    QCOMPARE(blocks.size(), 4);

    auto *delay = static_cast<MacroBlock *>(blocks[2]);
    auto *release = static_cast<MacroBlock *>(blocks[3]);
    QCOMPARE(delay->kind(), MacroBlock::Kind::Delay);
    QCOMPARE(delay->titleLabel()->text(), QStringLiteral("delay"));
    QCOMPARE(delay->delaySpin()->value(), 120);
    QCOMPARE(delay->delaySpin()->suffix(), QStringLiteral("ms"));
    QCOMPARE(delay->delaySpin()->maximum(), 9999);
    QCOMPARE(release->kind(), MacroBlock::Kind::Release);
    QCOMPARE(release->titleLabel()->text(), QStringLiteral("Release"));
    release->titleLabel()->ensurePolished();
    QCOMPARE(release->titleLabel()->palette().color(QPalette::WindowText), QColor(0xff, 0x77, 0x55));
    QCOMPARE(release->keyLabel()->text(), QStringLiteral("LShift"));
    QCOMPARE(static_cast<MacroBlock *>(blocks[1])->titleLabel()->text(), QStringLiteral("Press"));

    // Three blocks of 70 fit in 250 with 6 px between; the fourth wraps.
    QCOMPARE(blocks[0]->pos(), QPoint(6, 6));
    QCOMPARE(blocks[1]->pos(), QPoint(82, 6));
    QCOMPARE(blocks[2]->pos(), QPoint(158, 6));
    QCOMPARE(blocks[3]->pos(), QPoint(6, 82));
    QCOMPARE(flow.minimumHeight(), 158);

    flow.resize(400, 100);
    QCOMPARE(blocks[3]->pos(), QPoint(234, 6));
    QCOMPARE(flow.minimumHeight(), 82);

    flow.setScaleRatio(2.0);
    QCOMPARE(blocks[0]->size(), QSize(140, 140));
    QCOMPARE(blocks[1]->pos(), QPoint(152, 6));
    QCOMPARE(blocks[2]->pos(), QPoint(6, 152));

    flow.clearBlocks();
    QVERIFY(flow.blocks().isEmpty());
    QCOMPARE(flow.minimumHeight(), 0);
}

void TestPagesMacro::reusedBlocksShowTheNewMacro()
{
    // The flow keeps its blocks between macros; a kept block must show its
    // new step entirely, at the current scale, and report edits for it.
    MacroFlowWidget flow;
    flow.resize(250, 100);
    flow.show();
    QSignalSpy edited(&flow, &MacroFlowWidget::delayEdited);
    flow.setSteps({step(0, 0x04, 0), step(1, 0xE1, 120), step(0, 0x05, 30)});
    flow.setScaleRatio(2.0);
    flow.clearBlocks();
    flow.setSteps({step(1, 0x06, 700), step(0, 0x07, 5)});
    QCOMPARE(edited.count(), 0);  // showing a macro is not an edit

    const QList<QWidget *> &blocks = flow.blocks();
    QCOMPARE(blocks.size(), 4);
    auto *firstDelay = static_cast<MacroBlock *>(blocks[0]);
    auto *firstKey = static_cast<MacroBlock *>(blocks[1]);
    auto *secondKey = static_cast<MacroBlock *>(blocks[3]);
    QCOMPARE(firstDelay->delaySpin()->value(), 700);
    QCOMPARE(firstKey->kind(), MacroBlock::Kind::Release);
    QCOMPARE(firstKey->titleLabel()->text(), QStringLiteral("Release"));
    QCOMPARE(firstKey->titleLabel()->palette().color(QPalette::WindowText), QColor(0xff, 0x77, 0x55));
    QCOMPARE(firstKey->keyLabel()->text(), QStringLiteral("C"));
    QCOMPARE(secondKey->kind(), MacroBlock::Kind::Press);
    QCOMPARE(secondKey->titleLabel()->palette().color(QPalette::WindowText), QColor(0x55, 0x99, 0xff));
    QCOMPARE(secondKey->keyLabel()->text(), QStringLiteral("D"));
    for (QWidget *block : blocks) {
        QVERIFY(block->isVisible());
        QCOMPARE(block->size(), QSize(140, 140));
    }
    QCOMPARE(secondKey->keyLabel()->font().pixelSize(), MacroBlockMetrics::forScale(2.0).keyPx);

    static_cast<MacroBlock *>(blocks[2])->delaySpin()->setValue(42);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.at(0).at(0).toInt(), 1);
    QCOMPARE(edited.at(0).at(1).toInt(), 42);

    // The blocks of the longer macro before stay out of sight.
    int shown = 0;
    for (MacroBlock *block : flow.findChildren<MacroBlock *>())
        shown += block->isVisible() ? 1 : 0;
    QCOMPARE(shown, 4);
}

void TestPagesMacro::aRescaledFlowShowsEveryBlockInItsNewSize()
{
    // A long macro is restyled where it is seen first and elsewhere while
    // idle: a block scrolled into sight must not show the old size.
    QScrollArea area;
    auto *flow = new MacroFlowWidget;
    area.setWidget(flow);
    area.setWidgetResizable(true);
    area.resize(260, 120);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QVector<MacroStep> steps;
    for (int i = 0; i < 20; ++i)
        steps << step(uint8_t(i % 2), 0x04, 10);
    flow->setSteps(steps);

    const int keyPx = MacroBlockMetrics::forScale(1.5).keyPx;
    const auto keyPxOf = [flow](int index) {
        return static_cast<MacroBlock *>(flow->blocks()[index])->keyLabel()->font().pixelSize();
    };
    flow->setScaleRatio(1.5);
    QCOMPARE(keyPxOf(1), keyPx);
    area.ensureWidgetVisible(flow->blocks().last());
    QCOMPARE(keyPxOf(flow->blocks().size() - 1), keyPx);
    for (int i = 1; i < flow->blocks().size(); i += 2)
        QTRY_COMPARE(keyPxOf(i), keyPx);
    for (QWidget *block : flow->blocks())
        QCOMPARE(block->size(), QSize(105, 105));

    // Rescaled while its page is hidden, then shown as it was.
    area.ensureVisible(0, 0);
    flow->setSteps({step(0, 0x04, 10)});
    area.hide();
    flow->setScaleRatio(1.0);
    area.show();
    QCOMPARE(keyPxOf(1), MacroBlockMetrics::forScale(1.0).keyPx);

    // Worded again before the idle turns: no block goes back to its old size.
    flow->setSteps(steps);
    flow->setScaleRatio(1.5);
    flow->retranslate();
    for (QWidget *block : flow->blocks())
        QCOMPARE(block->size(), QSize(105, 105));
}

void TestPagesMacro::blockTitlesFitInEitherLanguage()
{
    // The titles' size is worked out once for all blocks of a size; the
    // size found for one language must not be kept for the other.
    MacroFlowWidget flow;
    flow.resize(400, 200);
    const auto titlesFit = [&flow] {
        for (QWidget *block : flow.blocks()) {
            const QLabel *title = static_cast<MacroBlock *>(block)->titleLabel();
            if (QFontMetrics(title->font()).horizontalAdvance(title->text()) > block->width() - 8)
                return false;
        }
        return true;
    };
    {
        const ChineseInterface chinese;
        flow.retranslate();
        flow.setSteps({step(0, 0x04, 10), step(1, 0x04, 10)});
        QVERIFY(titlesFit());
    }
    flow.retranslate();
    QCOMPARE(static_cast<MacroBlock *>(flow.blocks()[3])->titleLabel()->text(),
             QStringLiteral("Release"));
    QVERIFY(titlesFit());
}

void TestPagesMacro::editingADelayChangesThatStep()
{
    KeyboardData store;
    MacroPage page(store);
    const QVector<MacroStep> steps = {step(0, 0x04, 0), step(1, 0x04, 60), step(0, 0x05, 70),
                                      step(1, 0x05, 80)};
    KeyLayers layers = layersWith(2, macroOf(steps));
    layers[0][6] = macroOf({step(0, 0x07, 0), step(1, 0x07, 20)});
    store.loadLayers(layers);
    store.selectKey(2);
    QCOMPARE(page.flow()->blocks().size(), 8);
    QCOMPARE(store.layers()[0][2].dirty, uint8_t(0));

    QSignalSpy textSpy(&store, &KeyboardData::keyButtonTextChanged);
    auto *secondDelay = static_cast<MacroBlock *>(page.flow()->blocks()[2]);
    QCOMPARE(secondDelay->delaySpin()->value(), 60);
    secondDelay->delaySpin()->setValue(345);

    QCOMPARE(store.layers()[0][2].macroSteps[1].delay, uint16_t(345));
    QCOMPARE(store.layers()[0][2].macroSteps[0].delay, uint16_t(0));
    QCOMPARE(store.layers()[0][2].macroSteps[2].delay, uint16_t(70));
    QCOMPARE(store.layers()[0][2].dirty, uint8_t(1));
    QVERIFY(textSpy.isEmpty());

    // Selecting another key shows its steps; the other key stays as it was.
    store.selectKey(6);
    QCOMPARE(page.flow()->blocks().size(), 4);
    QCOMPARE(store.layers()[0][6].dirty, uint8_t(0));
    QCOMPARE(store.layers()[0][2].macroSteps[1].delay, uint16_t(345));

    // Clearing the selected key empties the flow; other keys' texts do not.
    store.updateKey(0, 9, [&](KeyConfig &k) { k.setSingleKey(0x04); });
    emit store.keyButtonTextChanged(9, QStringLiteral("A"));
    QCOMPARE(page.flow()->blocks().size(), 4);
    store.clearSelectedKey();
    QVERIFY(page.flow()->blocks().isEmpty());
    QVERIFY(!page.isRecording());
}

void TestPagesMacro::oldDelayPageSetsEveryPress()
{
    KeyboardData store;
    OldDelayPage page(store);
    KeyLayers layers = layersWith(0, macroOf({step(0, 0x00, 5), step(0, 0xE1, 0), step(0, 0x04, 20),
                                              step(1, 0x04, 20), step(1, 0xE1, 20)}));
    layers[0][1] = singleKey(0x05);
    KeyConfig combination;
    combination.setCombination(0x01, QByteArray(1, char(0x06)));
    layers[0][2] = combination;
    store.loadLayers(layers);

    QCOMPARE(page.slider()->maximum(), 6000);
    QCOMPARE(page.slider()->pageStep(), 50);
    QCOMPARE(page.spinBox()->maximum(), 6000);
    QVERIFY(!page.slider()->isEnabled());
    QVERIFY(!page.spinBox()->isEnabled());

    // Without an "Old" keypad nothing is written.
    store.selectKey(0);
    page.slider()->setValue(400);
    QCOMPARE(store.layers()[0][0].dirty, uint8_t(0));
    QCOMPARE(page.slider()->value(), 0);

    page.setDeviceConnected(true);
    QVERIFY(page.slider()->isEnabled() && page.spinBox()->isEnabled() && page.upButton()->isEnabled());
    QSignalSpy textSpy(&store, &KeyboardData::keyButtonTextChanged);
    page.slider()->setValue(300);
    const KeyConfig &macro = store.layers()[0][0];
    QCOMPARE(macro.macroSteps[0].delay, uint16_t(5));  // no usage: not played
    QCOMPARE(macro.macroSteps[1].delay, uint16_t(300));
    QCOMPARE(macro.macroSteps[2].delay, uint16_t(300));
    QCOMPARE(macro.macroSteps[3].delay, uint16_t(20));
    QCOMPARE(macro.dirty, uint8_t(1));
    QCOMPARE(page.spinBox()->value(), 300);
    QCOMPARE(textSpy.count(), 1);

    page.upButton()->click();
    QCOMPARE(store.layers()[0][0].macroSteps[2].delay, uint16_t(301));
    QCOMPARE(page.slider()->value(), 301);

    // A single key becomes press and release.
    store.selectKey(1);
    QCOMPARE(page.spinBox()->value(), 0);
    page.spinBox()->setValue(250);
    QCOMPARE(store.layers()[0][1].macroSteps, (QVector<MacroStep>{step(0, 0x05, 250), step(1, 0x05, 20)}));
    QCOMPARE(page.slider()->value(), 250);

    // A combination has no delay to set.
    store.selectKey(2);
    page.spinBox()->setValue(700);
    QCOMPARE(store.layers()[0][2].type, uint8_t(KeyTypeCombination));
    QCOMPARE(page.spinBox()->value(), 0);

    QCOMPARE(oldFamilyDelay(store.layers()[0][1]), 250);
}

void TestPagesMacro::r20WideDelayPageSlots()
{
    KeyboardData store;
    R20WideDelayPage page(store);
    QVector<MacroStep> manyPresses;
    for (int i = 0; i < 20; ++i)
        manyPresses << step(0, uint8_t(0x04 + i), uint16_t(100 + i)) << step(1, uint8_t(0x04 + i), 20);
    KeyLayers layers = layersWith(0, singleKey(0x04));
    layers[0][1] = macroOf({step(0, 0xE0, 0), step(0, 0x06, 20), step(1, 0x06, 20), step(0, 0x07, 20),
                            step(1, 0x07, 20), step(1, 0xE0, 20)});
    layers[0][2] = macroOf(manyPresses);
    store.loadLayers(layers);
    page.setDeviceConnected(true);

    store.selectKey(0);
    QCOMPARE(page.keyButton(0)->text(), QStringLiteral("A"));
    QVERIFY(page.keyButton(0)->styleSheet().contains(QLatin1String("color:#00ff00;")));
    QVERIFY(page.delaySpin(0)->isEnabled());
    QCOMPARE(page.delaySpin(0)->value(), 0);
    QCOMPARE(page.delaySpin(0)->suffix(), QStringLiteral(" ms"));
    for (int slot = 1; slot < kR20WideDelaySlots; ++slot) {
        QCOMPARE(page.keyButton(slot)->text(), QStringLiteral("NULL"));
        QVERIFY(page.keyButton(slot)->styleSheet().contains(QLatin1String("color:#ff0000;")));
        QVERIFY(!page.delaySpin(slot)->isEnabled());
        QVERIFY(!page.upButton(slot)->isEnabled());
        QCOMPARE(page.delaySpin(slot)->value(), 50);
    }

    page.delaySpin(0)->setValue(300);
    QCOMPARE(store.layers()[0][0].type, uint8_t(KeyTypeMacro));
    QCOMPARE(store.layers()[0][0].macroSteps, (QVector<MacroStep>{step(0, 0x04, 300), step(1, 0x04, 20)}));
    QCOMPARE(page.keyButton(0)->text(), QStringLiteral("A"));
    QCOMPARE(page.delaySpin(0)->value(), 300);
    QVERIFY(!page.delaySpin(1)->isEnabled());

    // A macro: one slot per press, modifiers by name.
    store.selectKey(1);
    QCOMPARE(page.keyButton(0)->text(), QStringLiteral("LCtrl"));
    QCOMPARE(page.keyButton(1)->text(), QStringLiteral("C"));
    QCOMPARE(page.keyButton(2)->text(), QStringLiteral("D"));
    QCOMPARE(page.keyButton(3)->text(), QStringLiteral("NULL"));
    QCOMPARE(page.delaySpin(1)->value(), 50);  // 20 is below what a later slot shows
    QSignalSpy textSpy(&store, &KeyboardData::keyButtonTextChanged);
    page.upButton(2)->click();
    QCOMPARE(store.layers()[0][1].macroSteps[3].delay, uint16_t(51));
    QCOMPARE(store.layers()[0][1].macroSteps[4].delay, uint16_t(20));
    QCOMPARE(store.layers()[0][1].dirty, uint8_t(1));
    QCOMPARE(textSpy.count(), 1);

    // More than 18 presses: the first 18 are shown.
    store.selectKey(2);
    QCOMPARE(page.keyButton(17)->text(), QStringLiteral("R"));
    QCOMPARE(page.delaySpin(17)->value(), 117);
    QCOMPARE(r20WideDelayEntries(store.layers()[0][2]).size(), kR20WideDelaySlots);

    // The presses are edited as steps are: Ctrl-click selects, the edits keep
    // the keypad's order of presses and then releases, and stop at 18.
    store.selectKey(1);
    page.keyButton(1)->click();
    QTest::keyClick(page.keyButton(1), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(page.keyButton(2)->text(), QStringLiteral("C"));
    QCOMPARE(page.selectedSlots(), (QVector<int>{2}));
    QCOMPARE(store.layers()[0][1].macroSteps,
             (QVector<MacroStep>{step(0, 0xE0, 0), step(0, 0x07, 51), step(0, 0x06, 50),
                                 step(1, 0x06, 20), step(1, 0x07, 20), step(1, 0xE0, 20)}));
    page.setSelectedSlots({0, 2});
    page.duplicateSelected();
    QCOMPARE(r20WidePresses(store.layers()[0][1]).size(), 5);
    QCOMPARE(page.selectedSlots(), (QVector<int>{3, 4}));
    QCOMPARE(page.keyButton(3)->text(), QStringLiteral("LCtrl"));
    QCOMPARE(page.delaySpin(3)->value(), 50);  // no longer first: waits the shortest
    page.setSelectedDelays(400);
    QCOMPARE(page.delaySpin(4)->value(), 400);
    QTest::keyClick(page.keyButton(1), Qt::Key_Delete);
    QCOMPARE(r20WidePresses(store.layers()[0][1]).size(), 3);
    page.insertKey(0x08);
    QCOMPARE(page.keyButton(3)->text(), QStringLiteral("E"));
    store.selectKey(2);
    QCOMPARE(page.selectedSlots(), QVector<int>());
    page.setSelectedSlots({0});
    QVERIFY(!page.actions()->action(MacroStepActions::DuplicateSteps)->isEnabled());
    page.duplicateSelected();
    QCOMPARE(r20WidePresses(store.layers()[0][2]).size(), kR20WideDelaySlots);

    // Without an R20Wide keypad every slot is locked.
    page.setDeviceConnected(false);
    QVERIFY(!page.delaySpin(0)->isEnabled());
    QCOMPARE(page.keyButton(0)->text(), QStringLiteral("A"));
}

QTEST_MAIN(TestPagesMacro)
#include "tst_pages_macro.moc"
