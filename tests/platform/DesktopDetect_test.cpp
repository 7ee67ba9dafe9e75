#include "platform/DesktopBackend.h"

#include "common/EnvGuard.h"
#include "FakeTools.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(DesktopDetectTest, FamilyFromXdgCurrentDesktop)
{
    const struct {
        const char* xdg;
        const char* family;
    } cases[] = {
        {"GNOME", "gnome"},    {"ubuntu:GNOME", "gnome"}, {"Unity", "gnome"},  {"Budgie:GNOME", "gnome"},
        {"X-Cinnamon", "cinnamon"}, {"cinnamon", "cinnamon"}, {"MATE", "mate"}, {"KDE", "kde"},
        {"XFCE", "xfce"},      {"LXQt", "lxqt"},         {"sway", "sway"},
        {"Hyprland:unknown:MATE", "mate"}, // the first recognised entry
        {"", ""},              {"Pantheon", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(desktopFamilyFromXdg(QString::fromLatin1(c.xdg)), QString::fromLatin1(c.family)) << c.xdg;
}

TEST(DesktopDetectTest, ForcedByNameWhateverTheDesktop)
{
    EnvGuard env;
    env.set("XDG_CURRENT_DESKTOP", "GNOME");
    for (const char* name : {"gnome", "cinnamon", "mate", "kde", "xfce", "lxqt", "sway", "x11", "file"}) {
        const QString lower = QString::fromLatin1(name);
        ASSERT_NE(createDesktopBackend(lower.toUpper()), nullptr) << name;
        EXPECT_EQ(createDesktopBackend(lower.toUpper())->name(), lower);
        env.set("MURALCRAFTER_DESKTOP", lower.toUpper().toUtf8());
        EXPECT_EQ(detectDesktopBackend()->name(), lower);
    }
    EXPECT_EQ(createDesktopBackend("no-such-desktop"), nullptr);
    env.set("MURALCRAFTER_DESKTOP", "no-such-desktop");
    EXPECT_EQ(detectDesktopBackend()->name(), "file");
}

// A desktop counts only with its tools; a bare sway or X11 session is found
// by its socket or display.
TEST(DesktopDetectTest, FromTheSessionAndItsTools)
{
    const struct {
        const char* xdg; // unset when null
        const char* display;
        const char* swaysock;
        QStringList tools;
        const char* backend;
    } cases[] = {
        {"ubuntu:GNOME", nullptr, nullptr, {"gsettings"}, "gnome"},
        {"GNOME", nullptr, nullptr, {}, "file"},
        {"X-Cinnamon", nullptr, nullptr, {"gsettings"}, "cinnamon"},
        {"MATE", nullptr, nullptr, {"gsettings"}, "mate"},
        {"XFCE", nullptr, nullptr, {}, "file"},
        {"XFCE", nullptr, nullptr, {"xfconf-query"}, "xfce"},
        {"KDE", nullptr, nullptr, {"dbus-send"}, "kde"},
        {"KDE", nullptr, nullptr, {"plasma-apply-wallpaperimage"}, "kde"},
        {"LXQt", nullptr, nullptr, {"pcmanfm-qt"}, "lxqt"},
        {"Pantheon", nullptr, nullptr, {"gsettings"}, "file"},
        {nullptr, nullptr, nullptr, {"gsettings"}, "file"},
        {"i3", ":0", nullptr, {}, "file"},
        {"i3", ":0", nullptr, {"feh"}, "x11"},
        {"i3", ":0", nullptr, {"xwallpaper"}, "x11"},
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
        env.unset("MURALCRAFTER_DESKTOP");
        env.unset("WAYLAND_DISPLAY");
        c.xdg ? env.set("XDG_CURRENT_DESKTOP", c.xdg) : env.unset("XDG_CURRENT_DESKTOP");
        c.display ? env.set("DISPLAY", c.display) : env.unset("DISPLAY");
        c.swaysock ? env.set("SWAYSOCK", c.swaysock) : env.unset("SWAYSOCK");
        const auto backend = detectDesktopBackend();
        EXPECT_EQ(backend->name(), QString::fromLatin1(c.backend));
        // Standing in for an unrecognised desktop, the key file never claims
        // that the desktop shows the picture.
        if (backend->name() == u"file") {
            EXPECT_FALSE(backend->install(QStringLiteral("/tmp/wall.bmp"), QStringLiteral("0"), QStringLiteral("2")).ok);
        }
    }
}
