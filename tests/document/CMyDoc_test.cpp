#include "document/CMyDoc.h"

#include "platform/Screen.h"

#include "common/TestUtil.h"

#include <QFile>

#include <gtest/gtest.h>

using mc::platform::DesktopSettings;

namespace {

class CMyDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mc::platform::overrideScreenSize(QSize(1024, 768));
        m_dir = mctest::freshDir();
    }

    QString picture(int w, int h, const QString& name = {})
    {
        return mctest::writeImage(m_dir, name.isEmpty() ? QStringLiteral("p%1x%2.png").arg(w).arg(h) : name,
                                  mctest::solidImage(w, h, Qt::red));
    }

    QString notAPicture()
    {
        const QString path = m_dir + "/broken.png";
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a picture");
        return path;
    }

    // A document on a desktop without wallpaper, watched for its signals.
    std::unique_ptr<CMyDoc> watchedDoc()
    {
        auto doc = std::make_unique<CMyDoc>(DesktopSettings{QString(), "0", "2", 0x00112233});
        QObject::connect(doc.get(), &CMyDoc::updated, [this] { ++m_updates; });
        QObject::connect(doc.get(), &CMyDoc::cardsCleared, [this] { ++m_clears; });
        QObject::connect(doc.get(), &CMyDoc::modifiedChanged, [this](bool m) { m_modifiedSignals.push_back(m); });
        return doc;
    }

    QString m_dir;
    int m_updates = 0;
    int m_clears = 0;
    std::vector<bool> m_modifiedSignals;
};

} // namespace

TEST(CMyDocPlacementTest, FromTheDesktopStrings)
{
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("0", "2"), PLACEMENT_STRETCH);
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("0", "0"), PLACEMENT_CENTER);
    for (const char* style : {"0", "1", "2", "", "x"})
        EXPECT_EQ(CMyDoc::PlacementFromDesktop("1", style), PLACEMENT_TILE) << style;
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("", ""), PLACEMENT_STRETCH); // both missing
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("", "0"), PLACEMENT_STRETCH);
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("0", ""), PLACEMENT_STRETCH);
    // Exact comparisons: no trimming, no numeric reading.
    EXPECT_EQ(CMyDoc::PlacementFromDesktop(" 1", "0"), PLACEMENT_STRETCH);
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("01", "0"), PLACEMENT_STRETCH);
    EXPECT_EQ(CMyDoc::PlacementFromDesktop("0", "00"), PLACEMENT_STRETCH);
}

TEST_F(CMyDocTest, ConstructionTakesTheDesktop)
{
    const QString wall = picture(300, 300); // no automatic placement here
    CMyDoc doc(DesktopSettings{wall, "0", "0", 0x00a56e3a});
    EXPECT_EQ(doc.m_strBkPath, wall);
    ASSERT_TRUE(doc.HasBackgroundPicture());
    EXPECT_EQ(doc.m_pBkImage->size(), QSize(300, 300));
    EXPECT_EQ(doc.m_nPlacement, PLACEMENT_CENTER);
    EXPECT_EQ(doc.m_nCanvasWidth, 1024);
    EXPECT_EQ(doc.m_nCanvasHeight, 768);
    EXPECT_EQ(doc.m_crBkColor, 0x00a56e3au);
    EXPECT_EQ(doc.m_nPredefined, -1);
    EXPECT_EQ(doc.m_nShape, 1);
    EXPECT_FALSE(doc.m_bCutStatus);
    EXPECT_TRUE(doc.m_bByDisplayScale);
    EXPECT_TRUE(doc.m_listCards.IsEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
}

TEST_F(CMyDocTest, DesktopWithoutWallpaperHasNoPicture)
{
    CMyDoc doc(DesktopSettings{QString(), "", "", 0x00010203});
    EXPECT_TRUE(doc.m_strBkPath.isEmpty());
    EXPECT_EQ(doc.m_pBkImage, nullptr);
    EXPECT_EQ(doc.m_nPlacement, PLACEMENT_STRETCH);
    EXPECT_EQ(doc.m_crBkColor, 0x00010203u);
}

TEST_F(CMyDocTest, UndecodableDesktopWallpaperIsABlankPicture)
{
    const QString broken = notAPicture();
    CMyDoc doc(DesktopSettings{broken, "1", "0", 0});
    EXPECT_EQ(doc.m_strBkPath, broken);
    ASSERT_NE(doc.m_pBkImage, nullptr);
    EXPECT_TRUE(doc.m_pBkImage->isNull());
    EXPECT_FALSE(doc.HasBackgroundPicture());
    EXPECT_EQ(doc.m_nPlacement, PLACEMENT_TILE);
}

TEST_F(CMyDocTest, LoadBackgroundChoosesThePlacementBySize)
{
    const struct {
        int w, h, placement;
    } cases[] = {
        {128, 128, PLACEMENT_TILE},     {256, 256, PLACEMENT_TILE},       {257, 257, PLACEMENT_CENTER},
        {300, 300, PLACEMENT_CENTER},   {1600, 1200, PLACEMENT_STRETCH},  {1280, 1024, PLACEMENT_STRETCH},
        {1920, 1080, PLACEMENT_CENTER}, {256, 100, PLACEMENT_CENTER},     {1024, 768, PLACEMENT_STRETCH},
    };
    auto doc = watchedDoc();
    for (const auto& c : cases) {
        // Start from a placement the rule must overwrite.
        doc->m_nPlacement = c.placement == PLACEMENT_TILE ? PLACEMENT_CENTER : PLACEMENT_TILE;
        doc->m_nPredefined = 3;
        doc->SetModifiedFlag(false);
        const int updatesBefore = m_updates;
        const QString path = picture(c.w, c.h);
        doc->LoadBackground(path);
        EXPECT_EQ(doc->m_nPlacement, c.placement) << c.w << "x" << c.h;
        EXPECT_EQ(doc->m_strBkPath, path);
        ASSERT_TRUE(doc->HasBackgroundPicture());
        EXPECT_EQ(doc->m_pBkImage->size(), QSize(c.w, c.h));
        EXPECT_EQ(doc->m_nPredefined, -1);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(m_updates, updatesBefore + 1);
    }
}

TEST_F(CMyDocTest, LoadBackgroundComparesWithTheCanvasNotTheScreen)
{
    auto doc = watchedDoc();
    doc->SetCanvasSize(1000, 1000);
    doc->LoadBackground(picture(300, 300)); // square canvas: ratio equal
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_STRETCH);
    doc->LoadBackground(picture(1600, 1200));
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_CENTER);
}

TEST_F(CMyDocTest, UndecodablePictureKeepsPathAndPlacement)
{
    auto doc = watchedDoc();
    doc->LoadBackground(picture(128, 128));
    ASSERT_EQ(doc->m_nPlacement, PLACEMENT_TILE);
    doc->SetModifiedFlag(false);
    const QString broken = notAPicture();
    doc->LoadBackground(broken);
    EXPECT_EQ(doc->m_pBkImage, nullptr);
    EXPECT_EQ(doc->m_strBkPath, broken);
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_TILE);
    EXPECT_TRUE(doc->IsModified());

    doc->LoadBackground(m_dir + "/missing.jpg");
    EXPECT_EQ(doc->m_pBkImage, nullptr);
    EXPECT_EQ(doc->m_strBkPath, m_dir + "/missing.jpg");
}

TEST_F(CMyDocTest, NoPictureKeepsThePlacementAndMarksModified)
{
    auto doc = watchedDoc();
    doc->LoadBackground(picture(1920, 1080));
    ASSERT_EQ(doc->m_nPlacement, PLACEMENT_CENTER);
    doc->SetModifiedFlag(false);
    const int updatesBefore = m_updates;
    doc->LoadBackground(QString());
    EXPECT_EQ(doc->m_pBkImage, nullptr);
    EXPECT_TRUE(doc->m_strBkPath.isEmpty());
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_CENTER);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(m_updates, updatesBefore + 1);
}

TEST_F(CMyDocTest, SetCanvasSizeMarksModifiedAndUpdates)
{
    auto doc = watchedDoc();
    doc->SetCanvasSize(800, 600);
    EXPECT_EQ(doc->m_nCanvasWidth, 800);
    EXPECT_EQ(doc->m_nCanvasHeight, 600);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(m_updates, 1);
}

TEST_F(CMyDocTest, NewProjectKeepsBackgroundAndCanvasAndEmptiesItems)
{
    auto doc = watchedDoc();
    const QString wall = picture(128, 128);
    doc->LoadBackground(wall);
    doc->SetCanvasSize(800, 600);
    doc->m_crBkColor = 0x00445566;
    doc->m_nPredefined = 2;
    doc->m_nShape = 7;
    doc->m_bCutStatus = true;
    doc->m_bByDisplayScale = false;
    doc->m_listCards.AddHead(std::make_unique<Card>());
    doc->m_listCards.AddHead(std::make_unique<Card>());
    doc->SetPathName(m_dir + "/old project.mcr");
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("old project.mcr"));
    const int clearsBefore = m_clears;

    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_TRUE(doc->m_listCards.IsEmpty());
    EXPECT_EQ(m_clears, clearsBefore + 1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc->GetPathName().isEmpty());
    EXPECT_EQ(doc->m_strBkPath, wall);
    EXPECT_TRUE(doc->HasBackgroundPicture());
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_TILE);
    EXPECT_EQ(doc->m_nCanvasWidth, 800);
    EXPECT_EQ(doc->m_nCanvasHeight, 600);
    EXPECT_EQ(doc->m_crBkColor, 0x00445566u);
    EXPECT_EQ(doc->m_nPredefined, 2);
    EXPECT_EQ(doc->m_nShape, 7);
    EXPECT_TRUE(doc->m_bCutStatus);
    EXPECT_FALSE(doc->m_bByDisplayScale);
}

TEST_F(CMyDocTest, ModifiedSignalOnlyOnChange)
{
    auto doc = watchedDoc();
    doc->SetModifiedFlag(true);
    doc->SetModifiedFlag(true);
    doc->SetCanvasSize(10, 10);
    doc->SetModifiedFlag(false);
    doc->SetModifiedFlag(false);
    EXPECT_EQ(m_modifiedSignals, (std::vector<bool>{true, false}));
}
