// The bare X11 backend painting a real X server's root window.
#include "platform/Process.h"
#include "platform/X11Backend.h"

#include "FakeTools.h"
#include "XvfbServer.h"

#include <QDir>
#include <QPainter>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace mc::platform;

// A 320 x 240 server and a 64 x 48 red picture with a blue band at its
// left, so that centring and tiling are told apart.
TEST(X11BackendTest, FehPaintsTheRootWindowCentredAndTiled)
{
    for (const char* t : {"Xvfb", "xprop", "import", "feh"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(t)).isEmpty())
            GTEST_SKIP() << t << " is not installed";
    const XvfbServer x;
    ASSERT_FALSE(x.display().isEmpty());
    EnvGuard env;
    env.set("DISPLAY", x.display().toUtf8());
    const QString dir = mctest::freshDir() + QString::fromUtf8("/Ann's \"walls\" \xc3\xa9t\xc3\xa9");
    ASSERT_TRUE(QDir().mkpath(dir));
    QImage image = mctest::solidImage(64, 48, Qt::red).convertToFormat(QImage::Format_RGB32);
    QPainter(&image).fillRect(0, 0, 8, 48, Qt::blue);
    const QString path = mctest::writeImage(dir, "muralcrafter.bmp", image);
    X11Backend x11;
    ASSERT_TRUE(x11.install(path, "0", "0").ok);
    // A root picture is published (_XROOTPMAP_ID) for programs that draw on it.
    EXPECT_TRUE(runProcess("xprop", {"-display", x.display(), "-root", "_XROOTPMAP_ID"}).out.contains("pixmap id"));
    // Centred in 320 x 240: the picture spans x 128..191, y 96..143.
    QImage root = x.rootWindow();
    EXPECT_EQ((QList<QColor>{root.pixelColor(160, 120), root.pixelColor(130, 120), root.pixelColor(10, 10)}),
              (QList<QColor>{Qt::red, Qt::blue, Qt::black}));
    ASSERT_TRUE(x11.install(path, "1", "1").ok);
    root = x.rootWindow();
    EXPECT_EQ((QList<QColor>{root.pixelColor(10, 10), root.pixelColor(66, 10)}), (QList<QColor>{Qt::red, Qt::blue}));

    // feh's own record reads back as the wallpaper and its placement.
    EXPECT_EQ(settingsText(x11.read()), settingsText({path, "1", "1", kFallbackDesktopColor}));
    QFile::remove(QDir::homePath() + "/.fehbg");
    EXPECT_EQ(X11Backend::parseFehBg("feh --bg-fill '/a.png'\n").wallpaperStyle, "2");
    env.unset("DISPLAY");
    EXPECT_FALSE(x11.install(path, "0", "0").ok);
}
