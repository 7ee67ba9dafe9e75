// Which desktop the program finds, and the desktops driven by command-line
// tools (KDE Plasma, Xfce, LXQt, sway) where no real desktop can show it
// (tests/desktops runs the real ones): stand-ins for a tool that is missing
// or fails, for a second monitor, and the records each desktop keeps, read
// back.
#include "platform/KdeBackend.h"
#include "platform/XfceBackend.h"

#include "FakeTools.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace mc::platform;

TEST(DesktopDetectTest, ForcedByNameWhateverTheDesktop)
{
    EnvGuard env;
    env.set("XDG_CURRENT_DESKTOP", "GNOME");
    QStringList found;
    for (const char* name : {"GNOME", "CINNAMON", "MATE", "KDE", "XFCE", "LXQT", "SWAY", "X11", "FILE", "no-such-desktop"})
        env.set("MURALCRAFTER_DESKTOP", name), found << detectDesktopBackend()->name();
    EXPECT_EQ(found.join(u' '), "gnome cinnamon mate kde xfce lxqt sway x11 file file");
    EXPECT_EQ(createDesktopBackend("no-such-desktop"), nullptr);
}

// A desktop counts only with its tools (the first recognised entry of
// XDG_CURRENT_DESKTOP); a bare sway or X11 session is found by its socket or
// display.
TEST(DesktopDetectTest, FromTheSessionAndItsTools)
{
    const struct {
        const char *xdg, *display, *swaysock; // unset when null
        QStringList tools;
        const char* backend;
    } cases[] = {
        {"ubuntu:GNOME", nullptr, nullptr, {"gsettings"}, "gnome"},
        {"GNOME", nullptr, nullptr, {}, "file"},
        {"X-Cinnamon", nullptr, nullptr, {"gsettings"}, "cinnamon"},
        {"Hyprland:unknown:MATE", nullptr, nullptr, {"gsettings"}, "mate"},
        {"XFCE", nullptr, nullptr, {"xfconf-query"}, "xfce"},
        {"KDE", nullptr, nullptr, {"dbus-send"}, "kde"},
        {"LXQt", nullptr, nullptr, {"pcmanfm-qt"}, "lxqt"},
        {nullptr, nullptr, nullptr, {"gsettings"}, "file"},
        {"i3", ":0", nullptr, {}, "file"},
        {"i3", ":0", nullptr, {"feh"}, "x11"},
        {"XFCE", ":0", nullptr, {"feh"}, "x11"},
        {"i3", ":0", "/run/user/1000/sway-ipc.sock", {"feh", "swaymsg"}, "sway"},
        {"sway", nullptr, nullptr, {"swaymsg"}, "sway"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + " " + c.tools.join(u' ').toStdString());
        EnvGuard env;
        FakeTools tools;
        for (const QString& tool : c.tools)
            tools.add(tool);
        for (const auto& [name, value] : {std::pair{"XDG_CURRENT_DESKTOP", c.xdg}, {"DISPLAY", c.display},
                                          {"SWAYSOCK", c.swaysock}, {"MURALCRAFTER_DESKTOP", nullptr}, {"WAYLAND_DISPLAY", nullptr}})
            value ? env.set(name, value) : env.unset(name);
        const auto backend = detectDesktopBackend();
        EXPECT_EQ(backend->name(), QString::fromLatin1(c.backend));
        // Standing in for an unrecognised desktop, the key file never claims
        // that the desktop shows the picture.
        EXPECT_FALSE(backend->name() == u"file" && backend->install("/tmp/wall.bmp", "0", "2").ok);
    }
}

TEST(ToolBackendsTest, XfceSetsEveryMonitorCreatingWhatIsMissing)
{
    // xfconf-query that lists two monitors; only the first has a picture yet.
    FakeTools tools;
    tools.add("xfconf-query", R"(case "$*" in
*" -l") printf '%s\n' /backdrop/screen0/monitorHDMI-1/workspace0/color-style \
  /backdrop/screen0/monitorHDMI-1/workspace0/image-style \
  /backdrop/screen0/monitorHDMI-1/workspace0/last-image \
  /backdrop/screen0/monitoreDP-1/workspace1/color-style \
  /backdrop/single-workspace-mode ;;
esac)");
    ASSERT_TRUE(createDesktopBackend("xfce")->install("/w.bmp", "0", "0").ok);
    QStringList calls;
    for (const QStringList& call : tools.calls())
        calls << call.join(u' ').remove("xfconf-query -c xfce4-desktop ").remove("/backdrop/screen0/monitor");
    EXPECT_EQ(calls, (QStringList{"-l", "-p HDMI-1/workspace0/image-style -s 1", "-p HDMI-1/workspace0/last-image -s /w.bmp",
                                  "-p eDP-1/workspace1/image-style -n -t int -s 1",
                                  "-p eDP-1/workspace1/last-image -n -t string -s /w.bmp"}));
}

// The tool's own words reach the user.
TEST(ToolBackendsTest, FailuresAreReportedWithTheToolsMessage)
{
    const struct {
        const char *backend, *tool, *body, *message; // tool: none at all when null
    } cases[] = {
        {"kde", nullptr, "", ""},
        {"gnome", nullptr, "", "gsettings"},
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
        EXPECT_TRUE(!r.ok && !r.error.isEmpty() && r.error.contains(QString::fromUtf8(c.message))) << r.error.toStdString();
    }
}

// Without plasma-apply-wallpaperimage or qdbus, the script goes through
// dbus-send as one argument.
TEST(ToolBackendsTest, PlasmaWithDbusSendOnly)
{
    FakeTools tools;
    tools.add("dbus-send");
    ASSERT_TRUE(KdeBackend().install("/data/w.bmp", "0", "0").ok);
    const QStringList call = tools.calls().value(0);
    EXPECT_TRUE(tools.calls().size() == 1 && call.contains("--dest=org.kde.plasmashell") && call.last().startsWith("string:var ")
                && call.last().contains("writeConfig(\"FillMode\", 6)")) << call.join(u' ').toStdString();
    EXPECT_EQ(KdeBackend::javaScriptString(QString::fromUtf8("a\"b\\c \xc3\xa9\n")), "\"a\\\"b\\\\c \\u00e9\\u000a\"");
}

TEST(ToolBackendsTest, ReadsEachDesktopsOwnRecord)
{
    const QString lxqt = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/pcmanfm-qt/lxqt/settings.conf";
    const struct {
        const char* backend;
        QString file;
        const char *text, *shown;
    } rows[] = {
        // Plasma: the first image wallpaper, its URL decoded, fill mode and colour.
        {"kde", KdeBackend::appletsConfigPath(),
         "[Containments][1]\nplugin=org.kde.panel\n\n[Containments][2][Wallpaper][org.kde.color][General]\nColor=1,2,3\n\n"
         "[Containments][7][Wallpaper][org.kde.image][General]\n"
         "Color=16,32,48\nFillMode=3\nImage=file:///home/ann/My%20Pictures/sea.jpg\n\n"
         "[Containments][8][Wallpaper][org.kde.image][General]\nImage=file:///other.png\n",
         "/home/ann/My Pictures/sea.jpg | 1 1 | #102030"},
        // Plasma's default fill mode crops and scales: a stretch here.
        {"kde", KdeBackend::appletsConfigPath(), "[Containments][3][Wallpaper][org.kde.image][General]\nImage=/p.png\n",
         "/p.png | 0 2 | #204080"},
        // LXQt: pcmanfm-qt's profile; the colour-only mode has no picture.
        {"lxqt", lxqt, "[Desktop]\nBgColor=#102030\nWallpaper=/usr/share/lxqt/w.png\nWallpaperMode=center\n",
         "/usr/share/lxqt/w.png | 0 0 | #102030"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        mctest::writeFile(row.file, row.text);
        EXPECT_EQ(settingsText(createDesktopBackend(row.backend)->read()), row.shown);
        QFile::remove(row.file);
    }
    // Xfce: the colour as floats or as 16-bit values.
    const QString array = "Value is an array with 4 items:\n\n";
    EXPECT_EQ((QList<std::optional<mc::COLORREF>>{XfceBackend::parseColorArray(array + "0.250000\n0.500000\n1.000000\n1.000000\n"),
                                                 XfceBackend::parseColorArray(array + "65535\n0\n32896\n65535\n"),
                                                 XfceBackend::parseColorArray("0.0\n")}),
              (QList<std::optional<mc::COLORREF>>{0x00FF8040u, 0x008000FFu, std::nullopt}));
}
