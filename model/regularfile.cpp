#include "model/regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

RegularFileRead readRegularFile(const QString &path, qint64 maxBytes)
{
    RegularFileRead read;
    using Problem = RegularFileRead::Problem;
    QFile file;
#ifdef Q_OS_UNIX
    // Opened without waiting and checked on the open descriptor, so a file
    // swapped for a pipe after a look at its name is still refused.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.problem = errno == ENOENT ? Problem::Missing : Problem::Unreadable;
        read.systemError = QString::fromLocal8Bit(std::strerror(errno));
        return read;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        read.problem = S_ISDIR(status.st_mode) ? Problem::Folder : Problem::NotRegular;
        ::close(fd);
        return read;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        read.problem = Problem::Unreadable;
        read.systemError = file.errorString();
        return read;
    }
#else
    const QFileInfo info(path);
    if (!info.exists()) {
        read.problem = Problem::Missing;
        return read;
    }
    if (info.isDir() || !info.isFile()) {
        read.problem = info.isDir() ? Problem::Folder : Problem::NotRegular;
        return read;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.problem = Problem::Unreadable;
        read.systemError = file.errorString();
        return read;
    }
#endif
    read.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        read.problem = Problem::Unreadable;
        read.systemError = file.errorString();
        read.bytes.clear();
    }
    return read;
}
