// The desktops driven by command-line tools (KDE Plasma, Xfce, LXQt, sway)
// against stand-ins that record their arguments.
#include "platform/DesktopBackend.h"
#include "platform/KdeBackend.h"
#include "platform/KeyFileBackend.h"
#include "platform/XfceBackend.h"

#include "FakeTools.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

// xfconf-query that lists two monitors; only the first has a picture yet.
const char* kXfceListing = R"(case "$*" in
*" -l") printf '%s\n' /backdrop/screen0/monitorHDMI-1/workspace0/color-style \
  /backdrop/screen0/monitorHDMI-1/workspace0/image-style \
  /backdrop/screen0/monitorHDMI-1/workspace0/last-image \
  /backdrop/screen0/monitorHDMI-1/workspace0/rgba1 \
  /backdrop/screen0/monitoreDP-1/workspace1/color-style \
  /backdrop/single-workspace-mode ;;
*workspace0/last-image) printf '%s\n' '/usr/share/backgrounds/xfce/blue.png' ;;
*workspace0/image-style) printf '2\n' ;;
*workspace0/rgba1) printf 'Value is an array with 4 items:\n\n0.250000\n0.500000\n1.000000\n1.000000\n' ;;
esac)";

void writeFile(const QString& path, const QByteArray& text)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

// Each row: the tool's arguments, with "<path>" and "<mode>" filled in for
// tiled, centred and stretched (TileWallpaper/WallpaperStyle 1/1, 0/0, 0/2).
TEST(ToolBackendsTest, EachPlacementBecomesTheToolsArguments)
{
    const QString mon0 = "/backdrop/screen0/monitor0/workspace0/";
    const struct {
        const char* backend;
        QString path;
        QList<QStringList> calls;
        QStringList modes;
    } cases[] = {
        {"kde", awkwardPath(), {{"plasma-apply-wallpaperimage", "--fill-mode", "<mode>", "<path>"}}, {"tile", "pad", "stretch"}},
        {"lxqt", awkwardPath(), {{"pcmanfm-qt", "--set-wallpaper", "<path>", "--wallpaper-mode", "<mode>"}},
         {"tile", "center", "stretch"}},
        // One command for all outputs; sway reads the quoted word itself.
        {"sway", "/data/w.bmp", {{"swaymsg", "output", "*", "bg", "\"'<path>'\"", "<mode>"}}, {"tile", "center", "stretch"}},
        // An empty channel gets the first monitor created, style before picture.
        {"xfce", awkwardPath(),
         {{"xfconf-query", "-c", "xfce4-desktop", "-l"},
          {"xfconf-query", "-c", "xfce4-desktop", "-p", mon0 + "image-style", "-n", "-t", "int", "-s", "<mode>"},
          {"xfconf-query", "-c", "xfce4-desktop", "-p", mon0 + "last-image", "-n", "-t", "string", "-s", "<path>"}},
         {"2", "1", "3"}},
    };
    const char* placements[][2] = {{"1", "1"}, {"0", "0"}, {"0", "2"}};
    for (const auto& c : cases) {
        for (int m = 0; m < 3; ++m) {
            SCOPED_TRACE(std::string(c.backend) + " " + c.modes[m].toStdString());
            FakeTools tools;
            tools.add(c.calls[0][0]);
            const auto result = createDesktopBackend(c.backend)->install(c.path, placements[m][0], placements[m][1]);
            ASSERT_TRUE(result.ok) << result.error.toStdString();
            const auto calls = tools.calls();
            ASSERT_EQ(calls.size(), c.calls.size());
            for (qsizetype i = 0; i < calls.size(); ++i)
                EXPECT_EQ(calls[i], QStringList(c.calls[i]).replaceInStrings("<path>", c.path).replaceInStrings("<mode>", c.modes[m]));
        }
    }
    QFile::remove(keyFileBackendPath()); // sway's record of the picture
}

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

TEST(ToolBackendsTest, OlderPlasmaGetsAScriptThroughQdbusOrDbusSend)
{
    const QString path = awkwardPath();
    {
        FakeTools tools;
        tools.add("plasma-apply-wallpaperimage", "echo 'Unknown option fill-mode' >&2; exit 1");
        tools.add("qdbus");
        ASSERT_TRUE(KdeBackend().install(path, "1", "1").ok);
        const auto calls = tools.calls();
        ASSERT_EQ(calls.size(), 2);
        EXPECT_EQ(calls[1].mid(0, 4),
                  (QStringList{"qdbus", "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript"}));
        const QString script = calls[1].last();
        // The picture goes as a file URL inside a plain-ASCII string literal,
        // after the fill mode: the desktop lays the new picture out by it.
        const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        EXPECT_EQ(QUrl(url).toLocalFile(), path);
        const qsizetype fill = script.indexOf("writeConfig(\"FillMode\", 3)");
        const qsizetype image = script.indexOf("writeConfig(\"Image\", " + KdeBackend::javaScriptString(url) + ")");
        EXPECT_GE(fill, 0);
        EXPECT_GT(image, fill);
    }
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

TEST(ToolBackendsTest, SwayPathSurvivesItsQuotingAndExpansion)
{
    // sway drops the outer double quotes, then expands the rest like a
    // shell word; the fake does the same and records what it got.
    FakeTools tools;
    tools.add("swaymsg", R"(w="$4"; w="${w#\"}"; w="${w%\"}"; eval "set -- $w"; printf '%s' "$1" > ")" + tools.dir()
                             + R"(/expanded")");
    const QString path = awkwardPath() + " $HOME `id` \\x";
    ASSERT_TRUE(createDesktopBackend("sway")->install(path, "1", "1").ok);
    QFile expanded(tools.dir() + "/expanded");
    ASSERT_TRUE(expanded.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(expanded.readAll()), path);
    // sway cannot be asked; the program's own record answers.
    const DesktopSettings s = createDesktopBackend("sway")->read();
    EXPECT_EQ(s.wallpaperPath, path);
    EXPECT_EQ(s.tileWallpaper, "1");
    EXPECT_EQ(s.wallpaperStyle, "1");
    QFile::remove(keyFileBackendPath());
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

    // Xfce: the first monitor, its colour as floats or as 16-bit values.
    FakeTools tools;
    tools.add("xfconf-query", kXfceListing);
    s = createDesktopBackend("xfce")->read();
    EXPECT_EQ(s.wallpaperPath, "/usr/share/backgrounds/xfce/blue.png");
    EXPECT_EQ(s.tileWallpaper, "1");
    EXPECT_EQ(s.desktopColor, 0x00FF8040u);
    EXPECT_EQ(XfceBackend::parseColorArray("Value is an array with 4 items:\n\n65535\n0\n32896\n65535\n"),
              std::optional<mc::COLORREF>(0x008000FFu));
    EXPECT_EQ(XfceBackend::parseColorArray("0.0\n"), std::nullopt);
}
