#include "imaging/ImageIO.h"

#include "common/TestUtil.h"
#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <QFile>
#include <QtEndian>

using namespace mc::imaging;
using mc::platform::SaveImageFile;
using mctest::bmpFile;

namespace {

QString writeBytes(const QString& dir, const QString& name, const QByteArray& bytes)
{
    return mctest::writeFile(dir + "/" + name, bytes);
}

QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

// A PNG that is nothing but a well-formed header announcing w x h pixels.
QByteArray pngHeaderClaiming(quint32 w, quint32 h)
{
    QByteArray ihdr = "IHDR" + be32(w) + be32(h) + QByteArray::fromHex("0806000000");
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : ihdr) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + be32(13) + ihdr + be32(~crc);
}

} // namespace

TEST(ImageIO, DecodesToNonPremultipliedArgbWithoutColourProfile)
{
    const QString dir = mctest::freshDir();
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(QColor(200, 60, 30, 255));
    img.setPixel(1, 1, qRgba(200, 100, 50, 0)); // colour under a transparent pixel survives
    img.setPixel(2, 0, qRgba(255, 0, 0, 128));
    img.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QImage back = decodeImage(mctest::writeImage(dir, "a.png", img));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.format(), QImage::Format_ARGB32);
    EXPECT_EQ(back.pixel(0, 0), qRgba(200, 60, 30, 255));
    EXPECT_EQ(back.pixel(1, 1), qRgba(200, 100, 50, 0));
    EXPECT_EQ(back.pixel(2, 0), qRgba(255, 0, 0, 128));

    // The format comes from the content, not the name.
    const QString bmp = mctest::writeImage(dir, "d.bmp", mctest::solidImage(5, 5, Qt::blue));
    ASSERT_TRUE(QFile::rename(bmp, dir + "/d.png"));
    EXPECT_EQ(imageFormat(dir + "/d.png"), QByteArray("bmp"));
    EXPECT_EQ(imageSize(dir + "/d.png"), QSize(5, 5));
    EXPECT_EQ(decodeImage(dir + "/d.png").size(), QSize(5, 5));
}

TEST(ImageIO, MissingNonImageTruncatedAndOverBudgetFilesAreUnknown)
{
    const QString dir = mctest::freshDir();
    const QString text = writeBytes(dir, "notes.png", "just some text, not a picture\n");
    QFile png(mctest::writeImage(dir, "whole.png", mctest::solidImage(64, 64, Qt::red)));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    // 60000 x 60000 is far beyond the budget; only the header exists, so a
    // decoder that tried anyway would fail differently or exhaust memory.
    const QString huge = writeBytes(dir, "huge.png", pngHeaderClaiming(60000, 60000));
    const QString over = writeBytes(dir, "over.png", pngHeaderClaiming(1u << 14, (1u << 13) + 1));
    // A BMP of 70 bytes claiming 11000 x 11000 pixels: within the pixel
    // budget, but its pixel data is missing.
    QByteArray shortBmp = bmpFile(40, 24, 0, 0);
    qToLittleEndian(quint32(11000), shortBmp.data() + 18);
    qToLittleEndian(quint32(11000), shortBmp.data() + 22);
    ASSERT_FALSE(decodeImage(writeBytes(dir, "whole.bmp", bmpFile(40, 24, 0, 0))).isNull());
    for (const QString& path : {dir + "/missing.png", QString(), dir, text,
                                writeBytes(dir, "cut.png", png.readAll().left(60)), huge, over,
                                writeBytes(dir, "short.bmp", shortBmp)}) {
        EXPECT_TRUE(decodeImage(path).isNull()) << path.toStdString();
        EXPECT_FALSE(imageSize(path).has_value()) << path.toStdString();
    }
    EXPECT_TRUE(imageFormat(text).isEmpty());
    EXPECT_EQ(imageFormat(huge), QByteArray("png"));
}

TEST(ImageIO, BmpPixelFormatFromTheHeader)
{
    const QString dir = mctest::freshDir();
    QImage rgb(5, 3, QImage::Format_RGB32);
    rgb.fill(Qt::green);
    const struct {
        QString path;
        int bpp;
        quint32 compression;
        bool alpha;
    } cases[] = {
        {mctest::writeImage(dir, "rgb.bmp", rgb), 24, 0, false},
        {writeBytes(dir, "pal.bmp", bmpFile(40, 8, 0, 0)), 8, 0, false},
        {writeBytes(dir, "rle.bmp", bmpFile(40, 8, 1, 0)), 8, 1, false},
        {writeBytes(dir, "v5.bmp", bmpFile(124, 32, 3, 0xFF000000u)), 32, 3, true},
        {writeBytes(dir, "v4.bmp", bmpFile(108, 32, 3, 0)), 32, 3, false},
        {writeBytes(dir, "rgb32.bmp", bmpFile(40, 32, 0, 0)), 32, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const auto f = bmpPixelFormat(c.path);
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(f->bitsPerPixel, c.bpp);
        EXPECT_EQ(f->compression, c.compression);
        EXPECT_EQ(f->hasAlphaMask, c.alpha);
    }
    EXPECT_FALSE(bmpPixelFormat(mctest::writeImage(dir, "n.png", rgb)).has_value());
    EXPECT_FALSE(bmpPixelFormat(writeBytes(dir, "short.bmp", bmpFile(124, 32, 3, 0).left(20))).has_value());
    EXPECT_FALSE(bmpPixelFormat(dir + "/none.bmp").has_value());
}

TEST(ImageIO, EncodesByMimeType)
{
    const QString dir = mctest::freshDir();
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(QColor(0, 0, 255, 255));
    img.setPixel(0, 0, qRgba(0, 0, 0, 0)); // transparent black

    ASSERT_TRUE(SaveImageFile(img, dir + "/out.bmp", "image/bmp"));
    EXPECT_EQ(imageFormat(dir + "/out.bmp"), QByteArray("bmp"));
    const QImage bmp = decodeImage(dir + "/out.bmp");
    EXPECT_EQ(bmp.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(bmp.pixel(0, 0), qRgb(255, 255, 255)); // laid over white, not black
    ASSERT_TRUE(SaveImageFile(img, dir + "/out.jpg", "image/jpeg"));
    EXPECT_EQ(imageFormat(dir + "/out.jpg"), QByteArray("jpeg"));
}
