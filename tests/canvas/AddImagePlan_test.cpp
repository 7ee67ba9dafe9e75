#include "canvas/AddImagePlan.h"

#include "common/TestUtil.h"
#include "imaging/ImageIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

using mc::canvas::PrepareAddImageFile;

// Which chosen files are copied: the extension compared case-sensitively,
// BMP only when its pixels are neither 24-bit nor 32-bit with alpha; an
// undecodable file is left to the item. A copy is a JPEG beside the file.
TEST(AddImagePlan, WhichFilesAreCopied)
{
    const QString dir = mctest::freshDir();
    const QImage green = mctest::solidImage(8, 8, Qt::green);
    QImage clear = mctest::solidImage(8, 8, QColor(0, 0, 255, 0)); // transparent blue: white in the copy
    clear.setPixelColor(7, 0, Qt::green);
    const std::pair<QString, bool> cases[] = { // chosen, copied
        {mctest::writeImage(dir, "photo.png", green), true},
        {mctest::writeImage(dir, "LOUD.PNG", green), false},
        {mctest::writeImage(dir, "plain.jpg", green), false},
        {mctest::writeImage(dir, "scan.tif", green), false},
        {mctest::writeImage(dir, "true.bmp", green.convertToFormat(QImage::Format_RGB888)), false},
        {mctest::writeImage(dir, "palette.bmp", green.convertToFormat(QImage::Format_Indexed8)), true},
        {mctest::writeFile(dir + "/alpha.bmp", mctest::bmpFile(108, 32, 3, 0xFF000000u)), false},
        {mctest::writeFile(dir + "/plain32.bmp", mctest::bmpFile(40, 32, 0, 0)), true},
        {mctest::writeFile(dir + "/broken.png", "not a picture"), false},
        // An 8 x 8 green GIF87a written byte by byte (the image writer has no
        // GIF encoder): two-colour table, one image, its LZW codes, trailer.
        {mctest::writeFile(dir + "/anim.gif", QByteArray::fromHex("474946383761" "08000800800000" "008000" "000000"
                                                                  "2c00000000080008000002" "07848fa9cbed5d00" "00" "3b")),
         true},
        {mctest::writeImage(dir, "clear.png", clear), true},
    };
    for (const auto& [chosen, copied] : cases) {
        SCOPED_TRACE(chosen.toStdString());
        const QString copy = chosen.left(chosen.lastIndexOf('.')) + ".jpg";
        EXPECT_EQ(PrepareAddImageFile(chosen).path, copied ? copy : chosen);
        EXPECT_EQ(mc::imaging::imageFormat(copy), copied || chosen.endsWith(".jpg") ? QByteArray("jpeg") : QByteArray());
    }
    EXPECT_GT(qGray(mc::imaging::decodeImage(dir + "/clear.jpg").pixel(0, 7)), 245);
}

// An unrelated file that holds the copy's name is never overwritten.
TEST(AddImagePlan, ExistingDifferentFileGetsAFreeName)
{
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "photo.png", mctest::solidImage(16, 16, Qt::red));
    const QString mine = mctest::writeImage(dir, "photo.jpg", mctest::solidImage(16, 16, Qt::blue));
    const QByteArray before = mctest::readFile(mine);
    EXPECT_EQ(PrepareAddImageFile(png).path, dir + "/photo-1.jpg");
    EXPECT_EQ(mctest::readFile(mine), before);

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
}
