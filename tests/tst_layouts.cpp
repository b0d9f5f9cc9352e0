#include "keypad/layoutcatalogue.h"
#include "tst_control_support.h"
#include "app/keypadview/keypadview.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/window/widget.h"
#include "app/look/windowsize.h"
#include "tst_panel_support.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"

#include <QFrame>
#include <QLayout>
#include <QtTest>

#include <memory>

namespace {

DeviceInfo description(int valid, int keys, int encoders, int p, int s)
{
    DeviceInfo info;
    info.valid = uint8_t(valid);
    info.keyCount = uint8_t(keys);
    info.encoderCount = uint8_t(encoders);
    info.layoutP = uint8_t(p);
    info.layoutS = uint8_t(s);
    info.layerCount = 3;
    return info;
}

QString nameFor(int valid, int keys, int encoders, int p, int s, bool legacy = false)
{
    return layoutForDevice(description(valid, keys, encoders, p, s), legacy).name;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

bool shown(const QWidget &window, const QWidget *widget)
{
    return widget && widget->isVisibleTo(&window);
}

// Slots holding a shown button, in slot order.
QList<int> shownSlots(const Widget &window)
{
    QList<int> shownList;
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        if (shown(window, controlButton(window, slot)))
            shownList.append(slot);
    return shownList;
}

QRect rectIn(const QWidget *widget, const QWidget *ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

// Reading order: a later part is on a lower row, or on the same row further
// right.
bool readsAfter(const QRect &earlier, const QRect &later)
{
    if (later.top() >= earlier.bottom())
        return true;
    return qAbs(later.top() - earlier.top()) < earlier.height() / 2
        && later.left() >= earlier.right();
}

} // namespace

class TestLayouts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void catalogueEntries_data();
    void catalogueEntries();
    void layoutChoiceFromDescription();
    void startupPresets();
    void controlSlotsFollowTheLayout();
    void everyShownControlSelectsItsKey();
    void everyLayoutFitsInOrder();
};

void TestLayouts::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    // Every layout change traces its button map; no case reads it.
    QLoggingCategory::setFilterRules(QStringLiteral("zentrik.*.debug=false"));
}

void TestLayouts::catalogueEntries_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("keySize");
    QTest::addColumn<QString>("knobs");

    QTest::newRow("0") << 0 << "Layout_16K_3E_P0_S0" << 4 << 4 << 16 << 80 << "16/3 19/3 22/3";
    QTest::newRow("1") << 1 << "Layout_16K_3E_P0_S1" << 1 << 4 << 4 << 109 << "16/3 19/3 22/3";
    QTest::newRow("2") << 2 << "Layout_16K_3E_P0_S2" << 1 << 1 << 0 << -1 << "16/3 19/3";
    QTest::newRow("3") << 3 << "Layout_16K_3E_P0_S3" << 1 << 1 << 0 << -1 << "16/3 19/3 22/3";
    QTest::newRow("4") << 4 << "Layout_6K_1E_P0_S0" << 2 << 3 << 6 << 82 << "6/3";
    QTest::newRow("5") << 5 << "Layout_6K_0E_P0_S0" << 2 << 3 << 6 << 98 << "";
    QTest::newRow("6") << 6 << "Layout_1K_0E_P0_S0" << 1 << 1 << 1 << 197 << "";
    QTest::newRow("7") << 7 << "Layout_0K_1E_P0_S0" << 1 << 1 << 0 << -1 << "0/5";
    QTest::newRow("8") << 8 << "Layout_0K_1E_P1_S1" << 1 << 1 << 0 << -1 << "0/5";
    QTest::newRow("9") << 9 << "Layout_5K_2E_P0_S0" << 3 << 3 << 5 << 72 << "";
}

void TestLayouts::catalogueEntries()
{
    QFETCH(int, id);
    QFETCH(QString, name);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, keys);
    QFETCH(int, keySize);
    QFETCH(QString, knobs);

    const LayoutSpec layoutSpec = layoutById(id);
    QCOMPARE(layoutSpec.id, id);
    QCOMPARE(layoutSpec.name, name);
    QCOMPARE(layoutSpec.rows, rows);
    QCOMPARE(layoutSpec.columns, columns);
    QCOMPARE(layoutSpec.keyCount, keys);
    if (keySize > 0)
        QCOMPARE(layoutSpec.keySize, keySize);
    QStringList knobText;
    for (const KnobSpec &knob : layoutSpec.knobs)
        knobText << QStringLiteral("%1/%2").arg(knob.baseSlot).arg(knob.partCount);
    QCOMPARE(knobText.join(' '), knobs);
}

void TestLayouts::layoutChoiceFromDescription()
{
    // Every row of the description table.
    QCOMPARE(nameFor(1, 16, 3, 0, 0), QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(nameFor(1, 16, 3, 0, 1), QStringLiteral("Layout_16K_3E_P0_S1"));
    QCOMPARE(nameFor(1, 16, 3, 0, 2), QStringLiteral("Layout_16K_3E_P0_S2"));
    QCOMPARE(nameFor(1, 16, 3, 0, 3), QStringLiteral("Layout_16K_3E_P0_S3"));
    QCOMPARE(nameFor(1, 6, 1, 0, 0), QStringLiteral("Layout_6K_1E_P0_S0"));
    QCOMPARE(nameFor(1, 6, 0, 0, 0), QStringLiteral("Layout_6K_0E_P0_S0"));
    QCOMPARE(nameFor(1, 1, 0, 0, 0), QStringLiteral("Layout_1K_0E_P0_S0"));
    QCOMPARE(nameFor(1, 0, 1, 0, 0), QStringLiteral("Layout_0K_1E_P0_S0"));
    QCOMPARE(nameFor(1, 0, 1, 1, 1), QStringLiteral("Layout_0K_1E_P1_S1"));
    QCOMPARE(nameFor(1, 5, 2, 0, 0), QStringLiteral("Layout_5K_2E_P0_S0"));

    // No matching row, and descriptions that are not valid.
    QCOMPARE(nameFor(1, 0, 1, 1, 0), QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(nameFor(1, 4, 3, 0, 0), QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(nameFor(1, 255, 255, 255, 255), QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(nameFor(0, 16, 3, 0, 1), QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(nameFor(0, 0, 1, 1, 1), QStringLiteral("Layout_16K_3E_P0_S0"));

    // Legacy keypads: the key and knob pair decides first, even when the
    // record is not valid; other pairs go on to the table.
    QCOMPARE(nameFor(1, 4, 3, 0, 0, true), QStringLiteral("Layout_16K_3E_P0_S1"));
    QCOMPARE(nameFor(0, 4, 3, 0, 0, true), QStringLiteral("Layout_16K_3E_P0_S1"));
    QCOMPARE(nameFor(1, 1, 0, 0, 7, true), QStringLiteral("Layout_1K_0E_P0_S0"));
    QCOMPARE(nameFor(1, 0, 3, 0, 0, true), QStringLiteral("Layout_16K_3E_P0_S3"));
    QCOMPARE(nameFor(1, 0, 2, 0, 0, true), QStringLiteral("Layout_16K_3E_P0_S2"));
    QCOMPARE(nameFor(1, 6, 1, 0, 0, true), QStringLiteral("Layout_6K_1E_P0_S0"));
    QCOMPARE(nameFor(0, 6, 1, 0, 0, true), QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(nameFor(1, 0, 2, 0, 0, false), QStringLiteral("Layout_16K_3E_P0_S0"));

    // Ids outside the catalogue.
    QCOMPARE(layoutById(10).name, QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(layoutById(-1).name, QStringLiteral("Layout_16K_3E_P0_S0"));
}

void TestLayouts::startupPresets()
{
    QCOMPARE(layoutForPreset(Preset16K3E).name, QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(layoutForPreset(Preset6K1E).name, QStringLiteral("Layout_6K_1E_P0_S0"));
    QCOMPARE(layoutForPreset(Preset0K1E).name, QStringLiteral("Layout_0K_1E_P0_S0"));
    QCOMPARE(layoutForPreset(Preset5K2E).name, QStringLiteral("Layout_5K_2E_P0_S0"));
    QCOMPARE(layoutForPreset(Preset1K0E).name, QStringLiteral("Layout_1K_0E_P0_S0"));
    QCOMPARE(layoutForPreset(5).name, QStringLiteral("Layout_16K_3E_P0_S0"));
    QCOMPARE(layoutForPreset(-1).name, QStringLiteral("Layout_16K_3E_P0_S0"));

    // A window without a keypad shows the six-key pad, and follows a new
    // preset at once.
    Widget window(AppSettings(), *HIDManager::instance());
    QCOMPARE(window.startupDisplayLayoutPreset(), Preset6K1E);
    QCOMPARE(window.currentLayout().name, QStringLiteral("Layout_6K_1E_P0_S0"));

    window.setStartupDisplayLayoutPreset(StartupLayoutPreset(3));
    QCOMPARE(int(window.startupDisplayLayoutPreset()), 3);
    QCOMPARE(window.currentLayout().name, QStringLiteral("Layout_5K_2E_P0_S0"));

    // Five keys, then the two turn-only knobs in shownList 5 to 8.
    QCOMPARE(shownSlots(window), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
    const char *pictures[] = {"LEFT114x97.png", "RIGHT114x97.png", "LEFT114x97.png",
                              "RIGHT114x97.png"};
    for (int slot = 5; slot <= 8; ++slot) {
        auto *turn = qobject_cast<KnobButton *>(controlButton(window, slot));
        QVERIFY(turn);
        QVERIFY(turn->isEnabled());
        QCOMPARE(turn->property("buttonIndex").toInt(), slot);
        QVERIFY(turn->imagePath().endsWith(pictures[slot - 5]));
        QVERIFY(!turn->picture().isNull());
    }
    for (int slot = 16; slot < kKeySlotCount; ++slot) {
        QVERIFY(!shown(window, controlButton(window, slot)));
        QVERIFY(!controlButton(window, slot)->isEnabled());
    }

    // The one-key pad shows its key matrix.
    window.setStartupDisplayLayoutPreset(Preset1K0E);
    auto *matrix = window.findChild<QWidget *>(QStringLiteral("KeyMatrixContainer"));
    QVERIFY(matrix && matrix->isVisibleTo(&window) && !matrix->size().isEmpty());
    QCOMPARE(shownSlots(window), QList<int>({0}));
}

void TestLayouts::controlSlotsFollowTheLayout()
{
    Widget window(AppSettings(), *HIDManager::instance());
    KeyboardData &store = window.keyboardData();

    // Six keys and the knob in shownList 6 to 8; no button stands in two shownList.
    window.applyLayout(layoutById(Layout6K1E));
    QCOMPARE(shownSlots(window), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (int slot = 0; slot < 6; ++slot)
        QVERIFY(qobject_cast<KeyButton *>(controlButton(window, slot)));
    QSet<QPushButton *> seen;
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        QPushButton *button = controlButton(window, slot);
        if (!button)
            continue;
        QVERIFY2(!seen.contains(button), qPrintable(QString::number(slot)));
        seen.insert(button);
        QCOMPARE(button->property("buttonIndex").toInt(), slot);
    }
    for (int slot = 16; slot <= 18; ++slot)
        QVERIFY(!controlButton(window, slot));

    // A knob part selects its slot once, whichever layout placed it first.
    QPushButton *turnRight = controlButton(window, 7);
    QVERIFY(qobject_cast<KnobButton *>(turnRight));
    window.applyLayout(layoutById(Layout16K3E_S0));
    QCOMPARE(controlButton(window, 17), turnRight);
    window.applyLayout(layoutById(Layout6K1E));
    QSignalSpy selection(&store, &KeyboardData::selectedKeyChanged);
    turnRight->click();
    QCOMPARE(selection.count(), 1);
    QCOMPARE(store.selectedKey(), 7);
    QVERIFY(turnRight->isChecked());

    // Applying a layout unchecks every control and re-labels the buttons
    // from the store.
    store.updateKey(0, 2, [](KeyConfig &key) {
        key.type = KeyTypeSingle;
        key.keycode = 0x04;
    });
    window.applyLayout(layoutById(Layout16K3E_S0));
    QVERIFY(!turnRight->isChecked());
    QCOMPARE(controlButton(window, 2)->text(), QStringLiteral("A"));
    QVERIFY(static_cast<KeyButton *>(controlButton(window, 2))->isAssigned());
    QCOMPARE(shownSlots(window).size(), 25);

    // The single knob: five parts in shownList 0 to 4, in their own container.
    window.applyLayout(layoutById(Layout0K1E_P1S1));
    QCOMPARE(shownSlots(window), QList<int>({0, 1, 2, 3, 4}));
    const char *pictures[] = {"RIGHT114x97.png", "LEFT114x97.png", "IN150x150.png",
                              "PressRIGHT114x97.png", "PressLEFT114x97.png"};
    for (int slot = 0; slot < 5; ++slot) {
        auto *part = qobject_cast<KnobButton *>(controlButton(window, slot));
        QVERIFY(part);
        QCOMPARE(part->parentWidget()->objectName(), QStringLiteral("ZeroOneKnobContainer"));
        QVERIFY(part->imagePath().endsWith(pictures[slot]));
    }
    QVERIFY(!controlButton(window, 2)->isChecked());

    // Two knobs top to bottom, no key.
    window.applyLayout(layoutById(Layout16K3E_S2));
    QCOMPARE(shownSlots(window), QList<int>({16, 17, 18, 19, 20, 21}));
    auto *panelLayout = qobject_cast<QBoxLayout *>(
        window.findChild<QFrame *>("physicalPanelFrame")->layout());
    QVERIFY(panelLayout);
    QCOMPARE(panelLayout->direction(), QBoxLayout::TopToBottom);
    window.applyLayout(layoutById(Layout6K0E));
    QCOMPARE(panelLayout->direction(), QBoxLayout::LeftToRight);
    QCOMPARE(shownSlots(window), QList<int>({0, 1, 2, 3, 4, 5}));
}

void TestLayouts::everyShownControlSelectsItsKey()
{
    Widget window(AppSettings(), *HIDManager::instance());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    KeyboardData &store = window.keyboardData();
    auto *view = window.findChild<KeypadView *>();
    QSignalSpy clicked(view, &KeypadView::controlClicked);
    for (int id = 0; id < kLayoutCount; ++id) {
        window.applyLayout(layoutById(id));
        settle();
        // One control per place: a control the layout put out of every slot
        // keeps none, so a script's lookup by place is never ambiguous.
        QMap<int, int> controlsAtPlace;
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->property("buttonIndex").isValid())
                ++controlsAtPlace[button->property("buttonIndex").toInt()];
        for (int slot : shownSlots(window)) {
            const QString at = QStringLiteral("layout %1 slot %2").arg(id).arg(slot);
            QVERIFY2(controlsAtPlace.value(slot) == 1, qPrintable(at));
            QPushButton *control = controlButton(window, slot);
            clicked.clear();
            QTest::mouseClick(control, Qt::LeftButton);
            QCOMPARE(clicked.count(), 1);
            QCOMPARE(clicked.first().first().toInt(), slot);
            QVERIFY2(store.selectedKey() == window.keyIndexForButton(slot), qPrintable(at));
            QVERIFY2(control->isChecked(), qPrintable(at));
        }
    }
}

void TestLayouts::everyLayoutFitsInOrder()
{
    Widget window(AppSettings(), *HIDManager::instance());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *group = window.findChild<QWidget *>("keyKnobGroup");
    auto *frame = window.findChild<QFrame *>("physicalPanelFrame");
    QVERIFY(group && frame);

    struct Case {
        QSize window;
        double ratio;
        bool roomy; // the whole picture fits at the window's own ratio
    };
    const Case cases[] = {
        {QSize(1500, 1100), 1.0, true}, {QSize(1200, 880), 0.8, false},
        {QSize(800, 600), 0.8, false},  {QSize(2250, 1650), 1.5, true},
        {QSize(3000, 2200), 2.0, true},
    };
    for (const Case &c : cases) {
        // The sizes are the content's, below the menu bar.
        window.resize(windowSizeForContent(c.window));
        QTRY_COMPARE(window.size(), windowSizeForContent(c.window));
        QTRY_VERIFY(qAbs(window.scaleRatio() - c.ratio) < 1e-9);
        for (int id = 0; id < kLayoutCount; ++id) {
            window.applyLayout(layoutById(id));
            settle();
            const QString where = QStringLiteral("%1x%2 layout %3")
                                      .arg(c.window.width()).arg(c.window.height()).arg(id);
            const char *at = qPrintable(where);

            QVERIFY2(window.panelScale() <= c.ratio + 1e-9, at);
            if (c.roomy)
                QVERIFY2(qAbs(window.panelScale() - c.ratio) < 1e-9, at);
            QVERIFY2(group->rect().contains(rectIn(frame, group)), at);

            const QRect inside = frame->rect().adjusted(1, 1, -1, -1);
            const QList<int> shownList = shownSlots(window);
            QVERIFY2(!shownList.isEmpty(), at);
            QList<QRect> rects;
            for (int slot : shownList) {
                const QRect rect = rectIn(controlButton(window, slot), frame);
                QVERIFY2(inside.contains(rect),
                         qPrintable(where + " slot " + QString::number(slot)));
                QVERIFY2(rect.width() >= 8, at);
                for (const QRect &other : qAsConst(rects))
                    QVERIFY2(!other.intersects(rect),
                             qPrintable(where + " overlap at slot " + QString::number(slot)));
                rects.append(rect);
            }

            // Keys read in order, and so do the parts of the knobs; the
            // knobs follow the keys.
            const LayoutSpec layoutSpec = layoutById(id);
            QList<QRect> keys;
            QList<QRect> knobs;
            for (int i = 0; i < shownList.size(); ++i)
                (qobject_cast<KeyButton *>(controlButton(window, shownList[i])) ? keys : knobs)
                    .append(rects[i]);
            QCOMPARE(keys.size(), qMin(layoutSpec.keyCount, 16));
            for (int i = 1; i < keys.size(); ++i)
                QVERIFY2(readsAfter(keys[i - 1], keys[i]), at);
            for (int i = 1; i < knobs.size(); ++i)
                QVERIFY2(readsAfter(knobs[i - 1], knobs[i]), at);
            QRect keyArea;
            for (const QRect &key : qAsConst(keys))
                keyArea |= key;
            for (const QRect &knob : qAsConst(knobs))
                QVERIFY2(keyArea.isNull() || (layoutSpec.topToBottom ? knob.top() > keyArea.bottom()
                                                               : knob.left() > keyArea.right()),
                         at);
        }
    }

    // The frame's border and corners follow the scale.
    QCOMPARE(panelOutlineMismatch(*frame, 10, 52), QString());
    window.applyLayout(layoutById(Layout16K3E_S0));
    QCOMPARE(static_cast<KeyButton *>(controlButton(window, 0))->buttonSize(), 160);
}

QTEST_MAIN(TestLayouts)
#include "tst_layouts.moc"
