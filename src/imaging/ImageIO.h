#pragma once
// Decoding and encoding pictures. Every picture of the program is read here,
// so that the pixel budget and the "unknown type" rule hold everywhere.
#include <QImage>
#include <QIODevice>
#include <QSize>
#include <QString>

#include <optional>

namespace mc::imaging {

// Pictures with more pixels than this are refused as unreadable rather than
// exhausting memory (512 MiB of 32-bit pixels).
constexpr qint64 kMaxImagePixels = qint64(1) << 27;

// Decodes `path` into a 32-bit ARGB (not premultiplied) image without any
// colour-space conversion, turned as its orientation tag says (Exif). A
// missing, unreadable, non-image or over-budget file yields a null image:
// the "unknown type" of the callers.
QImage decodeImage(const QString& path);

// The pixel size of the picture at `path` without decoding it, as decoded
// (turned by its orientation tag); nullopt when
// the file is not a readable picture within the budget.
std::optional<QSize> imageSize(const QString& path);

// The format name QImageReader detects from the content ("png", "gif",
// "bmp", "jpeg", ...), empty when unknown.
QByteArray imageFormat(const QString& path);

// Bits per pixel and compression read from a BMP file's own header;
// nullopt when the file is not a BMP.
struct BmpPixelFormat {
    int bitsPerPixel = 0;
    quint32 compression = 0; // BI_RGB = 0, BI_BITFIELDS = 3, ...
    bool hasAlphaMask = false;
};
std::optional<BmpPixelFormat> bmpPixelFormat(const QString& path);

// Encodes through the encoder for a MIME type ("image/jpeg", "image/bmp",
// "image/png") with its default settings, onto `device`. Text set on the
// image goes where the format keeps text (a JPEG comment). False when no
// encoder exists or the encoder failed; `error` says why. Files are written
// with platform/AtomicFile, which calls this. JPEG and BMP get the picture
// laid over white (flattenOnWhite).
bool encodeImage(const QImage& image, QIODevice* device, const QByteArray& mimeType, QString* error = nullptr);

// A picture with transparency laid over white, as a viewer shows it, so that
// formats without alpha never leak the colours hidden under transparent
// pixels (or turn them black); an opaque picture is returned as it is.
QImage flattenOnWhite(const QImage& image);

// The MIME type that goes with a file name's extension (png, jpg/jpeg, bmp),
// empty when none of them.
QByteArray mimeTypeForFileName(const QString& path);

} // namespace mc::imaging
