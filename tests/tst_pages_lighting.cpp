// The lighting pages: the colour picker, the standard page's effects and
// colours (also the knob LED ring), and the two older families' pages.

#include "device/packet.h"
#include "legacy/legacytables.h"
#include "model/keyboarddata.h"
#include "pages/knobledring.h"
#include "pages/lightingpage.h"
#include "pages/oldlightingpage.h"
#include "pages/r20widelightingpage.h"
#include "tst_device_support.h"
#include "tst_language_support.h"
#include "tst_store_save.h"
#include "widgets/rgbcolorpickerwidget.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Sent directly: QTest would move a press at (0, 0) to the widget's centre.
void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void pressAt(QWidget *widget, const QPoint &pos)
{
    sendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}

void releaseAt(QWidget *widget, const QPoint &pos)
{
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

void dragTo(QWidget *widget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

RgbColor rgbOf(const QColor &color)
{
    return RgbColor{uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue())};
}

void clearLedMarks(KeyboardData &data, int layer)
{
    LedLayerConfig record = data.ledLayers().at(layer);
    record.clearMarks();
    data.replaceLedLayer(layer, record);
}

} // namespace

class TestPagesLighting : public QObject
{
    Q_OBJECT

private slots:
    void pickerMapsPointsToColours();
    void pickerTakesColoursSilently();
    void effectChoiceMarksOnlyChanges();
    void knobLayoutOffersItsOwnEffects();
    void pickerColoursTheSelectedKey();
    void keyboardPicksAndTypesColours();
    void knobLedSegmentsTakeThePicker();
    void assignedLightingIsSaved();
    void unlistedEffectSurvivesSaves();
    void r20WidePaletteColoursSelectedKey();
    void oldPageHighlightsNearestColour();
};

void TestPagesLighting::pickerMapsPointsToColours()
{
    RgbColorPickerWidget picker;
    picker.resize(220, 200);
    QCOMPARE(picker.saturationValueRect(), QRect(0, 0, 220, 154));
    QCOMPARE(picker.hueBarRect(), QRect(0, 176, 220, 20));
    QSignalSpy changed(&picker, &RgbColorPickerWidget::colorChanged);

    // The right edge is (W - 1) / W, never full saturation; the top is full value.
    pressAt(&picker, QPoint(219, 0));
    QCOMPARE(picker.saturation(), 219.0 / 220.0);
    QCOMPARE(picker.value(), 1.0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].value<QColor>(), QColor::fromHsvF(0.0, 219.0 / 220.0, 1.0));

    // Dragging out of the area clamps to its edges; after the release moves do nothing.
    dragTo(&picker, QPoint(-30, 400));
    QCOMPARE(picker.saturation(), 0.0);
    QCOMPARE(picker.value(), 1.0 - 153.0 / 154.0);
    releaseAt(&picker, QPoint(-30, 400));
    const int afterRelease = changed.count();
    dragTo(&picker, QPoint(100, 50));
    QCOMPARE(changed.count(), afterRelease);

    // The hue bar sets the hue only.
    pressAt(&picker, QPoint(110, 185));
    QCOMPARE(picker.hue(), 0.5);
    QCOMPARE(picker.saturation(), 0.0);
    releaseAt(&picker, QPoint(110, 185));

    // Between the area and the bar nothing is picked.
    const int before = changed.count();
    pressAt(&picker, QPoint(50, 165));
    QCOMPARE(changed.count(), before);

    // A low picker keeps an area of 40 px.
    picker.setMinimumSize(0, 0);
    picker.resize(180, 60);
    QCOMPARE(picker.saturationValueRect().height(), 40);
    QCOMPARE(picker.minimumSizeHint(), QSize(180, 160));
    QCOMPARE(picker.sizeHint(), QSize(220, 200));
}

void TestPagesLighting::pickerTakesColoursSilently()
{
    RgbColorPickerWidget picker;
    picker.resize(220, 200);
    QSignalSpy changed(&picker, &RgbColorPickerWidget::colorChanged);

    picker.setColor(QColor(0, 0, 255));
    QCOMPARE(changed.count(), 0);
    QVERIFY(qAbs(picker.hue() - 2.0 / 3.0) < 1e-3);
    QCOMPARE(picker.saturation(), 1.0);
    QCOMPARE(picker.color(), QColor::fromHsvF(picker.hue(), 1.0, 1.0));
    QCOMPARE(rgbOf(picker.color()), (RgbColor{0, 0, 255}));

    picker.setColor(QColor());
    QCOMPARE(rgbOf(picker.color()), (RgbColor{0, 0, 255}));

    // Greys have no hue: the bar starts from red.
    picker.setColor(QColor(128, 128, 128));
    QCOMPARE(picker.hue(), 0.0);
    QCOMPARE(picker.saturation(), 0.0);
    QCOMPARE(rgbOf(picker.color()), (RgbColor{128, 128, 128}));
    QCOMPARE(changed.count(), 0);
}

void TestPagesLighting::effectChoiceMarksOnlyChanges()
{
    KeyboardData data;
    LightingPage page;
    page.bind(data);
    page.setRgbPageActive(true);
    QSignalSpy changed(&page, &LightingPage::lightingChanged);
    page.refresh();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(0)); // effect 1 is offered

    const QList<QPushButton *> buttons = page.effectButtons();
    QCOMPARE(buttons.size(), 10);
    QCOMPARE(buttons.at(3)->text(), QStringLiteral("Key Reactive"));
    QCOMPARE(buttons.at(9)->property("modeId").toInt(), 9);
    QVERIFY(buttons.at(1)->isChecked());

    buttons.at(7)->click();
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(7));
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(1));
    QVERIFY(buttons.at(7)->isChecked());
    QVERIFY(!buttons.at(1)->isChecked());
    QCOMPARE(changed.count(), 2);

    clearLedMarks(data, 0);
    buttons.at(7)->click();
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(0));
    QCOMPARE(data.ledLayers()[1].dirty, uint8_t(0));

    // Another layer shows its own effect.
    data.setCurrentLayer(2);
    page.refresh();
    QVERIFY(buttons.at(1)->isChecked());

    const ChineseInterface chinese;
    page.refresh();
    QCOMPARE(buttons.at(0)->text(), QStringLiteral("关闭灯光"));
}

void TestPagesLighting::knobLayoutOffersItsOwnEffects()
{
    KeyboardData data;
    LedLayerConfig effectSeven = data.ledLayers()[0];
    effectSeven.effect = 7;
    data.replaceLedLayer(0, effectSeven);
    LightingPage page;
    page.bind(data);
    page.setRgbPageActive(true);
    page.setKnobLedLayout(true);
    page.refresh();

    // Breathing is 5 on this pad; the keypad's 7 is not listed and is kept:
    // no button is checked and a note names it.
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(7));
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(0));
    const QList<QPushButton *> buttons = page.effectButtons();
    for (QPushButton *button : buttons)
        QVERIFY(!button->isChecked());
    QVERIFY(!page.unlistedEffectNote()->isHidden());
    QCOMPARE(page.unlistedEffectNote()->text(),
             QStringLiteral("The keypad uses effect 7, which is not in this list."));
    QCOMPARE(buttons.at(2)->text(), QStringLiteral("Key Reactive"));
    QCOMPARE(buttons.at(5)->text(), QStringLiteral("Breathing"));
    for (int i = 6; i < 10; ++i) {
        QPushButton *unused = buttons.at(i);
        QVERIFY(unused->isHidden());
        QVERIFY(!unused->isEnabled());
        QVERIFY(!unused->isChecked());
        QVERIFY(unused->text().isEmpty());
        QVERIFY(unused->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    buttons.at(5)->click();
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(5));
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(1));
    page.refresh();
    QVERIFY(page.unlistedEffectNote()->isHidden());

    // Back on a ten-effect pad every button is usable again.
    page.setKnobLedLayout(false);
    page.refresh();
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(5));
    QVERIFY(!buttons.at(9)->isHidden());
    QVERIFY(buttons.at(9)->isEnabled());
    QVERIFY(!buttons.at(9)->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(buttons.at(2)->text(), QStringLiteral("Flowing Light"));
}

void TestPagesLighting::pickerColoursTheSelectedKey()
{
    KeyboardData data;
    LightingPage page;
    page.bind(data);
    bool knobSelected = false;
    page.setLedKeyFilter([&knobSelected](int) { return !knobSelected; });
    RgbColorPickerWidget *picker = page.colorPicker();
    picker->resize(220, 200);
    QSignalSpy changed(&page, &LightingPage::lightingChanged);

    // Only while the page is shown.
    data.selectKey(3);
    pressAt(picker, QPoint(0, 0));
    releaseAt(picker, QPoint(0, 0));
    QCOMPARE(data.ledLayers()[0].keyDirty[3], uint8_t(0));

    page.setRgbPageActive(true);
    pressAt(picker, QPoint(0, 0)); // white
    releaseAt(picker, QPoint(0, 0));
    QCOMPARE(data.ledLayers()[0].colors[3], (RgbColor{255, 255, 255}));
    QCOMPARE(data.ledLayers()[0].keyDirty[3], uint8_t(1));
    QCOMPARE(changed.count(), 1);

    // The same colour again changes nothing.
    clearLedMarks(data, 0);
    pressAt(picker, QPoint(0, 0));
    releaseAt(picker, QPoint(0, 0));
    QCOMPARE(data.ledLayers()[0].keyDirty[3], uint8_t(0));

    // Knobs and keys without an LED take no colour.
    knobSelected = true;
    pressAt(picker, QPoint(0, 150));
    releaseAt(picker, QPoint(0, 150));
    QCOMPARE(data.ledLayers()[0].colors[3], (RgbColor{255, 255, 255}));
    knobSelected = false;
    data.selectKey(16);
    pressAt(picker, QPoint(0, 150));
    releaseAt(picker, QPoint(0, 150));
    for (int led = 0; led < kLedCount; ++led)
        QCOMPARE(data.ledLayers()[0].keyDirty[size_t(led)], uint8_t(0));

    // Showing a key's colour moves the picker without writing anything.
    data.setLedColor(0, 6, 0, 0, 255);
    clearLedMarks(data, 0);
    QSignalSpy pickerSignal(picker, &RgbColorPickerWidget::colorChanged);
    page.showKeyColor(6);
    QCOMPARE(rgbOf(picker->color()), (RgbColor{0, 0, 255}));
    page.showKeyColor(20);
    QCOMPARE(rgbOf(picker->color()), (RgbColor{255, 255, 0}));
    QCOMPARE(pickerSignal.count(), 0);
}

void TestPagesLighting::keyboardPicksAndTypesColours()
{
    KeyboardData data;
    LightingPage page;
    page.bind(data);
    page.setRgbPageActive(true);
    RgbColorPickerWidget *picker = page.colorPicker();
    QLineEdit *code = page.colorCodeField();
    QVERIFY(picker->focusPolicy() & Qt::TabFocus);
    QVERIFY(!picker->accessibleName().isEmpty());
    data.selectKey(3);
    page.showKeyColor(3);
    QCOMPARE(code->text(), QStringLiteral("#FFFF00"));
    auto *title = page.findChild<QLabel *>(QStringLiteral("rgbPaletteTitle"));
    page.setKnobLedLayout(true);
    QCOMPARE(title->text(), QStringLiteral("Selected LED Color"));
    page.setKnobLedLayout(false);
    QCOMPARE(title->text(), QStringLiteral("Selected Key Color"));

    // Each arrow moves one part of the colour by a step, and colours the key.
    QTest::keyClick(picker, Qt::Key_Left);
    QCOMPARE(picker->saturation(), 0.98);
    QCOMPARE(data.ledLayers()[0].colors[3], rgbOf(picker->color()));
    QCOMPARE(data.ledLayers()[0].keyDirty[3], uint8_t(1));
    QCOMPARE(code->text(), picker->color().name().toUpper());
    QTest::keyClick(picker, Qt::Key_Down);
    QCOMPARE(picker->value(), 0.98);
    const double hue = picker->hue();
    QTest::keyClick(picker, Qt::Key_PageUp);
    QVERIFY(picker->hue() > hue);
    // The hue goes round past red.
    picker->setColor(QColor(255, 0, 0));
    QTest::keyClick(picker, Qt::Key_PageDown);
    QVERIFY(picker->hue() > 0.9);

    // A typed code applies on Enter, exactly as typed; an unfinished one does not.
    code->setText(QStringLiteral("#12ab7f"));
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(data.ledLayers()[0].colors[3], (RgbColor{0x12, 0xab, 0x7f}));
    QCOMPARE(code->text(), QStringLiteral("#12AB7F"));
    code->setText(QStringLiteral("#0000"));
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(data.ledLayers()[0].colors[3], (RgbColor{0x12, 0xab, 0x7f}));
    QTest::keyClicks(code, QStringLiteral("zz"));
    QCOMPARE(code->text(), QStringLiteral("#0000"));
}

void TestPagesLighting::knobLedSegmentsTakeThePicker()
{
    KeyboardData data;
    data.setLedColor(0, 2, 0, 0, 255);
    LightingPage page;
    page.bind(data);
    page.setRgbPageActive(true);
    page.setKnobLedLayout(true);
    page.refresh();
    KnobLedRing *ring = page.knobLedRing();
    const QList<QPushButton *> segments = ring->segmentButtons();
    QCOMPARE(segments.size(), 4);
    QCOMPARE(segments.at(3)->text(), QStringLiteral("LED4"));
    QCOMPARE(segments.at(3)->property("ledIndex").toInt(), 3);
    QVERIFY(segments.at(2)->styleSheet().contains(QLatin1String("background-color:#0000ff;")));
    QVERIFY(segments.at(2)->styleSheet().contains(QLatin1String("color:#ffffff;")));
    QVERIFY(segments.at(0)->styleSheet().contains(QLatin1String("color:#181818;")));

    RgbColorPickerWidget *picker = page.colorPicker();
    picker->resize(220, 200);
    QSignalSpy pickerSignal(picker, &RgbColorPickerWidget::colorChanged);
    segments.at(2)->click();
    QCOMPARE(ring->target(), 2);
    QVERIFY(segments.at(2)->isChecked());
    QVERIFY(!segments.at(0)->isChecked());
    QCOMPARE(rgbOf(picker->color()), (RgbColor{0, 0, 255}));
    QCOMPARE(pickerSignal.count(), 0);

    // No key needs to be selected: the picker colours the target segment.
    pressAt(picker, QPoint(0, 0));
    releaseAt(picker, QPoint(0, 0));
    QCOMPARE(data.ledLayers()[0].colors[2], (RgbColor{255, 255, 255}));
    QCOMPARE(data.ledLayers()[0].keyDirty[2], uint8_t(1));
    QCOMPARE(data.ledLayers()[0].keyDirty[0], uint8_t(0));
    QVERIFY(segments.at(2)->styleSheet().contains(QLatin1String("background-color:#ffffff;")));

    // Rounded luminance 150 is light, 149 dark.
    QCOMPARE(KnobLedRing::segmentTextColor(QColor(150, 150, 150)), QStringLiteral("#181818"));
    QCOMPARE(KnobLedRing::segmentTextColor(QColor(149, 149, 149)), QStringLiteral("#ffffff"));
}

void TestPagesLighting::assignedLightingIsSaved()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));
    KeyboardData data;
    LightingPage page;
    page.bind(data);
    page.setRgbPageActive(true);
    page.refresh();
    data.setCurrentLayer(1);
    page.refresh();
    page.effectButtons().at(8)->click();
    data.selectKey(4);
    RgbColorPickerWidget *picker = page.colorPicker();
    picker->resize(220, 200);
    pressAt(picker, QPoint(219, 0));
    releaseAt(picker, QPoint(219, 0));
    const RgbColor picked = rgbOf(picker->color());
    QVERIFY(picked.g < 20 && picked.r == 255);

    QVERIFY(saveAll(manager, data));
    QVERIFY(!data.ledLayers()[1].isChanged());
    const VirtualLighting stored = VirtualKeypad::lighting(1);
    QCOMPARE(stored.effect, uint8_t(8));
    QCOMPARE(stored.colors[4], (VirtualLighting::Rgb{picked.r, picked.g, picked.b}));
    QCOMPARE(stored.colors[3], (VirtualLighting::Rgb{255, 255, 0}));
}

// A keypad whose firmware has more effects than the page lists keeps its own
// lighting byte for byte through a keys-only and a full save, however often
// the page is shown; only a choice on the page changes it.
void TestPagesLighting::unlistedEffectSurvivesSaves()
{
    HIDManager manager;
    QVERIFY(connectManager(manager));
    VirtualLighting own;
    own.effect = 12;
    for (int led = 0; led < kLedCount; ++led)
        own.colors[size_t(led)] = {uint8_t(led), uint8_t(200 - led), uint8_t(7 * led)};
    for (int layer = 0; layer < kLayerCount; ++layer)
        VirtualKeypad::setLighting(layer, own);

    KeyboardData data;
    KeyLayers layers;
    LedLayers lighting;
    QVERIFY(manager.readAllConfiguration(layers, lighting));
    data.loadLayers(layers);
    data.loadLighting(lighting);
    LightingPage page;
    page.bind(data);
    page.setRgbPageActive(true);
    for (bool knobLeds : {false, true}) {
        page.setKnobLedLayout(knobLeds);
        for (int layer = 0; layer < kLayerCount; ++layer) {
            data.setCurrentLayer(layer);
            page.refresh();
            for (QPushButton *button : page.effectButtons())
                QVERIFY(!button->isChecked());
        }
    }
    const ChineseInterface chinese;
    page.refresh();
    QCOMPARE(page.unlistedEffectNote()->text(),
             QStringLiteral("设备正在使用灯效 12，它不在此列表中。"));

    VirtualKeypad::clearRecords();
    data.updateKey(0, 2, [&](KeyConfig &k) { k.setSingleKey(0x04); });
    QVERIFY(saveKeys(manager, data));
    data.updateKey(1, 2, [&](KeyConfig &k) { k.setSingleKey(0x05); });
    QVERIFY(saveAll(manager, data));
    QVERIFY(writtenWithCommand(CmdWriteLighting).empty());
    for (int layer = 0; layer < kLayerCount; ++layer)
        QVERIFY(VirtualKeypad::lighting(layer) == own);

    // The user's choice is the only thing that replaces it.
    page.setKnobLedLayout(false);
    data.setCurrentLayer(2);
    page.refresh();
    page.effectButtons().at(3)->click();
    QVERIFY(saveAll(manager, data));
    QCOMPARE(int(VirtualKeypad::lighting(2).effect), 3);
    QVERIFY(VirtualKeypad::lighting(2).colors == own.colors);
    QVERIFY(VirtualKeypad::lighting(1) == own);
}

void TestPagesLighting::r20WidePaletteColoursSelectedKey()
{
    const auto &palette = r20WidePalette();
    QCOMPARE(palette.front(), QRgb(0xff0000));
    QCOMPARE(palette[7], QRgb(0xa00000));
    QCOMPARE(palette[34], QRgb(0x910fff));
    QCOMPARE(palette.back(), QRgb(0xc8c896));

    KeyboardData data;
    R20WideLightingPage page;
    page.bind(data);
    page.setLedKeyFilter([](int key) { return key != 9; });
    QCOMPARE(page.modeButtons().size(), 6);
    QCOMPARE(page.modeButtons().at(5)->text(), QStringLiteral("LED Mode5"));
    QCOMPARE(page.paletteButtons().size(), 56);
    QVERIFY(page.paletteButtons().at(8)->styleSheet().startsWith(
        QLatin1String("QPushButton { background:#ffaa00; border:1px solid #202020;")));

    // Another family's keypad: nothing is usable and nothing changes.
    data.selectKey(2);
    QVERIFY(!page.modeButtons().at(3)->isEnabled());
    QVERIFY(!page.paletteButtons().at(8)->isEnabled());
    page.modeButtons().at(3)->click();
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(1));

    page.setDeviceActive(true);
    QVERIFY(page.paletteButtons().at(8)->isEnabled());
    QSignalSpy changed(&page, &R20WideLightingPage::lightingChanged);
    page.paletteButtons().at(8)->click();
    QCOMPARE(data.ledLayers()[0].colors[2], (RgbColor{255, 170, 0}));
    QCOMPARE(data.ledLayers()[0].keyDirty[2], uint8_t(1));
    QCOMPARE(changed.count(), 1);

    QVERIFY(page.modeButtons().at(1)->styleSheet().contains(QLatin1String("background:#f2f2f2;")));
    page.modeButtons().at(3)->click();
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(3));
    QCOMPARE(data.ledLayers()[0].dirty, uint8_t(1));
    QVERIFY(page.modeButtons().at(3)->styleSheet().contains(QLatin1String("background:#f2f2f2; color:#000000;")));
    QVERIFY(page.modeButtons().at(1)->styleSheet().contains(QLatin1String("background:#383838; color:#ffffff;")));

    // The palette follows the selection: none, or a control without an LED.
    data.selectKey(-1);
    QVERIFY(!page.paletteButtons().at(0)->isEnabled());
    data.selectKey(9);
    QVERIFY(!page.paletteButtons().at(0)->isEnabled());
    page.paletteButtons().at(0)->click();
    QCOMPARE(data.ledLayers()[0].keyDirty[9], uint8_t(0));
}

void TestPagesLighting::oldPageHighlightsNearestColour()
{
    // The page shows what the keypad will be sent.
    const auto &colors = oldPageColors();
    for (int i = 0; i < kOldPageColorCount; ++i)
        QCOMPARE(oldPaletteIndex(colors[size_t(i)].color), i);
    for (const RgbColor &probe : {RgbColor{250, 120, 70}, RgbColor{90, 0, 90}, RgbColor{0, 128, 128},
                                  RgbColor{255, 255, 0}, RgbColor{10, 10, 10}})
        QCOMPARE(nearestOldColor(probe), oldPaletteIndex(probe));

    KeyboardData data;
    data.setLedColor(0, 0, 250, 10, 10);
    LedLayerConfig effectSeven = data.ledLayers()[0];
    effectSeven.effect = 7;
    data.replaceLedLayer(0, effectSeven);
    OldLightingPage page;
    page.bind(data);
    QVERIFY(!page.colorButtons().at(0)->isEnabled());
    page.colorButtons().at(5)->click();
    QCOMPARE(data.ledLayers()[0].colors[0], (RgbColor{250, 10, 10}));

    page.setDeviceActive(true);
    QCOMPARE(page.highlightedColor(), 0);
    QCOMPARE(page.colorButtons().at(0)->text(), QStringLiteral("Red"));
    QVERIFY(page.colorButtons().at(0)->styleSheet().endsWith(
        QLatin1String("QPushButton { border:3px solid #ffffff; }")));
    QVERIFY(page.colorButtons().at(1)->styleSheet().endsWith(
        QLatin1String("QPushButton { border:1px solid #202020; }")));
    // Effects above 5 show as mode 5.
    QVERIFY(page.modeButtons().at(5)->styleSheet().contains(QLatin1String("background:#f2f2f2;")));
    QVERIFY(page.modeButtons().at(5)->styleSheet().contains(QLatin1String("font-size:20px;")));

    page.colorButtons().at(5)->click();
    QCOMPARE(data.ledLayers()[0].colors[0], (RgbColor{0, 0, 255}));
    QCOMPARE(data.ledLayers()[0].keyDirty[0], uint8_t(1));
    QCOMPARE(page.highlightedColor(), 5);
    page.modeButtons().at(2)->click();
    QCOMPARE(data.ledLayers()[0].effect, uint8_t(2));
    QVERIFY(page.modeButtons().at(2)->styleSheet().contains(QLatin1String("background:#f2f2f2;")));

    // A fresh layer is yellow.
    data.setCurrentLayer(3);
    QCOMPARE(page.highlightedColor(), 2);
    QVERIFY(page.modeButtons().at(1)->styleSheet().contains(QLatin1String("background:#f2f2f2;")));
}

QTEST_MAIN(TestPagesLighting)
#include "tst_pages_lighting.moc"
