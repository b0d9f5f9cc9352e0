#include "app/connection/accessdoctor.h"

#include "app/look/helpwindows.h"
#include "model/logging.h"

#include <QMessageBox>
#include <QStandardPaths>
#include <QWidget>

AccessDoctor::AccessDoctor(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

QString AccessDoctor::elevator()
{
    const QByteArray standIn = qgetenv("ZENTRIK_PKEXEC");
    if (!standIn.isEmpty())
        return QString::fromLocal8Bit(standIn);
    return QStandardPaths::findExecutable(QStringLiteral("pkexec"));
}

QString AccessDoctor::helperPath()
{
    return QStringLiteral(ZENTRIK_ALLOW_ACCESS_HELPER);
}

QStringList AccessDoctor::manualCommands()
{
    // The first command goes on two lines, so the box need not be wider
    // than the rule's path.
    return {QStringLiteral("sudo install -m 644 %1 \\").arg(QStringLiteral(ZENTRIK_INSTALLED_UDEV_RULE)),
            QStringLiteral("    /etc/udev/rules.d/70-zentrik.rules"),
            QStringLiteral("sudo udevadm control --reload-rules"),
            QStringLiteral("sudo udevadm trigger --subsystem-match=hidraw --action=change")};
}

void AccessDoctor::allowAccess()
{
    if (m_process)
        return;
    const QString program = elevator();
    if (program.isEmpty()) {
        qCDebug(lcWidget).noquote() << "Widget: no pkexec, showing the access commands";
        showCommands();
        return;
    }
    m_process = new QProcess(this);
    // The helper takes no arguments: what it installs is fixed when it is.
    m_process->setProgram(program);
    m_process->setArguments({helperPath()});
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &AccessDoctor::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;  // a crash or the like ends in finished()
        qCDebug(lcWidget).noquote() << "Widget: cannot start" << m_process->program();
        endRequest();
        showCommands();
    });
    qCDebug(lcWidget).noquote() << "Widget: asking for access:" << program << helperPath();
    // Told first: a program that cannot start ends the request inside start().
    emit runningChanged(true);
    m_process->start();
}

void AccessDoctor::onFinished(int exitCode, QProcess::ExitStatus status)
{
    const bool granted = status == QProcess::NormalExit && exitCode == 0;
    qCDebug(lcWidget).noquote() << "Widget: access helper ended, exit code" << exitCode;
    endRequest();
    // pkexec ends with 126 when the user dismissed its dialog or was not
    // allowed, 127 when authentication failed.
    if (granted)
        emit accessGranted();
    else
        showCommands();
}

void AccessDoctor::endRequest()
{
    m_process->deleteLater();
    m_process = nullptr;
    emit runningChanged(false);
}

void AccessDoctor::showCommands()
{
    QMessageBox *box = createAccessCommandsBox(m_window, manualCommands());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
