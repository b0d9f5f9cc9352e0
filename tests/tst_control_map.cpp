// The map of the keypad: which control every place of every picture is for
// every family, and what those controls can be given.

#include "keypad/controlmap.h"
#include "keypad/keypadroles.h"
#include "legacy/legacyfamily.h"
#include "legacy/legacyrecord.h"
#include "model/keytexts.h"
#include "model/labels.h"

#include <QSet>
#include <QtTest>

namespace {

// A description each family would give of a full keypad of that picture.
KeypadDescription fullDescription(const KeypadFamily &family)
{
    KeypadDescription description;
    if (&family == &currentKeypadFamily()) {
        description.info.valid = 1;
        return description;
    }
    description.probe.valid = 1;
    description.probe.format =
        &family == &r20WideKeypadFamily() ? LegacyFormatR20Wide : LegacyFormatOld;
    return description;
}

// "place:role", with "@slot" where the place edits another slot.
QString shownControls(const ControlMap &map)
{
    QStringList shown;
    for (const MappedControl &control : map.shown()) {
        QString line = QString::number(control.button) + QLatin1Char(':')
            + controlRoleName(control.role);
        if (control.slot != control.button)
            line += QLatin1Char('@') + QString::number(control.slot);
        shown << line;
    }
    return shown.join(QStringLiteral(", "));
}

QString keys(int count)
{
    QStringList shown;
    for (int key = 1; key <= count; ++key)
        shown << QStringLiteral("%1:key %2").arg(key - 1).arg(key);
    return shown.join(QStringLiteral(", "));
}

const QString kTwoKnobs = QStringLiteral(
    "16:knob 1 turn left, 17:knob 1 turn right, 18:knob 1 press, "
    "19:knob 2 turn left, 20:knob 2 turn right, 21:knob 2 press");
const QString kThreeKnobs =
    kTwoKnobs + ", 22:knob 3 turn left, 23:knob 3 turn right, 24:knob 3 press";
const QString kSingleKnob = QStringLiteral(
    "0:knob 1 turn right, 1:knob 1 turn left, 2:knob 1 press, "
    "3:knob 1 press and turn right, 4:knob 1 press and turn left");

// The old way to ask: what comes back of a record must be what was given,
// or a key or combination must come back playing the same keys.
QVector<QPair<uint8_t, uint8_t>> playedKeys(const KeyConfig &record)
{
    QVector<QPair<uint8_t, uint8_t>> played;
    QByteArray down;
    if (record.type == KeyTypeSingle)
        down.append(char(record.keycode));
    if (record.type == KeyTypeCombination) {
        for (int bit = 0; bit < 8; ++bit)
            if (record.modifiers & (1u << bit))
                down.append(char(0xE0 + bit));
        down.append(record.keycodes);
    }
    for (char usage : down)
        played.append({0, uint8_t(usage)});
    for (int i = down.size() - 1; i >= 0; --i)
        played.append({1, uint8_t(down[i])});
    for (const MacroStep &step : record.macroSteps)
        played.append({step.action, step.keycode});
    return played;
}

bool comesBack(int format, const KeyConfig &record)
{
    LegacyReport report{};
    if (!legacyEncode(format, record, report))
        return false;
    KeyConfig back;
    legacyDecode(format, report.data(), int(report.size()), back);
    return back.sameAssignment(record)
        || ((record.type == KeyTypeSingle || record.type == KeyTypeCombination)
            && playedKeys(back) == playedKeys(record));
}

KeyConfig macroOf(const QVector<MacroStep> &steps)
{
    KeyConfig record;
    record.setMacro(steps);
    return record;
}

// Presses of `usages`, each after `delay` (or its own), then the releases
// in reverse order after `release`.
KeyConfig pressList(const QVector<uint8_t> &usages, QVector<uint16_t> delays, uint16_t release = 20)
{
    QVector<MacroStep> steps;
    for (int i = 0; i < usages.size(); ++i)
        steps.append({0, usages[i], delays.value(i, delays.value(0))});
    for (int i = usages.size() - 1; i >= 0; --i)
        steps.append({1, usages[i], release});
    return macroOf(steps);
}

// Records near every edge of the older records: kinds, lengths, delays,
// order, usages that do not travel.
QVector<KeyConfig> edgeRecords()
{
    QVector<KeyConfig> records{KeyConfig()};
    for (int usage = 0; usage < 256; ++usage) {
        KeyConfig single;
        single.setSingleKey(uint8_t(usage));
        records << single;
    }
    const QVector<QByteArray> usageSets{{}, "\x04", "\x04\x05", QByteArray(1, '\0'), "\xF1",
                                        "\x04\x05\x06\x07\x08\x09", "\x04\x05\x06\x07\x08\x09\x0A"};
    for (uint8_t mask : {uint8_t(0), uint8_t(0x01), uint8_t(0x22), uint8_t(0xFF)}) {
        for (const QByteArray &usages : usageSets) {
            KeyConfig combination;
            combination.setCombination(mask, {});
            combination.keycodes = usages; // past the setter's checks, as a file may be
            records << combination;
        }
    }
    QVector<uint8_t> many;
    for (int i = 0; i < 20; ++i)
        many << uint8_t(0x04 + i);
    for (int count : {1, 2, 17, 18, 19}) {
        const QVector<uint8_t> usages = many.mid(0, count);
        for (uint16_t delay : {uint16_t(0), uint16_t(20), uint16_t(300)}) {
            records << pressList(usages, {delay}) << pressList(usages, {delay}, 30);
            records << pressList(QVector<uint8_t>{0xE0, 0xE1} + usages, {delay});
            records << pressList(QVector<uint8_t>{0xE1, 0xE0} + usages, {delay});
        }
        records << pressList(usages, {0, 50, 70});
    }
    records << pressList({0xE1}, {0}) << pressList({0xE0, 0xE0, 0x04}, {10})
            << pressList({0x04, 0xE0}, {10}) << pressList({0xF2, 0x04}, {10})
            << pressList({0x00, 0x04}, {10}) << macroOf({})
            << macroOf({{0, 0x04, 10}, {1, 0x04, 20}, {0, 0x05, 10}, {1, 0x05, 20}})
            << macroOf({{0, 0x04, 10}});
    for (uint16_t code : {uint16_t(0), uint16_t(0xE9)}) {
        KeyConfig media;
        media.setMedia(code);
        records << media;
    }
    for (int action = 0; action < 20; ++action) {
        KeyConfig mouse;
        mouse.setMouseAction(uint8_t(action));
        records << mouse;
    }
    KeyConfig unknown;
    unknown.type = 9;
    records << unknown;
    return records;
}

} // namespace

class TestControlMap : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureOfEveryFamily();
    void fileRolesAreTheWindowsNames();
    void whatEachFamilyAccepts();
};

void TestControlMap::everyPictureOfEveryFamily()
{
    struct Row {
        int layout;
        QString current; // the legacy numbering where it differs below
        QString legacy;
    };
    const QVector<Row> rows{
        {Layout16K3E_S0, keys(16) + ", " + kThreeKnobs, {}},
        {Layout16K3E_S1, keys(4) + ", " + kThreeKnobs, {}},
        {Layout16K3E_S2, kTwoKnobs, {}},
        {Layout16K3E_S3, kThreeKnobs, {}},
        {Layout6K1E, keys(6) + ", 6:knob 1 turn left, 7:knob 1 turn right, 8:knob 1 press",
         keys(6) + ", 6:knob 1 turn left@16, 7:knob 1 turn right@17, 8:knob 1 press@18"},
        {Layout6K0E, keys(6), {}},
        {Layout1K0E, keys(1), {}},
        {Layout0K1E, kSingleKnob,
         "0:knob 1 turn right@3, 1:knob 1 turn left, 2:knob 1 press, "
         "3:knob 1 press and turn right@5, 4:knob 1 press and turn left"},
        {Layout0K1E_P1S1, kSingleKnob, {}},
        {Layout5K2E,
         keys(5) + ", 5:knob 1 turn left, 6:knob 1 turn right, 7:knob 2 turn left, 8:knob 2 turn right",
         {}},
    };
    QCOMPARE(rows.size(), kLayoutCount);
    for (const KeypadFamily *family : keypadFamilies()) {
        const KeypadCapabilities &capabilities = family->capabilities();
        for (const Row &row : rows) {
            const LayoutSpec layout = layoutById(row.layout);
            const ControlMap map = ControlMap::of(*family, fullDescription(*family), layout);
            const QString where = QStringLiteral("%1, %2").arg(family->name(), layout.name);
            const bool legacy = family != &currentKeypadFamily();
            QVERIFY2(shownControls(map) == (legacy && !row.legacy.isEmpty() ? row.legacy : row.current),
                     qPrintable(where + ": " + shownControls(map)));

            // Slot and place lead to each other; every key shown has its LED
            // unless the keypad is lit in one colour.
            int leds = 0;
            for (const MappedControl &control : map.shown()) {
                QCOMPARE(map.buttonOfSlot(control.slot), control.button);
                QCOMPARE(map.controlOfSlot(control.slot)->button, control.button);
                leds += control.led;
                QCOMPARE(control.accepts.maxComboKeys, legacy ? capabilities.record.maxPresses : 6);
            }
            // What the keypad cannot store takes no function.
            KeyConfig key;
            key.setSingleKey(0x04);
            const QVector<int> unwritable = family->unwritableSlots(fullDescription(*family));
            for (int slot = 0; slot < kKeySlotCount; ++slot)
                QCOMPARE(map.accepts(slot, key), !unwritable.contains(slot));
            QCOMPARE(leds, capabilities.lighting == LightingKind::Old ? 0 : qMin(layout.keyCount, 16));
        }
    }

    // A keypad with fewer slots than its picture: the rest are fixed.
    KeypadDescription small;
    small.info.valid = 1;
    small.info.keyCount = 4;
    const ControlMap map =
        ControlMap::of(currentKeypadFamily(), small, layoutById(Layout6K0E));
    KeyConfig key;
    key.setSingleKey(0x04);
    QVERIFY(map.accepts(3, key));
    QVERIFY(!map.accepts(4, key));
    QVERIFY(map.place(4).accepts.fixed);
    QVERIFY(!map.accepts(-1, key));
}

void TestControlMap::fileRolesAreTheWindowsNames()
{
    // What a file calls a control is what a screen reader calls it, and a
    // file's name leads back to the same control, on every picture.
    for (const KeypadFamily *family : keypadFamilies()) {
        for (int id = 0; id < kLayoutCount; ++id) {
            const ControlMap map = ControlMap::of(*family, fullDescription(*family), layoutById(id));
            QSet<QString> names;
            for (const MappedControl &control : map.shown()) {
                const QString name = controlRoleName(control.role);
                const QString spoken = accessibleControlName(control.identity, QString());
                QCOMPARE(spoken.section(QLatin1Char(':'), 0, 0).toLower(), name);
                QCOMPARE(controlTitle(control.identity).toLower(), name);
                const std::optional<ControlRole> parsed = parseControlRole(name);
                QVERIFY(parsed && *parsed == control.role);
                const std::optional<ControlIdentity> identity = identityOf(*parsed);
                QVERIFY(identity && map.controlOf(*identity) == map.controlOfSlot(control.slot));
                names.insert(name);
            }
            QCOMPARE(names.size(), map.shown().size());
        }
    }
}

void TestControlMap::whatEachFamilyAccepts()
{
    const LayoutSpec layout = layoutById(Layout16K3E_S0);
    const ControlMap current = ControlMap::of(currentKeypadFamily(), {}, layout);
    const ControlMap r20Wide =
        ControlMap::of(r20WideKeypadFamily(), fullDescription(r20WideKeypadFamily()), layout);
    const ControlMap old = ControlMap::of(oldKeypadFamily(), fullDescription(oldKeypadFamily()), layout);

    KeyConfig swipe;
    swipe.setMouseAction(12);
    KeyConfig blank;
    blank.setMedia(0);
    KeyConfig twoSteps = macroOf({{0, 0x04, 10}, {1, 0x04, 20}, {0, 0x05, 10}, {1, 0x05, 20}});
    struct Row {
        const char *what;
        KeyConfig record;
        bool current, r20Wide, old;
    };
    const QVector<Row> rows{
        {"a swipe", swipe, true, true, false},
        {"no media code", blank, true, false, false},
        {"a recorded macro", twoSteps, true, false, false},
        {"presses with their own delays", pressList({0x04, 0x05}, {0, 50}), true, true, false},
        {"modifiers held over keys", pressList({0xE0, 0x04}, {40}), true, true, true},
        {"18 presses", pressList(QVector<uint8_t>(18, 0x04), {5}), true, true, true},
        {"19 presses", pressList(QVector<uint8_t>(19, 0x04), {5}), true, false, false},
        {"a lone key's press", pressList({0x04}, {0}), true, false, false},
    };
    for (const Row &row : rows) {
        QVERIFY2(current.accepts(0, row.record) == row.current, row.what);
        QVERIFY2(r20Wide.accepts(0, row.record) == row.r20Wide, row.what);
        QVERIFY2(old.accepts(0, row.record) == row.old, row.what);
    }

    // The older records keep a function exactly when it comes back from the
    // keypad as it went.
    const QVector<KeyConfig> records = edgeRecords();
    for (const auto &[map, format] : {std::pair{&r20Wide, int(LegacyFormatR20Wide)},
                                      std::pair{&old, int(LegacyFormatOld)}}) {
        for (int i = 0; i < records.size(); ++i)
            QVERIFY2(map->accepts(0, records[i]) == comesBack(format, records[i]),
                     qPrintable(QStringLiteral("%1: record %2 (%3)")
                                    .arg(legacyFamilyName(format))
                                    .arg(i)
                                    .arg(fullTextOf(records[i]))));
    }
}

QTEST_MAIN(TestControlMap)
#include "tst_control_map.moc"
