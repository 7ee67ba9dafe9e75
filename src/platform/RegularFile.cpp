#include "platform/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mc::platform {

namespace {

// What a file that is not an ordinary file is, in the user's words; empty
// for an ordinary file.
QString notAFile(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a file");
    return QStringLiteral("it is not a regular file");
}

bool failed(const QString& path, const QString& why, QString* error)
{
    if (error)
        *error = QStringLiteral("Cannot open %1: %2").arg(path, why);
    return false;
}

} // namespace

bool CheckRegularFile(const QString& path, QString* error)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return failed(path, qt_error_string(errno), error);
    if (const QString why = notAFile(st.st_mode); !why.isEmpty())
        return failed(path, why, error);
    return true;
}

bool OpenRegularFile(QFile& file, const QString& path, QString* error)
{
    if (!CheckRegularFile(path, error))
        return false;
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    // Non-blocking, so that a pipe put in its place meanwhile cannot block.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(path, qt_error_string(errno), error);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString why = notAFile(st.st_mode);
        ::close(fd);
        return failed(path, why.isEmpty() ? QStringLiteral("it changed while it was opened") : why, error);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(path, file.errorString(), error);
    }
    return true;
}

} // namespace mc::platform
