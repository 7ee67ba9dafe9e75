#include "imaging/ImageIO.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <cstdlib>
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

// A BMP's header announces its size, and the decoder allocates the whole
// picture before it finds the pixel data missing: a 118-byte file claiming
// 11000 x 11000 pixels took 484 MB. Uncompressed pixel data shorter than
// half of what the header needs is damage, not a picture. Run-length coded
// data can be far shorter than the picture; one byte per 1024 pixels is
// still below what real files of mostly skipped runs need.
bool bmpDataTooShort(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray head = file.read(14 + 40);
    if (head.size() < 14 + 12 || head[0] != 'B' || head[1] != 'M')
        return false; // not a BMP after all: the decoder decides
    const char* info = head.constData() + 14;
    const quint32 dataAt = qFromLittleEndian<quint32>(head.constData() + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    qint64 width = 0, height = 0, bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = qFromLittleEndian<quint16>(info + 4);
        height = qFromLittleEndian<quint16>(info + 6);
        bits = qFromLittleEndian<quint16>(info + 10);
    } else if (head.size() >= 14 + 40) {
        width = qFromLittleEndian<qint32>(info + 4);
        height = std::abs(qint64(qFromLittleEndian<qint32>(info + 8))); // negative: top-down
        bits = qFromLittleEndian<quint16>(info + 14);
        compression = qFromLittleEndian<quint32>(info + 16);
    } else {
        return true;
    }
    // Sizes past these are refused by the pixel budget anyway; the bound
    // keeps the products below within 64 bits.
    if (width <= 0 || height <= 0 || width > (1 << 20) || height > (1 << 20))
        return false;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    const qint64 needed = rowBytes * height;
    const qint64 present = file.size() - qint64(dataAt);
    constexpr quint32 kRle8 = 1, kRle4 = 2;
    if (compression == kRle8 || compression == kRle4)
        return present < width * height / 1024;
    constexpr quint32 kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;
    if (compression == kRgb || compression == kBitfields || compression == kAlphaBitfields)
        return present < needed / 2;
    return false; // embedded JPEG or PNG: their own decoders check
}

void prepareReader(QImageReader& reader)
{
    raiseAllocationLimit();
    // Photos carry their orientation as a tag: they are read turned the way
    // every viewer shows them, for items and backgrounds alike.
    reader.setAutoTransform(true);
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
    // Refuse oversize pictures from the size in the header, before decoding
    // (turning a picture keeps its pixel count).
    const QSize announced = reader.size();
    if (announced.isValid() && !withinBudget(announced))
        return {};
    if (reader.format() == "bmp" && bmpDataTooShort(path))
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
    if (reader.format() == "bmp" && bmpDataTooShort(path))
        return std::nullopt;
    QSize size = reader.size();
    // The header gives the stored size; a quarter turn swaps its sides.
    if (size.isValid() && reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
        size.transpose();
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

bool encodeImage(const QImage& image, QIODevice* device, const QByteArray& mimeType, QString* error)
{
    const auto failed = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.isNull())
        return failed(QStringLiteral("there is no picture"));
    const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mimeType);
    if (formats.isEmpty())
        return failed(QStringLiteral("no encoder for %1").arg(QString::fromLatin1(mimeType)));
    const QByteArray format = formats.first();
    // JPEG and BMP keep no alpha here.
    const bool opaqueFormat = format == "jpeg" || format == "jpg" || format == "bmp";
    QImageWriter writer(device, format);
    if (!writer.write(opaqueFormat ? flattenOnWhite(image) : image))
        return failed(writer.errorString());
    return true;
}

QImage flattenOnWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    for (const QString& key : image.textKeys()) // a JPEG comment rides along
        flat.setText(key, image.text(key));
    return flat;
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
