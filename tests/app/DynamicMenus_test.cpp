// The Background menu: its commands, and the pictures and canvas sizes
// that start-up adds to it.
#include "app/DynamicMenus.h"

#include "app/CBackgroundCommands.h"
#include "app/CMainFrame.h"
#include "common/TestUtil.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "document/DynamicCommands.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

// The wallpaper folder holds a.png (64 x 64) and b.png (300 x 200), the tile
// folder t.bmp (32 x 32): pictures 400, 401 and 402. The desktop colour is
// not black: Select Color must not start from it.
class DynamicMenusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        background.reset(), frame.reset(), doc.reset();
        CMyView::ResetFirstUpdate();
        wallpapers = mctest::freshDir(), tiles = mctest::freshDir();
        mctest::writeImage(wallpapers, "a.png", mctest::solidImage(64, 64, Qt::red));
        mctest::writeImage(wallpapers, "b.png", mctest::solidImage(300, 200, Qt::green));
        mctest::writeImage(tiles, "t.bmp", mctest::solidImage(32, 32, Qt::blue));
        doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{{}, {}, {}, 0x00123456});
        frame = std::make_unique<CMainFrame>(doc.get());
        background = std::make_unique<CBackgroundCommands>(doc.get(), frame->GetActiveView());
        frame->DocumentTargets().Add(background.get());
    }
    void build(const QString& wallpaperDir, const QString& tileDir)
    {
        frame->SetBuildDynamicMenus([=](CMainFrame& f) { BuildDynamicMenus(f, wallpaperDir, tileDir, QSize(1024, 768)); });
        frame->ActivateFrame();
    }
    bool checked(int id) const { return frame->QueryCommand(id).checked; }
    static QString texts(const QMenu* menu)
    {
        QString out;
        for (const QAction* a : menu->actions())
            out += (a->isSeparator() ? QString("-") : a->text() + '=' + a->property("mcCommandId").toString()) + ';';
        return out;
    }

    QString wallpapers, tiles;
    std::unique_ptr<CMyDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CBackgroundCommands> background;
};

} // namespace

TEST_F(DynamicMenusTest, PicturesThenCanvasSizesShareOneIdCounter)
{
    build(wallpapers, tiles);
    ASSERT_EQ(g_vecPictures.size(), 3u); // ids in PredefinedSubmenuPerFolder
    EXPECT_EQ(g_vecPictures[2].path, tiles + "/t.bmp");
    EXPECT_EQ(g_vecShapes.back().id, 213u);
    EXPECT_EQ(texts(frame->TopMenu("&Background")),
              "&Picture From File ...=130;&Windows Predefined Picture=;No Picture=132;&Select Color=138;-;"
              "&Center=133;&Tile=134;St&retch=135;-;Canvas Size: 640x480=403;Canvas Size: 800x600=404;"
              "Canvas Size: 1024x768=405;C&ustomize Canvas Size=136;");
}

TEST_F(DynamicMenusTest, PredefinedSubmenuPerFolder)
{
    const QString none = mctest::freshDir() + "/missing";
    const std::tuple<QString, QString, QString> rows[] = {
        {wallpapers, tiles, "a=400;b=401;-;t=402;"},
        {mctest::freshDir(), tiles, "t=400;"},    // nothing listed: no separator
        {QString(), none, ""},
    };
    for (const auto& [wallpaperDir, tileDir, expected] : rows) {
        SetUp();
        build(wallpaperDir, tileDir);
        EXPECT_EQ(texts(frame->PredefinedPictureMenu()), expected);
    }
}

TEST_F(DynamicMenusTest, CanvasSizeAndPlacementChecksFollowTheDocument)
{
    build(wallpapers, tiles);
    doc->m_bByDisplayScale = false;
    EXPECT_TRUE(frame->RouteCommand(404)); // 800x600
    EXPECT_EQ(std::tuple(doc->m_nCanvasWidth, doc->m_nCanvasHeight, checked(404), checked(405)),
              std::tuple(800, 600, true, false));
    bool dialogBox = false;
    background->SetCanvasSizeAsker([&](int, int, bool byScale) { return dialogBox = byScale, std::nullopt; });
    frame->RouteCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_TRUE(dialogBox);
    // Loading a picture places it automatically; the marks follow. b.png
    // (ratio 1.5) is centred on 800 x 600, the 32 x 32 tile tiled.
    const std::tuple<int, int, const char*> loads[] = {{401, 1, "100|010"}, {402, 2, "010|001"}, {ID_PLACEMENT_STRETCH, 2, "001|001"}};
    for (const auto& [id, index, on] : loads) {
        frame->RouteCommand(id);
        QString marks;
        for (int mark : {int(ID_PLACEMENT_CENTER), int(ID_PLACEMENT_TILE), int(ID_PLACEMENT_STRETCH), 0, 400, 401, 402})
            marks += mark ? QChar(checked(mark) ? '1' : '0') : QChar('|');
        EXPECT_EQ(std::pair(doc->m_nPredefined, marks), std::pair(index, QString(on))) << id;
    }
}

TEST_F(DynamicMenusTest, ChoosingAShapeTurnsCutStatusOnEverywhere)
{
    build(wallpapers, tiles);
    CMyView* view = frame->GetActiveView();
    EXPECT_FALSE(checked(ID_CUT_STATUS));
    view->m_ptShapeStart = QPoint(10, 10), view->m_ptShapeEnd = QPoint(60, 40);
    frame->RouteCommand(ID_SHAPE_HEART);
    // Cut status on, not saved in the project; the old outline went.
    EXPECT_EQ(std::tuple(doc->m_nShape, doc->m_bCutStatus, doc->IsModified(), view->m_ptShapeStart),
              std::tuple(13, true, false, view->m_ptShapeEnd));
    // The Shape menu, the toolbar's drop-down and the item context menu.
    ASSERT_EQ(frame->Actions(ID_SHAPE_HEART).size(), 3);
    for (QAction* action : frame->Actions(ID_SHAPE_HEART))
        EXPECT_TRUE(action->isEnabled() && action->isChecked());
    for (QAction* action : frame->Actions(ID_SHAPE_ROUND_RECT))
        EXPECT_FALSE(action->isChecked());
    EXPECT_TRUE(checked(ID_CUT_STATUS));
}

TEST_F(DynamicMenusTest, StoredIndexMarksThePictureListedThere)
{
    build(wallpapers, tiles);
    // An index read from a project file marks whatever picture has it now.
    CMyDoc stored(mc::platform::DesktopSettings{});
    stored.m_nPredefined = 1;
    const QString project = mctest::freshDir() + "/p.mcr";
    ASSERT_TRUE(mc::document::WriteProjectFile(stored, project).ok);
    ASSERT_TRUE(mc::document::OpenProject(*doc, project, QSize(1024, 768), nullptr));
    EXPECT_TRUE(checked(401) && !checked(400));
}

// (That each background command changes the project and the screen: the
// undo tests.)
TEST_F(DynamicMenusTest, SelectColorStartsAtBlackAndMarksModifiedOnlyOnChange)
{
    QColor initial;
    std::optional<QColor> answer = QColor(10, 20, 30);
    const auto previous = mc::dialogs::SetColorHandler([&](QColor start) { return initial = start, answer; });
    EXPECT_TRUE(background->OnCommand(ID_SELECT_COLOR));
    doc->SetModifiedFlag(false);
    background->OnCommand(ID_SELECT_COLOR); // the same colour again
    answer.reset(); // cancelled: nothing changes
    background->OnCommand(ID_SELECT_COLOR);
    EXPECT_EQ(std::tuple(initial, doc->m_crBkColor, doc->IsModified()), std::tuple(QColor(Qt::black), 0x001E140Au, false));
    mc::dialogs::SetColorHandler(previous);
}

TEST_F(DynamicMenusTest, PictureFromFileAsksWithItsFilter)
{
    const QString tile = mctest::writeImage(mctest::freshDir(), "tile.png", mctest::solidImage(64, 64, Qt::red));
    QString filter;
    const auto previous = mc::dialogs::SetOpenFileHandler([&](const QString& f) { return filter = f, tile; });
    doc->m_nPlacement = PLACEMENT_STRETCH;
    background->OnCommand(ID_PICTURE_FROM_FILE);
    mc::dialogs::SetOpenFileHandler(previous);
    EXPECT_EQ(filter,
              "All Image Files (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib)|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib|"
              "BMP  (*.bmp;*.dib)|*.bmp;*.dib|JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)|*.jpg;*.jpeg;*.jpe;*.jfif|"
              "GIF  (*.gif)|*.gif|TIFF (*.tif;*.tiff)|*.tif;*.tiff|PNG  (*.png)|*.png||");
    // The picture reached the document, which chose the placement (CMyDocTest pins the rules).
    EXPECT_EQ(std::pair(doc->m_strBkPath, doc->m_nPlacement), std::pair(tile, int(PLACEMENT_TILE)));
}

TEST_F(DynamicMenusTest, CustomizeCanvasSizeStartsFromTheScreen)
{
    using Answer = std::optional<CBackgroundCommands::CanvasSizeAnswer>;
    std::tuple<int, int, bool> asked;
    Answer answer = CBackgroundCommands::CanvasSizeAnswer{800, 500, false};
    background->SetCanvasSizeAsker([&](int w, int h, bool scale) { return asked = {w, h, scale}, answer; });
    background->OnCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_EQ(asked, std::make_tuple(1024, 768, true));
    doc->SetModifiedFlag(false), answer.reset();
    background->OnCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_EQ(std::tuple(doc->m_nCanvasWidth, doc->m_nCanvasHeight, doc->m_bByDisplayScale, doc->IsModified()),
              std::tuple(800, 500, false, false));
}
