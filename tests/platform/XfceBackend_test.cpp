#include "platform/XfceBackend.h"

#include "FakeTools.h"

#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

// xfconf-query that lists two monitors; only the first has a picture yet.
const char* kListing = R"(case "$*" in
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

} // namespace

TEST(XfceBackendTest, SetsStyleThenPictureOnEveryMonitorCreatingWhatIsMissing)
{
    FakeTools tools;
    tools.add("xfconf-query", kListing);
    XfceBackend xfce;
    const QString path = awkwardPath();
    ASSERT_TRUE(xfce.install(path, "0", "0").ok);

    const QString hdmi = "/backdrop/screen0/monitorHDMI-1/workspace0/";
    const QString edp = "/backdrop/screen0/monitoreDP-1/workspace1/";
    const QStringList base{"xfconf-query", "-c", "xfce4-desktop"};
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 5);
    EXPECT_EQ(calls[0], (base + QStringList{"-l"}));
    EXPECT_EQ(calls[1], (base + QStringList{"-p", hdmi + "image-style", "-s", "1"}));
    EXPECT_EQ(calls[2], (base + QStringList{"-p", hdmi + "last-image", "-s", path}));
    EXPECT_EQ(calls[3], (base + QStringList{"-p", edp + "image-style", "-n", "-t", "int", "-s", "1"}));
    EXPECT_EQ(calls[4], (base + QStringList{"-p", edp + "last-image", "-n", "-t", "string", "-s", path}));
}

TEST(XfceBackendTest, StylesForTheThreeModes)
{
    EXPECT_EQ(XfceBackend::imageStyle(modeFromPlacementValues("0", "0")), 1);
    EXPECT_EQ(XfceBackend::imageStyle(modeFromPlacementValues("1", "1")), 2);
    EXPECT_EQ(XfceBackend::imageStyle(modeFromPlacementValues("0", "2")), 3);
}

TEST(XfceBackendTest, EmptyChannelGetsTheFirstMonitorCreated)
{
    FakeTools tools;
    tools.add("xfconf-query");
    ASSERT_TRUE(XfceBackend().install("/w.bmp", "1", "1").ok);
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_TRUE(calls[1].contains("/backdrop/screen0/monitor0/workspace0/image-style"));
    EXPECT_TRUE(calls[1].contains("-n"));
    EXPECT_EQ(calls[1].last(), "2");
}

TEST(XfceBackendTest, FailureIsReported)
{
    FakeTools tools;
    EXPECT_FALSE(XfceBackend().install("/w.bmp", "0", "0").ok); // no tool at all
    tools.add("xfconf-query", R"(case "$*" in *" -l") ;; *) echo 'Property cannot be created' >&2; exit 1 ;; esac)");
    const InstallResult r = XfceBackend().install("/w.bmp", "0", "0");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("Property cannot be created"));
}

TEST(XfceBackendTest, ReadsPictureStyleAndColourOfTheFirstMonitor)
{
    FakeTools tools;
    tools.add("xfconf-query", kListing);
    const DesktopSettings s = XfceBackend().read();
    EXPECT_EQ(s.wallpaperPath, "/usr/share/backgrounds/xfce/blue.png");
    EXPECT_EQ(s.tileWallpaper, "1");
    EXPECT_EQ(s.desktopColor, 0x00FF8040u);
}

TEST(XfceBackendTest, ColourArrays)
{
    EXPECT_EQ(XfceBackend::parseColorArray("Value is an array with 4 items:\n\n65535\n0\n32896\n65535\n"),
              std::optional<mc::COLORREF>(0x008000FFu));
    EXPECT_EQ(XfceBackend::parseColorArray("0.0\n"), std::nullopt);
}
