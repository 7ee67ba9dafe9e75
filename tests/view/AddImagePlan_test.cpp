#include "view/AddImagePlan.h"

#include "common/TestUtil.h"
#include "imaging/ImageIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

using mc::view::PrepareAddImageFile;

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
    EXPECT_EQ(mc::view::JpegCopyName("/a/b.c/photo.png"), QString("/a/b.c/photo.jpg"));
}

// Which chosen files are copied: the extension compared case-sensitively,
// BMP only when its pixels are not 24-bit; an undecodable file is left to the item.
TEST(AddImagePlan, WhichFilesAreCopied)
{
    const QString dir = mctest::freshDir();
    const QImage green = mctest::solidImage(8, 8, Qt::green);
    // The smallest GIF: one pixel (the image writer has no GIF encoder).
    const QString gif = writeBytes(dir + "/anim.gif", QByteArray::fromHex(
        "4749463839610100010080000000000000ffffff21f90401000000002c00000000010001000002024401003b"));
    const QString rgb24 = mctest::writeImage(dir, "true.bmp", green.convertToFormat(QImage::Format_RGB888));
    const QString pal = mctest::writeImage(dir, "palette.bmp", green.convertToFormat(QImage::Format_Indexed8));
    ASSERT_EQ(mc::imaging::bmpPixelFormat(rgb24)->bitsPerPixel, 24);
    ASSERT_EQ(mc::imaging::bmpPixelFormat(pal)->bitsPerPixel, 8);
    const struct {
        QString chosen;
        bool copied;
    } cases[] = {
        {mctest::writeImage(dir, "LOUD.PNG", green), false},
        {mctest::writeImage(dir, "plain.jpg", green), false},
        {mctest::writeImage(dir, "scan.tif", green), false},
        {rgb24, false},
        {pal, true},
        {writeBytes(dir + "/broken.png", "not a picture"), false},
        {gif, !mc::imaging::decodeImage(gif).isNull()},
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
