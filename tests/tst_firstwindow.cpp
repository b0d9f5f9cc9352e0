#include "app/look/firstwindow.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "app/look/imagememory.h"
#include "app/window/widget.h"
#include "app/look/windowsize.h"

#include <QCoreApplication>
#include <QFile>
#include <QtTest>

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Under a sanitizer the heap is the sanitizer's, not the C library's.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZENTRIK_SANITIZER_HEAP
#endif
#endif

class TestFirstWindow : public QObject
{
    Q_OBJECT
private slots:
    void freedWindowImagesStayForTheNext();
    void sizeAndPlaceOnAScreen();
    void opensAtTheRatioOfItsSize();
};

void TestFirstWindow::freedWindowImagesStayForTheNext()
{
#if defined(__GLIBC__) && !defined(ZENTRIK_SANITIZER_HEAP)
    reuseFreedImageMemory();
    // Larger than any image this process has freed, so the C library's
    // sliding threshold alone would give it a mapping of its own.
    const QSize size(3000, 2000);
    const size_t imageBytes = size_t(size.width()) * size_t(size.height()) * 4;
    const size_t mappedBefore = mallinfo2().hblkhd;
    {
        QImage image(size, QImage::Format_RGB32);
        QVERIFY(!image.isNull());
        QCOMPARE(mallinfo2().hblkhd, mappedBefore);
    }
    // Freed, its room is kept for the next size's image.
    QVERIFY(mallinfo2().fordblks >= imageBytes);
#else
    QSKIP("The heap is not the C library's to set here.");
#endif
}

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
    Widget window(AppSettings(), *HIDManager::instance());
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
