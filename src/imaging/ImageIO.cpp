#include "imaging/ImageIO.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <mutex>

namespace mc::imaging {

namespace {

// Qt refuses allocations above its own limit (256 MiB by default); ours is
// the pixel budget at 4 bytes a pixel plus room for a decoder's own
// intermediate image.
void raiseAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const int mb = int((kMaxImagePixels * 4) >> 20) + 64;
        if (QImageReader::allocationLimit() < mb)
            QImageReader::setAllocationLimit(mb);
    });
}

bool withinBudget(QSize size)
{
    return size.width() > 0 && size.height() > 0 && qint64(size.width()) * size.height() <= kMaxImagePixels;
}

void prepareReader(QImageReader& reader)
{
    raiseAllocationLimit();
    reader.setAutoTransform(false); // pixels as stored, no orientation tag applied
    reader.setDecideFormatFromContent(true);
}

} // namespace

QImage decodeImage(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    prepareReader(reader);
    if (!reader.canRead())
        return {};
    // Refuse oversize pictures from the size in the header, before decoding.
    const QSize announced = reader.size();
    if (announced.isValid() && !withinBudget(announced))
        return {};
    QImage image = reader.read();
    if (image.isNull() || !withinBudget(image.size()))
        return {};
    // A plain format change: the colour profile is kept as metadata and never
    // applied to the pixels.
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    return image;
}

std::optional<QSize> imageSize(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    prepareReader(reader);
    if (!reader.canRead())
        return std::nullopt;
    QSize size = reader.size();
    if (!size.isValid()) {
        // Some formats only know their size after decoding.
        const QImage image = decodeImage(path);
        if (image.isNull())
            return std::nullopt;
        size = image.size();
    }
    if (!withinBudget(size))
        return std::nullopt;
    return size;
}

QByteArray imageFormat(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    return QImageReader::imageFormat(path);
}

std::optional<BmpPixelFormat> bmpPixelFormat(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // File header (14 bytes), then the info header, then for BI_BITFIELDS with
    // a 40-byte info header the colour masks.
    const QByteArray head = file.read(14 + 124 + 16);
    if (head.size() < 14 + 12 || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    const char* info = head.constData() + 14;
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    BmpPixelFormat format;
    if (infoSize == 12) { // BITMAPCOREHEADER
        format.bitsPerPixel = qFromLittleEndian<quint16>(info + 10);
        return format;
    }
    if (infoSize < 40 || head.size() < 14 + 40)
        return std::nullopt;
    format.bitsPerPixel = qFromLittleEndian<quint16>(info + 14);
    format.compression = qFromLittleEndian<quint32>(info + 16);
    constexpr quint32 kBitfields = 3;
    constexpr quint32 kAlphaBitfields = 6;
    // The alpha mask sits at offset 52 of a V3 or later header; a 40-byte
    // header with BI_ALPHABITFIELDS carries four masks right after it.
    qsizetype alphaAt = -1;
    if (infoSize >= 56 && (format.compression == kBitfields || format.compression == kAlphaBitfields))
        alphaAt = 52;
    else if (infoSize == 40 && format.compression == kAlphaBitfields)
        alphaAt = 40 + 12;
    if (alphaAt >= 0 && head.size() >= 14 + alphaAt + 4)
        format.hasAlphaMask = qFromLittleEndian<quint32>(info + alphaAt) != 0;
    return format;
}

bool encodeImage(const QImage& image, const QString& path, const QByteArray& mimeType)
{
    if (image.isNull())
        return false;
    const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mimeType);
    if (formats.isEmpty())
        return false;
    const QByteArray format = formats.first();
    QImage out = image;
    // JPEG and BMP keep no alpha here: a picture with transparency is laid
    // over white, as a viewer would show it, instead of leaking the colours
    // hidden under transparent pixels.
    const bool opaqueFormat = format == "jpeg" || format == "jpg" || format == "bmp";
    if (opaqueFormat && out.hasAlphaChannel()) {
        QImage flat(out.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, out);
        painter.end();
        out = flat;
    }
    QImageWriter writer(path, format);
    return writer.write(out);
}

QByteArray mimeTypeForFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return "image/png";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "image/jpeg";
    if (suffix == QLatin1String("bmp"))
        return "image/bmp";
    return {};
}

} // namespace mc::imaging
