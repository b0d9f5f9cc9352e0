#include "app/window/widget.h"
#include "tst_control_support.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/look/windowsize.h"
#include "pages/basekeyspage.h"
#include "tst_event_counter.h"
#include "tst_log_capture.h"
#include "tst_panel_support.h"
#include "widgets/keybutton.h"
#include "widgets/nextpasspaint.h"

#include <QBackingStore>
#include <QExposeEvent>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

namespace {

// The design sizes are those of the window's content, below its menu bar.
void resizeContent(QWidget &window, const QSize &content)
{
    window.resize(windowSizeForContent(content));
}

QSize contentSize(const QWidget &window)
{
    return contentSizeOfWindow(window.size());
}

// The paints of a widget, and the region they covered together.
class PaintRegions : public QObject
{
public:
    int count = 0;
    QRegion painted;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            painted += static_cast<QPaintEvent *>(event)->region();
        }
        return false;
    }
};

// Each rescale writes one "[UI][size]" line.
int rescaleCount(const LogCapture &log)
{
    return log.lines().filter(QRegularExpression("^\\[UI\\]\\[size\\] layout ")).size();
}

QList<QPushButton *> functionButtons(const QWidget &window)
{
    QList<QPushButton *> buttons;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->property("class").toString() == QLatin1String("FuncBtn"))
            buttons.append(button);
    return buttons;
}

QWidget *inputFrame(const QWidget &window)
{
    return window.findChild<QWidget *>("inputFrame");
}

QWidget *layerColumn(const QWidget &window)
{
    return window.findChild<QWidget *>("layerColumn");
}

} // namespace

class TestScaling : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void targetRatioFollowsTheWindow();
    void smallChangesAndBurstsRescaleAtMostOnce();
    void shellSizesAtARatio();
    void functionButtonTextsFitTheirButtons();
    void keyboardKeysFollowTheRatio();
    void pageShownRightAfterARescaleFitsItsWidth();
    void lightingPageFirstShownAtANewSizeLeavesTheKeypadStill();
    void heldPaintsComeOnTheNextPassAndAreNeverStarved();
    void aHeldResizeIsPreparedAPassAheadAndPaintedWhole();
    void aPageShownIsPaintedOnALaterPass();

private:
    std::unique_ptr<Widget> m_window;
    std::unique_ptr<LogCapture> m_log;
};

void TestScaling::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TestScaling::init()
{
    m_window = std::make_unique<Widget>(AppSettings(), *HIDManager::instance());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(contentSize(*m_window), QSize(1500, 1100));
    // Let the rescale that follows the first show run before counting.
    QTest::qWait(100);
    m_log = std::make_unique<LogCapture>();
}

void TestScaling::cleanup()
{
    m_window.reset();
    m_log.reset();
}

void TestScaling::targetRatioFollowsTheWindow()
{
    Widget &window = *m_window;
    struct Step {
        QSize size;
        double ratio;
    };
    const Step steps[] = {
        {QSize(1200, 880), 0.8},  {QSize(1500, 1100), 1.0}, {QSize(1000, 700), 0.8},
        {QSize(3000, 2200), 2.0}, {QSize(3000, 1100), 1.0}, {QSize(1800, 2200), 1.2},
    };
    for (const Step &step : steps) {
        resizeContent(window, step.size);
        QTRY_COMPARE(contentSize(window), step.size);
        QVERIFY(qAbs(window.targetScaleRatio() - step.ratio) < 1e-9);
        QTRY_VERIFY2(qAbs(window.scaleRatio() - step.ratio) < 1e-9,
                     qPrintable(QStringLiteral("%1x%2").arg(step.size.width())
                                    .arg(step.size.height())));
    }
}

void TestScaling::smallChangesAndBurstsRescaleAtMostOnce()
{
    Widget &window = *m_window;

    // Less than 0.01 from the drawn ratio: no rescale at all.
    resizeContent(window, QSize(1505, 1104));
    QTRY_COMPARE(contentSize(window), QSize(1505, 1104));
    QTest::qWait(50);
    QCOMPARE(rescaleCount(*m_log), 0);
    QCOMPARE(window.scaleRatio(), 1.0);

    // A drag through many sizes rescales once, for the last of them.
    for (int step = 0; step < 20; ++step)
        resizeContent(window, QSize(1500 + 50 * step, 1100 + 40 * step));
    QTRY_COMPARE(contentSize(window), QSize(2450, 1860));
    QTRY_COMPARE(rescaleCount(*m_log), 1);
    QTest::qWait(50);
    QCOMPARE(rescaleCount(*m_log), 1);
    QVERIFY(qAbs(window.scaleRatio() - 2450.0 / 1500) < 1e-9);
    QVERIFY(m_log->lines().filter("[UI][size] layout Layout_6K_1E_P0_S0 window QSize(2450, 1860) "
                              "init QSize(1500, 1100) scale 1.63333")
                .size() == 1);
}

void TestScaling::shellSizesAtARatio()
{
    Widget &window = *m_window;
    window.applyLayout(layoutById(Layout16K3E_S0));
    auto *list = window.findChild<QListWidget *>();
    auto *pages = window.findChild<QStackedWidget *>();
    auto *frame = window.findChild<QFrame *>("physicalPanelFrame");
    QVERIFY(list && pages && frame);

    resizeContent(window, QSize(1200, 880));
    QTRY_COMPARE(window.scaleRatio(), 0.8);
    QCOMPARE(list->width(), 115);
    QVERIFY(list->styleSheet().contains("font-size: 15px;"));
    QVERIFY(list->styleSheet().contains("height: 38px;"));
    QCOMPARE(pages->minimumHeight(), 240);
    QCOMPARE(pages->widget(RowBaseKeys)->minimumHeight(), 240);
    QCOMPARE(inputFrame(window)->width(), 250);
    QCOMPARE(layerColumn(window)->width(), 80);
    // The panel frame's border and corners follow the scale the panel is
    // drawn at, which a tight window may hold below the window's ratio.
    const double panel = window.panelScale();
    QVERIFY(panel > 0.5 && panel <= 0.8);
    QCOMPARE(panelOutlineMismatch(*frame, qMax(1, qRound(5 * panel)), qMax(1, qRound(26 * panel))),
             QString());

    resizeContent(window, QSize(3000, 2200));
    QTRY_COMPARE(window.scaleRatio(), 2.0);
    QCOMPARE(list->width(), 250);
    QVERIFY(list->styleSheet().contains("font-size: 24px;"));
    QVERIFY(list->styleSheet().contains("height: 80px;"));
    QCOMPARE(pages->minimumHeight(), 600);
    QCOMPARE(inputFrame(window)->width(), 500);
    QCOMPARE(layerColumn(window)->width(), 192);
    for (QPushButton *button : layerColumn(window)->findChildren<QPushButton *>()) {
        QCOMPARE(button->width(), 192);
        QCOMPARE(button->minimumWidth(), 192);
        QCOMPARE(button->maximumWidth(), 192);
    }
    QCOMPARE(window.panelScale(), 2.0);
    QCOMPARE(static_cast<KeyButton *>(controlButton(window, 15))->buttonSize(), 160);
    // The window's look stops at its own controls: a dialog's field keeps its size.
    QDialog dialog(&window);
    auto *field = new QLineEdit(&dialog);
    field->ensurePolished();
    QVERIFY2(field->minimumSizeHint().height() < 40, qPrintable(QString::number(field->minimumSizeHint().height())));

    // Back at the design size everything returns to its design value.
    resizeContent(window, QSize(1500, 1100));
    QTRY_COMPARE(window.scaleRatio(), 1.0);
    QCOMPARE(list->width(), 144);
    QVERIFY(list->styleSheet().contains("font-size: 18px;"));
    QCOMPARE(inputFrame(window)->width(), 300);
    QCOMPARE(layerColumn(window)->width(), 96);
    QCOMPARE(static_cast<KeyButton *>(controlButton(window, 15))->buttonSize(), 80);
}

void TestScaling::functionButtonTextsFitTheirButtons()
{
    Widget &window = *m_window;
    const QList<QPushButton *> buttons = functionButtons(window);
    QCOMPARE(buttons.size(), 4);
    struct Step {
        QSize size;
        double ratio;
    };
    const Step steps[] = {
        {QSize(800, 600), 0.8}, {QSize(1000, 700), 0.8}, {QSize(1500, 1100), 1.0},
        {QSize(3000, 2200), 2.0},
    };
    for (const Step &step : steps) {
        const QSize &size = step.size;
        resizeContent(window, size);
        QTRY_COMPARE(contentSize(window), size);
        // The rescale waits for its debounce timer and the layouts it changes
        // run from posted events; in a slow build (the sanitizers) a fixed
        // pause can end before either, so wait for the rescale itself, then
        // let every pending layout run before measuring.
        QTRY_COMPARE(window.scaleRatio(), step.ratio);
        QTest::qWait(30);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
        int pixelSize = -1;
        for (QPushButton *button : buttons) {
            const QString where = QStringLiteral("%1x%2 %3").arg(size.width())
                                      .arg(size.height()).arg(button->text());
            const QFontMetrics metrics(button->font());
            QVERIFY2(metrics.horizontalAdvance(button->text()) <= button->width(),
                     qPrintable(where));
            QVERIFY2(metrics.height() <= button->height(), qPrintable(where));
            QVERIFY2(button->font().pixelSize() <= 32, qPrintable(where));
            // One size for the whole column.
            QVERIFY2(pixelSize < 0 || pixelSize == button->font().pixelSize(), qPrintable(where));
            pixelSize = button->font().pixelSize();
        }
        // The four buttons and the pages share the window's height.
        const QWidget *lowest = buttons.last();
        QVERIFY(lowest->mapTo(&window, QPoint(0, lowest->height())).y() <= window.height());
        for (int i = 1; i < buttons.size(); ++i)
            QVERIFY(buttons[i]->geometry().top() >= buttons[i - 1]->geometry().bottom());
        auto *pages = window.findChild<QStackedWidget *>();
        QVERIFY(pages->mapTo(&window, QPoint(0, pages->height())).y() <= window.height());
    }
    // Where the design size fits, the design size it is.
    resizeContent(window, QSize(3000, 2200));
    QTRY_COMPARE(buttons.first()->font().pixelSize(), 32);
}

void TestScaling::keyboardKeysFollowTheRatio()
{
    Widget &window = *m_window;
    auto *list = window.findChild<QListWidget *>();
    BaseKeysPage *page = window.findChild<BaseKeysPage *>();
    const auto key = [page](int usage) {
        for (QPushButton *button : page->keyButtons())
            if (button->property("keycode").toInt() == usage)
                return button;
        return static_cast<QPushButton *>(nullptr);
    };
    // Q, a two-legend key, Tab, an arrow, the keypad's / and NumLock, with
    // their font sizes at the design size.
    const struct {
        int usage;
        int designPx;
    } keys[] = {{0x14, 18}, {0x1E, 18}, {0x2B, 15}, {0x52, 21}, {0x54, 20}, {0x53, 18}};
    const struct {
        QSize size;
        double ratio;
        int gap;
    } steps[] = {{QSize(1200, 880), 0.8, 2}, {QSize(3000, 2200), 2.0, 4}};
    for (const auto &step : steps) {
        // The keyboard is off screen while the window rescales.
        list->setCurrentRow(RowMouse);
        const int hiddenPx = key(keys[0].usage)->font().pixelSize();
        resizeContent(window, step.size);
        QTRY_COMPARE(window.scaleRatio(), step.ratio);
        // A rescale restyles only the page on screen; the hidden pages
        // follow once the window is idle.
        QCOMPARE(key(keys[0].usage)->font().pixelSize(), hiddenPx);
        QTRY_COMPARE(key(keys[0].usage)->font().pixelSize(),
                     qRound(keys[0].designPx * step.ratio));
        list->setCurrentRow(RowBaseKeys);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
        for (const auto &k : keys) {
            const QString where = QStringLiteral("key %1 at %2").arg(k.usage).arg(step.ratio);
            QPushButton *button = key(k.usage);
            QVERIFY2(button, qPrintable(where));
            QVERIFY2(button->font().pixelSize() == qRound(k.designPx * step.ratio),
                     qPrintable(where + ": " + QString::number(button->font().pixelSize())));
            QCOMPARE(button->font().family(), QStringLiteral("Microsoft YaHei"));
            // The gap between keys is drawn inside each key: the page's
            // background, then the key's border.
            const QImage drawn = page->grab(button->geometry()).toImage();
            const int middle = drawn.height() / 2;
            QVERIFY2(QColor(drawn.pixel(step.gap - 1, middle)) == QColor(0x2d, 0x2d, 0x2d),
                     qPrintable(where));
            QVERIFY2(QColor(drawn.pixel(step.gap, middle)) != QColor(0x2d, 0x2d, 0x2d),
                     qPrintable(where));
        }
    }
}

void TestScaling::pageShownRightAfterARescaleFitsItsWidth()
{
    // The Procreate page fits its labels to its width below the scale's
    // floor. Last shown in a narrow window, then shown at once after the
    // window widened, it fits them to the new width, as in a window that
    // had that size from the start.
    const auto quickMenuPx = [](Widget &window) {
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->isVisible() && button->text().startsWith(QLatin1String("QuickMenu")))
                return button->font().pixelSize();
        return -1;
    };
    const QSize narrow(1000, 700);
    const QSize wide(1366, 740);
    Widget &window = *m_window;
    auto *list = window.findChild<QListWidget *>();
    resizeContent(window, narrow);
    QTRY_COMPARE(contentSize(window), narrow);
    list->setCurrentRow(RowProcreate);
    QTest::qWait(50);
    list->setCurrentRow(RowMouse);
    const int rescales = rescaleCount(*m_log);
    resizeContent(window, wide);
    QTRY_VERIFY(rescaleCount(*m_log) > rescales);
    list->setCurrentRow(RowProcreate);
    QTest::qWait(50);

    Widget fresh(AppSettings(), *HIDManager::instance());
    resizeContent(fresh, wide);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    fresh.findChild<QListWidget *>()->setCurrentRow(RowProcreate);
    QTest::qWait(50);
    QCOMPARE(quickMenuPx(window), quickMenuPx(fresh));
}

void TestScaling::lightingPageFirstShownAtANewSizeLeavesTheKeypadStill()
{
    // Hidden pages are laid out at the new size while the window is idle.
    // The lighting page, first shown after a rescale, then fits the room it
    // is given at once: it used to ask for more, push the keypad up and
    // hand the room back over several layout passes.
    Widget &window = *m_window;
    resizeContent(window, QSize(1200, 880));
    QTRY_COMPARE(window.scaleRatio(), 0.8);
    QTest::qWait(400);
    QWidget *keypad = window.findChild<QWidget *>("keyKnobGroup");
    QVERIFY(keypad);
    const QRect before = keypad->geometry();
    EventCounter resizes(QEvent::Resize);
    keypad->installEventFilter(&resizes);
    window.findChild<QListWidget *>()->setCurrentRow(RowRgbLed);
    QTest::qWait(100);
    QCOMPARE(resizes.count, 0);
    QCOMPARE(keypad->geometry(), before);
    // The colour code field's style once asked for a height above Qt's
    // limit at every rescale.
    QVERIFY(!m_log->hasStartingWith(QStringLiteral("QWidget::setMaximumSize")));
}

void TestScaling::heldPaintsComeOnTheNextPassAndAreNeverStarved()
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *nextPass = new NextPassPaint(&window);
    EventCounter paints(QEvent::Paint);
    window.installEventFilter(&paints);

    // What is asked for during a hold is painted on a later pass, once.
    nextPass->hold();
    window.update();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(paints.count, 0);
    QTRY_COMPARE(paints.count, 1);
    QTest::qWait(30);
    QCOMPARE(paints.count, 1);

    // A hold at every pass, as new sizes arriving without pause would ask
    // for, still lets the window paint.
    paints.count = 0;
    for (int pass = 0; pass < 20; ++pass) {
        nextPass->hold();
        window.update();
        QCoreApplication::processEvents();
    }
    QVERIFY(paints.count > 0);

    // An expose held back is delivered when the hold ends: for a window
    // just shown, it is what lets Qt paint it at all.
    QTest::qWait(30);
    paints.count = 0;
    window.setAttribute(Qt::WA_Mapped, false);
    nextPass->hold();
    QExposeEvent expose(QRegion(window.rect()));
    QCoreApplication::sendEvent(window.windowHandle(), &expose);
    QCOMPARE(paints.count, 0);
    QTRY_COMPARE(paints.count, 1);
    QVERIFY(window.testAttribute(Qt::WA_Mapped));
}

void TestScaling::aHeldResizeIsPreparedAPassAheadAndPaintedWhole()
{
    QWidget window;
    window.resize(200, 100);
    // A child that paints all of itself: Qt leaves it out of its window's
    // own paint.
    auto *opaque = new QWidget(&window);
    opaque->setAutoFillBackground(true);
    QPalette red = opaque->palette();
    red.setColor(QPalette::Window, Qt::red);
    opaque->setPalette(red);
    opaque->setGeometry(10, 10, 40, 40);
    // And one Qt paints within its window's paint.
    auto *styled = new QWidget(&window);
    styled->setStyleSheet(QStringLiteral("background: blue;"));
    styled->setGeometry(60, 10, 40, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *nextPass = new NextPassPaint(&window);
    EventCounter paints(QEvent::Paint);
    window.installEventFilter(&paints);
    int prepared = 0;
    int paintsWhenPrepared = -1;
    int paintsAtTheNextTimer = -1;
    QSize imageWhenPrepared;
    nextPass->setBeforePaint([&] {
        ++prepared;
        paintsWhenPrepared = paints.count;
        imageWhenPrepared = window.backingStore()->size();
        QTimer::singleShot(0, &window, [&] { paintsAtTheNextTimer = paints.count; });
    });
    QTest::qWait(30);
    paints.count = 0;

    // The new image is made and the caches drawn a pass ahead of the paint,
    // with timers run in between. The new image is painted whole, even
    // under a hold that repaints only what was asked for.
    nextPass->hold(NextPassPaint::Repaint::Asked);
    window.resize(320, 180);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(prepared, 0);
    QTRY_COMPARE(paints.count, 1);
    QCOMPARE(prepared, 1);
    QCOMPARE(paintsWhenPrepared, 0);
    QCOMPARE(paintsAtTheNextTimer, 0);
    QCOMPARE(imageWhenPrepared, QSize(320, 180));

    // What reaches the screen is every widget's paint, the opaque child's too.
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    QCOMPARE(shown.size(), QSize(320, 180));
    QCOMPARE(shown.pixelColor(30, 30), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(80, 30), QColor(Qt::blue));
    QCOMPARE(shown.pixelColor(300, 160), window.palette().color(QPalette::Window));
}

void TestScaling::aPageShownIsPaintedOnALaterPass()
{
    // Showing a page lays it out; its paint waits for a later pass, so the
    // two are not one hold of the event loop.
    Widget &window = *m_window;
    QTest::qWait(50);
    PaintRegions paints;
    window.installEventFilter(&paints);
    window.findChild<QListWidget *>()->setCurrentRow(RowMacro);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(paints.count, 0);
    QTRY_VERIFY(paints.count > 0);
    // What the change asked for, not the whole window: the keypad's numbers
    // are drawn as they were without the hold.
    QVERIFY(paints.painted != QRegion(window.rect()));
}

QTEST_MAIN(TestScaling)
#include "tst_scaling.moc"
