#include "platform/DesktopBackend.h"

#include "EnvGuard.h"
#include "FakeTools.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(DesktopBackendChoiceTest, EveryNameGetsItsOwnBackend)
{
    for (const char* name : {"gnome", "cinnamon", "mate", "kde", "xfce", "lxqt", "sway", "x11", "file"}) {
        const auto backend = createDesktopBackend(QString::fromLatin1(name).toUpper());
        ASSERT_NE(backend, nullptr) << name;
        EXPECT_EQ(backend->name(), QString::fromLatin1(name));
    }
}

TEST(DesktopBackendChoiceTest, DesktopsNeedTheirTools)
{
    FakeTools tools;
    EnvGuard env;
    env.unset("MURALCRAFTER_DESKTOP");
    env.unset("DISPLAY");
    env.unset("SWAYSOCK");
    env.set("XDG_CURRENT_DESKTOP", "XFCE");
    EXPECT_EQ(detectDesktopBackend()->name(), "file");
    tools.add("xfconf-query");
    EXPECT_EQ(detectDesktopBackend()->name(), "xfce");
    env.set("XDG_CURRENT_DESKTOP", "KDE");
    tools.add("dbus-send");
    EXPECT_EQ(detectDesktopBackend()->name(), "kde");
    env.set("XDG_CURRENT_DESKTOP", "LXQt");
    tools.add("pcmanfm-qt");
    EXPECT_EQ(detectDesktopBackend()->name(), "lxqt");
}

TEST(DesktopBackendChoiceTest, BareSessionsOfSwayAndX11)
{
    FakeTools tools;
    EnvGuard env;
    env.unset("MURALCRAFTER_DESKTOP");
    env.unset("WAYLAND_DISPLAY");
    env.set("XDG_CURRENT_DESKTOP", "i3");
    env.set("DISPLAY", ":0");
    env.unset("SWAYSOCK");
    EXPECT_EQ(detectDesktopBackend()->name(), "file"); // no feh, no xwallpaper
    tools.add("feh");
    EXPECT_EQ(detectDesktopBackend()->name(), "x11");
    env.set("SWAYSOCK", "/run/user/1000/sway-ipc.sock");
    tools.add("swaymsg");
    EXPECT_EQ(detectDesktopBackend()->name(), "sway");
}
