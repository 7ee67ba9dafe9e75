#include "platform/Screen.h"

#include "EnvGuard.h"

#include <gtest/gtest.h>

using mc::platform::parseSize;

TEST(ScreenTest, ParseSizeAcceptsWxH)
{
    EXPECT_EQ(parseSize("1024x768"), QSize(1024, 768));
    EXPECT_EQ(parseSize(" 1280 X 1024 "), QSize(1280, 1024));
    EXPECT_EQ(parseSize("1x1"), QSize(1, 1));
}

TEST(ScreenTest, ParseSizeRejectsEverythingElse)
{
    for (const char* bad : {"", "1024", "1024x", "x768", "0x768", "1024x0", "-5x10", "10x-5", "10x10x10",
                            "abcxdef", "1024*768", "9999999x10", "1.5x2"})
        EXPECT_FALSE(parseSize(QString::fromLatin1(bad)).isValid()) << bad;
}

TEST(ScreenTest, ReadOnceThenOverridden)
{
    // ctest starts every area with MURALCRAFTER_SCREEN=1024x768.
    const QSize env = parseSize(qEnvironmentVariable("MURALCRAFTER_SCREEN"));
    const QSize first = mc::platform::screenSize();
    if (env.isValid()) {
        EXPECT_EQ(first, env);
    }
    EXPECT_GT(first.width(), 0);
    EXPECT_GT(first.height(), 0);

    {
        // Read once: changing the variable later changes nothing.
        EnvGuard guard;
        guard.set("MURALCRAFTER_SCREEN", "640x480");
        EXPECT_EQ(mc::platform::screenSize(), first);
    }

    mc::platform::overrideScreenSize(QSize(1280, 1024));
    EXPECT_EQ(mc::platform::screenSize(), QSize(1280, 1024));
    mc::platform::overrideScreenSize(QSize(0, 10)); // ignored
    EXPECT_EQ(mc::platform::screenSize(), QSize(1280, 1024));
    mc::platform::overrideScreenSize(first);
    EXPECT_EQ(mc::platform::screenSize(), first);
}
