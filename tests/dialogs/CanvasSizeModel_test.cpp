#include "dialogs/CanvasSizeModel.h"

#include <climits>

#include <gtest/gtest.h>

namespace {
const QString kMessage1024 = QStringLiteral("Please Input Valid Width(1-1024) and Height(1-768).");
}

TEST(CanvasSizeModelTest, ConstructionFormatsTheFields)
{
    CanvasSizeModel m(800, 600, true, 1024, 768);
    EXPECT_EQ(m.m_strWidth, QStringLiteral("800"));
    EXPECT_EQ(m.m_strHeight, QStringLiteral("600"));
    EXPECT_EQ(m.WidthText(), QStringLiteral("800"));
    EXPECT_EQ(m.HeightText(), QStringLiteral("600"));
    EXPECT_DOUBLE_EQ(m.m_dRatio, 1024.0 / 768.0);
    EXPECT_EQ(m.m_nMaxWidth, 1024);
    EXPECT_EQ(m.m_nMaxHeight, 768);
}

TEST(CanvasSizeModelTest, WidthGivesHeightInTheScreenRatio)
{
    CanvasSizeModel m(1024, 768, true, 1024, 768);
    m.EditWidth("800");
    EXPECT_EQ(m.WidthText(), QStringLiteral("800"));
    EXPECT_EQ(m.HeightText(), QStringLiteral("600"));
    m.EditHeight("384");
    EXPECT_EQ(m.WidthText(), QStringLiteral("512"));
    EXPECT_EQ(m.HeightText(), QStringLiteral("384"));
}

TEST(CanvasSizeModelTest, BoxesCorrectEachOtherUntilTheyAgree)
{
    // 1 -> height 0 -> width 0.
    CanvasSizeModel small(1024, 768, true, 1024, 768);
    small.EditWidth("1");
    EXPECT_EQ(small.WidthText(), QStringLiteral("0"));
    EXPECT_EQ(small.HeightText(), QStringLiteral("0"));

    // 1001 -> height 800 -> width 1000.
    CanvasSizeModel big(1280, 1024, true, 1280, 1024);
    big.EditWidth("1001");
    EXPECT_EQ(big.WidthText(), QStringLiteral("1000"));
    EXPECT_EQ(big.HeightText(), QStringLiteral("800"));
    EXPECT_EQ(big.m_nWidth, 1000);
    EXPECT_EQ(big.m_nHeight, 800);
}

TEST(CanvasSizeModelTest, NothingFollowsWhenUntickedOrEmpty)
{
    CanvasSizeModel m(1024, 768, false, 1024, 768);
    m.EditWidth("500");
    EXPECT_EQ(m.HeightText(), QStringLiteral("768"));
    m.EditWidth("");
    EXPECT_EQ(m.HeightText(), QStringLiteral("768"));

    CanvasSizeModel ticked(1024, 768, true, 1024, 768);
    ticked.EditWidth("");
    EXPECT_EQ(ticked.HeightText(), QStringLiteral("768"));
    EXPECT_EQ(ticked.WidthText(), QString());
}

TEST(CanvasSizeModelTest, TickingRecomputesTheHeightFromTheWidth)
{
    CanvasSizeModel m(800, 700, false, 1024, 768);
    m.SetByDisplayScale(true);
    EXPECT_TRUE(m.m_bByDisplayScale);
    EXPECT_EQ(m.WidthText(), QStringLiteral("800"));
    EXPECT_EQ(m.HeightText(), QStringLiteral("600"));
    m.SetByDisplayScale(false);
    EXPECT_FALSE(m.m_bByDisplayScale);
    EXPECT_EQ(m.HeightText(), QStringLiteral("600"));
}

TEST(CanvasSizeModelTest, OpensShowingTheGivenSizeWhateverTheRatio)
{
    for (bool ticked : {true, false}) {
        CanvasSizeModel m(800, 700, ticked, 1024, 768);
        EXPECT_EQ(m.WidthText(), QStringLiteral("800")) << ticked;
        EXPECT_EQ(m.HeightText(), QStringLiteral("700")) << ticked;
        EXPECT_EQ(m.Validate(), std::nullopt);
        EXPECT_EQ(m.m_nWidth, 800);
        EXPECT_EQ(m.m_nHeight, 700);
    }
}

TEST(CanvasSizeModelTest, OkValidatesBothSizes)
{
    CanvasSizeModel m(1024, 768, false, 1024, 768);
    for (const char* width : {"0", "1025", "", "abc"}) {
        m.EditWidth(QString::fromLatin1(width));
        EXPECT_EQ(m.Validate(), kMessage1024) << width;
    }
    m.EditWidth("1024");
    m.EditHeight("769");
    EXPECT_EQ(m.Validate(), kMessage1024);
    m.EditHeight("");
    EXPECT_EQ(m.Validate(), kMessage1024);

    m.EditWidth("1");
    m.EditHeight("768");
    EXPECT_EQ(m.Validate(), std::nullopt);
    EXPECT_EQ(m.m_nWidth, 1);
    EXPECT_EQ(m.m_nHeight, 768);

    m.EditWidth("640px"); // leading digits count
    EXPECT_EQ(m.Validate(), std::nullopt);
    EXPECT_EQ(m.m_nWidth, 640);

    CanvasSizeModel other(10, 10, false, 1280, 1024);
    other.EditWidth("0");
    EXPECT_EQ(other.Validate(), QStringLiteral("Please Input Valid Width(1-1280) and Height(1-1024)."));
}

TEST(CanvasSizeModelTest, AtoiReading)
{
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt(""), 0);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("abc"), 0);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("  42x7"), 42);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("+5"), 5);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("-5"), -5);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("007"), 7);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(CanvasSizeModel::ParseLeadingInt("-99999999999999999999"), INT_MIN);
}

TEST(CanvasSizeModelTest, HugeAndOddInputStaysDefined)
{
    // A ratio below 1 and a value at the int limit: no overflow, and the
    // boxes still settle.
    CanvasSizeModel portrait(768, 1024, true, 768, 1024);
    portrait.EditWidth("99999999999999999999");
    EXPECT_FALSE(portrait.WidthText().isEmpty());
    EXPECT_TRUE(portrait.Validate().has_value());

    CanvasSizeModel m(1024, 768, true, 1024, 768);
    m.EditHeight("2147483647");
    EXPECT_TRUE(m.Validate().has_value());
}
