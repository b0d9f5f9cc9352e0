#include "model/keyboarddata.h"
#include "model/keytexts.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// Every emission of the store's signals, in order, as "name:index:text".
class SignalLog : public QObject
{
public:
    explicit SignalLog(KeyboardData &data)
    {
        connect(&data, &KeyboardData::keyButtonTextChanged, this,
                [this](int i, const QString &t) { lines << QStringLiteral("button:%1:%2").arg(i).arg(t); });
        connect(&data, &KeyboardData::keyFullTextChanged, this,
                [this](int i, const QString &t) { lines << QStringLiteral("full:%1:%2").arg(i).arg(t); });
        connect(&data, &KeyboardData::selectedKeyChanged, this,
                [this](int i) { lines << QStringLiteral("selected:%1").arg(i); });
    }
    QStringList lines;
};

constexpr uint8_t A = 0x04, B = 0x05, D = 0x07, LCtrl = 0xE0, LShift = 0xE1, LAlt = 0xE2;

} // namespace

class TestKeyboardData : public QObject
{
    Q_OBJECT
private slots:
    void freshStoreAndSelection();
    void baseKeysBuildSingleKeysAndMacros();
    void modifiersBuildCombinations();
    void macroStopsAtSixtyFourSteps();
    void clearSelectedAndClearAll();
    void loadLayersCopiesWhatFits();
    void layerSwitchAndAssignments();
    void lighting();
    void everyChangeAnnouncesItselfOnce();
    void unsavedFlipsAtFirstMarkAndLastSave();
};

void TestKeyboardData::freshStoreAndSelection()
{
    KeyboardData data;
    QCOMPARE(data.layers().size(), 4);
    for (const KeyLayer &layer : data.layers()) {
        QCOMPARE(layer.size(), 25);
        for (const KeyConfig &key : layer)
            QVERIFY(key.isEmpty() && !key.dirty && fullTextOf(key).isNull());
    }
    QCOMPARE(data.ledLayers().size(), 4);
    QCOMPARE(data.ledLayers()[2].effect, uint8_t(1));
    QCOMPARE(data.ledLayers()[2].colors[15], (RgbColor{255, 255, 0}));
    QVERIFY(!data.ledLayers()[2].isChanged());
    QCOMPARE(data.selectedKey(), -1);
    QVERIFY(data.startFresh());

    data.selectKey(3);
    data.appendBaseKey(A);  // assigns A and clears startFresh
    SignalLog log(data);
    data.selectKey(3);
    data.selectKey(4);
    data.selectKey(-1);
    data.selectKey(25);
    QCOMPARE(log.lines, QStringList({"selected:3", "full:3:A", "selected:4", "full:4:",
                                     "selected:-1", "full:-1:", "selected:25", "full:25:"}));
    QVERIFY(data.startFresh());

    // Base keys with no selection change nothing.
    data.selectKey(-1);
    log.lines.clear();
    data.appendBaseKey(A);
    QVERIFY(log.lines.isEmpty());
}

void TestKeyboardData::baseKeysBuildSingleKeysAndMacros()
{
    KeyboardData data;
    data.updateKey(0, 0, [&](KeyConfig &k) { k.setSingleKey(A); });
    data.selectKey(0);
    SignalLog log(data);

    data.appendBaseKey(B);  // fresh: replaces A
    const KeyConfig &key = data.layers()[0][0];
    QCOMPARE(key.type, uint8_t(KeyTypeSingle));
    QCOMPARE(key.keycode, B);
    QCOMPARE(log.lines, QStringList({"button:0:B", "full:0:B"}));

    data.appendBaseKey(D);
    QCOMPARE(key.type, uint8_t(KeyTypeMacro));
    const QVector<MacroStep> expected = {{0, B, 0}, {1, B, 20}, {0, D, 20}, {1, D, 20}};
    QCOMPARE(key.macroSteps, expected);
    QCOMPARE(shortTextOf(key), QStringLiteral("b -> d"));

    data.appendBaseKey(A);
    QCOMPARE(key.macroSteps.size(), 6);
    QCOMPARE(key.macroSteps[4], (MacroStep{0, A, 20}));
    QCOMPARE(key.macroSteps[5], (MacroStep{1, A, 20}));
    QVERIFY(key.dirty);

    // Base keys on a media slot replace it once the fresh click is used.
    data.updateKey(0, 1, [&](KeyConfig &k) { k.setMedia(226); });
    data.selectKey(1);
    data.appendBaseKey(A);
    data.appendBaseKey(B);
    QCOMPARE(data.layers()[0][1].type, uint8_t(KeyTypeMacro));
}

void TestKeyboardData::modifiersBuildCombinations()
{
    KeyboardData data;
    data.selectKey(2);
    data.appendBaseKey(LShift);
    QCOMPARE(data.layers()[0][2].type, uint8_t(KeyTypeSingle));
    data.appendBaseKey(A);
    const KeyConfig &combo = data.layers()[0][2];
    QCOMPARE(combo.type, uint8_t(KeyTypeCombination));
    QCOMPARE(combo.modifiers, uint8_t(0x02));
    QCOMPARE(combo.keycodes, QByteArray(1, char(A)));
    QCOMPARE(fullTextOf(combo), QStringLiteral("LShift + A"));

    // Holding a key, the combination is full, even when selected afresh.
    const KeyConfig before = combo;
    data.appendBaseKey(B);
    data.selectKey(2);
    data.appendBaseKey(B);
    QVERIFY(combo.sameAssignment(before));
    QVERIFY(data.startFresh());

    data.selectKey(3);
    data.appendBaseKey(LCtrl);
    data.appendBaseKey(LAlt);
    QCOMPARE(data.layers()[0][3].modifiers, uint8_t(0x05));
    QVERIFY(data.layers()[0][3].keycodes.isEmpty());
    QCOMPARE(fullTextOf(data.layers()[0][3]), QStringLiteral("LCtrl + LAlt"));
    data.appendBaseKey(LShift);  // still no key: another modifier joins
    QCOMPARE(data.layers()[0][3].modifiers, uint8_t(0x07));
    data.appendBaseKey(D);
    QCOMPARE(data.layers()[0][3].keycodes, QByteArray(1, char(D)));
}

void TestKeyboardData::macroStopsAtSixtyFourSteps()
{
    KeyboardData data;
    QVector<MacroStep> steps;
    for (int i = 0; i < 62; ++i)
        steps.append({uint8_t(i % 2), A, 20});
    KeyConfig macro;
    macro.setMacro(steps);
    data.selectKey(5);
    data.assignPrepared(macro);  // clears startFresh
    data.appendBaseKey(B);
    QCOMPARE(data.layers()[0][5].macroSteps.size(), 64);

    data.appendBaseKey(B);
    QCOMPARE(data.layers()[0][5].macroSteps.size(), 64);

    // 63 steps would become 65, which the keypad cannot hold: refused too.
    steps.append({0, A, 20});
    macro.setMacro(steps);
    data.selectKey(6);
    data.assignPrepared(macro);
    data.appendBaseKey(B);
    QCOMPARE(data.layers()[0][6].macroSteps.size(), 63);
    QVERIFY(!data.startFresh());
}

void TestKeyboardData::clearSelectedAndClearAll()
{
    KeyboardData data;
    data.clearSelectedKey();  // no selection: nothing happens
    for (int l = 0; l < 4; ++l)
        for (int k = 0; k < 25; ++k)
            QVERIFY(!data.layers()[l][k].dirty);

    data.setCurrentLayer(2);
    data.selectKey(4);
    data.appendBaseKey(A);  // assigns A and clears startFresh
    data.updateKey(2, 4, [&](KeyConfig &k) { k.dirty = 0; });
    SignalLog log(data);
    data.clearSelectedKey();
    QVERIFY(data.layers()[2][4].isEmpty());
    QCOMPARE(data.layers()[2][4].dirty, uint8_t(1));
    QCOMPARE(data.selectedKey(), 4);
    QVERIFY(data.startFresh());
    QCOMPARE(log.lines, QStringList({"button:4:", "full:4:"}));

    data.updateKey(1, 0, [&](KeyConfig &k) { k.setSingleKey(A); });
    data.updateKey(1, 0, [&](KeyConfig &k) { k.dirty = 0; });
    log.lines.clear();
    data.clearAllKeys();
    QStringList expected;
    for (int i = 0; i < 25; ++i)
        expected << QStringLiteral("button:%1:").arg(i);
    expected << "selected:-1";
    QCOMPARE(log.lines, expected);
    for (int k = 0; k < 25; ++k) {
        QCOMPARE(data.layers()[2][k].dirty, uint8_t(1));
        QVERIFY(!data.layers()[0][k].dirty && !data.layers()[3][k].dirty);
    }
    QCOMPARE(data.layers()[1][0].keycode, A);
    QVERIFY(!data.layers()[1][0].dirty);
}

void TestKeyboardData::loadLayersCopiesWhatFits()
{
    KeyboardData data;
    data.updateKey(0, 20, [&](KeyConfig &k) { k.setSingleKey(D); });
    data.updateKey(3, 0, [&](KeyConfig &k) { k.setSingleKey(D); });
    data.updateKey(0, 1, [&](KeyConfig &k) { k.setSingleKey(D); });

    KeyLayers source(2, KeyLayer(16));
    source[0][1].setSingleKey(A);
    source[1][15].setMedia(226);
    data.selectKey(1);
    SignalLog log(data);
    data.loadLayers(source);

    QCOMPARE(data.layers()[0][1].keycode, A);
    QVERIFY(!data.layers()[0][1].dirty);
    QCOMPARE(data.layers()[1][15].mediaCode, uint16_t(226));
    QVERIFY(!data.layers()[1][15].dirty);
    // Beyond the source: untouched, marks included.
    QCOMPARE(data.layers()[0][20].keycode, D);
    QVERIFY(data.layers()[0][20].dirty);
    QCOMPARE(data.layers()[3][0].keycode, D);
    QVERIFY(data.layers()[3][0].dirty);

    QCOMPARE(log.lines.size(), 26);
    QCOMPARE(log.lines[1], QStringLiteral("button:1:A"));
    QCOMPARE(log.lines[20], QStringLiteral("button:20:D"));
    QCOMPARE(log.lines.last(), QStringLiteral("full:1:A"));
    QCOMPARE(data.selectedKey(), 1);

    // Oversized sources are cut to four layers of 25.
    data.loadLayers(KeyLayers(6, KeyLayer(30)));
    QCOMPARE(data.layers().size(), 4);
    QCOMPARE(data.layers()[0].size(), 25);
}

void TestKeyboardData::layerSwitchAndAssignments()
{
    KeyboardData data;
    data.updateKey(1, 7, [&](KeyConfig &k) { k.setMouseAction(3); });
    data.selectKey(7);
    data.appendBaseKey(A);  // layer 0's key 7; clears startFresh
    SignalLog log(data);
    data.setCurrentLayer(4);
    data.setCurrentLayer(-1);
    QVERIFY(log.lines.isEmpty());
    data.setCurrentLayer(1);
    QCOMPARE(log.lines.size(), 26);
    QCOMPARE(log.lines[7], QStringLiteral("button:7:W+"));
    QCOMPARE(log.lines.last(), QStringLiteral("selected:-1"));
    QVERIFY(!data.startFresh());

    // With no key selected both are refused and nothing changes.
    log.lines.clear();
    data.assignMedia(226);
    data.assignMouseAction(1);
    QVERIFY(log.lines.isEmpty());

    data.selectKey(2);
    log.lines.clear();
    data.assignMedia(226);
    QCOMPARE(log.lines, QStringList({"button:2:Mute", "full:2:Mute"}));
    data.assignMouseAction(15);
    QCOMPARE(data.layers()[1][2].type, uint8_t(KeyTypeMouse));
    QCOMPARE(data.layers()[1][2].mediaCode, uint16_t(0));

    KeyConfig prepared;
    prepared.setSingleKey(0x1D);
    prepared.dirty = 0;
    data.assignPrepared(prepared);
    QCOMPARE(data.layers()[1][2].keycode, uint8_t(0x1D));
    QCOMPARE(data.layers()[1][2].dirty, uint8_t(1));
    QVERIFY(!data.startFresh());

    data.assignMacro({{0, A, 10}, {1, A, 10}});
    QCOMPARE(data.layers()[1][2].type, uint8_t(KeyTypeMacro));
    QCOMPARE(log.lines.last(), QStringLiteral("full:2:a"));
}

void TestKeyboardData::lighting()
{
    KeyboardData data;
    data.setLayerEffect(0, 1);
    QVERIFY(!data.ledLayers()[0].isChanged());
    data.setLayerEffect(0, 4);
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(1));
    data.setLayerEffect(4, 2);
    data.setLedColor(1, 3, 255, 255, 0);
    QVERIFY(!data.ledLayers()[1].isChanged());
    data.setLedColor(1, 3, 0, 0, 255);
    QCOMPARE(data.ledLayers()[1].keyDirty[3], uint8_t(1));
    QCOMPARE(data.ledLayers()[1].dirty, uint8_t(0));
    QVERIFY(data.ledLayers()[1].isChanged());
    data.setLedColor(1, 16, 0, 0, 0);
    data.setLedColor(-1, 0, 0, 0, 0);
    QVERIFY(!data.ledLayers()[2].isChanged() && !data.ledLayers()[3].isChanged());
}

// Takes what the spy caught: true when it was exactly one emission with
// these arguments.
bool caughtOnce(QSignalSpy &spy, const QVariantList &arguments)
{
    const bool once = spy.count() == 1 && spy.first() == arguments;
    spy.clear();
    return once;
}

// Takes what the spy caught: how many records announced themselves, each
// once, or -1 when one of them announced itself twice.
int caughtEachOnce(QSignalSpy &spy)
{
    QSet<QPair<int, int>> records;
    for (const QVariantList &arguments : spy)
        records.insert({arguments.at(0).toInt(), arguments.value(1).toInt()});
    const int count = records.size() == spy.count() ? spy.count() : -1;
    spy.clear();
    return count;
}

void TestKeyboardData::everyChangeAnnouncesItselfOnce()
{
    KeyboardData data;
    QSignalSpy keys(&data, &KeyboardData::keyChanged);
    QSignalSpy lighting(&data, &KeyboardData::ledLayerChanged);
    QSignalSpy layer(&data, &KeyboardData::currentLayerChanged);

    data.selectKey(3);
    QCOMPARE(keys.count(), 0);
    data.appendBaseKey(A);
    QVERIFY(caughtOnce(keys, {0, 3}));
    data.assignMedia(226);
    QVERIFY(caughtOnce(keys, {0, 3}));
    data.assignMouseAction(2);
    QVERIFY(caughtOnce(keys, {0, 3}));
    data.assignMacro({{0, A, 10}, {1, A, 10}});
    QVERIFY(caughtOnce(keys, {0, 3}));
    KeyConfig prepared;
    prepared.setSingleKey(B);
    data.assignPrepared(prepared);
    QVERIFY(caughtOnce(keys, {0, 3}));
    data.updateSelectedKey([](KeyConfig &key) { key.dirty = 0; });
    QVERIFY(caughtOnce(keys, {0, 3}));
    data.clearSelectedKey();
    QVERIFY(caughtOnce(keys, {0, 3}));
    data.replaceKey(2, 7, prepared);
    QVERIFY(caughtOnce(keys, {2, 7}));
    data.clearAllKeys();
    QCOMPARE(caughtEachOnce(keys), 25);
    data.loadLayers(KeyLayers(2, KeyLayer(16)));
    QCOMPARE(caughtEachOnce(keys), 32);
    QCOMPARE(lighting.count() + layer.count(), 0);

    data.setCurrentLayer(2);
    QVERIFY(caughtOnce(layer, {2}));
    QCOMPARE(keys.count(), 0);

    data.setLayerEffect(1, 5);
    QVERIFY(caughtOnce(lighting, {1}));
    data.setLayerEffect(1, 5);
    data.setLedColor(1, 4, 255, 255, 0);
    QCOMPARE(lighting.count(), 0);  // equal values change nothing
    data.setLedColor(1, 4, 1, 2, 3);
    QVERIFY(caughtOnce(lighting, {1}));
    data.replaceLedLayer(3, LedLayerConfig());
    QVERIFY(caughtOnce(lighting, {3}));
    data.loadLighting(LedLayers(4));
    QCOMPARE(caughtEachOnce(lighting), 4);

    // A save's result: only a record that still holds what was written.
    data.selectKey(5);
    data.appendBaseKey(A);
    keys.clear();
    data.markKeySaved(2, 5, prepared);
    QCOMPARE(keys.count(), 0);
    data.markKeySaved(2, 5, data.layers()[2][5]);
    QVERIFY(caughtOnce(keys, {2, 5}));
    data.markKeySaved(2, 5, data.layers()[2][5]);
    QCOMPARE(keys.count(), 0);
    data.setLayerEffect(0, 9);
    lighting.clear();
    data.markLightingSaved(0, data.ledLayers()[0]);
    QVERIFY(caughtOnce(lighting, {0}));

    data.resetAll();
    QCOMPARE(caughtEachOnce(keys), 100);
    QCOMPARE(caughtEachOnce(lighting), 4);
}

void TestKeyboardData::unsavedFlipsAtFirstMarkAndLastSave()
{
    KeyboardData data;
    QSignalSpy unsaved(&data, &KeyboardData::unsavedChanged);
    data.selectKey(1);
    data.appendBaseKey(A);
    QVERIFY(caughtOnce(unsaved, {true}));
    data.appendBaseKey(B);  // marked already
    data.selectKey(2);
    data.appendBaseKey(D);
    data.setLedColor(0, 0, 1, 2, 3);
    data.setLayerEffect(0, 4);
    QCOMPARE(unsaved.count(), 0);

    data.markKeySaved(0, 1, data.layers()[0][1]);
    data.markKeySaved(0, 2, data.layers()[0][2]);
    QCOMPARE(unsaved.count(), 0);
    QVERIFY(data.hasUnsavedChanges());
    data.markLightingSaved(0, data.ledLayers()[0]);
    QVERIFY(caughtOnce(unsaved, {false}));
    QVERIFY(!data.hasUnsavedChanges());

    // Marks lost by a load, an undo or an unplug count as well as saves.
    data.clearAllKeys();
    QVERIFY(caughtOnce(unsaved, {true}));
    data.loadLayers(KeyLayers(4, KeyLayer(25)));
    QVERIFY(caughtOnce(unsaved, {false}));
    KeyConfig marked;
    marked.dirty = 1;
    data.replaceKey(3, 24, marked);
    QVERIFY(caughtOnce(unsaved, {true}));
    data.replaceKey(3, 24, KeyConfig());
    QVERIFY(caughtOnce(unsaved, {false}));
    data.setLayerEffect(2, 5);
    data.selectKey(0);
    data.appendBaseKey(A);
    QVERIFY(caughtOnce(unsaved, {true}));
    data.resetAll();
    QVERIFY(caughtOnce(unsaved, {false}));
}

QTEST_GUILESS_MAIN(TestKeyboardData)
#include "tst_keyboarddata.moc"
