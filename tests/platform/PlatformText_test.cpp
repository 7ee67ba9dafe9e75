// Small text formats and services the desktop backends build on: GVariant
// string literals, colour texts, process environments, the settings file
// and the screen size.
#include "common/EnvGuard.h"
#include "platform/DesktopColor.h"
#include "platform/GVariantText.h"
#include "platform/Process.h"
#include "platform/Screen.h"
#include "platform/Settings.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(GVariantTextTest, ParsesOneStringAndQuotesBack)
{
    for (const auto& [text, value] : {std::pair{u"'file:///a/b.png'", u"file:///a/b.png"}, {u"\"it's\"", u"it's"},
                                      {u"'it\\'s \\\"x\\\" a\\\\b'", u"it's \"x\" a\\b"},
                                      {u"'line\\nnext\\ttab'", u"line\nnext\ttab"}, {u"'\\u00e9\\U0001F600'", u"é😀"},
                                      {u"@s 'typed'", u"typed"}, {u"''", u""}})
        EXPECT_EQ(parseGVariantString(QStringView(text)), QString::fromUtf16(value)) << QString::fromUtf16(text).toStdString();
    for (const char16_t* bad : {u"", u"'", u"'open", u"plain", u"100", u"'a' 'b'", u"'a'b'", u"'bad\\u12'",
                                u"'\\ud800'", u"'trailing\\'"})
        EXPECT_FALSE(parseGVariantString(QStringView(bad)).has_value()) << QString::fromUtf16(bad).toStdString();

    for (const char16_t* text : {u"it's a \"test\"", u"back\\slash", u"new\nline\tand\x01", u"é€😀", u""}) {
        const QString v = QString::fromUtf16(text), quoted = quoteGVariantString(v);
        EXPECT_TRUE(quoted.startsWith(u'\'') && !quoted.contains(u'\n') && parseGVariantString(quoted) == v) << quoted.toStdString();
    }
}

TEST(DesktopColorTest, HexAndTriples)
{
    for (const auto& [text, colour] : {std::pair{"#023c88", 0x00883c02u}, {"#FFF", 0x00ffffffu}, {"#ffff00000000", 0x000000ffu},
                                       {"58 110 165", 0x00a56e3au}, {"58,110,165", 0x00a56e3au}})
        EXPECT_EQ(parseColorText(QString::fromLatin1(text)), colour) << text;
    for (const char* bad : {"", "#12", "#12345", "#ff00ff00", "red", "256 0 0", "1 2", "#gg0000"})
        EXPECT_FALSE(parseColorText(QString::fromLatin1(bad)).has_value()) << bad;

    EXPECT_EQ(formatColorHex(0x00883c02u), QStringLiteral("#023c88"));
    EXPECT_EQ(formatColorTriple(0x00a56e3au), QStringLiteral("58 110 165"));
}

// Exit status and missing tools are checked through the backends' failures
// (ToolBackends_test); here the environment entry with '=' and a space, as
// the GSettings backend's locale needs it.
TEST(ProcessTest, EnvironmentEntryReachesTheTool)
{
    EXPECT_EQ(runProcess("printenv", {"MC_PROCESS_TEST"}, 10000, {"MC_PROCESS_TEST=a=b c"}).out, "a=b c");
}

TEST(SettingsTest, FileAndClientSizeWithDamagedEntries)
{
    // Its file name: ProgramX11_test reads the client size from it.
    storeClientSize(QSize(1010, 690));
    EXPECT_EQ(lastClientSize(), QSize(1010, 690));
    for (const QVariant& damaged : {QVariant(QStringLiteral("garbage")), QVariant(QSize(-4, 300))}) {
        openSettings()->setValue(QStringLiteral("View/ClientSize"), damaged);
        EXPECT_FALSE(lastClientSize().isValid()) << damaged.toString().toStdString();
    }
}

TEST(ScreenTest, ParseSizeAcceptsWxHOnly)
{
    EXPECT_EQ((QList<QSize>{parseSize("1024x768"), parseSize(" 1280 X 1024 "), parseSize("1x1"), parseSize("32768x32768")}),
              (QList<QSize>{{1024, 768}, {1280, 1024}, {1, 1}, {32768, 32768}}));
    for (const char* bad : {"", "1024", "1024x", "x768", "0x768", "1024x0", "-5x10", "10x-5", "10x10x10",
                            "abcxdef", "1024*768", "9999999x10", "1.5x2", "32769x10", "10x100000"})
        EXPECT_FALSE(parseSize(QString::fromLatin1(bad)).isValid()) << bad;
}
