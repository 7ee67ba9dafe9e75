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
    // An 8 x 8 green GIF87a written byte by byte (the image writer has no
    // GIF encoder): two-colour table, one image, its LZW codes, trailer.
    const QString gif = mctest::writeFile(dir + "/anim.gif", QByteArray::fromHex(
        "474946383761" "08000800800000" "008000" "000000" "2c00000000080008000002" "07848fa9cbed5d00" "00" "3b"));
    const QString rgb24 = mctest::writeImage(dir, "true.bmp", green.convertToFormat(QImage::Format_RGB888));
    const QString pal = mctest::writeImage(dir, "palette.bmp", green.convertToFormat(QImage::Format_Indexed8));
    const QString argb32 = mctest::writeFile(dir + "/alpha.bmp", mctest::bmpFile(108, 32, 3, 0xFF000000u));
    QImage clear = green; // transparent blue on the left: white in the copy
    clear.fill(QColor(0, 0, 255, 0));
    clear.setPixelColor(7, 0, Qt::green);
    const QString rgb32 = mctest::writeFile(dir + "/plain32.bmp", mctest::bmpFile(40, 32, 0, 0));
    const struct {
        QString chosen;
        bool copied;
    } cases[] = {
        {mctest::writeImage(dir, "photo.png", green), true},
        {mctest::writeImage(dir, "LOUD.PNG", green), false},
        {mctest::writeImage(dir, "plain.jpg", green), false},
        {mctest::writeImage(dir, "scan.tif", green), false},
        {rgb24, false},
        {pal, true},
        {argb32, false},
        {rgb32, true},
        {mctest::writeFile(dir + "/broken.png", "not a picture"), false},
        {gif, true},
        {mctest::writeImage(dir, "clear.png", clear), true},
    };
    for (const auto& c : cases) {
        const QString copy = c.chosen.left(c.chosen.lastIndexOf('.')) + ".jpg";
        EXPECT_EQ(PrepareAddImageFile(c.chosen).path, c.copied ? copy : c.chosen) << c.chosen.toStdString();
        if (c.copied) {
            EXPECT_EQ(mc::imaging::imageFormat(copy), QByteArray("jpeg")) << copy.toStdString();
        } else if (!c.chosen.endsWith(".jpg")) {
            EXPECT_FALSE(QFileInfo::exists(copy)) << copy.toStdString();
        }
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
