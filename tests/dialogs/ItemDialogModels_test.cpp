// The computing parts of the item dialogs.
#include "dialogs/DelImgModel.h"
#include "dialogs/EditNumbers.h"
#include "dialogs/RotateModel.h"
#include "dialogs/SemiModel.h"
#include "dialogs/SizeModel.h"
#include "dialogs/TransModel.h"

#include <gtest/gtest.h>

#include <climits>

using mc::dialogs::ParseLeadingInt;
using mc::dialogs::TruncToInt;

TEST(EditNumbers, ReadsTheLeadingNumberLikeAtoi)
{
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt("  42x7"), 42);
    EXPECT_EQ(ParseLeadingInt("-5"), -5);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(TruncToInt(2.9), 2);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(1e300), INT_MAX);
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

TEST(SizeModel, StartsFromTheScaledSize)
{
    SizeModel model = SizeModel::ForItem(0.5, 400, 300);
    EXPECT_EQ(model.m_strWidth, "200");
    EXPECT_EQ(model.m_strHeight, "150");
    EXPECT_EQ(model.m_strRatio, "50");
    EXPECT_EQ(model.m_nMode, 0);
    // Truncated sizes, rounded ratio.
    SizeModel odd = SizeModel::ForItem(0.337, 101, 77);
    EXPECT_EQ(odd.m_strWidth, "34");  // 34.037
    EXPECT_EQ(odd.m_strHeight, "25"); // 25.949
    EXPECT_EQ(odd.m_strRatio, "34");  // 33.7 + 0.5
}

TEST(SizeModel, EachBoxRewritesTheOtherTwo)
{
    SizeModel model(200, 150, 50, 400, 300);
    model.EditWidth("301");
    EXPECT_EQ(model.m_strHeight, "225"); // 225.75 truncated
    EXPECT_EQ(model.m_strRatio, "75");   // 75.25 truncated
    model.EditHeight("101");
    EXPECT_EQ(model.m_strWidth, "135"); // 134.67 rounded
    EXPECT_EQ(model.m_strRatio, "34");  // 33.67 rounded
    model.EditRatio("33");
    EXPECT_EQ(model.m_strWidth, "132"); // 132.0 + 0.5
    EXPECT_EQ(model.m_strHeight, "99");
    model.EditRatio("100");
    EXPECT_EQ(model.m_strWidth, "400");
    EXPECT_EQ(model.m_strHeight, "300");
    // An emptied box changes nothing else.
    model.EditWidth("");
    EXPECT_EQ(model.m_strWidth, "");
    EXPECT_EQ(model.m_strHeight, "300");
    EXPECT_EQ(model.m_strRatio, "100");
}

TEST(SizeModel, ValidatesTheChosenMode)
{
    SizeModel model(200, 150, 50, 400, 300);
    model.EditWidth("2001");
    const QString bounds = QStringLiteral("Please Input Valid Width(40-2000) and Height(30-1500).");
    EXPECT_EQ(model.Validate(), bounds);
    model.EditWidth("39");
    EXPECT_EQ(model.Validate(), bounds);
    // The height is only checked against its bounds.
    model.EditWidth("400");
    model.m_strHeight = "1501";
    EXPECT_EQ(model.Validate(), bounds);
    model.m_strHeight = "100";
    EXPECT_FALSE(model.Validate().has_value());
    EXPECT_EQ(model.m_dResultScale, 1.0);
    model.EditWidth("2000");
    EXPECT_FALSE(model.Validate().has_value());
    EXPECT_EQ(model.m_dResultScale, 5.0);

    // Mode 1 looks at the ratio only, whatever the width says.
    model.SetMode(1);
    model.m_strWidth = "99999";
    for (const char* bad : {"9", "501", ""}) {
        model.m_strRatio = bad;
        EXPECT_EQ(model.Validate(), QStringLiteral("Please Input Valid Ratio(10-500).")) << bad;
    }
    model.m_strRatio = "10";
    EXPECT_FALSE(model.Validate().has_value());
    EXPECT_DOUBLE_EQ(model.m_dResultScale, 0.1);
}

TEST(SizeModel, TinyPicturesCannotBeSizedToNothing)
{
    SizeModel model(5, 5, 100, 5, 5);
    EXPECT_EQ(model.MinWidth(), 1);
    model.EditWidth("0");
    EXPECT_TRUE(model.Validate().has_value());
    model.EditWidth("1");
    EXPECT_FALSE(model.Validate().has_value());
    EXPECT_DOUBLE_EQ(model.m_dResultScale, 0.2);
}

TEST(SizeModel, ExtremeProportionsStayInRange)
{
    SizeModel model(1, 9999, 100, 1, 1000000);
    model.EditWidth("9999");
    EXPECT_EQ(model.m_strHeight, QString::number(INT_MAX));
    model.EditRatio("999");
    EXPECT_EQ(model.m_strWidth, "10"); // 9.99 rounded
}

TEST(SemiModel, TrackbarDefaultAndRefusal)
{
    SemiModel model(200, 128);
    EXPECT_EQ(model.m_nAlphaValue, 200);
    EXPECT_FALSE(model.m_bSetDefault);
    model.m_bSetDefault = true;
    model.UseDefault();
    EXPECT_EQ(model.m_nAlphaValue, 128);
    EXPECT_TRUE(model.m_bSetDefault); // the box keeps its state
    model.OnTrack(255);
    EXPECT_FALSE(model.m_bSetDefault); // moving unticks it
    EXPECT_FALSE(model.Validate().has_value());
    model.m_bSetDefault = true;
    EXPECT_EQ(model.Validate(), QStringLiteral("255 should't be set as default semitransparency."));
    model.OnTrack(0);
    EXPECT_EQ(model.m_nAlphaValue, 1);
}

TEST(TransModel, ClampsToTheTrackbar)
{
    EXPECT_EQ(TransModel(7).m_nExtent, 7);
    EXPECT_EQ(TransModel(-3).m_nExtent, 0);
    EXPECT_EQ(TransModel(80).m_nExtent, 50);
}

TEST(DelImgModel, ThumbnailKeepsProportionsUpToTheWidthLimit)
{
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
