#include "imaging/ImageIO.h"

#include "common/TestUtil.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <QFile>
#include <QtEndian>

using namespace mc::imaging;

namespace {

QString writeBytes(const QString& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir + "/" + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

quint32 crc32(const QByteArray& data)
{
    quint32 c = 0xFFFFFFFFu;
    for (char ch : data) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
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
    QByteArray ihdr = "IHDR" + be32(w) + be32(h);
    ihdr.append(char(8)).append(char(6)).append(char(0)).append(char(0)).append(char(0));
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += be32(13) + ihdr + be32(crc32(ihdr));
    return png;
}

void le16(QByteArray& b, int at, quint16 v) { qToLittleEndian(v, b.data() + at); }
void le32(QByteArray& b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }

// A 2 x 2 BMP with the given info header size, bits per pixel and
// compression; masks (with alpha mask `alpha`) where the header has room.
QByteArray bmpFile(quint32 infoSize, quint16 bpp, quint32 compression, quint32 alpha)
{
    const int pixels = 14 + int(infoSize);
    QByteArray b(pixels + 16, '\0');
    b[0] = 'B';
    b[1] = 'M';
    le32(b, 2, quint32(b.size()));
    le32(b, 10, quint32(pixels));
    le32(b, 14, infoSize);
    le32(b, 18, 2);
    le32(b, 22, 2);
    le16(b, 26, 1);
    le16(b, 28, bpp);
    le32(b, 30, compression);
    if (infoSize >= 56) {
        le32(b, 14 + 40, 0x00FF0000u);
        le32(b, 14 + 44, 0x0000FF00u);
        le32(b, 14 + 48, 0x000000FFu);
        le32(b, 14 + 52, alpha);
    }
    for (int i = pixels; i < b.size(); ++i)
        b[i] = char(0x80);
    return b;
}

} // namespace

TEST(ImageIO, DecodesToNonPremultipliedArgb)
{
    const QString dir = mctest::freshDir();
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(QColor(10, 20, 30, 255));
    img.setPixel(1, 1, qRgba(200, 100, 50, 0)); // colour under a transparent pixel survives
    img.setPixel(2, 0, qRgba(255, 0, 0, 128));
    const QImage back = decodeImage(mctest::writeImage(dir, "a.png", img));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.format(), QImage::Format_ARGB32);
    EXPECT_EQ(back.pixel(0, 0), qRgba(10, 20, 30, 255));
    EXPECT_EQ(back.pixel(1, 1), qRgba(200, 100, 50, 0));
    EXPECT_EQ(back.pixel(2, 0), qRgba(255, 0, 0, 128));

    QImage rgb(4, 4, QImage::Format_RGB888);
    rgb.fill(QColor(1, 2, 3));
    const QImage fromJpeg = decodeImage(mctest::writeImage(dir, "b.jpg", rgb));
    ASSERT_FALSE(fromJpeg.isNull());
    EXPECT_EQ(fromJpeg.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(fromJpeg.pixel(0, 0)), 255);
}

TEST(ImageIO, AppliesNoColourProfile)
{
    const QString dir = mctest::freshDir();
    QImage img(2, 2, QImage::Format_ARGB32);
    img.fill(QColor(200, 60, 30));
    img.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QImage back = decodeImage(mctest::writeImage(dir, "p3.png", img));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.pixel(1, 1), qRgb(200, 60, 30));
}

TEST(ImageIO, UnreadableFilesAreUnknown)
{
    const QString dir = mctest::freshDir();
    EXPECT_TRUE(decodeImage(dir + "/missing.png").isNull());
    EXPECT_TRUE(decodeImage(QString()).isNull());
    EXPECT_TRUE(decodeImage(dir).isNull()); // a directory
    const QString text = writeBytes(dir, "notes.png", "just some text, not a picture\n");
    EXPECT_TRUE(decodeImage(text).isNull());
    EXPECT_FALSE(imageSize(text).has_value());
    EXPECT_TRUE(imageFormat(text).isEmpty());

    QFile png(mctest::writeImage(dir, "whole.png", mctest::solidImage(64, 64, Qt::red)));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QString cut = writeBytes(dir, "cut.png", png.readAll().left(60));
    EXPECT_TRUE(decodeImage(cut).isNull());
}

TEST(ImageIO, RefusesOversizePicturesFromTheirHeader)
{
    const QString dir = mctest::freshDir();
    // 60000 x 60000 is far beyond the budget; only the header exists, so a
    // decoder that tried anyway would fail differently or exhaust memory.
    const QString huge = writeBytes(dir, "huge.png", pngHeaderClaiming(60000, 60000));
    EXPECT_EQ(imageFormat(huge), QByteArray("png"));
    EXPECT_TRUE(decodeImage(huge).isNull());
    EXPECT_FALSE(imageSize(huge).has_value());
    // Just over the budget by pixel count.
    const QString over = writeBytes(dir, "over.png", pngHeaderClaiming(1u << 14, (1u << 13) + 1));
    EXPECT_FALSE(imageSize(over).has_value());
}

TEST(ImageIO, SizeAndFormat)
{
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "s.png", mctest::solidImage(31, 17, Qt::blue));
    EXPECT_EQ(imageSize(png), QSize(31, 17));
    EXPECT_EQ(imageFormat(png), QByteArray("png"));
    // The content decides, not the name.
    const QString bmp = mctest::writeImage(dir, "d.bmp", mctest::solidImage(5, 5, Qt::blue));
    ASSERT_TRUE(QFile::rename(bmp, dir + "/d.png"));
    EXPECT_EQ(imageFormat(dir + "/d.png"), QByteArray("bmp"));
    EXPECT_EQ(decodeImage(dir + "/d.png").size(), QSize(5, 5));
}

TEST(ImageIO, BmpPixelFormatFromTheHeader)
{
    const QString dir = mctest::freshDir();
    QImage rgb(5, 3, QImage::Format_RGB32);
    rgb.fill(Qt::green);
    const auto f24 = bmpPixelFormat(mctest::writeImage(dir, "rgb.bmp", rgb));
    ASSERT_TRUE(f24.has_value());
    EXPECT_EQ(f24->bitsPerPixel, 24);
    EXPECT_EQ(f24->compression, 0u);
    EXPECT_FALSE(f24->hasAlphaMask);

    const auto f8 = bmpPixelFormat(writeBytes(dir, "pal.bmp", bmpFile(40, 8, 0, 0)));
    ASSERT_TRUE(f8.has_value());
    EXPECT_EQ(f8->bitsPerPixel, 8);

    const auto rle = bmpPixelFormat(writeBytes(dir, "rle.bmp", bmpFile(40, 8, 1, 0)));
    ASSERT_TRUE(rle.has_value());
    EXPECT_EQ(rle->compression, 1u);

    const auto v5 = bmpPixelFormat(writeBytes(dir, "v5.bmp", bmpFile(124, 32, 3, 0xFF000000u)));
    ASSERT_TRUE(v5.has_value());
    EXPECT_EQ(v5->bitsPerPixel, 32);
    EXPECT_EQ(v5->compression, 3u);
    EXPECT_TRUE(v5->hasAlphaMask);

    const auto v4NoAlpha = bmpPixelFormat(writeBytes(dir, "v4.bmp", bmpFile(108, 32, 3, 0)));
    ASSERT_TRUE(v4NoAlpha.has_value());
    EXPECT_FALSE(v4NoAlpha->hasAlphaMask);

    const auto plain32 = bmpPixelFormat(writeBytes(dir, "rgb32.bmp", bmpFile(40, 32, 0, 0)));
    ASSERT_TRUE(plain32.has_value());
    EXPECT_EQ(plain32->bitsPerPixel, 32);
    EXPECT_FALSE(plain32->hasAlphaMask);

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

    ASSERT_TRUE(encodeImage(img, dir + "/out.bmp", "image/bmp"));
    EXPECT_EQ(imageFormat(dir + "/out.bmp"), QByteArray("bmp"));
    const QImage bmp = decodeImage(dir + "/out.bmp");
    EXPECT_EQ(bmp.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(bmp.pixel(0, 0), qRgb(255, 255, 255)); // laid over white, not black

    ASSERT_TRUE(encodeImage(img, dir + "/out.jpg", "image/jpeg"));
    EXPECT_EQ(imageFormat(dir + "/out.jpg"), QByteArray("jpeg"));
    EXPECT_FALSE(decodeImage(dir + "/out.jpg").isNull());

    ASSERT_TRUE(encodeImage(img, dir + "/out.png", "image/png"));
    EXPECT_EQ(decodeImage(dir + "/out.png").pixel(0, 0), qRgba(0, 0, 0, 0));

    EXPECT_FALSE(encodeImage(img, dir + "/out.xyz", "image/x-nothing"));
    EXPECT_FALSE(encodeImage(img, dir + "/no/such/dir/out.bmp", "image/bmp"));
    EXPECT_FALSE(encodeImage(QImage(), dir + "/null.bmp", "image/bmp"));
}

TEST(ImageIO, MimeTypeForFileName)
{
    EXPECT_EQ(mimeTypeForFileName("/a/b.PNG"), QByteArray("image/png"));
    EXPECT_EQ(mimeTypeForFileName("x.jpg"), QByteArray("image/jpeg"));
    EXPECT_EQ(mimeTypeForFileName("x.jpeg"), QByteArray("image/jpeg"));
    EXPECT_EQ(mimeTypeForFileName("x.bmp"), QByteArray("image/bmp"));
    EXPECT_TRUE(mimeTypeForFileName("x.gif.txt").isEmpty());
    EXPECT_TRUE(mimeTypeForFileName("noext").isEmpty());
}
