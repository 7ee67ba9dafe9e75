#include "wallpaper/WallpaperFile.h"

#include "imaging/ImageIO.h"

#include "common/TestUtil.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace mc::wallpaper;

TEST(WallpaperFileTest, NamesAlternateAndAreNeverTheBackgroundNorThePictureShownNow)
{
    // Only the file name is lower case.
    const WallpaperFileNames n = WallpaperFilesIn("/data/MuralCrafter");
    EXPECT_EQ(n.primary, "/data/MuralCrafter/muralcrafter.bmp");
    EXPECT_EQ(n.alternate, "/data/MuralCrafter/muralcraftr.bmp");
    const QString other = "/usr/share/backgrounds/sea.jpg";
    const QString cases[][3] = {
        // background, shown now, chosen
        {"", "", n.primary},
        {other, other, n.primary},
        {"/DATA/MuralCrafter/MURALCRAFTER.BMP", other, n.alternate}, // case does not matter
        {n.alternate, other, n.primary},
        {other, n.primary, n.alternate}, // the desktop must see a new path
        {other, n.alternate, n.primary},
        {n.primary, "/data/MuralCrafter/./muralcrafter.bmp", n.alternate},
        {n.primary, n.alternate, n.spare}, // both taken: a third name harms neither
        {n.alternate, n.primary, n.spare},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseWallpaperFile(n, c[0], c[1]), c[2]) << c[0].toStdString() << " | " << c[1].toStdString();
}

TEST(WallpaperFileTest, WritesA24BitBmpAndReplacesTheOldFile)
{
    const QString dir = mctest::freshDir();
    const QString path = dir + "/muralcrafter.bmp";
    QString error;
    ASSERT_TRUE(WriteWallpaperFile(mctest::solidImage(64, 32, Qt::red), path, &error)) << error.toStdString();
    QImage second(30, 20, QImage::Format_RGB32);
    second.fill(QColor(10, 200, 30));
    ASSERT_TRUE(WriteWallpaperFile(second, path, &error)) << error.toStdString();

    const QImage back = mc::imaging::decodeImage(path);
    ASSERT_EQ(back.size(), QSize(30, 20));
    EXPECT_EQ(back.pixelColor(29, 19), QColor(10, 200, 30));
    const auto format = mc::imaging::bmpPixelFormat(path);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->bitsPerPixel, 24);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"muralcrafter.bmp"});
}

TEST(WallpaperFileTest, UnwritableFolderIsReportedAndTheOldFileKept)
{
    const QString dir = mctest::freshDir();
    // A folder that cannot exist, even for root: its parent is a file.
    QFile blocker(dir + "/data");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(WriteWallpaperFile(mctest::solidImage(4, 4, Qt::red), dir + "/data/muralcrafter.bmp", &error));
    EXPECT_TRUE(error.contains("muralcrafter.bmp"));
    EXPECT_FALSE(WriteWallpaperFile(QImage(), dir + "/w.bmp", &error));
    EXPECT_FALSE(QFile::exists(dir + "/w.bmp"));
}
