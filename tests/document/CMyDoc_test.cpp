#include "document/CMyDoc.h"

#include "canvas/CanvasLayer.h"
#include "common/TestUtil.h"
#include "document/CardList.h"
#include "document/ProjectFileTestUtil.h"
#include "platform/Screen.h"

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

// Counts destructions so that ownership can be checked.
struct CountedCard : Card {
    explicit CountedCard(int* deaths) : m_deaths(deaths) {}
    ~CountedCard() override { ++*m_deaths; }
    int* m_deaths;
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

// An undecodable wallpaper (an SVG, a slide show) is dropped, its path and
// the desktop's placement kept: the canvas shows the desktop colour, as
// after reopening.
TEST_F(CMyDocTest, UndecodableDesktopWallpaperLeavesTheDesktopColour)
{
    const QString broken = notAPicture();
    CMyDoc blank(DesktopSettings{broken, "1", "0", 0x00a56e3a});
    EXPECT_EQ(std::tuple(blank.m_strBkPath, blank.HasBackgroundPicture(), blank.m_nPlacement),
              std::tuple(broken, false, int(PLACEMENT_TILE)));
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
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        // Start from a placement the rule must overwrite.
        m_doc.m_nPlacement = c.placement == PLACEMENT_TILE ? PLACEMENT_CENTER : PLACEMENT_TILE;
        m_doc.m_nPredefined = 3;
        m_doc.SetModifiedFlag(false);
        const int updatesBefore = m_updates;
        m_doc.LoadBackground(picture(c.w, c.h));
        EXPECT_EQ(std::tuple(m_doc.m_nPlacement, m_doc.HasBackgroundPicture(), m_doc.m_nPredefined, m_doc.IsModified(),
                             m_updates - updatesBefore),
                  std::tuple(c.placement, true, -1, true, 1));
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
        EXPECT_EQ(std::tuple(m_doc.HasBackgroundPicture(), m_doc.m_strBkPath, m_doc.m_nPlacement, m_doc.IsModified(),
                             m_updates - updatesBefore),
                  std::tuple(false, path, int(PLACEMENT_TILE), true, 1));
    }
}

TEST_F(CMyDocTest, NewProjectKeepsBackgroundAndCanvasAndEmptiesItems)
{
    m_doc.LoadBackground(picture(128, 128));
    m_doc.SetCanvasSize(800, 600);
    m_doc.m_nShape = 7;
    m_doc.m_bCutStatus = true;
    m_doc.m_bByDisplayScale = false;
    m_doc.m_listCards.AddHead(std::make_unique<Card>());
    m_doc.SetPathName(m_dir + "/old project.mcr");
    EXPECT_EQ(m_doc.GetTitle(), QStringLiteral("old project.mcr"));
    int clears = 0;
    QObject::connect(&m_doc, &CMyDoc::cardsCleared, [&] { ++clears; });

    // Everything but the path, the modified flag and the items stays.
    const QString before = mctest::fingerprint(m_doc).section('|', 0, -3);
    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_EQ(mctest::fingerprint(m_doc).section('|', 0, -3), before);
    EXPECT_EQ(std::tuple(m_doc.m_listCards.GetCount(), clears, m_doc.IsModified(), m_doc.GetPathName(),
                         m_doc.GetTitle()),
              std::tuple(0, 1, false, QString(), QStringLiteral("Untitled")));
}

// The list owns its items; items not in it are refused.
TEST(CardListTest, OwnershipAndRefusals)
{
    int deaths = 0;
    {
        CardList list;
        Card* a = list.AddHead(std::make_unique<CountedCard>(&deaths));
        list.AddTail(std::make_unique<CountedCard>(&deaths));
        list.AddHead(std::make_unique<CountedCard>(&deaths));
        Card outsider;
        list.MoveToHead(&outsider);
        list.MoveToTail(nullptr);
        EXPECT_EQ(list.AddHead(nullptr), nullptr);
        EXPECT_FALSE(list.RemoveAndDelete(&outsider));
        EXPECT_EQ(std::pair(list.GetCount(), deaths), std::pair(3, 0));
        EXPECT_TRUE(list.RemoveAndDelete(a));
        EXPECT_EQ(deaths, 1);
        list.RemoveAll();
        EXPECT_EQ(std::pair(list.IsEmpty(), deaths), std::pair(true, 3));
        list.AddTail(std::make_unique<CountedCard>(&deaths));
    }
    EXPECT_EQ(deaths, 4); // the list destroys what it still holds
}
