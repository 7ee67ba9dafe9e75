// The text formats desktops use: GVariant string literals and colours.
#include "platform/DesktopColor.h"
#include "platform/GVariantText.h"

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(GVariantTextTest, ParsesBothQuoteStylesAndEscapes)
{
    EXPECT_EQ(parseGVariantString(u"'file:///a/b.png'"), QStringLiteral("file:///a/b.png"));
    EXPECT_EQ(parseGVariantString(u"\"it's\""), QStringLiteral("it's"));
    EXPECT_EQ(parseGVariantString(u"'it\\'s \\\"x\\\" a\\\\b'"), QStringLiteral("it's \"x\" a\\b"));
    EXPECT_EQ(parseGVariantString(u"'line\\nnext\\ttab'"), QStringLiteral("line\nnext\ttab"));
    EXPECT_EQ(parseGVariantString(u"'\\u00e9\\U0001F600'"), QStringLiteral("é😀"));
    EXPECT_EQ(parseGVariantString(u"@s 'typed'"), QStringLiteral("typed"));
    EXPECT_EQ(parseGVariantString(u"''"), QString());
}

TEST(GVariantTextTest, RejectsWhatIsNotOneString)
{
    for (const char16_t* bad : {u"", u"'", u"'open", u"plain", u"100", u"'a' 'b'", u"'a'b'", u"'bad\\u12'",
                                u"'\\ud800'", u"'trailing\\'"})
        EXPECT_FALSE(parseGVariantString(QStringView(bad)).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(GVariantTextTest, QuoteRoundTrips)
{
    for (const QString& v : {QStringLiteral("/plain/path.png"), QStringLiteral("it's a \"test\""),
                             QStringLiteral("back\\slash"), QStringLiteral("new\nline\tand\x01"), QStringLiteral("é€😀"),
                             QString()}) {
        const QString quoted = quoteGVariantString(v);
        EXPECT_TRUE(quoted.startsWith(u'\'') && quoted.endsWith(u'\''));
        EXPECT_FALSE(quoted.contains(u'\n'));
        EXPECT_EQ(parseGVariantString(quoted), v) << quoted.toStdString();
    }
}

TEST(DesktopColorTest, HexAndTriples)
{
    EXPECT_EQ(parseColorText("#023c88"), 0x00883c02u);
    EXPECT_EQ(parseColorText("#FFF"), 0x00ffffffu);
    EXPECT_EQ(parseColorText("#ffff00000000"), 0x000000ffu);
    EXPECT_EQ(parseColorText("58 110 165"), 0x00a56e3au);
    EXPECT_EQ(parseColorText("58,110,165"), 0x00a56e3au);
    for (const char* bad : {"", "#12", "#12345", "#ff00ff00", "red", "256 0 0", "1 2", "#gg0000"})
        EXPECT_FALSE(parseColorText(QString::fromLatin1(bad)).has_value()) << bad;

    EXPECT_EQ(formatColorHex(0x00883c02u), QStringLiteral("#023c88"));
    EXPECT_EQ(formatColorTriple(0x00a56e3au), QStringLiteral("58 110 165"));
}
