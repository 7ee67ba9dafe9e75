#include "app/CBackgroundCommands.h"

#include "common/TestUtil.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "view/CMyView.h"

#include <gtest/gtest.h>

namespace {

class BackgroundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CMyView::ResetFirstUpdate();
        mc::platform::DesktopSettings desktop;
        desktop.desktopColor = 0x00123456;
        doc = std::make_unique<CMyDoc>(desktop);
        view = std::make_unique<CMyView>(doc.get());
        commands = std::make_unique<CBackgroundCommands>(doc.get(), view.get());
    }
    std::unique_ptr<CMyDoc> doc;
    std::unique_ptr<CMyView> view;
    std::unique_ptr<CBackgroundCommands> commands;
};

} // namespace

TEST_F(BackgroundTest, SelectColorStartsAtBlackAndDoesNotMarkModified)
{
    QColor initial;
    const auto previous = mc::dialogs::SetColorHandler([&](QColor start) -> std::optional<QColor> {
        initial = start;
        return QColor(10, 20, 30);
    });
    int updates = 0;
    QObject::connect(doc.get(), &CMyDoc::updated, [&] { ++updates; });
    EXPECT_TRUE(commands->OnCommand(ID_SELECT_COLOR));
    EXPECT_EQ(initial, QColor(Qt::black));
    EXPECT_EQ(doc->m_crBkColor, 0x001E140Au);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(updates, 1);
    // Cancelled: nothing changes.
    mc::dialogs::SetColorHandler([](QColor) -> std::optional<QColor> { return std::nullopt; });
    commands->OnCommand(ID_SELECT_COLOR);
    EXPECT_EQ(doc->m_crBkColor, 0x001E140Au);
    mc::dialogs::SetColorHandler(previous);
}

TEST_F(BackgroundTest, PictureFromFileAndNoPicture)
{
    const QString dir = mctest::freshDir();
    const QString tile = mctest::writeImage(dir, "tile.png", mctest::solidImage(64, 64, Qt::red));
    QString filter;
    const auto previous = mc::dialogs::SetOpenFileHandler([&](const QString& f) {
        filter = f;
        return tile;
    });
    doc->m_nPlacement = PLACEMENT_STRETCH;
    commands->OnCommand(ID_PICTURE_FROM_FILE);
    mc::dialogs::SetOpenFileHandler(previous);
    EXPECT_EQ(filter,
              "All Image Files (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib)|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib|"
              "BMP  (*.bmp;*.dib)|*.bmp;*.dib|JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)|*.jpg;*.jpeg;*.jpe;*.jfif|"
              "GIF  (*.gif)|*.gif|TIFF (*.tif;*.tiff)|*.tif;*.tiff|PNG  (*.png)|*.png||");
    EXPECT_EQ(doc->m_strBkPath, tile);
    ASSERT_TRUE(doc->m_pBkImage);
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_TILE);
    EXPECT_TRUE(doc->IsModified());

    doc->SetModifiedFlag(false);
    commands->OnCommand(ID_NO_PICTURE);
    EXPECT_FALSE(doc->m_pBkImage);
    EXPECT_TRUE(doc->m_strBkPath.isEmpty());
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_TILE); // unchanged
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(BackgroundTest, CustomizeCanvasSize)
{
    std::tuple<int, int, bool> asked;
    commands->SetCanvasSizeAsker([&](int w, int h, bool scale) -> std::optional<CBackgroundCommands::CanvasSizeAnswer> {
        asked = {w, h, scale};
        return CBackgroundCommands::CanvasSizeAnswer{800, 500, false};
    });
    commands->OnCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_EQ(asked, std::make_tuple(1024, 768, true));
    EXPECT_EQ(doc->m_nCanvasWidth, 800);
    EXPECT_EQ(doc->m_nCanvasHeight, 500);
    EXPECT_FALSE(doc->m_bByDisplayScale);
    EXPECT_TRUE(doc->IsModified());

    doc->SetModifiedFlag(false);
    commands->SetCanvasSizeAsker([](int, int, bool) { return std::optional<CBackgroundCommands::CanvasSizeAnswer>(); });
    commands->OnCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_EQ(doc->m_nCanvasWidth, 800);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(BackgroundTest, CutStatusToggleClearsTheOutlineWhenTurnedOff)
{
    CommandState state;
    ASSERT_TRUE(commands->OnUpdateCommand(ID_CUT_STATUS, state));
    EXPECT_FALSE(state.checked);
    commands->OnCommand(ID_CUT_STATUS);
    EXPECT_TRUE(doc->m_bCutStatus);
    commands->OnUpdateCommand(ID_CUT_STATUS, state);
    EXPECT_TRUE(state.checked);
    view->m_ptShapeStart = QPoint(10, 10);
    view->m_ptShapeEnd = QPoint(50, 40);
    commands->OnCommand(ID_CUT_STATUS);
    EXPECT_FALSE(doc->m_bCutStatus);
    EXPECT_EQ(view->m_ptShapeStart, view->m_ptShapeEnd);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(BackgroundTest, PlacementsSetTheValueAndCarryTheCheckMark)
{
    commands->OnCommand(ID_PLACEMENT_CENTER);
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_CENTER);
    EXPECT_TRUE(doc->IsModified());
    CommandState center, tile;
    commands->OnUpdateCommand(ID_PLACEMENT_CENTER, center);
    commands->OnUpdateCommand(ID_PLACEMENT_TILE, tile);
    EXPECT_TRUE(center.checked);
    EXPECT_FALSE(tile.checked);
    commands->OnCommand(ID_PLACEMENT_STRETCH);
    EXPECT_EQ(doc->m_nPlacement, PLACEMENT_STRETCH);
}
