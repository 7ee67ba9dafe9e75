#include "platform/AtomicFile.h"

#include "imaging/ImageIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mc::platform {

namespace {

QString systemError(int code) { return qt_error_string(code); }

// The file a write to `path` replaces: a symbolic link is followed to an
// existing file, so that the link itself survives.
QString resolveTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return info.absoluteFilePath();
}

// A name for the new file: hidden, beside the target, unlikely to clash.
QString tempNameFor(const QString& target)
{
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 8; ++i)
        suffix += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))]);
    const QFileInfo info(target);
    // Shortened, so that a target with a name near the length limit can
    // still have its temporary file.
    return info.absolutePath() + QStringLiteral("/.") + info.fileName().left(100) + QStringLiteral(".") + suffix +
        QStringLiteral(".tmp");
}

// Renames without replacing: renameat2 where the file system has it, else a
// hard link (which never replaces either) and the removal of the old name.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    if (::link(from.constData(), to.constData()) != 0)
        return -1;
    ::unlink(from.constData());
    return 0;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename survives a crash; a folder that cannot sync loses nothing now
    ::close(fd);
}

} // namespace

// Unbuffered writes straight to the file descriptor, with every failure
// kept: the image writers do not all check what a write answers.
class AtomicFile::Device : public QIODevice {
public:
    explicit Device(int fd) : m_fd(fd) {}
    ~Device() override { closeFd(); }

    bool isSequential() const override { return true; }

    int fd() const { return m_fd; }
    qint64 written() const { return m_written; }
    int failure() const { return m_errno; }
    // False with errno set when closing reported a failure.
    bool closeFd()
    {
        if (m_fd < 0)
            return true;
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_errno != 0 || m_fd < 0)
            return -1;
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_errno = n < 0 ? errno : EIO;
                setErrorString(systemError(m_errno));
                return -1;
            }
            done += n;
        }
        m_written += done;
        return done;
    }

private:
    int m_fd;
    qint64 m_written = 0;
    int m_errno = 0;
};

AtomicFile::AtomicFile(const QString& path, Existing existing) : m_target(resolveTarget(path)), m_existing(existing)
{
}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::fail(const QString& why)
{
    m_error = why;
    discard();
    return false;
}

bool AtomicFile::open()
{
    discard();
    m_error.clear();
    if (QFileInfo(m_target).isDir())
        return fail(QStringLiteral("a folder of that name is in the way"));
    constexpr int kAttempts = 100;
    for (int i = 0; i < kAttempts; ++i) {
        const QString temp = tempNameFor(m_target);
        // 0666 less the umask, as for any new file; an existing target's own
        // permissions are copied below.
        const int fd = ::open(QFile::encodeName(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return fail(systemError(errno));
        }
        struct stat old {};
        if (::stat(QFile::encodeName(m_target).constData(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(fd, old.st_mode & 07777);
        m_temp = temp;
        m_device = std::make_unique<Device>(fd);
        m_device->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        return true;
    }
    return fail(QStringLiteral("no free name for a temporary file"));
}

QIODevice* AtomicFile::device() { return m_device.get(); }

QString AtomicFile::writeError() const
{
    return m_device && m_device->failure() != 0 ? systemError(m_device->failure()) : QString();
}

bool AtomicFile::commit()
{
    if (!m_device)
        return fail(m_error.isEmpty() ? QStringLiteral("the file was not opened") : m_error);
    if (m_device->failure() != 0)
        return fail(systemError(m_device->failure()));
    // Every byte the writer handed over must be in the file, and on the disk:
    // a full disk, a quota or a network file system may only say so here.
    struct stat st {};
    if (::fstat(m_device->fd(), &st) != 0)
        return fail(systemError(errno));
    if (qint64(st.st_size) != m_device->written())
        return fail(QStringLiteral("only %1 of %2 bytes were written").arg(st.st_size).arg(m_device->written()));
    if (::fsync(m_device->fd()) != 0)
        return fail(systemError(errno));
    if (!m_device->closeFd())
        return fail(systemError(errno));
    const QByteArray from = QFile::encodeName(m_temp);
    const QByteArray to = QFile::encodeName(m_target);
    const int renamed =
        m_existing == Existing::Keep ? renameNoReplace(from, to) : ::rename(from.constData(), to.constData());
    if (renamed != 0)
        return fail(errno == EEXIST ? QStringLiteral("the file already exists") : systemError(errno));
    m_temp.clear();
    m_device.reset();
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

void AtomicFile::discard()
{
    m_device.reset();
    if (!m_temp.isEmpty()) {
        ::unlink(QFile::encodeName(m_temp).constData());
        m_temp.clear();
    }
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error, AtomicFile::Existing existing)
{
    AtomicFile file(path, existing);
    bool ok = file.open();
    if (ok) {
        file.device()->write(bytes);
        ok = file.commit();
    }
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

bool SaveImageFile(const QImage& image, const QString& path, const QByteArray& mimeType, QString* error,
                   AtomicFile::Existing existing)
{
    const auto failed = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.isNull())
        return failed(QStringLiteral("there is no picture"));
    AtomicFile file(path, existing);
    if (!file.open())
        return failed(file.errorString());
    QString why;
    if (!mc::imaging::encodeImage(image, file.device(), mimeType, &why)) {
        // A failed write is the better reason than the encoder's summary.
        const QString writeError = file.writeError();
        file.discard();
        return failed(writeError.isEmpty() ? why : writeError);
    }
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

} // namespace mc::platform
