#include "device/openfailurelog.h"

#include "model/logging.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

bool isPermissionError(int error)
{
    return error == EACCES || error == EPERM;
}

} // namespace

int openErrorOf(const char *path, int errnoAfterOpen)
{
    if (isPermissionError(errnoAfterOpen) || !path || std::strncmp(path, "/dev/", 5) != 0)
        return errnoAfterOpen;
    if (::access(path, R_OK | W_OK) != 0 && errno == EACCES)
        return EACCES;
    return errnoAfterOpen;
}

QString openFailureLine(const QString &path, uint16_t vendorId, uint16_t productId, int error,
                        const QString &detail)
{
    const QString head = QStringLiteral("HIDManager: cannot open path= %1 vid= %2 pid= %3: ")
                             .arg(path, QString::number(vendorId, 16),
                                  QString::number(productId, 16));
    if (isPermissionError(error)) {
        return head
               + QStringLiteral(
                   "permission denied. The udev rule 70-zentrik.rules gives the logged-in user "
                   "access to the keypad: install it into /etc/udev/rules.d (the package puts it "
                   "in /usr/lib/udev/rules.d), then run \"sudo udevadm control --reload-rules "
                   "&& sudo udevadm trigger --subsystem-match=hidraw --action=change\" or plug "
                   "the keypad in again");
    }
    QString reason = error ? qt_error_string(error) : QStringLiteral("unknown error");
    if (!detail.isEmpty())
        reason += QStringLiteral(" (%1)").arg(detail);
    return head + reason;
}

bool OpenFailureLog::report(const QString &path, uint16_t vendorId, uint16_t productId,
                            int error, const QString &detail)
{
    if (m_reported.contains(path))
        return false;
    m_reported.insert(path);
    qCWarning(lcDevice).noquote() << openFailureLine(path, vendorId, productId, error, detail);
    return true;
}

OpenFailure openFailureOf(const QString &path, int error, const QString &detail)
{
    OpenFailure failure;
    failure.failed = true;
    failure.noPermission = isPermissionError(error);
    failure.error = error;
    failure.detail = detail;
    failure.path = path;
    return failure;
}

void OpenFailureLog::keepOnly(const QSet<QString> &listed)
{
    m_reported.intersect(listed);
}
