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
} // namespace

TEST(AddImagePlan, PngBecomesAJpegBesideIt)
{
    const QString dir = mctest::freshDir();
    QImage picture = mctest::solidImage(30, 20, Qt::red);
    picture.setPixelColor(0, 0, QColor(0, 0, 0, 0));
    const QString png = mctest::writeImage(dir, "photo.png", picture);
    const auto file = PrepareAddImageFile(png);
    EXPECT_TRUE(file.copied);
    EXPECT_EQ(file.path, dir + "/photo.jpg");
    const QImage copy = mc::imaging::decodeImage(file.path);
    ASSERT_FALSE(copy.isNull());
    EXPECT_EQ(copy.size(), QSize(30, 20));
    EXPECT_EQ(qAlpha(copy.pixel(0, 0)), 255); // the transparent pixel is opaque now
    EXPECT_EQ(mc::imaging::imageFormat(file.path), QByteArray("jpeg"));
}

TEST(AddImagePlan, GifIsCopiedUpperCaseAndOtherFormatsAreNot)
{
    const QString dir = mctest::freshDir();
    // The smallest GIF: one pixel (the image writer has no GIF encoder).
    const QString gif = dir + "/anim.gif";
    {
        QFile f(gif);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromHex("4749463839610100010080000000000000ffffff21f90401000000002c00000000010001000002024401003b"));
    }
    if (mc::imaging::decodeImage(gif).isNull())
        GTEST_SKIP() << "no GIF support";
    EXPECT_EQ(PrepareAddImageFile(gif).path, dir + "/anim.jpg");

    // The extension is compared case-sensitively.
    const QString upper = mctest::writeImage(dir, "LOUD.PNG", mctest::solidImage(8, 8, Qt::green));
    EXPECT_EQ(PrepareAddImageFile(upper).path, upper);
    EXPECT_FALSE(QFileInfo::exists(dir + "/LOUD.jpg"));
    const QString jpg = mctest::writeImage(dir, "plain.jpg", mctest::solidImage(8, 8, Qt::green));
    EXPECT_EQ(PrepareAddImageFile(jpg).path, jpg);
    const QString tif = mctest::writeImage(dir, "scan.tif", mctest::solidImage(8, 8, Qt::green));
    EXPECT_EQ(PrepareAddImageFile(tif).path, tif);
}

TEST(AddImagePlan, BmpKeepsTwentyFourBitPixelsOnly)
{
    const QString dir = mctest::freshDir();
    const QString rgb24 = mctest::writeImage(dir, "true.bmp", mctest::solidImage(8, 8, Qt::blue).convertToFormat(QImage::Format_RGB888));
    ASSERT_EQ(mc::imaging::bmpPixelFormat(rgb24)->bitsPerPixel, 24);
    EXPECT_FALSE(mc::view::NeedsJpegCopy(rgb24));
    EXPECT_EQ(PrepareAddImageFile(rgb24).path, rgb24);

    QImage indexed = mctest::solidImage(8, 8, Qt::blue).convertToFormat(QImage::Format_Indexed8);
    const QString pal = mctest::writeImage(dir, "palette.bmp", indexed);
    ASSERT_EQ(mc::imaging::bmpPixelFormat(pal)->bitsPerPixel, 8);
    const auto file = PrepareAddImageFile(pal);
    EXPECT_EQ(file.path, dir + "/palette.jpg");
    EXPECT_FALSE(mc::imaging::decodeImage(file.path).isNull());
}

// An unrelated file that holds the copy's name is never overwritten.
TEST(AddImagePlan, ExistingDifferentFileGetsAFreeName)
{
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "photo.png", mctest::solidImage(16, 16, Qt::red));
    const QString mine = mctest::writeImage(dir, "photo.jpg", mctest::solidImage(16, 16, Qt::blue));
    const QByteArray before = bytesOf(mine);

    const auto first = PrepareAddImageFile(png);
    EXPECT_EQ(first.path, dir + "/photo-1.jpg");
    EXPECT_EQ(bytesOf(mine), before);

    // Adding the same picture again finds its own copy instead of a third.
    const auto again = PrepareAddImageFile(png);
    EXPECT_EQ(again.path, dir + "/photo-1.jpg");
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
    const auto file = PrepareAddImageFile(png, [&](const QString&, const QByteArray&) {
        ++attempts;
        return false;
    });
    EXPECT_EQ(attempts, 1);
    EXPECT_FALSE(file.copied);
    EXPECT_EQ(file.path, png);
}

TEST(AddImagePlan, ReadOnlyFolderFallsBackToTheChosenFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "photo.png", mctest::solidImage(16, 16, Qt::red));
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    const auto file = PrepareAddImageFile(png);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(file.path, png);
    EXPECT_FALSE(QFileInfo::exists(dir + "/photo.jpg"));
}

TEST(AddImagePlan, UndecodablePngIsLeftToTheItem)
{
    const QString dir = mctest::freshDir();
    const QString path = dir + "/broken.png";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    const auto file = PrepareAddImageFile(path);
    EXPECT_EQ(file.path, path);
    EXPECT_FALSE(QFileInfo::exists(dir + "/broken.jpg"));
}

TEST(AddImagePlan, CopyNameReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(mc::view::JpegCopyName("/a/b.c/photo.png"), QString("/a/b.c/photo.jpg"));
    EXPECT_EQ(mc::view::JpegCopyName("x.gif"), QString("x.jpg"));
}
