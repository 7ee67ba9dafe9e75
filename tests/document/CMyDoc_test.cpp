#include "document/CMyDoc.h"
#include "canvas/CanvasLayer.h"

#include "platform/Screen.h"

#include "common/TestUtil.h"

#include <gtest/gtest.h>

using mc::platform::DesktopSettings;

namespace {

class CMyDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&m_doc, &CMyDoc::updated, [this] { ++m_updates; });
    }

    QString picture(int w, int h)
    {
        return mctest::writeImage(m_dir, QStringLiteral("p%1x%2.png").arg(w).arg(h), mctest::solidImage(w, h, Qt::red));
    }

    QString notAPicture() { return mctest::writeFile(m_dir + "/broken.png", "this is not a picture"); }

    QString m_dir = mctest::freshDir();
    bool m_screen = (mc::platform::overrideScreenSize(QSize(1024, 768)), true); // before the document
    CMyDoc m_doc{DesktopSettings{QString(), "0", "2", 0x00112233}}; // a desktop without wallpaper
    int m_updates = 0;
};

} // namespace

TEST(CMyDocPlacementTest, FromTheDesktopStrings)
{
    // Exact comparisons: no trimming, no numeric reading; anything else stretches.
    const struct {
        const char *tile, *style;
        int placement;
    } cases[] = {
        {"0", "2", PLACEMENT_STRETCH}, {"0", "0", PLACEMENT_CENTER}, {"1", "0", PLACEMENT_TILE},
        {"1", "2", PLACEMENT_TILE},    {"1", "", PLACEMENT_TILE},    {"", "", PLACEMENT_STRETCH},
        {"", "0", PLACEMENT_STRETCH},  {" 1", "0", PLACEMENT_STRETCH}, {"01", "0", PLACEMENT_STRETCH},
        {"0", "00", PLACEMENT_STRETCH},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMyDoc::PlacementFromDesktop(c.tile, c.style), c.placement) << c.tile << "/" << c.style;
}

TEST_F(CMyDocTest, ConstructionTakesTheDesktop)
{
    const QString wall = picture(300, 300); // no automatic placement here
    CMyDoc doc(DesktopSettings{wall, "0", "0", 0x00a56e3a});
    EXPECT_EQ(doc.m_strBkPath, wall);
    ASSERT_TRUE(doc.HasBackgroundPicture());
    EXPECT_EQ(doc.m_nPlacement, PLACEMENT_CENTER);
    EXPECT_EQ(QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight), QSize(1024, 768));
    EXPECT_EQ(doc.m_crBkColor, 0x00a56e3au);
    EXPECT_FALSE(m_doc.m_pBkImage);

    // An undecodable wallpaper (an SVG, a slide show) is dropped, its path
    // kept: the canvas shows the desktop colour, as after reopening.
    const QString broken = notAPicture();
    CMyDoc blank(DesktopSettings{broken, "1", "0", 0x00a56e3a});
    EXPECT_EQ(blank.m_strBkPath, broken);
    EXPECT_EQ(blank.m_pBkImage, nullptr);
    EXPECT_EQ(blank.m_nPlacement, PLACEMENT_TILE);
    EXPECT_EQ(mc::canvas::RenderCanvas(blank, QSize(1024, 768)).pixel(5, 5), qRgb(0x3a, 0x6e, 0xa5));
}

TEST_F(CMyDocTest, LoadBackgroundChoosesThePlacementBySize)
{
    const struct {
        int w, h, placement;
    } cases[] = {
        {128, 128, PLACEMENT_TILE},     {256, 256, PLACEMENT_TILE},       {257, 257, PLACEMENT_CENTER},
        {1600, 1200, PLACEMENT_STRETCH}, {1920, 1080, PLACEMENT_CENTER},  {256, 100, PLACEMENT_CENTER},
        {1024, 768, PLACEMENT_STRETCH},
    };
    for (const auto& c : cases) {
        // Start from a placement the rule must overwrite.
        m_doc.m_nPlacement = c.placement == PLACEMENT_TILE ? PLACEMENT_CENTER : PLACEMENT_TILE;
        m_doc.m_nPredefined = 3;
        m_doc.SetModifiedFlag(false);
        const int updatesBefore = m_updates;
        const QString path = picture(c.w, c.h);
        m_doc.LoadBackground(path);
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(m_doc.m_nPlacement, c.placement);
        ASSERT_TRUE(m_doc.HasBackgroundPicture());
        EXPECT_EQ(m_doc.m_pBkImage->size(), QSize(c.w, c.h));
        EXPECT_EQ(m_doc.m_nPredefined, -1);
        EXPECT_TRUE(m_doc.IsModified());
        EXPECT_EQ(m_updates, updatesBefore + 1);
    }
    // The ratio is the canvas's, not the screen's.
    m_doc.SetCanvasSize(1000, 1000);
    m_doc.LoadBackground(picture(300, 300));
    EXPECT_EQ(m_doc.m_nPlacement, PLACEMENT_STRETCH);
    m_doc.LoadBackground(picture(1600, 1200));
    EXPECT_EQ(m_doc.m_nPlacement, PLACEMENT_CENTER);
}

TEST_F(CMyDocTest, NoPictureKeepsPathAndPlacementAndMarksModified)
{
    m_doc.LoadBackground(picture(128, 128));
    ASSERT_EQ(m_doc.m_nPlacement, PLACEMENT_TILE);
    for (const QString& path : {notAPicture(), m_dir + "/missing.jpg", QString()}) {
        m_doc.SetModifiedFlag(false);
        const int updatesBefore = m_updates;
        m_doc.LoadBackground(path);
        EXPECT_EQ(m_doc.m_pBkImage, nullptr);
        EXPECT_EQ(m_doc.m_strBkPath, path);
        EXPECT_EQ(m_doc.m_nPlacement, PLACEMENT_TILE);
        EXPECT_TRUE(m_doc.IsModified());
        EXPECT_EQ(m_updates, updatesBefore + 1);
    }
}

TEST_F(CMyDocTest, NewProjectKeepsBackgroundAndCanvasAndEmptiesItems)
{
    const QString wall = picture(128, 128);
    m_doc.LoadBackground(wall);
    m_doc.SetCanvasSize(800, 600);
    m_doc.m_nShape = 7;
    m_doc.m_bCutStatus = true;
    m_doc.m_bByDisplayScale = false;
    m_doc.m_listCards.AddHead(std::make_unique<Card>());
    m_doc.SetPathName(m_dir + "/old project.mcr");
    EXPECT_EQ(m_doc.GetTitle(), QStringLiteral("old project.mcr"));
    int clears = 0;
    QObject::connect(&m_doc, &CMyDoc::cardsCleared, [&] { ++clears; });

    const auto settings = [&] {
        return std::tuple(m_doc.m_strBkPath, m_doc.HasBackgroundPicture(), m_doc.m_nPlacement, m_doc.m_nCanvasWidth,
                          m_doc.m_nCanvasHeight, m_doc.m_nShape, m_doc.m_bCutStatus, m_doc.m_bByDisplayScale);
    };
    const auto before = settings();
    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_TRUE(m_doc.m_listCards.IsEmpty());
    EXPECT_EQ(clears, 1);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(m_doc.GetPathName().isEmpty());
    EXPECT_EQ(settings(), before);
}
