#include "canvas/AddImagePlan.h"

#include "imaging/ImageIO.h"
#include "platform/AtomicFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

namespace mc::canvas {

const char* const kAddImageFilter =
    "All Image Files (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff)|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff|"
    "BMP  (*.bmp)|*.bmp|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF  (*.gif)|*.gif|TIFF (*.tif;*.tiff)|*.tif;*.tiff|"
    "PNG  (*.png)|*.png||";

namespace {

QString extensionOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

bool bmpKeepsPixels(const QString& path)
{
    const auto format = imaging::bmpPixelFormat(path);
    if (!format)
        return true; // not a readable BMP: the item construction decides
    constexpr quint32 kRgb = 0;
    if (format->bitsPerPixel == 24 && format->compression == kRgb)
        return true;
    // 32-bit pixels count as ARGB only with an alpha mask; plain 32-bit RGB
    // is re-encoded like any other format.
    return format->bitsPerPixel == 32 && format->hasAlphaMask;
}

QByteArray encodeJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.write(imaging::flattenOnWhite(image).convertToFormat(QImage::Format_RGB32)))
        return {};
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

bool NeedsJpegCopy(const QString& path)
{
    const QString ext = extensionOf(path);
    if (ext == QLatin1String("png") || ext == QLatin1String("gif"))
        return true;
    if (ext == QLatin1String("bmp"))
        return !bmpKeepsPixels(path);
    return false;
}

QString JpegCopyName(const QString& path)
{
    return path.left(path.size() - 3) + QStringLiteral("jpg");
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    // Never over a file that appeared since the name was found free.
    return platform::WriteFileAtomically(path, bytes, nullptr, platform::AtomicFile::Existing::Keep);
}

AddImageFile PrepareAddImageFile(const QString& chosen, const FileWriter& write)
{
    if (!NeedsJpegCopy(chosen))
        return {chosen, false};
    const QImage image = imaging::decodeImage(chosen);
    if (image.isNull())
        return {chosen, false};
    const QByteArray jpeg = encodeJpeg(image);
    if (jpeg.isEmpty())
        return {chosen, false};

    // The usual name, or "name-1.jpg", "name-2.jpg" ... when a different file
    // holds it. A file with exactly these bytes is the copy of an earlier
    // Add Image of the same picture and is used as it is.
    const QString base = JpegCopyName(chosen);
    const QString stem = base.left(base.size() - 4);
    constexpr int kMaxAttempts = 1000;
    for (int n = 0; n < kMaxAttempts; ++n) {
        const QString candidate = n == 0 ? base : stem + QStringLiteral("-%1.jpg").arg(n);
        const QFileInfo info(candidate);
        if (info.exists() || info.isSymLink()) {
            if (info.isFile() && readAll(candidate) == jpeg)
                return {candidate, true};
            continue;
        }
        if (write(candidate, jpeg))
            return {candidate, true};
        break; // the folder cannot be written: no other name will do better
    }
    return {chosen, false};
}

} // namespace mc::canvas
