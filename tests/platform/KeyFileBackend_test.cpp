#include "platform/KeyFileBackend.h"

#include "platform/KeyFile.h"

#include "EnvGuard.h"
#include "common/TestUtil.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace mc::platform;

namespace {
void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}
} // namespace

TEST(KeyFileBackendTest, ReadsTheDesktopGroup)
{
    const QString path = mctest::freshDir() + "/desktop.conf";
    writeText(path, "[Control Panel/Desktop]\nWallpaper=/pics/my wall.jpg\nTileWallpaper=0\n"
                    "WallpaperStyle=2\nBackground=58 110 165\n");
    const DesktopSettings s = KeyFileBackend(path).read();
    EXPECT_EQ(s.wallpaperPath, QStringLiteral("/pics/my wall.jpg"));
    EXPECT_EQ(s.tileWallpaper, QStringLiteral("0"));
    EXPECT_EQ(s.wallpaperStyle, QStringLiteral("2"));
    EXPECT_EQ(s.desktopColor, 0x00a56e3au);
}

TEST(KeyFileBackendTest, MissingFileOrValuesReadAsEmpty)
{
    const DesktopSettings none = KeyFileBackend(mctest::freshDir() + "/absent.conf").read();
    EXPECT_TRUE(none.wallpaperPath.isEmpty());
    EXPECT_TRUE(none.tileWallpaper.isEmpty());
    EXPECT_TRUE(none.wallpaperStyle.isEmpty());
    EXPECT_EQ(none.desktopColor, kFallbackDesktopColor);

    const QString path = mctest::freshDir() + "/desktop.conf";
    writeText(path, "[Control Panel/Desktop]\nBackground=not a colour\n");
    EXPECT_EQ(KeyFileBackend(path).read().desktopColor, kFallbackDesktopColor);
}

TEST(KeyFileBackendTest, InstallStoresValuesAndKeepsTheRest)
{
    const QString dir = mctest::freshDir();
    const QString path = dir + "/conf/desktop.conf";
    QDir().mkpath(dir + "/conf");
    writeText(path, "# mine\n[Control Panel/Desktop]\nBackground=#102030\nWallpaper=/old.bmp\n[Else]\nk=v\n");

    KeyFileBackend backend(path);
    const QString wall = dir + "/it's a\nwall.bmp";
    const InstallResult r = backend.install(wall, QStringLiteral("1"), QStringLiteral("1"));
    ASSERT_TRUE(r.ok) << r.error.toStdString();

    const DesktopSettings s = backend.read();
    EXPECT_EQ(s.wallpaperPath, wall);
    EXPECT_EQ(s.tileWallpaper, QStringLiteral("1"));
    EXPECT_EQ(s.wallpaperStyle, QStringLiteral("1"));
    EXPECT_EQ(s.desktopColor, 0x00302010u);
    KeyFile kf;
    ASSERT_TRUE(kf.load(path));
    EXPECT_EQ(kf.value("Else", "k"), QStringLiteral("v"));
    EXPECT_TRUE(kf.toText().startsWith(QStringLiteral("# mine\n")));
}

TEST(KeyFileBackendTest, InstallReportsAnUnwritableFile)
{
    const QString dir = mctest::freshDir();
    QFile blocker(dir + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where a folder should be
    blocker.close();
    KeyFileBackend backend(dir + "/blocker/desktop.conf");
    const InstallResult r = backend.install(dir + "/w.bmp", QStringLiteral("0"), QStringLiteral("0"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(KeyFileBackendTest, DefaultPathIsInTheConfigFolder)
{
    EnvGuard env;
    const QString config = mctest::freshDir();
    env.set("XDG_CONFIG_HOME", config.toUtf8());
    EXPECT_EQ(KeyFileBackend().filePath(), config + "/muralcrafter/desktop.conf");
    EXPECT_TRUE(QDir(config + "/muralcrafter").exists());

    const QString data = mctest::freshDir();
    env.set("XDG_DATA_HOME", data.toUtf8());
    EXPECT_EQ(dataDirectory(), data + "/muralcrafter");
    EXPECT_TRUE(QDir(data + "/muralcrafter").exists());
}
