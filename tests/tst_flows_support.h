#pragma once

// Shared by the window's connection-flow tests: a window on the process-wide
// device link and demo keypads of the virtual bus.

#include "app/window/widget.h"
#include "keypad/settingsfile.h"
#include "device/hidmanager.h"
#include "tst_log_capture.h"
#include "virtual_keypad/virtualkeypad.h"
#include "virtual_keypad/virtualwatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>
#include <QStringList>
#include <QThreadPool>
#include <QtTest>

#include <memory>

namespace flowtest {

constexpr int kConnectTimeoutMs = 15000;

// Lets the reads and saves the window started end, and their results reach
// the window.
inline void finishTasks()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
}

// The window's link hears the virtual bus's plugs and unplugs, and nothing
// else finds a keypad: no periodic search runs.
inline void hearOnlyTheBus()
{
    HIDManager::instance()->setWatcher(new VirtualBusWatcher);
    HIDManager::instance()->setPeriodicSearch(false);
}

// Lets every task end and every result arrive, then closes whatever the link
// still holds and empties the bus, so the next test starts with no keypad.
inline void dropKeypads()
{
    finishTasks();
    HIDManager::instance()->closeDevice();
    VirtualKeypad::reset();
    QCoreApplication::processEvents();
}

// A window with no settings file (English, no layer buttons), as the
// program builds it.
inline std::unique_ptr<Widget> makeWindow()
{
    return std::make_unique<Widget>(AppSettings(), *HIDManager::instance());
}

// A window in Chinese, as a settings file asking for it makes it.
inline std::unique_ptr<Widget> makeChineseWindow()
{
    return std::make_unique<Widget>(parseSettingsText("Language = CH\r\n"),
                                    *HIDManager::instance());
}

inline QLabel *statusLabel(const Widget &window)
{
    return window.findChild<QLabel *>(QStringLiteral("topTipBar"));
}

// The status line as drawn: its text colour, "bold", and "on" the colour of
// a background of its own, read off the polished label.
inline QString statusLook(const Widget &window)
{
    QLabel *label = statusLabel(window);
    label->ensurePolished();
    const QPalette palette = label->palette();
    QString look = palette.color(label->foregroundRole()).name();
    if (label->font().bold())
        look += QStringLiteral(" bold");
    const QColor background = palette.color(label->backgroundRole());
    if (background.alpha() > 0)
        look += QStringLiteral(" on ") + background.name();
    return look;
}

inline QPushButton *buttonWithText(const Widget &window, const QString &text)
{
    for (QPushButton *button : window.findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

inline bool configLoaded(const LogCapture &log)
{
    return log.has(QStringLiteral("Config loaded from device"))
        || log.has(QStringLiteral("Legacy config loaded from device"));
}

// Runs the event loop until `done` holds; false when it did not in time.
template <typename Condition>
bool waitFor(Condition done, int timeoutMs = kConnectTimeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(timeoutMs))
            return false;
        QTest::qWait(5);
    }
    return true;
}

// Plugs in a demo keypad and waits until the window has loaded it.
// Clicks the button with this text in the next message box the window
// opens; `seen` tells afterwards whether one came within a few seconds.
inline void answerNextMessageBox(const QString &buttonText, bool *seen = nullptr)
{
    if (seen)
        *seen = false;
    auto *poll = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box && waited->elapsed() < 5000)
            return;
        if (box) {
            for (QAbstractButton *button : box->buttons())
                if (button->text() == buttonText) {
                    if (seen)
                        *seen = true;
                    button->click();
                }
        }
        poll->stop();
        poll->deleteLater();
    });
    poll->start(10);
}

// Resizes the window and waits until it has rescaled to the new size.
inline bool resizeAndRescale(Widget &window, const QSize &size)
{
    window.resize(size);
    return waitFor([&] {
        return window.size() == size
            && qAbs(window.scaleRatio() - window.targetScaleRatio()) < 0.01;
    });
}

inline bool connectDemo(const LogCapture &log, const std::string &model)
{
    VirtualKeypad::installDemoKeypad(model);
    return waitFor([&log] { return configLoaded(log); });
}

inline bool poolIdle() { return QThreadPool::globalInstance()->activeThreadCount() == 0; }

// A shown, active window with three layer buttons, with the demo `model`
// plugged in and read; null when the read did not come.
inline std::unique_ptr<Widget> connectedWindow(LogCapture &log, const std::string &model)
{
    auto window = makeWindow();
    window->setForcedLayerDisplayCount(3);
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!connectDemo(log, model) || !waitFor(poolIdle))
        return nullptr;
    QCoreApplication::processEvents();
    return window;
}

const QString kConnectedText = QStringLiteral("Device connected");
const QString kConnectedLook = QStringLiteral("#00ff00 bold");
const QString kSavedText = QStringLiteral("Saved successfully");
const QString kSavedLook = QStringLiteral("#00ff00 bold on #2d5a2d");
const QString kNoDeviceText = QStringLiteral("Connect the device with a usb cable");
const QString kNoDeviceLook = QStringLiteral("#ff0000");

} // namespace flowtest
