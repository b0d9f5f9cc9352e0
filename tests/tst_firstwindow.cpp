#include "app/firstwindow.h"
#include "app/widget.h"
#include "app/windowsize.h"

#include <QCoreApplication>
#include <QFile>
#include <QtTest>

class TestFirstWindow : public QObject
{
    Q_OBJECT
private slots:
    void sizeAndPlaceOnAScreen();
    void opensAtTheRatioOfItsSize();
};

void TestFirstWindow::sizeAndPlaceOnAScreen()
{
    const QMargins frame = kFirstWindowFrameAllowance;
    const auto outer = [&frame](const QPoint &topLeft, const QSize &size) {
        return QRect(topLeft, size.grownBy(frame));
    };

    // A 1080p desktop with a 40-pixel task bar at the bottom: the design
    // does not fit, the largest window of its proportions does.
    const QRect desktop(0, 0, 1920, 1040);
    const QSize size = firstWindowSize(desktop);
    QCOMPARE(size.height(), 1040 - frame.top() - frame.bottom());
    QVERIFY(qAbs(double(size.width()) / size.height() - 1500.0 / 1100) < 0.002);
    const QPoint topLeft = firstWindowPosition(desktop, size);
    QVERIFY(desktop.contains(outer(topLeft, size)));
    QCOMPARE(outer(topLeft, size).center().x(), desktop.center().x());

    // A task bar on the left of a second screen: still inside, centred.
    const QRect shifted(1920 + 60, 0, 1860, 1080);
    const QSize shiftedSize = firstWindowSize(shifted);
    QVERIFY(shifted.contains(outer(firstWindowPosition(shifted, shiftedSize), shiftedSize)));

    // Where the design fits, the design it is.
    QCOMPARE(firstWindowSize(QRect(0, 0, 3840, 2120)), QSize(1500, 1100));
    QCOMPARE(firstWindowSize(QRect(0, 0, 1516, 1148)), QSize(1500, 1100));
    QVERIFY(firstWindowSize(QRect(0, 0, 1516, 1147)).height() < 1100);

    // Never below the window's minimum, never placed off the area's corner.
    const QRect tiny(100, 50, 640, 480);
    QCOMPARE(firstWindowSize(tiny), QSize(800, 600));
    QCOMPARE(firstWindowPosition(tiny, QSize(800, 600)), QPoint(100, 50));
}

void TestFirstWindow::opensAtTheRatioOfItsSize()
{
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/Config.ini"));
    Widget window;
    // The offscreen platform has no real screen; size the window as a
    // 1080p desktop would.
    window.resize(windowSizeForContent(firstWindowSize(QRect(0, 0, 1920, 1040))));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The ratio is that of the content below the menu bar.
    const double ratio =
        qMin(window.width() / 1500.0, (window.height() - kMenuBarHeight) / 1100.0);
    QVERIFY(ratio > 0.85 && ratio < 0.95);
    QCOMPARE(window.scaleRatio(), ratio);
    QTest::qWait(50);
    QCOMPARE(window.scaleRatio(), ratio);
}

QTEST_MAIN(TestFirstWindow)
#include "tst_firstwindow.moc"
