#include "platform/DesktopBackend.h"

#include "platform/Process.h"

#include "EnvGuard.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(DesktopDetectTest, FamilyFromXdgCurrentDesktop)
{
    EXPECT_EQ(desktopFamilyFromXdg("GNOME"), QStringLiteral("gnome"));
    EXPECT_EQ(desktopFamilyFromXdg("ubuntu:GNOME"), QStringLiteral("gnome"));
    EXPECT_EQ(desktopFamilyFromXdg("Unity"), QStringLiteral("gnome"));
    EXPECT_EQ(desktopFamilyFromXdg("Budgie:GNOME"), QStringLiteral("gnome"));
    EXPECT_EQ(desktopFamilyFromXdg("X-Cinnamon"), QStringLiteral("cinnamon"));
    EXPECT_EQ(desktopFamilyFromXdg("cinnamon"), QStringLiteral("cinnamon"));
    EXPECT_EQ(desktopFamilyFromXdg("MATE"), QStringLiteral("mate"));
    EXPECT_EQ(desktopFamilyFromXdg("KDE"), QStringLiteral("kde"));
    EXPECT_EQ(desktopFamilyFromXdg("XFCE"), QStringLiteral("xfce"));
    EXPECT_EQ(desktopFamilyFromXdg("LXQt"), QStringLiteral("lxqt"));
    EXPECT_EQ(desktopFamilyFromXdg("sway"), QStringLiteral("sway"));
    EXPECT_EQ(desktopFamilyFromXdg("Hyprland:unknown:MATE"), QStringLiteral("mate")); // first recognised
    EXPECT_EQ(desktopFamilyFromXdg(""), QString());
    EXPECT_EQ(desktopFamilyFromXdg("Pantheon"), QString());
}

TEST(DesktopDetectTest, ForcedByName)
{
    EnvGuard env;
    env.set("XDG_CURRENT_DESKTOP", "GNOME");
    env.set("MURALCRAFTER_DESKTOP", "file");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("file"));
    env.set("MURALCRAFTER_DESKTOP", "MATE");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("mate"));
    env.set("MURALCRAFTER_DESKTOP", "cinnamon");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("cinnamon"));
    env.set("MURALCRAFTER_DESKTOP", "no-such-desktop");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("file"));

    EXPECT_EQ(createDesktopBackend("no-such-desktop"), nullptr);
    for (const char* known : {"gnome", "cinnamon", "mate", "kde", "xfce", "lxqt", "sway", "x11", "file"})
        EXPECT_NE(createDesktopBackend(QString::fromLatin1(known)), nullptr) << known;
}

TEST(DesktopDetectTest, FromXdgCurrentDesktop)
{
    EnvGuard env;
    env.unset("MURALCRAFTER_DESKTOP");
    env.unset("DISPLAY"); // a bare X11 or sway session is detected too
    env.unset("SWAYSOCK");
    const bool gsettings = haveProgram(QStringLiteral("gsettings"));
    env.set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    EXPECT_EQ(detectDesktopBackend()->name(), gsettings ? QStringLiteral("gnome") : QStringLiteral("file"));
    env.set("XDG_CURRENT_DESKTOP", "X-Cinnamon");
    EXPECT_EQ(detectDesktopBackend()->name(), gsettings ? QStringLiteral("cinnamon") : QStringLiteral("file"));
    env.set("XDG_CURRENT_DESKTOP", "Pantheon");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("file"));
    env.unset("XDG_CURRENT_DESKTOP");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("file"));
}

TEST(DesktopDetectTest, GnomeWithoutGsettingsFallsBackToTheKeyFile)
{
    EnvGuard env;
    env.unset("MURALCRAFTER_DESKTOP");
    env.set("XDG_CURRENT_DESKTOP", "GNOME");
    env.set("PATH", "/nonexistent-muralcrafter");
    EXPECT_EQ(detectDesktopBackend()->name(), QStringLiteral("file"));
}
