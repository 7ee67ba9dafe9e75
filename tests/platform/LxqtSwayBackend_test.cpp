#include "platform/LxqtBackend.h"
#include "platform/SwayBackend.h"

#include "FakeTools.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace mc::platform;

TEST(LxqtBackendTest, PcmanfmGetsPictureAndMode)
{
    FakeTools tools;
    tools.add("pcmanfm-qt");
    LxqtBackend lxqt;
    const QString path = awkwardPath();
    ASSERT_TRUE(lxqt.install(path, "1", "1").ok);
    ASSERT_TRUE(lxqt.install(path, "0", "0").ok);
    ASSERT_TRUE(lxqt.install(path, "0", "2").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[0], (QStringList{"pcmanfm-qt", "--set-wallpaper", path, "--wallpaper-mode", "tile"}));
    EXPECT_EQ(calls[1].last(), "center");
    EXPECT_EQ(calls[2].last(), "stretch");
}

TEST(LxqtBackendTest, MissingToolIsReported)
{
    FakeTools tools;
    const InstallResult r = LxqtBackend().install("/w.bmp", "0", "0");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("pcmanfm-qt"));
}

TEST(LxqtBackendTest, ReadsTheProfileSettings)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/pcmanfm-qt/lxqt";
    ASSERT_TRUE(QDir().mkpath(dir));
    QFile file(dir + "/settings.conf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop]\nBgColor=#102030\nWallpaper=/usr/share/lxqt/wallpapers/w.png\nWallpaperMode=center\n");
    file.close();
    const DesktopSettings s = LxqtBackend().read();
    EXPECT_EQ(s.wallpaperPath, "/usr/share/lxqt/wallpapers/w.png");
    EXPECT_EQ(s.tileWallpaper, "0");
    EXPECT_EQ(s.wallpaperStyle, "0");
    EXPECT_EQ(s.desktopColor, 0x00302010u);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop]\nWallpaper=/w.png\nWallpaperMode=color\n");
    file.close();
    EXPECT_TRUE(LxqtBackend().read().wallpaperPath.isEmpty()); // colour only
    QFile::remove(file.fileName());
}

TEST(SwayBackendTest, OneOutputCommandForAllOutputs)
{
    FakeTools tools;
    tools.add("swaymsg");
    SwayBackend sway;
    ASSERT_TRUE(sway.install("/data/w.bmp", "1", "1").ok);
    ASSERT_TRUE(sway.install("/data/w.bmp", "0", "0").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0], (QStringList{"swaymsg", "output", "*", "bg", "\"'/data/w.bmp'\"", "tile"}));
    EXPECT_EQ(calls[1].last(), "center");
    // sway cannot be asked; the program's own record answers.
    const DesktopSettings s = sway.read();
    EXPECT_EQ(s.wallpaperPath, "/data/w.bmp");
    EXPECT_EQ(s.tileWallpaper, "0");
    EXPECT_EQ(s.wallpaperStyle, "0");
    QFile::remove(keyFileBackendPath());
}

TEST(SwayBackendTest, PathSurvivesSwaysQuotingAndExpansion)
{
    // sway drops the outer double quotes, then expands the rest like a
    // shell word; the fake does the same and records what it got.
    FakeTools tools;
    tools.add("swaymsg", R"(w="$4"; w="${w#\"}"; w="${w%\"}"; eval "set -- $w"; printf '%s' "$1" > ")" + tools.dir()
                             + R"(/expanded")");
    const QString path = awkwardPath() + " $HOME `id` \\x";
    ASSERT_TRUE(SwayBackend().install(path, "0", "0").ok);
    QFile expanded(tools.dir() + "/expanded");
    ASSERT_TRUE(expanded.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(expanded.readAll()), path);
}

TEST(SwayBackendTest, FailureIsReported)
{
    FakeTools tools;
    tools.add("swaymsg", "echo 'Error: Unable to connect' >&2; exit 2");
    const InstallResult r = SwayBackend().install("/w.bmp", "0", "0");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("Unable to connect"));
}
