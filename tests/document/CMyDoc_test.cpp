#include "document/CMyDoc.h"

#include "common/TestUtil.h"
#include "document/ProjectFileTestUtil.h"

#include <gtest/gtest.h>

using mc::platform::DesktopSettings;

namespace {

class CMyDocTest : public ::testing::Test {
protected:
    void SetUp() override { QObject::connect(&m_doc, &CMyDoc::updated, [this] { ++m_updates; }); }
    QString picture(int w, int h)
    {
        return mctest::writeImage(m_dir, QStringLiteral("p%1x%2.png").arg(w).arg(h), mctest::solidImage(w, h, Qt::red));
    }
    QString notAPicture() { return mctest::writeFile(m_dir + "/broken.png", "this is not a picture"); }
    // Loads `path` into an unmodified project: placement, picture shown,
    // predefined index, modified flag and updates sent.
    std::tuple<int, bool, int, bool, int> load(const QString& path)
    {
        m_doc.SetModifiedFlag(false);
        const int updatesBefore = m_updates;
        m_doc.LoadBackground(path);
        return {m_doc.m_nPlacement, m_doc.HasBackgroundPicture(), m_doc.m_nPredefined, m_doc.IsModified(),
                m_updates - updatesBefore};
    }

    QString m_dir = mctest::freshDir();
    CMyDoc m_doc{DesktopSettings{QString(), "0", "2", 0x00112233}}; // a desktop without wallpaper
    int m_updates = 0;
};

} // namespace

TEST(CMyDocPlacementTest, FromTheDesktopStrings)
{
    // Exact comparisons: no trimming, no numeric reading; anything else stretches.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"0", "2", PLACEMENT_STRETCH}, {"0", "0", PLACEMENT_CENTER},    {"1", "0", PLACEMENT_TILE},
        {"1", "", PLACEMENT_TILE},     {"", "0", PLACEMENT_STRETCH},    {" 1", "0", PLACEMENT_STRETCH},
        {"01", "0", PLACEMENT_STRETCH}, {"0", "00", PLACEMENT_STRETCH},
    };
    for (const auto& [tile, style, placement] : cases)
        EXPECT_EQ(CMyDoc::PlacementFromDesktop(tile, style), placement) << tile << "/" << style;
}

TEST_F(CMyDocTest, LoadBackgroundChoosesThePlacementBySize)
{
    const std::tuple<int, int, int> cases[] = {
        {256, 256, PLACEMENT_TILE},      {257, 257, PLACEMENT_CENTER},    {1600, 1200, PLACEMENT_STRETCH},
        {1920, 1080, PLACEMENT_CENTER},  {256, 100, PLACEMENT_CENTER},    {1024, 768, PLACEMENT_STRETCH},
    };
    for (const auto& [w, h, placement] : cases) {
        // Start from a placement the rule must overwrite.
        m_doc.m_nPlacement = placement == PLACEMENT_TILE ? PLACEMENT_CENTER : PLACEMENT_TILE;
        m_doc.m_nPredefined = 3;
        EXPECT_EQ(load(picture(w, h)), std::tuple(placement, true, -1, true, 1)) << w << "x" << h;
    }
    // The ratio is the canvas's, not the screen's.
    m_doc.SetCanvasSize(1000, 1000);
    EXPECT_EQ(std::get<0>(load(picture(300, 300))), PLACEMENT_STRETCH);
    EXPECT_EQ(std::get<0>(load(picture(1600, 1200))), PLACEMENT_CENTER);
}

// An undecodable picture (an SVG, a slide show) is dropped, its path and
// the placement kept; so is the desktop's own, whose colour then shows.
TEST_F(CMyDocTest, NoPictureKeepsPathAndPlacementAndMarksModified)
{
    m_doc.LoadBackground(picture(128, 128));
    for (const QString& path : {notAPicture(), m_dir + "/missing.jpg", QString()}) {
        EXPECT_EQ(load(path), std::tuple(int(PLACEMENT_TILE), false, -1, true, 1));
        EXPECT_EQ(m_doc.m_strBkPath, path);
    }
    CMyDoc blank(DesktopSettings{notAPicture(), "1", "0", 0x00a56e3a});
    EXPECT_EQ(std::tuple(blank.m_strBkPath, blank.HasBackgroundPicture(), blank.m_nPlacement, blank.m_crBkColor),
              std::tuple(notAPicture(), false, int(PLACEMENT_TILE), 0x00a56e3au));
}

TEST_F(CMyDocTest, NewProjectKeepsBackgroundAndCanvasAndEmptiesItems)
{
    m_doc.LoadBackground(picture(128, 128));
    m_doc.SetCanvasSize(800, 600);
    m_doc.m_nShape = 7, m_doc.m_bCutStatus = true, m_doc.m_bByDisplayScale = false;
    m_doc.m_listCards.AddHead(std::make_unique<Card>()), m_doc.SetPathName(m_dir + "/old project.mcr");
    int clears = 0;
    QObject::connect(&m_doc, &CMyDoc::cardsCleared, [&] { ++clears; });
    // Everything but the path, the modified flag and the items stays.
    const QString before = mctest::fingerprint(m_doc).section('|', 0, -3);
    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_EQ(mctest::fingerprint(m_doc).section('|', 0, -3), before);
    EXPECT_EQ(std::tuple(m_doc.m_listCards.GetCount(), clears, m_doc.IsModified(), m_doc.GetPathName()),
              std::tuple(0, 1, false, QString()));
}
