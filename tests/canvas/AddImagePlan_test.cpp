#include "canvas/AddImagePlan.h"

#include "common/TestUtil.h"
#include "imaging/ImageIO.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

using mc::canvas::PrepareAddImageFile;

namespace {
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QString writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    return path;
}
// A 2 x 2 32-bit BMP: BITMAPV4HEADER with BI_BITFIELDS and an alpha mask,
// or a plain 40-byte header (BI_RGB) whose fourth byte means nothing.
QString writeBmp32(const QString& path, bool alphaMask)
{
    const int info = alphaMask ? 108 : 40, pixels = 2 * 2 * 4;
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("BM", 2);
    s << quint32(14 + info + pixels) << quint32(0) << quint32(14 + info);
    s << quint32(info) << qint32(2) << qint32(2) << quint16(1) << quint16(32) << quint32(alphaMask ? 3 : 0)
      << quint32(pixels) << quint32(2835) << quint32(2835) << quint32(0) << quint32(0);
    if (alphaMask) {
        s << quint32(0x00FF0000) << quint32(0x0000FF00) << quint32(0x000000FF) << quint32(0xFF000000)
          << quint32(0x73524742); // 'sRGB'
        for (int i = 0; i < 12; ++i)
            s << quint32(0); // endpoints and gamma
    }
    for (int i = 0; i < 4; ++i)
        s << quint32(0x8000FF00); // half-transparent green
    return writeBytes(path, b);
}
} // namespace

TEST(AddImagePlan, PngBecomesAnOpaqueJpegBesideIt)
{
    const QString dir = mctest::freshDir();
    QImage picture = mctest::solidImage(30, 20, Qt::red);
    picture.setPixelColor(0, 0, QColor(0, 0, 0, 0));
    const auto file = PrepareAddImageFile(mctest::writeImage(dir, "photo.png", picture));
    EXPECT_TRUE(file.copied);
    EXPECT_EQ(file.path, dir + "/photo.jpg");
    const QImage copy = mc::imaging::decodeImage(file.path);
    EXPECT_EQ(copy.size(), QSize(30, 20));
    EXPECT_EQ(qAlpha(copy.pixel(0, 0)), 255);
    EXPECT_EQ(mc::imaging::imageFormat(file.path), QByteArray("jpeg"));
    EXPECT_EQ(mc::canvas::JpegCopyName("/a/b.c/photo.png"), QString("/a/b.c/photo.jpg"));
}

// Which chosen files are copied: the extension compared case-sensitively,
// BMP only when its pixels are neither 24-bit nor 32-bit with alpha; an
// undecodable file is left to the item.
TEST(AddImagePlan, WhichFilesAreCopied)
{
    const QString dir = mctest::freshDir();
    const QImage green = mctest::solidImage(8, 8, Qt::green);
    // An 8 x 8 green GIF87a written byte by byte (the image writer has no
    // GIF encoder): two-colour table, one image, its LZW codes, trailer.
    const QString gif = writeBytes(dir + "/anim.gif", QByteArray::fromHex(
        "474946383761" "08000800800000" "008000" "000000" "2c00000000080008000002" "07848fa9cbed5d00" "00" "3b"));
    const QString rgb24 = mctest::writeImage(dir, "true.bmp", green.convertToFormat(QImage::Format_RGB888));
    const QString pal = mctest::writeImage(dir, "palette.bmp", green.convertToFormat(QImage::Format_Indexed8));
    ASSERT_EQ(mc::imaging::bmpPixelFormat(rgb24)->bitsPerPixel, 24);
    ASSERT_EQ(mc::imaging::bmpPixelFormat(pal)->bitsPerPixel, 8);
    const QString argb32 = writeBmp32(dir + "/alpha.bmp", true);
    const QString rgb32 = writeBmp32(dir + "/plain32.bmp", false);
    ASSERT_TRUE(mc::imaging::bmpPixelFormat(argb32)->hasAlphaMask);
    ASSERT_FALSE(mc::imaging::decodeImage(gif).isNull()) << "no GIF decoder";
    const struct {
        QString chosen;
        bool copied;
    } cases[] = {
        {mctest::writeImage(dir, "LOUD.PNG", green), false},
        {mctest::writeImage(dir, "plain.jpg", green), false},
        {mctest::writeImage(dir, "scan.tif", green), false},
        {rgb24, false},
        {pal, true},
        {argb32, false},
        {rgb32, true},
        {writeBytes(dir + "/broken.png", "not a picture"), false},
        {gif, true},
    };
    for (const auto& c : cases) {
        const QString copy = c.chosen.left(c.chosen.lastIndexOf('.')) + ".jpg";
        EXPECT_EQ(PrepareAddImageFile(c.chosen).path, c.copied ? copy : c.chosen) << c.chosen.toStdString();
        if (c.copied) {
            EXPECT_FALSE(mc::imaging::decodeImage(copy).isNull()) << copy.toStdString();
        } else if (!c.chosen.endsWith(".jpg")) {
            EXPECT_FALSE(QFileInfo::exists(copy)) << copy.toStdString();
        }
    }
}

// An unrelated file that holds the copy's name is never overwritten.
TEST(AddImagePlan, ExistingDifferentFileGetsAFreeName)
{
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "photo.png", mctest::solidImage(16, 16, Qt::red));
    const QString mine = mctest::writeImage(dir, "photo.jpg", mctest::solidImage(16, 16, Qt::blue));
    const QByteArray before = bytesOf(mine);
    EXPECT_EQ(PrepareAddImageFile(png).path, dir + "/photo-1.jpg");
    EXPECT_EQ(bytesOf(mine), before);

    // Adding the same picture again finds its own copy instead of a third.
    EXPECT_EQ(PrepareAddImageFile(png).path, dir + "/photo-1.jpg");
    EXPECT_FALSE(QFileInfo::exists(dir + "/photo-2.jpg"));

    // A folder of that name is no file to overwrite either.
    const QString png2 = mctest::writeImage(dir, "two.png", mctest::solidImage(16, 16, Qt::red));
    ASSERT_TRUE(QDir(dir).mkdir("two.jpg"));
    EXPECT_EQ(PrepareAddImageFile(png2).path, dir + "/two-1.jpg");
}

TEST(AddImagePlan, UnwritableCopyFallsBackToTheChosenFile)
{
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "photo.png", mctest::solidImage(16, 16, Qt::red));
    int attempts = 0;
    const auto file = PrepareAddImageFile(png, [&](const QString&, const QByteArray&) { return ++attempts, false; });
    EXPECT_EQ(attempts, 1);
    EXPECT_FALSE(file.copied);
    EXPECT_EQ(file.path, png);

    if (geteuid() == 0)
        return; // file permissions do not bind root
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(PrepareAddImageFile(png).path, png);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(dir + "/photo.jpg"));
}
