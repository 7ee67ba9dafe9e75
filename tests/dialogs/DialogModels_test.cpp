// The computing parts of the dialogs.
#include "dialogs/CanvasSizeModel.h"
#include "dialogs/DelImgModel.h"
#include "dialogs/EditNumbers.h"
#include "dialogs/RotateModel.h"
#include "dialogs/SemiModel.h"
#include "dialogs/SizeModel.h"
#include "dialogs/TransModel.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <climits>

namespace {
using Fields = std::pair<QString, QString>;
Fields fields(const CanvasSizeModel& m) { return {m.WidthText(), m.HeightText()}; }
QStringList boxes(const SizeModel& m) { return {m.m_strWidth, m.m_strHeight, m.m_strRatio}; }
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
// nothing follows. The dialog opens showing the given size, and ticking
// recomputes the height from the width.
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
        SCOPED_TRACE(c.typed);
        CanvasSizeModel m(c.screenW, c.screenH, c.ticked, c.screenW, c.screenH);
        const QString typed = QString::fromLatin1(c.typed);
        c.editWidth ? m.EditWidth("") : m.EditHeight("");
        EXPECT_EQ(fields(m), c.editWidth ? Fields("", QString::number(c.screenH)) : Fields(QString::number(c.screenW), ""));
        for (qsizetype keys = 1; keys <= typed.size(); ++keys) {
            const QString text = typed.left(keys);
            c.editWidth ? m.EditWidth(text) : m.EditHeight(text);
            const QString follower = c.followers[keys - 1];
            EXPECT_EQ(fields(m), c.editWidth ? Fields(text, follower) : Fields(follower, text)) << " key " << keys;
        }
    }
    for (bool ticked : {true, false}) {
        CanvasSizeModel m(800, 700, ticked, 1024, 768);
        EXPECT_EQ(fields(m), (Fields{"800", "700"})) << ticked;
        EXPECT_EQ(m.Validate(), std::nullopt);
    }
    CanvasSizeModel m(800, 700, false, 1024, 768);
    m.SetByDisplayScale(true);
    EXPECT_EQ(fields(m), (Fields{"800", "600"}));
    m.SetByDisplayScale(false);
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
        EXPECT_EQ(m.Validate(), QStringLiteral("Please Input Valid Width(1-1024) and Height(1-768).")) << w << "x" << h;
    }
    CanvasSizeModel m(1024, 768, false, 1024, 768);
    for (const auto& [text, width] : {std::pair("1", 1), std::pair("640px", 640)}) { // leading digits count
        m.EditWidth(text);
        EXPECT_EQ(m.Validate(), std::nullopt);
        EXPECT_EQ(std::pair(m.m_nWidth, m.m_nHeight), std::pair(width, 768));
    }
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

TEST(RotateModel, AcceptsOneToThreeSixtyAndKeepsTheText)
{
    RotateModel model(true);
    EXPECT_EQ(model.Label(), "Clockwise:");
    EXPECT_EQ(RotateModel(false).Label(), "Counter Clockwise:");
    // Degree 0: refused, the text kept as typed.
    const std::pair<const char*, int> rows[] = {{"", 0}, {"0", 0}, {"361", 0}, {"999", 0}, {"1", 1}, {"90", 90}, {"360", 360}};
    for (const auto& [text, degree] : rows) {
        model.m_strDegree = text;
        const std::optional<QString> refusal = model.Validate();
        EXPECT_EQ(refusal, degree ? std::nullopt : std::optional(QStringLiteral("Please Input Valid Degree(1-360).")));
        EXPECT_EQ(degree ? QString::number(model.m_nDegree) : model.m_strDegree, text);
    }
}

// Sizes truncate, the ratio rounds; each box rewrites the other two.
TEST(SizeModel, StartsFromTheScaledSizeAndEachBoxRewritesTheOthers)
{
    SizeModel model = SizeModel::ForItem(0.5, 400, 300);
    const struct {
        char box;
        const char *text, *width, *height, *ratio;
    } steps[] = {
        {'-', "", "200", "150", "50"},
        {'w', "301", "301", "225", "75"}, // 225.75 and 75.25 truncated
        {'h', "101", "135", "101", "34"}, // 134.67 and 33.67 rounded
        {'r', "33", "132", "99", "33"},   // 132.0 + 0.5
        {'r', "100", "400", "300", "100"},
        {'w', "", "", "300", "100"},      // an emptied box changes nothing else
    };
    for (const auto& s : steps) {
        s.box == 'w' ? model.EditWidth(s.text) : s.box == 'h' ? model.EditHeight(s.text)
                                               : s.box == 'r' ? model.EditRatio(s.text) : void();
        EXPECT_EQ(boxes(model), QStringList({s.width, s.height, s.ratio})) << s.box << s.text;
    }
    EXPECT_EQ(boxes(SizeModel::ForItem(0.337, 101, 77)), QStringList({"34", "25", "34"})); // 34.037, 25.949, 33.7 + 0.5
    SizeModel extreme(1, 9999, 100, 1, 1000000);
    extreme.EditWidth("9999");
    EXPECT_EQ(extreme.m_strHeight, QString::number(INT_MAX));
    extreme.EditRatio("999");
    EXPECT_EQ(extreme.m_strWidth, "10"); // 9.99 rounded
}

TEST(SizeModel, ValidatesTheChosenMode)
{
    // Mode 0: width and height within bounds (the height is not tied to the
    // width); mode 1: the ratio only, whatever the width says. Scale 0: refused.
    const struct {
        int mode;
        const char *width, *height, *ratio;
        double scale;
    } cases[] = {{0, "2001", "150", "50", 0}, {0, "39", "150", "50", 0}, {0, "400", "1501", "50", 0},
                 {0, "400", "100", "50", 1.0}, {0, "2000", "100", "50", 5.0}, {1, "99999", "150", "9", 0},
                 {1, "99999", "150", "501", 0}, {1, "99999", "150", "", 0}, {1, "99999", "150", "10", 0.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.width << " " << c.height << " " << c.ratio);
        SizeModel model(200, 150, 50, 400, 300);
        model.SetMode(c.mode);
        model.EditWidth(c.width);
        model.m_strHeight = c.height;
        model.m_strRatio = c.ratio;
        const std::optional<QString> refusal = model.Validate();
        if (c.scale == 0)
            EXPECT_EQ(refusal, c.mode ? QStringLiteral("Please Input Valid Ratio(10-500).")
                                      : QStringLiteral("Please Input Valid Width(40-2000) and Height(30-1500)."));
        else
            EXPECT_TRUE(!refusal && model.m_dResultScale == c.scale) << model.m_dResultScale;
    }
    // Tiny pictures cannot be sized to nothing.
    SizeModel tiny(5, 5, 100, 5, 5);
    EXPECT_EQ(tiny.MinWidth(), 1);
    tiny.EditWidth("0");
    EXPECT_TRUE(tiny.Validate().has_value());
    tiny.EditWidth("1");
    EXPECT_FALSE(tiny.Validate().has_value());
    EXPECT_DOUBLE_EQ(tiny.m_dResultScale, 0.2);
}

TEST(TrackbarAndThumbnailModels, ClampsAndProportions)
{
    EXPECT_EQ(TransModel(7).m_nExtent, 7);
    EXPECT_EQ(TransModel(-3).m_nExtent, 0);
    EXPECT_EQ(TransModel(80).m_nExtent, 50);
    SemiModel semi(200, 128); // the rest of it through its dialog
    semi.OnTrack(0);
    EXPECT_EQ(semi.m_nAlphaValue, 1);
    // Proportions kept up to the width limit.
    for (const auto& [picture, size] : {std::pair(QSize(300, 300), QSize(75, 75)), {QSize(100, 300), QSize(25, 75)},
                                        {QSize(400, 300), QSize(100, 75)}, {QSize(1000, 100), QSize(120, 75)}})
        EXPECT_EQ(DelImgModel::ThumbnailRect(picture), QRect(QPoint(20, 15), size)) << picture.width();
}
