#include "imaging/ImageIO.h"

#include "common/TestUtil.h"
#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <QFile>
#include <QtEndian>

#include <tuple>

using namespace mc::imaging;
using mctest::bmpFile;

namespace {

// A PNG that is nothing but a well-formed header announcing w x h pixels.
QByteArray pngHeaderClaiming(quint32 w, quint32 h)
{
    QByteArray ihdr = "IHDR" + QByteArray(8, '\0') + QByteArray::fromHex("0806000000"), crcBytes(4, '\0');
    qToBigEndian(w, ihdr.data() + 4);
    qToBigEndian(h, ihdr.data() + 8);
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : ihdr) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, crcBytes.data());
    return QByteArray::fromHex("89504e470d0a1a0a0000000d") + ihdr + crcBytes;
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
    ASSERT_EQ(back.format(), QImage::Format_ARGB32);
    for (QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(2, 0)})
        EXPECT_EQ(back.pixel(p), img.pixel(p)) << p.x();

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
    const QString text = mctest::writeFile(dir + "/notes.png", "just some text, not a picture\n");
    const QByteArray png = mctest::readFile(mctest::writeImage(dir, "whole.png", mctest::solidImage(64, 64, Qt::red)));
    // 60000 x 60000 is far beyond the budget; only the header exists, so a
    // decoder that tried anyway would fail differently or exhaust memory.
    const QString huge = mctest::writeFile(dir + "/huge.png", pngHeaderClaiming(60000, 60000));
    // A BMP of 70 bytes claiming 11000 x 11000 pixels: within the pixel
    // budget, but its pixel data is missing.
    QByteArray shortBmp = bmpFile(40, 24, 0, 0);
    qToLittleEndian(quint32(11000), shortBmp.data() + 18);
    qToLittleEndian(quint32(11000), shortBmp.data() + 22);
    ASSERT_FALSE(decodeImage(mctest::writeFile(dir + "/whole.bmp", bmpFile(40, 24, 0, 0))).isNull());
    for (const QString& path : {dir + "/missing.png", QString(), dir, text, huge,
                                mctest::writeFile(dir + "/cut.png", png.left(60)),
                                mctest::writeFile(dir + "/over.png", pngHeaderClaiming(1u << 14, (1u << 13) + 1)),
                                mctest::writeFile(dir + "/short.bmp", shortBmp)}) {
        EXPECT_TRUE(decodeImage(path).isNull()) << path.toStdString();
        EXPECT_FALSE(imageSize(path).has_value()) << path.toStdString();
    }
    EXPECT_TRUE(imageFormat(text).isEmpty());
    EXPECT_EQ(imageFormat(huge), QByteArray("png"));
}

TEST(ImageIO, BmpPixelFormatFromTheHeader)
{
    const QString dir = mctest::freshDir();
    const QImage rgb = mctest::solidImage(5, 3, Qt::green).convertToFormat(QImage::Format_RGB32);
    const struct {
        QString path;
        int bpp;
        quint32 compression;
        bool alpha;
    } cases[] = {
        {mctest::writeImage(dir, "rgb.bmp", rgb), 24, 0, false},
        {mctest::writeFile(dir + "/pal.bmp", bmpFile(40, 8, 0, 0)), 8, 0, false},
        {mctest::writeFile(dir + "/rle.bmp", bmpFile(40, 8, 1, 0)), 8, 1, false},
        {mctest::writeFile(dir + "/v5.bmp", bmpFile(124, 32, 3, 0xFF000000u)), 32, 3, true},
        {mctest::writeFile(dir + "/v4.bmp", bmpFile(108, 32, 3, 0)), 32, 3, false},
        {mctest::writeFile(dir + "/rgb32.bmp", bmpFile(40, 32, 0, 0)), 32, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const auto f = bmpPixelFormat(c.path);
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(std::tuple(f->bitsPerPixel, f->compression, f->hasAlphaMask), std::tuple(c.bpp, c.compression, c.alpha));
    }
    for (const QString& none : {mctest::writeImage(dir, "n.png", rgb), dir + "/none.bmp",
                                mctest::writeFile(dir + "/short.bmp", bmpFile(124, 32, 3, 0).left(20))})
        EXPECT_FALSE(bmpPixelFormat(none).has_value()) << none.toStdString();
}

TEST(ImageIO, BmpIsLaidOverWhite)
{
    const QString path = mctest::freshDir() + "/out.bmp";
    QImage img = mctest::solidImage(8, 8, Qt::blue);
    img.setPixel(0, 0, qRgba(0, 0, 0, 0)); // transparent black
    ASSERT_TRUE(mc::platform::SaveImageFile(img, path, "image/bmp"));
    const QImage bmp = decodeImage(path);
    EXPECT_EQ(imageFormat(path), QByteArray("bmp"));
    EXPECT_EQ(bmp.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(bmp.pixel(0, 0), qRgb(255, 255, 255)); // not black
}
