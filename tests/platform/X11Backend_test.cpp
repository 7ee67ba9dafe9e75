#include "platform/X11Backend.h"

#include "EnvGuard.h"
#include "FakeTools.h"
#include "XvfbServer.h"
#include "common/TestUtil.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

bool haveTools(std::initializer_list<const char*> tools)
{
    for (const char* t : tools)
        if (QStandardPaths::findExecutable(QString::fromLatin1(t)).isEmpty())
            return false;
    return true;
}

// A 64 x 48 picture: red with a blue left half-column block, so that
// centring and tiling are told apart.
QString writePicture(const QString& dir, const QString& name)
{
    QImage image = mctest::solidImage(64, 48, Qt::red);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixelColor(x, y, Qt::blue);
    return mctest::writeImage(dir, name, image.convertToFormat(QImage::Format_RGB32));
}

} // namespace

TEST(X11BackendTest, FehPaintsTheRootWindowCentredAndTiled)
{
    if (!haveTools({"Xvfb", "feh", "xprop", "import"}))
        GTEST_SKIP() << "Xvfb, feh, xprop or import is missing";
    XvfbServer x;
    ASSERT_FALSE(x.display().isEmpty());
    EnvGuard env;
    env.set("DISPLAY", x.display().toUtf8());
    const QString dir = mctest::freshDir() + QString::fromUtf8("/Ann's \"walls\" \xc3\xa9t\xc3\xa9");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = writePicture(dir, "muralcrafter.bmp");

    X11Backend x11;
    ASSERT_TRUE(x11.install(path, "0", "0").ok);
    EXPECT_TRUE(x.hasRootPixmap());
    QImage root = x.rootWindow();
    ASSERT_FALSE(root.isNull());
    // Centred in 320 x 240: the picture spans x 128..191, y 96..143.
    EXPECT_EQ(root.pixelColor(160, 120), QColor(Qt::red));
    EXPECT_EQ(root.pixelColor(130, 120), QColor(Qt::blue));
    EXPECT_NE(root.pixelColor(10, 10), QColor(Qt::red));

    ASSERT_TRUE(x11.install(path, "1", "1").ok);
    root = x.rootWindow();
    EXPECT_EQ(root.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(root.pixelColor(66, 10), QColor(Qt::blue)); // second tile

    // feh's own record reads back as the wallpaper and its placement.
    const DesktopSettings s = x11.read();
    EXPECT_EQ(s.wallpaperPath, path);
    EXPECT_EQ(s.tileWallpaper, "1");
    QFile::remove(QDir::homePath() + "/.fehbg");
}

TEST(X11BackendTest, XwallpaperGetsAPngCopy)
{
    if (!haveTools({"Xvfb", "xwallpaper", "import"}))
        GTEST_SKIP() << "Xvfb, xwallpaper or import is missing";
    XvfbServer x;
    ASSERT_FALSE(x.display().isEmpty());
    const QString xwallpaper = QStandardPaths::findExecutable("xwallpaper");
    FakeTools tools; // a PATH with xwallpaper only, no feh
    ASSERT_TRUE(QFile::link(xwallpaper, tools.dir() + "/xwallpaper"));
    EnvGuard env;
    env.set("DISPLAY", x.display().toUtf8());
    const QString dir = mctest::freshDir();
    const QString path = writePicture(dir, "muralcraftr.bmp");

    ASSERT_TRUE(X11Backend().install(path, "0", "2").ok);
    EXPECT_TRUE(QFile::exists(dir + "/muralcraftr.png"));
    const QImage root = x.rootWindow();
    ASSERT_FALSE(root.isNull());
    EXPECT_EQ(root.pixelColor(160, 120), QColor(Qt::red)); // stretched over the screen
    EXPECT_EQ(root.pixelColor(5, 5), QColor(Qt::blue));
    const DesktopSettings s = X11Backend().read();
    EXPECT_EQ(s.wallpaperPath, path);
    EXPECT_EQ(s.wallpaperStyle, "2");
    QFile::remove(keyFileBackendPath());
}

TEST(X11BackendTest, NoDisplayOrNoToolIsReported)
{
    EnvGuard env;
    env.unset("DISPLAY");
    EXPECT_FALSE(X11Backend().install("/w.bmp", "0", "0").ok);
    env.set("DISPLAY", ":12345");
    FakeTools none;
    const InstallResult r = X11Backend().install("/w.bmp", "0", "0");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("feh"));
}

TEST(X11BackendTest, FehBgScriptsAreParsed)
{
    const DesktopSettings s = X11Backend::parseFehBg(
        "#!/bin/sh\nfeh --no-fehbg --bg-center '/home/ann/it'\\''s here.png' \n");
    EXPECT_EQ(s.wallpaperPath, "/home/ann/it's here.png");
    EXPECT_EQ(s.tileWallpaper, "0");
    EXPECT_EQ(s.wallpaperStyle, "0");
    EXPECT_EQ(X11Backend::parseFehBg("feh --bg-fill '/a.png'\n").wallpaperStyle, "2");
    EXPECT_TRUE(X11Backend::parseFehBg("#!/bin/sh\n").wallpaperPath.isEmpty());
}
