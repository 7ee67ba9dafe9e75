#pragma once
// Every file the program writes goes through here. The content goes to a new
// file in the target's own folder; only when every byte was written, the
// size checked and the data synced to the disk is it renamed over the
// target. Any failure removes the new file and leaves the old one as it was,
// byte for byte, and says why.
//
// QSaveFile is not enough: in Qt 6.4 it buffers small writes, and commit()
// can answer true after the final flush failed on a full disk, putting an
// empty or short file in place of a good one.
#include <QByteArray>
#include <QImage>
#include <QIODevice>
#include <QString>

#include <memory>

namespace mc::platform {

class AtomicFile {
public:
    // Whether commit() may replace an existing file at the target.
    enum class Existing { Replace, Keep };

    explicit AtomicFile(const QString& path, Existing existing = Existing::Replace);
    ~AtomicFile(); // an uncommitted file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the new file beside the target. False: errorString() says why.
    bool open();
    // Where the content goes, after open(). A failed write is remembered and
    // fails commit(), even when the writer that used the device ignores it.
    QIODevice* device();
    // Why a write to device() failed; empty while none has.
    QString writeError() const;
    // Checks, syncs and renames into place. False: the target is untouched.
    // With Existing::Keep an existing target is never replaced (the commit
    // fails instead), not even one that appeared after open().
    bool commit();
    // Gives up: the new file is removed, the target untouched.
    void discard();

    // The reason of the last failure, in the system's words.
    QString errorString() const { return m_error; }
    // The file that is replaced: the target, or the file a symbolic link at
    // the target points to (the link stays).
    QString targetPath() const { return m_target; }

private:
    bool fail(const QString& why);

    class Device;
    QString m_target;
    QString m_temp;
    Existing m_existing;
    std::unique_ptr<Device> m_device;
    QString m_error;
};

// Writes `bytes` to `path` whole or not at all. `error` (when given) gets the
// reason of a failure.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         AtomicFile::Existing existing = AtomicFile::Existing::Replace);

// Encodes `image` for a MIME type ("image/png", "image/jpeg", "image/bmp")
// and writes it to `path` whole or not at all. Text set on the image
// (QImage::setText) is stored where the format keeps text (a JPEG comment,
// PNG text chunks).
bool SaveImageFile(const QImage& image, const QString& path, const QByteArray& mimeType,
                   QString* error = nullptr, AtomicFile::Existing existing = AtomicFile::Existing::Replace);

} // namespace mc::platform
