// Zentrik on a Wayland session: under a headless weston the window is shown,
// painted and connects to a keypad, as under X11.

#include "tst_event_counter.h"
#include "tst_flows_support.h"
#include "tst_session_support.h"

#include <QApplication>
#include <QGuiApplication>

using namespace flowtest;
using namespace sessiontest;

namespace {

HeadlessWeston *g_weston = nullptr;
QString g_westonMissing;

} // namespace

class WaylandTest : public QObject
{
    Q_OBJECT

private slots:
    void startsDrawsAndConnects()
    {
        if (!g_weston)
            QSKIP(qPrintable(g_westonMissing));
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("wayland"),
                 "the Qt Wayland platform plugin did not load (Debian package qtwayland5)");

        LogCapture log;
        auto window = makeWindow();
        EventCounter painted(QEvent::Paint);
        window->installEventFilter(&painted);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), kConnectTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(painted.count > 0, kConnectTimeoutMs);

        QVERIFY(connectDemo(log, "16k3e"));
        QVERIFY(waitFor([&] { return statusLabel(*window)->text() == kConnectedText; }));
        dropKeypads();
    }
};

int main(int argc, char *argv[])
{
    // The compositor must be listening before the application connects to it.
    HeadlessWeston weston;
    if (weston.start(&g_westonMissing)) {
        g_weston = &weston;
        qputenv("XDG_RUNTIME_DIR", weston.runtimeDir().toUtf8());
        qputenv("WAYLAND_DISPLAY", HeadlessWeston::socketName().toUtf8());
        // Falls back, so a missing plugin fails the test instead of aborting.
        qputenv("QT_QPA_PLATFORM", "wayland;offscreen");
    }
    QApplication app(argc, argv);
    WaylandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
