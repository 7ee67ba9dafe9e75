// The desktops driven by command-line tools (KDE Plasma, Xfce, LXQt, sway)
// where no real desktop can show it (tests/desktops runs the real ones):
// stand-ins for a tool that is missing or fails, for a second monitor, and
// the records each desktop keeps, read back.
#include "platform/DesktopBackend.h"
#include "platform/KdeBackend.h"
#include "platform/XfceBackend.h"

#include "FakeTools.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

// xfconf-query that lists two monitors; only the first has a picture yet.
const char* kXfceListing = R"(case "$*" in
*" -l") printf '%s\n' /backdrop/screen0/monitorHDMI-1/workspace0/color-style \
  /backdrop/screen0/monitorHDMI-1/workspace0/image-style \
  /backdrop/screen0/monitorHDMI-1/workspace0/last-image \
  /backdrop/screen0/monitoreDP-1/workspace1/color-style \
  /backdrop/single-workspace-mode ;;
esac)";

void writeFile(const QString& path, const QByteArray& text)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

TEST(ToolBackendsTest, XfceSetsEveryMonitorCreatingWhatIsMissing)
{
    FakeTools tools;
    tools.add("xfconf-query", kXfceListing);
    ASSERT_TRUE(createDesktopBackend("xfce")->install("/w.bmp", "0", "0").ok);
    const QString hdmi = "/backdrop/screen0/monitorHDMI-1/workspace0/";
    const QString edp = "/backdrop/screen0/monitoreDP-1/workspace1/";
    const QStringList xq{"xfconf-query", "-c", "xfce4-desktop"};
    EXPECT_EQ(tools.calls(), (QList<QStringList>{xq + QStringList{"-l"}, xq + QStringList{"-p", hdmi + "image-style", "-s", "1"},
                                                 xq + QStringList{"-p", hdmi + "last-image", "-s", "/w.bmp"},
                                                 xq + QStringList{"-p", edp + "image-style", "-n", "-t", "int", "-s", "1"},
                                                 xq + QStringList{"-p", edp + "last-image", "-n", "-t", "string", "-s", "/w.bmp"}}));
}

TEST(ToolBackendsTest, FailuresAreReportedWithTheToolsMessage)
{
    const struct {
        const char* backend;
        const char* tool; // none at all when null
        const char* body;
        const char* message;
    } cases[] = {
        {"kde", nullptr, "", ""},
        {"kde", "dbus-send", "echo 'The name org.kde.plasmashell was not provided' >&2; exit 1",
         "org.kde.plasmashell was not provided"},
        {"xfce", nullptr, "", ""},
        {"xfce", "xfconf-query", R"(case "$*" in *" -l") ;; *) echo 'Property cannot be created' >&2; exit 1 ;; esac)",
         "Property cannot be created"},
        {"lxqt", nullptr, "", "pcmanfm-qt"},
        {"sway", "swaymsg", "echo 'Error: Unable to connect' >&2; exit 2", "Unable to connect"},
        {"x11", nullptr, "", "feh"},
    };
    EnvGuard env;
    env.set("DISPLAY", ":12345");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backend);
        FakeTools tools;
        if (c.tool)
            tools.add(c.tool, c.body);
        const InstallResult r = createDesktopBackend(c.backend)->install("/data/w.bmp", "0", "0");
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message))) << r.error.toStdString();
    }
}

// Without plasma-apply-wallpaperimage or qdbus, the script goes through
// dbus-send as one argument.
TEST(ToolBackendsTest, PlasmaWithDbusSendOnly)
{
    FakeTools tools;
    tools.add("dbus-send");
    ASSERT_TRUE(KdeBackend().install("/data/w.bmp", "0", "0").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].contains("--dest=org.kde.plasmashell"));
    EXPECT_TRUE(calls[0].last().startsWith("string:var ")); // the script as one argument
    EXPECT_TRUE(calls[0].last().contains("writeConfig(\"FillMode\", 6)"));
    EXPECT_EQ(KdeBackend::javaScriptString(QString::fromUtf8("a\"b\\c \xc3\xa9\n")), "\"a\\\"b\\\\c \\u00e9\\u000a\"");
}

TEST(ToolBackendsTest, ReadsEachDesktopsOwnRecord)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // Plasma: the first image wallpaper, its URL decoded, fill mode and colour.
    writeFile(KdeBackend::appletsConfigPath(),
              "[Containments][1]\nplugin=org.kde.panel\n\n"
              "[Containments][2][Wallpaper][org.kde.color][General]\nColor=1,2,3\n\n"
              "[Containments][7][Wallpaper][org.kde.image][General]\n"
              "Color=16,32,48\nFillMode=3\nImage=file:///home/ann/My%20Pictures/sea.jpg\n\n"
              "[Containments][8][Wallpaper][org.kde.image][General]\nImage=file:///other.png\n");
    DesktopSettings s = createDesktopBackend("kde")->read();
    QFile::remove(KdeBackend::appletsConfigPath());
    EXPECT_EQ(s.wallpaperPath, "/home/ann/My Pictures/sea.jpg");
    EXPECT_EQ(s.tileWallpaper, "1");
    EXPECT_EQ(s.desktopColor, 0x00302010u);
    s = KdeBackend::parseAppletsConfig("[Containments][3][Wallpaper][org.kde.image][General]\nFillMode=6\nImage=/p.png\n");
    EXPECT_EQ(s.wallpaperPath, "/p.png");
    EXPECT_EQ((QStringList{s.tileWallpaper, s.wallpaperStyle}), (QStringList{"0", "0"}));
    EXPECT_EQ(s.desktopColor, kFallbackDesktopColor);
    // Plasma's default fill mode crops and scales: a stretch here.
    EXPECT_EQ(KdeBackend::parseAppletsConfig("[Containments][3][Wallpaper][org.kde.image][General]\nImage=/p.png\n")
                  .wallpaperStyle,
              "2");

    // LXQt: pcmanfm-qt's profile; the colour-only mode has no picture.
    const QString lxqt = config + "/pcmanfm-qt/lxqt/settings.conf";
    writeFile(lxqt, "[Desktop]\nBgColor=#102030\nWallpaper=/usr/share/lxqt/w.png\nWallpaperMode=center\n");
    s = createDesktopBackend("lxqt")->read();
    EXPECT_EQ(s.wallpaperPath, "/usr/share/lxqt/w.png");
    EXPECT_EQ((QStringList{s.tileWallpaper, s.wallpaperStyle}), (QStringList{"0", "0"}));
    EXPECT_EQ(s.desktopColor, 0x00302010u);
    writeFile(lxqt, "[Desktop]\nWallpaper=/w.png\nWallpaperMode=none\n");
    EXPECT_TRUE(createDesktopBackend("lxqt")->read().wallpaperPath.isEmpty());
    QFile::remove(lxqt);

    // Xfce: the colour as floats or as 16-bit values.
    EXPECT_EQ(XfceBackend::parseColorArray("Value is an array with 4 items:\n\n0.250000\n0.500000\n1.000000\n1.000000\n"),
              std::optional<mc::COLORREF>(0x00FF8040u));
    EXPECT_EQ(XfceBackend::parseColorArray("Value is an array with 4 items:\n\n65535\n0\n32896\n65535\n"),
              std::optional<mc::COLORREF>(0x008000FFu));
    EXPECT_EQ(XfceBackend::parseColorArray("0.0\n"), std::nullopt);
}
