// The legends of keys and knobs as the user reads them: whole when they fit,
// else cut so that they still name their function, at every window size and
// in both languages; and knob legends that read over the knob pictures.

#include "tst_flows_support.h"
#include "tst_control_support.h"

#include "app/look/windowsize.h"
#include "widgets/focusring.h"
#include "widgets/keybutton.h"
#include "widgets/knobbutton.h"
#include "widgets/legendfit.h"

#include <QFontInfo>
#include <QFontMetricsF>

namespace {

using Slot = VirtualKeySlot;
using Step = Slot::MacroStep;

const QChar kCut(0x2026);

QString withoutSpaces(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// Why `legend` fails to name `whole`; empty when it names it. A legend shows
// the whole text on one or two lines, or a cut marked with "…" that keeps the
// final key of a combination and otherwise the start of the text.
QString misreading(const QString &legend, const QString &whole)
{
    const QStringList lines = legend.split(QLatin1Char('\n'));
    if (legend.isEmpty() || lines.size() > kMaxLegendLines || lines.contains(QString()))
        return QStringLiteral("not one or two lines");
    const QString shown = withoutSpaces(legend);
    const QString meant = withoutSpaces(whole);
    if (!shown.contains(kCut))
        return shown == meant ? QString() : QStringLiteral("another text");
    // A macro may press the keypad's "+": only a combination keeps its final key.
    if (whole.contains(QLatin1String(" + ")) && !whole.contains(QLatin1String("->"))) {
        const QString finalKey = withoutSpaces(whole.section(QStringLiteral(" + "), -1));
        if (!shown.endsWith(QLatin1Char('+') + finalKey))
            return QStringLiteral("the final key is cut");
        const QString before = shown.section(kCut, 0, 0);
        return meant.startsWith(before) ? QString() : QStringLiteral("a changed start");
    }
    const QString start = shown.section(kCut, 0, 0).remove(QStringLiteral("->"));
    if (start.isEmpty() || !withoutSpaces(meant).remove(QStringLiteral("->")).startsWith(start))
        return QStringLiteral("not the start of the text");
    return QString();
}

struct Assigned
{
    int slot;
    Slot contents;
    const char *english;
    const char *chinese;
    bool wholeAtEverySize; // short enough for the smallest key
};

// A 16-key, 3-knob keypad's assignments and the texts they stand for on the
// base keys page (where left, right, up and down are arrows).
const QVector<Assigned> &assignments()
{
    static const QVector<Assigned> all = {
        {0, Slot::combination(0x01, {0x06}), "LCtrl + C", "LCtrl + C", true},
        {1, Slot::combination(0x03, {0x04}), "LCtrl + LShift + A", "LCtrl + LShift + A", false},
        {2, Slot::macro({{0, 0xE1, 0}, {0, 0x04, 10}, {1, 0x04, 10}, {1, 0xE1, 10}, {0, 0x05, 10}}),
         "LShift -> A -> b", "LShift -> A -> b", false},
        {3, Slot::media(0xCD), "Play/Pause", u8"播放/暂停", true},
        {4, Slot::mouse(0), u8"Mouse ←", u8"鼠标左键", true},
        {5, Slot::media(0x194), "My Computer", u8"我的电脑", false},
        {6, Slot::combination(0x07, {0x4C}), "LCtrl + LShift + LAlt + Del",
         "LCtrl + LShift + LAlt + Del", false},
        // A chain, though " + " is in its text: it keeps the keys it presses first.
        {7, Slot::macro({{0, 0x04, 0}, {1, 0x04, 10}, {0, 0x57, 10}, {1, 0x57, 10}, {0, 0x05, 10},
                         {1, 0x05, 10}, {0, 0x06, 10}, {1, 0x06, 10}}),
         "a -> + -> b -> c", "a -> + -> b -> c", false},
        {16, Slot::media(0xCD), "Play/Pause", u8"播放/暂停", true},
        {17, Slot::media(0xB5), "Next Track", u8"下一曲", true},
        {18, Slot::combination(0x01, {0x1D}), "LCtrl + Z", "LCtrl + Z", true},
        {19, Slot::macro({{0, 0xE0, 0}, {0, 0x06, 10}, {1, 0x06, 10}, {1, 0xE0, 10}}),
         "LCtrl -> c", "LCtrl -> c", true},
        {20, Slot::mouse(4), u8"Mouse Wheel ↓", u8"鼠标滚轮向下", false},
    };
    return all;
}

// Light grey of the picture's lines, as opposed to the legend's gold and the
// dark backing.
bool isPictureLine(const QColor &c)
{
    return qMax(qAbs(c.red() - c.green()), qAbs(c.green() - c.blue())) < 12 && c.value() > 120;
}

} // namespace

class TestLegends : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }
    void cleanup() { flowtest::dropKeypads(); }
    void fittingKeepsWhatNamesTheFunction();
    void windowLegendsNameTheirFunctions_data();
    void windowLegendsNameTheirFunctions();
    void knobLegendHidesThePicture();
    void selectedKeyLegendStaysInsideItsRings();
};

void TestLegends::fittingKeepsWhatNamesTheFunction()
{
    QFont font;
    font.setBold(true);
    font.setPixelSize(13);

    const FittedLegend roomy = fitLegend(QStringLiteral("LCtrl + C"), LegendShape::Combination, font, QSize(80, 60));
    QCOMPARE(roomy.lines, QStringList{QStringLiteral("LCtrl + C")});
    QVERIFY(!roomy.cut);
    // Two lines before a cut, then the final key stays whole.
    QCOMPARE(fitLegend(QStringLiteral("LCtrl + C"), LegendShape::Combination, font, QSize(32, 22))
                 .lines,
             (QStringList{QStringLiteral("LCtrl"), QStringLiteral("+ C")}));
    const QString combination = QStringLiteral("LCtrl + LShift + LAlt + Del");
    for (const QSize room : {QSize(32, 22), QSize(46, 30), QSize(8, 8)}) {
        const FittedLegend fit = fitLegend(combination, LegendShape::Combination, font, room);
        QVERIFY(fit.cut);
        QCOMPARE(fit.pixelSize, kMinLegendPx);
        QCOMPARE(misreading(fit.lines.join(QLatin1Char('\n')), combination), QString());
    }
    // A name keeps its first words, or at least the start of a word.
    const FittedLegend name =
        fitLegend(QStringLiteral("Mouse Wheel Down"), LegendShape::Words, font, QSize(32, 22));
    QVERIFY(name.cut);
    QCOMPARE(name.lines.first(), QStringLiteral("Mouse"));
    QCOMPARE(misreading(name.lines.join(QLatin1Char('\n')), QStringLiteral("Mouse Wheel Down")),
             QString());
    // A macro keeps the keys it presses first.
    const FittedLegend macro =
        fitLegend(QStringLiteral("LShift -> A -> b -> c"), LegendShape::Chain, font, QSize(32, 22));
    QCOMPARE(macro.lines.first(), QStringLiteral("LShift"));
    QVERIFY(macro.lines.last().endsWith(kCut));
    // Chinese stays at nine pixels at least.
    const FittedLegend chinese =
        fitLegend(QString::fromUtf8(u8"鼠标滚轮向下"), LegendShape::Words, font, QSize(20, 10));
    QCOMPARE(chinese.pixelSize, kMinChineseLegendPx);
    QVERIFY(chinese.lines.first().startsWith(QString::fromUtf8(u8"鼠")));
}

void TestLegends::windowLegendsNameTheirFunctions_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("en") << false;
    QTest::newRow("zh") << true;
}

void TestLegends::windowLegendsNameTheirFunctions()
{
    QFETCH(bool, chinese);
    LogCapture log;
    auto window = chinese ? flowtest::makeChineseWindow() : flowtest::makeWindow();
    QVERIFY(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const int keypad = VirtualKeypad::installDemoKeypad("16k3e");
    for (const Assigned &key : assignments())
        VirtualKeypad::setKey(0, key.slot, key.contents, keypad);
    QVERIFY(flowtest::waitFor([&] { return flowtest::configLoaded(log); }));

    QStringList faults;
    for (const QSize size : {QSize(800, 600), QSize(1366, 768), QSize(1920, 1080)}) {
        // The sizes are the content's, below the menu bar.
        QVERIFY(flowtest::resizeAndRescale(*window, windowSizeForContent(size)));
        for (const Assigned &key : assignments()) {
            auto *control = qobject_cast<ControlButton *>(controlButton(*window, key.slot));
            QVERIFY(control);
            const QString whole = QString::fromUtf8(chinese ? key.chinese : key.english);
            const QString legend = control->property("legend").toString();
            const QString where =
                QStringLiteral("%1x%2 %3 (%4 px) \"%5\" shows \"%6\": ")
                    .arg(size.width()).arg(size.height()).arg(control->metaObject()->className())
                    .arg(control->buttonSize())
                    .arg(whole, QString(legend).replace(QLatin1Char('\n'), QLatin1Char('|')));
            const QString fault = misreading(legend, whole);
            if (!fault.isEmpty())
                faults << where + fault;
            if (key.wholeAtEverySize && legend.contains(kCut))
                faults << where + QStringLiteral("cut, though it fits");
            const QFont font = control->paintedLegendFont();
            const QRegularExpression chineseText(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
            const int minPx = legend.contains(chineseText) ? kMinChineseLegendPx : kMinLegendPx;
            if (QFontInfo(font).pixelSize() < minPx)
                faults << where + QStringLiteral("%1 px").arg(QFontInfo(font).pixelSize());
            for (const QString &line : legend.split(QLatin1Char('\n')))
                if (QFontMetricsF(font).horizontalAdvance(line) > control->buttonSize())
                    faults << where + QStringLiteral("wider than the button");
        }
    }
    for (const QString &fault : faults)
        qWarning().noquote() << fault;
    QVERIFY2(faults.isEmpty(), qPrintable(faults.value(0)));
}

void TestLegends::knobLegendHidesThePicture()
{
    KnobButton knob(QStringLiteral(":/images/image/KN_LEFT114x97.png"), QStringLiteral("Mute"));
    knob.setButtonSize(51);
    knob.setChecked(true); // a gold legend, told apart from the picture's grey
    const QImage image = knob.grab().toImage();
    const QString legend = knob.property("legend").toString();
    const QSizeF block = QFontMetricsF(knob.paintedLegendFont()).size(0, legend);
    QRectF area(QPointF(), block);
    area.moveCenter(QRectF(knob.rect()).center());
    int pictureShowing = 0;
    for (int y = qCeil(area.top()); y < area.bottom(); ++y)
        for (int x = qCeil(area.left()); x < area.right(); ++x)
            pictureShowing += isPictureLine(image.pixelColor(x, y));
    QCOMPARE(pictureShowing, 0);

    // The same place without the legend shows the picture's lines.
    knob.setText(QString());
    const QImage bare = knob.grab().toImage();
    for (int y = qCeil(area.top()); y < area.bottom(); ++y)
        for (int x = qCeil(area.left()); x < area.right(); ++x)
            pictureShowing += isPictureLine(bare.pixelColor(x, y));
    QVERIFY(pictureShowing > 0);
}

void TestLegends::selectedKeyLegendStaysInsideItsRings()
{
    QWidget host;
    auto *key = new KeyButton(&host);
    key->setText(QStringLiteral("LCtrl + C"));
    key->setLegendShape(LegendShape::Combination);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    key->setChecked(true);
    key->setFocus();
    QVERIFY(key->hasFocus());
    // The keys of the smallest and of the largest window.
    for (const double scale : {0.45, 1.0}) {
        key->setScale(scale);
        const int side = key->buttonSize();
        const int inside = side - 2 * qCeil(focusRingDepth(ringScaleFor(side)));
        const QFontMetricsF metrics(key->paintedLegendFont());
        for (const QString &line : key->legend().split(QLatin1Char('\n')))
            QVERIFY2(metrics.horizontalAdvance(line) <= inside,
                     qPrintable(QStringLiteral("%1 px key: \"%2\" over its rings").arg(side).arg(line)));
        QVERIFY(!key->legend().contains(kCut));
    }
}

QTEST_MAIN(TestLegends)
#include "tst_legends.moc"
