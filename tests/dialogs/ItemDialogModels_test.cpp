// The computing parts of the item dialogs.
#include "dialogs/DelImgModel.h"
#include "dialogs/RotateModel.h"
#include "dialogs/SemiModel.h"
#include "dialogs/SizeModel.h"
#include "dialogs/TransModel.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <climits>

namespace {
const QString kSizeBounds = QStringLiteral("Please Input Valid Width(40-2000) and Height(30-1500).");
}

TEST(RotateModel, AcceptsOneToThreeSixtyAndKeepsTheText)
{
    RotateModel model(true);
    EXPECT_EQ(model.Label(), "Clockwise:");
    EXPECT_EQ(RotateModel(false).Label(), "Counter Clockwise:");
    EXPECT_EQ(model.m_strDegree, "10");
    for (const char* bad : {"", "0", "361", "999"}) {
        model.m_strDegree = bad;
        EXPECT_EQ(model.Validate(), QStringLiteral("Please Input Valid Degree(1-360).")) << bad;
        EXPECT_EQ(model.m_strDegree, bad);
    }
    for (int good : {1, 90, 360}) {
        model.m_strDegree = QString::number(good);
        EXPECT_FALSE(model.Validate().has_value());
        EXPECT_EQ(model.m_nDegree, good);
    }
}

// Sizes truncate, the ratio rounds; each box rewrites the other two.
TEST(SizeModel, StartsFromTheScaledSizeAndEachBoxRewritesTheOthers)
{
    SizeModel model = SizeModel::ForItem(0.5, 400, 300);
    EXPECT_EQ(model.m_nMode, 0);
    SizeModel odd = SizeModel::ForItem(0.337, 101, 77); // 34.037, 25.949, 33.7 + 0.5
    struct Step {
        char box;
        const char* text;
        const char *width, *height, *ratio;
    } const steps[] = {
        {'-', "", "200", "150", "50"},
        {'w', "301", "301", "225", "75"}, // 225.75 and 75.25 truncated
        {'h', "101", "135", "101", "34"}, // 134.67 and 33.67 rounded
        {'r', "33", "132", "99", "33"},   // 132.0 + 0.5
        {'r', "100", "400", "300", "100"},
        {'w', "", "", "300", "100"},      // an emptied box changes nothing else
    };
    for (const Step& s : steps) {
        if (s.box == 'w')
            model.EditWidth(s.text);
        else if (s.box == 'h')
            model.EditHeight(s.text);
        else if (s.box == 'r')
            model.EditRatio(s.text);
        EXPECT_EQ(QStringList({model.m_strWidth, model.m_strHeight, model.m_strRatio}),
                  QStringList({s.width, s.height, s.ratio}))
            << s.box << s.text;
    }
    EXPECT_EQ(QStringList({odd.m_strWidth, odd.m_strHeight, odd.m_strRatio}), QStringList({"34", "25", "34"}));

    SizeModel extreme(1, 9999, 100, 1, 1000000);
    extreme.EditWidth("9999");
    EXPECT_EQ(extreme.m_strHeight, QString::number(INT_MAX));
    extreme.EditRatio("999");
    EXPECT_EQ(extreme.m_strWidth, "10"); // 9.99 rounded
}

TEST(SizeModel, ValidatesTheChosenMode)
{
    // Mode 0: width and height within bounds (the height is not tied to the width).
    struct Case {
        const char *width, *height;
        double scale; // 0: refused
    } const widthCases[] = {{"2001", "150", 0}, {"39", "150", 0}, {"400", "1501", 0},
                            {"400", "100", 1.0}, {"2000", "100", 5.0}};
    for (const Case& c : widthCases) {
        SizeModel model(200, 150, 50, 400, 300);
        model.EditWidth(c.width);
        model.m_strHeight = c.height;
        if (c.scale == 0) {
            EXPECT_EQ(model.Validate(), kSizeBounds) << c.width << "x" << c.height;
        } else {
            EXPECT_FALSE(model.Validate().has_value()) << c.width;
            EXPECT_EQ(model.m_dResultScale, c.scale);
        }
    }
    // Mode 1 looks at the ratio only, whatever the width says.
    SizeModel model(200, 150, 50, 400, 300);
    model.SetMode(1);
    model.m_strWidth = "99999";
    for (const char* bad : {"9", "501", ""}) {
        model.m_strRatio = bad;
        EXPECT_EQ(model.Validate(), QStringLiteral("Please Input Valid Ratio(10-500).")) << bad;
    }
    model.m_strRatio = "10";
    EXPECT_FALSE(model.Validate().has_value());
    EXPECT_DOUBLE_EQ(model.m_dResultScale, 0.1);

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
    EXPECT_EQ(DelImgModel::ThumbnailRect(QSize(300, 300)), QRect(20, 15, 75, 75));
    EXPECT_EQ(DelImgModel::ThumbnailRect(QSize(100, 300)), QRect(20, 15, 25, 75));
    EXPECT_EQ(DelImgModel::ThumbnailRect(QSize(400, 300)), QRect(20, 15, 100, 75));
    EXPECT_EQ(DelImgModel::ThumbnailRect(QSize(1000, 100)), QRect(20, 15, 120, 75));
    DelImgModel answer;
    answer.m_bNoPrompt = true;
    EXPECT_FALSE(answer.StopsPrompting()); // "No" ignores the box
    answer.m_bYes = true;
    EXPECT_TRUE(answer.StopsPrompting());
}
