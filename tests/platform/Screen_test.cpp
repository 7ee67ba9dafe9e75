#include "platform/Screen.h"

#include "common/EnvGuard.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(ScreenTest, ParseSizeAcceptsWxHOnly)
{
    EXPECT_EQ(parseSize("1024x768"), QSize(1024, 768));
    EXPECT_EQ(parseSize(" 1280 X 1024 "), QSize(1280, 1024));
    EXPECT_EQ(parseSize("1x1"), QSize(1, 1));
    EXPECT_EQ(parseSize("32768x32768"), QSize(32768, 32768));
    for (const char* bad : {"", "1024", "1024x", "x768", "0x768", "1024x0", "-5x10", "10x-5", "10x10x10",
                            "abcxdef", "1024*768", "9999999x10", "1.5x2", "32769x10", "10x100000"})
        EXPECT_FALSE(parseSize(QString::fromLatin1(bad)).isValid()) << bad;
}

TEST(ScreenTest, ReadOnceThenOverridden)
{
    // ctest starts every area with MURALCRAFTER_SCREEN=1024x768.
    const QSize first = screenSize();
    if (qEnvironmentVariableIsSet("MURALCRAFTER_SCREEN")) {
        EXPECT_EQ(first, parseSize(qEnvironmentVariable("MURALCRAFTER_SCREEN")));
    }
    EXPECT_FALSE(first.isEmpty());
    {
        // Read once: changing the variable later changes nothing.
        EnvGuard guard;
        guard.set("MURALCRAFTER_SCREEN", "640x480");
        EXPECT_EQ(screenSize(), first);
    }
    overrideScreenSize(QSize(1280, 1024));
    EXPECT_EQ(screenSize(), QSize(1280, 1024));
    overrideScreenSize(QSize(0, 10)); // ignored
    EXPECT_EQ(screenSize(), QSize(1280, 1024));
    overrideScreenSize(first);
    EXPECT_EQ(screenSize(), first);
}
