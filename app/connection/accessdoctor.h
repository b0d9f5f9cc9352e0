#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

class QWidget;

// "Allow access…": when a keypad is there but the user may not open it, asks
// pkexec to run Zentrik's helper, a fixed script that installs Zentrik's own
// udev rule and has udev apply it to the hidraw nodes. Nothing the user typed
// reaches the command line. Refused, cancelled, or without pkexec, the
// commands that do the same are shown instead.
class AccessDoctor : public QObject
{
    Q_OBJECT
public:
    explicit AccessDoctor(QWidget *window);

    // pkexec, or the program ZENTRIK_PKEXEC names (a stand-in for tests);
    // empty when there is none.
    static QString elevator();
    // The installed helper, as the polkit action names it.
    static QString helperPath();
    // What the helper does, typed by hand: the lines as shown.
    static QStringList manualCommands();

    // Starts the request and returns; its end comes as accessGranted or as
    // the commands shown.
    void allowAccess();
    bool isRunning() const { return m_process != nullptr; }

signals:
    // The rule is in place: the keypad can be opened without a replug.
    void accessGranted();
    void runningChanged(bool running);

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void endRequest();
    void showCommands();

    QWidget *m_window;
    QProcess *m_process = nullptr;
};
