#include "platform/KdeBackend.h"

#include "FakeTools.h"

#include <QDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace mc::platform;

TEST(KdeBackendTest, ApplyToolGetsFillModeAndPathIntact)
{
    FakeTools tools;
    tools.add("plasma-apply-wallpaperimage");
    KdeBackend kde;
    const QString path = awkwardPath();
    ASSERT_TRUE(kde.install(path, "0", "0").ok);
    ASSERT_TRUE(kde.install(path, "1", "1").ok);
    ASSERT_TRUE(kde.install(path, "0", "2").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[0], (QStringList{"plasma-apply-wallpaperimage", "--fill-mode", "pad", path}));
    EXPECT_EQ(calls[1], (QStringList{"plasma-apply-wallpaperimage", "--fill-mode", "tile", path}));
    EXPECT_EQ(calls[2], (QStringList{"plasma-apply-wallpaperimage", "--fill-mode", "stretch", path}));
}

TEST(KdeBackendTest, OlderPlasmaFallsBackToTheShellScript)
{
    FakeTools tools;
    tools.add("plasma-apply-wallpaperimage", "echo 'Unknown option fill-mode' >&2; exit 1");
    tools.add("qdbus");
    KdeBackend kde;
    const QString path = awkwardPath();
    ASSERT_TRUE(kde.install(path, "1", "1").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1], (QStringList{"qdbus", "org.kde.plasmashell", "/PlasmaShell",
                                     "org.kde.PlasmaShell.evaluateScript", KdeBackend::plasmaScript(path, WallpaperMode::Tiled)}));
    const QString script = calls[1].last();
    EXPECT_TRUE(script.contains("writeConfig(\"FillMode\", 3)"));
    // The picture goes as a file URL inside a plain-ASCII string literal.
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(script.contains("writeConfig(\"Image\", " + KdeBackend::javaScriptString(url) + ")"));
    EXPECT_EQ(QUrl(url).toLocalFile(), path);
    // FillMode before Image: the desktop lays the new picture out by it.
    EXPECT_LT(script.indexOf("FillMode"), script.indexOf("\"Image\""));
}

TEST(KdeBackendTest, DbusSendCarriesTheScriptAsOneStringArgument)
{
    FakeTools tools;
    tools.add("dbus-send");
    KdeBackend kde;
    ASSERT_TRUE(kde.install("/data/w.bmp", "0", "0").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].last(), "string:" + KdeBackend::plasmaScript("/data/w.bmp", WallpaperMode::Centered));
    EXPECT_TRUE(calls[0].contains("--dest=org.kde.plasmashell"));
}

TEST(KdeBackendTest, FailureIsReported)
{
    FakeTools tools;
    KdeBackend kde;
    const InstallResult none = kde.install("/data/w.bmp", "0", "0");
    EXPECT_FALSE(none.ok);
    EXPECT_FALSE(none.error.isEmpty());

    tools.add("dbus-send", "echo 'The name org.kde.plasmashell was not provided' >&2; exit 1");
    const InstallResult failed = kde.install("/data/w.bmp", "0", "0");
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(failed.error.contains("org.kde.plasmashell was not provided"));
}

TEST(KdeBackendTest, JavaScriptStringEscapes)
{
    EXPECT_EQ(KdeBackend::javaScriptString(QString::fromUtf8("a\"b\\c \xc3\xa9\n")), "\"a\\\"b\\\\c \\u00e9\\u000a\"");
}

TEST(KdeBackendTest, ReadsTheFirstImageWallpaper)
{
    const QString text = "[Containments][1]\nplugin=org.kde.panel\n\n"
                         "[Containments][2][Wallpaper][org.kde.color][General]\nColor=1,2,3\n\n"
                         "[Containments][7][Wallpaper][org.kde.image][General]\n"
                         "Color=16,32,48\nFillMode=3\nImage=file:///home/ann/My%20Pictures/sea.jpg\n\n"
                         "[Containments][8][Wallpaper][org.kde.image][General]\nImage=file:///other.png\n";
    const DesktopSettings s = KdeBackend::parseAppletsConfig(text);
    EXPECT_EQ(s.wallpaperPath, "/home/ann/My Pictures/sea.jpg");
    EXPECT_EQ(s.tileWallpaper, "1");
    EXPECT_EQ(s.desktopColor, 0x00302010u);

    const DesktopSettings centred = KdeBackend::parseAppletsConfig(
        "[Containments][3][Wallpaper][org.kde.image][General]\nFillMode=6\nImage=/plain/path.png\n");
    EXPECT_EQ(centred.wallpaperPath, "/plain/path.png");
    EXPECT_EQ(centred.tileWallpaper, "0");
    EXPECT_EQ(centred.wallpaperStyle, "0");
    EXPECT_EQ(centred.desktopColor, kFallbackDesktopColor);

    // Plasma's default fill mode crops and scales: a stretch for the project.
    const DesktopSettings byDefault = KdeBackend::parseAppletsConfig(
        "[Containments][3][Wallpaper][org.kde.image][General]\nImage=/p.png\n");
    EXPECT_EQ(byDefault.wallpaperStyle, "2");
}

TEST(KdeBackendTest, ReadsPlasmasConfigFile)
{
    QFile file(KdeBackend::appletsConfigPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Containments][1][Wallpaper][org.kde.image][General]\nFillMode=0\nImage=file:///w.png\n");
    file.close();
    const DesktopSettings s = KdeBackend().read();
    QFile::remove(KdeBackend::appletsConfigPath());
    EXPECT_EQ(s.wallpaperPath, "/w.png");
    EXPECT_EQ(s.wallpaperStyle, "2");
}
