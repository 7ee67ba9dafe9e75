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
    // A desktop colour that is not black: Select Color must not start from it.
    static mc::platform::DesktopSettings Desktop()
    {
        CMyView::ResetFirstUpdate();
        mc::platform::DesktopSettings desktop;
        desktop.desktopColor = 0x00123456;
        return desktop;
    }
    bool Checked(int id)
    {
        CommandState state;
        EXPECT_TRUE(commands.OnUpdateCommand(id, state)) << id;
        return state.checked;
    }
    CMyDoc doc{Desktop()};
    CMyView view{&doc};
    CBackgroundCommands commands{&doc, &view};
};

} // namespace

TEST_F(BackgroundTest, SelectColorStartsAtBlackAndMarksModifiedOnlyOnChange)
{
    QColor initial;
    std::optional<QColor> answer = QColor(10, 20, 30);
    const auto previous = mc::dialogs::SetColorHandler([&](QColor start) { return initial = start, answer; });
    int updates = 0;
    QObject::connect(&doc, &CMyDoc::updated, [&] { ++updates; });
    EXPECT_TRUE(commands.OnCommand(ID_SELECT_COLOR));
    EXPECT_EQ(std::tuple(initial, doc.m_crBkColor, doc.IsModified(), updates), std::tuple(QColor(Qt::black), 0x001E140Au, true, 1));
    doc.SetModifiedFlag(false);
    commands.OnCommand(ID_SELECT_COLOR); // the same colour again
    answer.reset(); // cancelled: nothing changes
    commands.OnCommand(ID_SELECT_COLOR);
    EXPECT_EQ(std::pair(doc.m_crBkColor, doc.IsModified()), std::pair(0x001E140Au, false));
    mc::dialogs::SetColorHandler(previous);
}

TEST_F(BackgroundTest, PictureFromFileTilesItAndNoPictureKeepsThePlacement)
{
    const QString tile = mctest::writeImage(mctest::freshDir(), "tile.png", mctest::solidImage(64, 64, Qt::red));
    QString filter;
    const auto previous = mc::dialogs::SetOpenFileHandler([&](const QString& f) { return filter = f, tile; });
    doc.m_nPlacement = PLACEMENT_STRETCH;
    commands.OnCommand(ID_PICTURE_FROM_FILE);
    mc::dialogs::SetOpenFileHandler(previous);
    EXPECT_EQ(filter,
              "All Image Files (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib)|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib|"
              "BMP  (*.bmp;*.dib)|*.bmp;*.dib|JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)|*.jpg;*.jpeg;*.jpe;*.jfif|"
              "GIF  (*.gif)|*.gif|TIFF (*.tif;*.tiff)|*.tif;*.tiff|PNG  (*.png)|*.png||");
    // The picture reached the document, which chose the placement (CMyDocTest pins the rules).
    EXPECT_EQ(std::pair(doc.m_strBkPath, doc.m_nPlacement), std::pair(tile, int(PLACEMENT_TILE)));
    commands.OnCommand(ID_NO_PICTURE);
    EXPECT_FALSE(doc.HasBackgroundPicture() || !doc.m_strBkPath.isEmpty());
}

TEST_F(BackgroundTest, CustomizeCanvasSizeStartsFromTheScreen)
{
    using Answer = std::optional<CBackgroundCommands::CanvasSizeAnswer>;
    std::tuple<int, int, bool> asked;
    Answer answer = CBackgroundCommands::CanvasSizeAnswer{800, 500, false};
    commands.SetCanvasSizeAsker([&](int w, int h, bool scale) { return asked = {w, h, scale}, answer; });
    commands.OnCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_EQ(asked, std::make_tuple(1024, 768, true));
    const auto canvas = [&] {
        return std::tuple(doc.m_nCanvasWidth, doc.m_nCanvasHeight, doc.m_bByDisplayScale, doc.IsModified());
    };
    EXPECT_EQ(canvas(), std::tuple(800, 500, false, true));
    doc.SetModifiedFlag(false);
    answer.reset();
    commands.OnCommand(ID_CUSTOMIZE_CANVAS_SIZE);
    EXPECT_EQ(canvas(), std::tuple(800, 500, false, false));
}

TEST_F(BackgroundTest, CutStatusCarriesItsCheckMark)
{
    EXPECT_FALSE(Checked(ID_CUT_STATUS));
    commands.OnCommand(ID_CUT_STATUS);
    EXPECT_TRUE(doc.m_bCutStatus && Checked(ID_CUT_STATUS));
    // Turned off, the outline goes.
    view.m_ptShapeStart = QPoint(10, 10);
    view.m_ptShapeEnd = QPoint(50, 40);
    commands.OnCommand(ID_CUT_STATUS);
    EXPECT_EQ(std::tuple(doc.m_bCutStatus, view.m_ptShapeStart, doc.IsModified()), std::tuple(false, view.m_ptShapeEnd, false));
}
