#include "dialogs/CanvasSizeModel.h"
#include "dialogs/EditNumbers.h"

#include <QStringList>

#include <climits>

#include <gtest/gtest.h>

namespace {
const QString kMessage1024 = QStringLiteral("Please Input Valid Width(1-1024) and Height(1-768).");
using Fields = std::pair<QString, QString>;
Fields fields(const CanvasSizeModel& m) { return {m.WidthText(), m.HeightText()}; }
} // namespace

// The edit boxes read their numbers like atoi, saturating.
TEST(EditNumbers, LeadingNumberLikeAtoi)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"abc", 0}, {"  42x7", 42}, {"+5", 5}, {"-5", -5}, {"007", 7},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(CanvasSizeModel::ParseLeadingInt(text), value) << text;
        EXPECT_EQ(mc::dialogs::ParseLeadingInt(text), value) << text;
    }
    EXPECT_EQ(mc::dialogs::TruncToInt(2.9), 2);
    EXPECT_EQ(mc::dialogs::TruncToInt(-2.9), -2);
    EXPECT_EQ(mc::dialogs::TruncToInt(1e300), INT_MAX);
}

// With the box ticked one size follows the other in the screen ratio, key by
// key, and the box typed in keeps what was typed; unticked or emptied,
// nothing follows.
TEST(CanvasSizeModelTest, TypingKeyByKeyAndTheScreenRatio)
{
    struct Case {
        int screenW, screenH;
        bool ticked;
        bool editWidth;
        const char* typed;
        QStringList followers; // the other box after each key
    } const cases[] = {
        {1024, 768, true, true, "1024", {"0", "7", "76", "768"}},
        {1024, 768, true, true, "1000", {"0", "7", "75", "750"}},
        {1920, 1200, true, true, "1601", {"0", "10", "100", "1000"}},
        {1024, 768, true, false, "384", {"4", "50", "512"}},
        {1024, 768, false, true, "500", {"768", "768", "768"}},
    };
    for (const Case& c : cases) {
        CanvasSizeModel m(c.screenW, c.screenH, c.ticked, c.screenW, c.screenH);
        const QString typed = QString::fromLatin1(c.typed);
        for (qsizetype keys = 1; keys <= typed.size(); ++keys) {
            const QString text = typed.left(keys);
            c.editWidth ? m.EditWidth(text) : m.EditHeight(text);
            const QString follower = c.followers[keys - 1];
            const Fields expected = c.editWidth ? Fields(text, follower) : Fields(follower, text);
            EXPECT_EQ(fields(m), expected) << c.typed << " key " << keys;
        }
    }
    CanvasSizeModel emptied(1024, 768, true, 1024, 768);
    emptied.EditWidth("");
    EXPECT_EQ(fields(emptied), (Fields{"", "768"}));
    CanvasSizeModel typed(1024, 768, true, 1024, 768);
    for (const char* text : {"1", "10", "102", "1024"})
        typed.EditWidth(text);
    EXPECT_EQ(typed.Validate(), std::nullopt);
    EXPECT_EQ(typed.m_nWidth, 1024);
    EXPECT_EQ(typed.m_nHeight, 768);
}

TEST(CanvasSizeModelTest, OpensShowingTheGivenSizeAndTickingRecomputes)
{
    for (bool ticked : {true, false}) {
        CanvasSizeModel m(800, 700, ticked, 1024, 768);
        EXPECT_EQ(fields(m), (Fields{"800", "700"})) << ticked;
        EXPECT_EQ(m.Validate(), std::nullopt);
        EXPECT_EQ(m.m_nHeight, 700);
    }
    CanvasSizeModel m(800, 700, false, 1024, 768);
    m.SetByDisplayScale(true);
    EXPECT_TRUE(m.m_bByDisplayScale);
    EXPECT_EQ(fields(m), (Fields{"800", "600"}));
    m.SetByDisplayScale(false);
    EXPECT_FALSE(m.m_bByDisplayScale);
    EXPECT_EQ(fields(m), (Fields{"800", "600"}));
}

TEST(CanvasSizeModelTest, OkValidatesBothSizesAgainstTheScreen)
{
    const std::pair<const char*, const char*> refused[] = {
        {"0", "768"}, {"1025", "768"}, {"", "768"}, {"abc", "768"}, {"1024", "769"}, {"1024", ""}};
    for (const auto& [w, h] : refused) {
        CanvasSizeModel m(1024, 768, false, 1024, 768);
        m.EditWidth(w);
        m.EditHeight(h);
        EXPECT_EQ(m.Validate(), kMessage1024) << w << "x" << h;
    }
    CanvasSizeModel m(1024, 768, false, 1024, 768);
    m.EditWidth("1");
    EXPECT_EQ(m.Validate(), std::nullopt);
    EXPECT_EQ(m.m_nWidth, 1);
    EXPECT_EQ(m.m_nHeight, 768);
    m.EditWidth("640px"); // leading digits count
    EXPECT_EQ(m.Validate(), std::nullopt);
    EXPECT_EQ(m.m_nWidth, 640);

    CanvasSizeModel other(10, 10, false, 1280, 1024);
    other.EditWidth("0");
    EXPECT_EQ(other.Validate(), QStringLiteral("Please Input Valid Width(1-1280) and Height(1-1024)."));

    // A ratio below 1 and values at the int limit: no overflow, still refused.
    CanvasSizeModel portrait(768, 1024, true, 768, 1024);
    portrait.EditWidth("99999999999999999999");
    EXPECT_FALSE(portrait.WidthText().isEmpty());
    EXPECT_TRUE(portrait.Validate().has_value());
    CanvasSizeModel huge(1024, 768, true, 1024, 768);
    huge.EditHeight("2147483647");
    EXPECT_TRUE(huge.Validate().has_value());
}
