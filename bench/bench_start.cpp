// The start as a user sees it: from the command to the window mapped and
// painted on an X11 screen, for the demo program started as a process, with
// a session bus and without one.
//
// Uses the display DISPLAY names, or starts Xvfb on a display of its own
// when there is none. Target: the window on screen within 250 ms of the
// command, with and without a session bus.

#include "benchloop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr int kRuns = 9;
constexpr double kTargetMs = 250.0;
constexpr int kOwnDisplay = 87;

struct XcbFree {
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

qint64 windowPid(xcb_connection_t *c, xcb_window_t window, xcb_atom_t pidAtom)
{
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) != 4)
        return -1;
    return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
}

// Painted: the window's top strip holds more than one colour (the status
// line's text on its background); an unpainted window is one colour.
bool painted(xcb_connection_t *c, xcb_window_t window)
{
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    if (!geometry || geometry->width < 8 || geometry->height < 8)
        return false;
    const uint16_t height = std::min<uint16_t>(geometry->height, 80);
    XcbReply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width, height, ~0u),
        nullptr));
    if (!image)
        return false;
    const int length = xcb_get_image_data_length(image.get()) / 4;
    const uint32_t *pixels = reinterpret_cast<const uint32_t *>(xcb_get_image_data(image.get()));
    for (int i = 1; i < length; ++i)
        if ((pixels[i] & 0xFFFFFF) != (pixels[0] & 0xFFFFFF))
            return true;
    return false;
}

struct Start {
    double mappedMs = -1;
    double paintedMs = -1;  // -1: not within 5 s
};

// From the command to the program's window mapped, and painted.
Start startOnce(xcb_connection_t *c, const QString &program, const QProcessEnvironment &env)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    while (xcb_generic_event_t *stale = xcb_poll_for_event(c))
        std::free(stale);

    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(program);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start();
    std::vector<xcb_window_t> mapped;
    xcb_window_t shown = XCB_WINDOW_NONE;
    Start start;
    while (clock.elapsed() < 5000) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY)
                mapped.push_back(reinterpret_cast<xcb_map_notify_event_t *>(event)->window);
            std::free(event);
        }
        if (shown == XCB_WINDOW_NONE) {
            for (xcb_window_t window : mapped)
                if (windowPid(c, window, pidAtom) == process.processId()) {
                    shown = window;
                    start.mappedMs = clock.nsecsElapsed() / 1e6;
                }
        }
        if (shown != XCB_WINDOW_NONE && painted(c, shown)) {
            start.paintedMs = clock.nsecsElapsed() / 1e6;
            break;
        }
        QThread::usleep(500);
    }
    process.terminate();
    process.waitForFinished(3000);
    return start;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void report(const char *what, const std::vector<double> &runs, const std::vector<double> &maps)
{
    std::printf("%s: %zu starts, painted min %.1f ms, median %.1f ms, max %.1f ms; mapped "
                "median %.1f ms\n",
                what, runs.size(), runs.empty() ? -1.0 : *std::min_element(runs.begin(), runs.end()),
                median(runs), runs.empty() ? -1.0 : *std::max_element(runs.begin(), runs.end()),
                median(maps));
}

} // namespace

int main(int argc, char **argv)
{
    prepareBenchProcess();
    QCoreApplication app(argc, argv);
    const QString program = QStringLiteral(ZENTRIK_DEMO_PROGRAM);

    QProcess xvfb;
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) {
        display = QStringLiteral(":%1").arg(kOwnDisplay);
        // A black root: a window mapped but not yet painted shows one colour.
        xvfb.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-br"), QStringLiteral("-screen"), QStringLiteral("0"),
                                            QStringLiteral("1920x1200x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(kOwnDisplay);
        QElapsedTimer wait;
        wait.start();
        while (!QFile::exists(socket) && wait.elapsed() < 5000)
            QThread::msleep(10);
        QThread::msleep(200);
    }
    xcb_connection_t *c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        std::printf("FAILED: no X display %s\n", qPrintable(display));
        return 1;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // A new user's start: no settings of a desktop session, and no bus.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QDir::tempPath());
    QProcessEnvironment withBus = env;
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--nofork"),
               QStringLiteral("--print-address=1")});
    bool haveBus = bus.waitForReadyRead(3000);
    if (haveBus)
        withBus.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QString::fromLocal8Bit(bus.readLine()).trimmed());

    std::printf("command -> window mapped and painted under X11 (%s, %s)\n", qPrintable(display),
                qEnvironmentVariableIsEmpty("DISPLAY") ? "Xvfb of its own" : "DISPLAY");
    startOnce(c, program, env);  // the files the start reads are in the page cache from here on
    std::vector<double> noBus, onBus, noBusMaps, onBusMaps;
    const auto once = [&](const QProcessEnvironment &e, std::vector<double> &painted,
                          std::vector<double> &maps) {
        const Start start = startOnce(c, program, e);
        if (start.paintedMs >= 0) {
            painted.push_back(start.paintedMs);
            maps.push_back(start.mappedMs);
        }
    };
    for (int run = 0; run < kRuns; ++run) {
        once(env, noBus, noBusMaps);
        if (haveBus)
            once(withBus, onBus, onBusMaps);
    }
    report("without a session bus", noBus, noBusMaps);
    if (haveBus)
        report("with a session bus", onBus, onBusMaps);
    printFigure("command -> window on screen, no bus (median)", median(noBus), "ms", kTargetMs);
    if (haveBus)
        printFigure("command -> window on screen, bus (median)", median(onBus), "ms", kTargetMs);

    xcb_disconnect(c);
    bus.terminate();
    bus.waitForFinished(2000);
    if (xvfb.state() != QProcess::NotRunning) {
        xvfb.terminate();
        xvfb.waitForFinished(2000);
    }
    return noBus.size() == size_t(kRuns) ? 0 : 1;
}
