#include "wallpaper/WallpaperFile.h"

#include "imaging/ImageIO.h"

#include "common/TestUtil.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace mc::wallpaper;

TEST(WallpaperFileTest, OnlyTheFileNameIsLowerCase)
{
    const WallpaperFileNames n = WallpaperFilesIn("/home/Ann/.local/share/MuralCrafter");
    EXPECT_EQ(n.primary, "/home/Ann/.local/share/MuralCrafter/muralcrafter.bmp");
    EXPECT_EQ(n.alternate, "/home/Ann/.local/share/MuralCrafter/muralcraftr.bmp");
}

TEST(WallpaperFileTest, NeverTheBackgroundNorThePictureShownNow)
{
    const WallpaperFileNames n = WallpaperFilesIn("/data/muralcrafter");
    const QString other = "/usr/share/backgrounds/sea.jpg";
    EXPECT_EQ(ChooseWallpaperFile(n, "", ""), n.primary);
    EXPECT_EQ(ChooseWallpaperFile(n, other, other), n.primary);
    // The background is the primary file: case does not matter.
    EXPECT_EQ(ChooseWallpaperFile(n, "/DATA/MuralCrafter/MURALCRAFTER.BMP", other), n.alternate);
    EXPECT_EQ(ChooseWallpaperFile(n, n.alternate, other), n.primary);
    // The desktop shows one of them: write the other, so it sees a new path.
    EXPECT_EQ(ChooseWallpaperFile(n, other, n.primary), n.alternate);
    EXPECT_EQ(ChooseWallpaperFile(n, other, n.alternate), n.primary);
    EXPECT_EQ(ChooseWallpaperFile(n, n.primary, "/data/muralcrafter/./muralcrafter.bmp"), n.alternate);
    // Both taken: a third name harms neither.
    EXPECT_EQ(ChooseWallpaperFile(n, n.primary, n.alternate), n.spare);
    EXPECT_EQ(ChooseWallpaperFile(n, n.alternate, n.primary), n.spare);
}

TEST(WallpaperFileTest, WritesA24BitBmpAndReplacesTheOldFile)
{
    const QString dir = mctest::freshDir();
    const QString path = dir + "/muralcrafter.bmp";
    QImage first(64, 32, QImage::Format_RGB32);
    first.fill(Qt::red);
    QString error;
    ASSERT_TRUE(WriteWallpaperFile(first, path, &error)) << error.toStdString();
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
