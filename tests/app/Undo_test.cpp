// Undo and redo through the window: every kind of change, the modified flag
// and the bounds of the history.
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "common/EnvGuard.h"
#include "common/TestUtil.h"
#include "dialogs/CMessageBox.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "document/DynamicCommands.h"
#include "document/ProjectWriter.h"
#include "items/Card.h"
#include "view/CMyView.h"
#include "view/ItemCommands.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class UndoTest : public ::testing::Test {
public:
    void SetUp() override
    {
        dir = mctest::freshDir();
        QDir(dir).mkdir("wp");
        mctest::writeImage(dir + "/wp", "a.png", mctest::solidImage(64, 48, Qt::darkCyan));
        env.set("MURALCRAFTER_WALLPAPER_DIR", QFile::encodeName(dir + "/wp"));
        mc::view::g_bPromptOnDelete = false;
        CMyView::ResetFirstUpdate();
        app = std::make_unique<CMyApp>();
        ASSERT_TRUE(app->InitInstance({"muralcrafter"}));
        frame = app->MainFrame();
        doc = app->Document();
        view = frame->GetActiveView();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        frame->ActivateFrame();
        view->OnInitialUpdate();
        // White pictures with a red block left of centre: erase, gray and
        // flips all change what shows. C at the bottom, A, then B on top.
        QImage picture = mctest::solidImage(120, 80, Qt::white);
        QPainter(&picture).fillRect(20, 20, 40, 40, Qt::red);
        const QString path = mctest::writeImage(dir, "p.png", picture);
        for (QPoint at : {QPoint(400, 380), QPoint(450, 400), QPoint(500, 420)}) {
            Card* card = doc->m_listCards.AddHead(Card::CreateFromFile(path));
            card->m_ptCenter = at;
            card->UpdateRegion();
        }
        itemA = std::next(doc->m_listCards.begin())->get();
        view->m_pCurCard = itemA;
        doc->m_crBkColor = 0x336699;
        doc->UpdateAllViews();
        doc->SetModifiedFlag(false); // the scene is the saved state
    }
    void TearDown() override
    {
        mc::view::g_bPromptOnDelete = true;
        mc::dialogs::SetOpenFileHandler({});
        mc::dialogs::SetColorHandler({});
    }
    // A press on A's centre, `moves` small moves and the release.
    void drag(int moves, QPoint step = QPoint(3, 2))
    {
        QPoint at = itemA->m_ptCenter - view->ScrollPosition();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        for (int i = 0; i < moves; ++i)
            QTest::mouseMove(view->viewport(), at += step);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
    // Answers the next modal dialog: `text` into its first edit, then OK.
    static void answer(QString text = {})
    {
        QTimer::singleShot(0, [text] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            if (!text.isEmpty()) {
                auto* edit = dialog->findChild<QLineEdit*>();
                edit->setText(text);
                Q_EMIT edit->textEdited(text);
            }
            for (auto* button : dialog->findChildren<QPushButton*>())
                if (button->objectName() == "ctl1" || button->isDefault())
                    return button->click();
        });
    }
    // What the file would hold now, and the canvas as painted.
    QByteArray saved()
    {
        EXPECT_TRUE(mc::document::WriteProjectFile(*doc, dir + "/s.mcr").ok);
        return mctest::readFile(dir + "/s.mcr");
    }
    // The view painted only what changed, yet shows what a full repaint
    // shows (within the rounding of a picture drawn in parts).
    void expectScreenCurrent()
    {
        view->UpdateWindow();
        const QImage shown = view->ScreenImage().copy();
        view->InvalidateAll();
        view->UpdateWindow();
        int off = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb p = shown.pixel(x, y), q = view->ScreenImage().pixel(x, y);
                off += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 3;
            }
        EXPECT_EQ(off, 0);
    }
    QString dir;
    EnvGuard env;
    std::unique_ptr<CMyApp> app;
    CMainFrame* frame = nullptr;
    CMyDoc* doc = nullptr;
    CMyView* view = nullptr;
    Card* itemA = nullptr;
};

struct Row {
    const char* label; // null: the command is no step
    int id;
    std::function<void(UndoTest&)> prepare = {};
    std::function<void(UndoTest&)> act = {};
};

} // namespace

// Each kind of change: done, undone and redone through the window, the
// canvas, the file and the screen are those of before and after, and the
// flag follows the saved point.
TEST_F(UndoTest, EveryKindOfChangeUndoesAndRedoesExactly)
{
    auto picture = [](UndoTest& t, QSize size) {
        const QString path = mctest::writeImage(t.dir, "bk.png", mctest::solidImage(size.width(), size.height(), Qt::yellow));
        mc::dialogs::SetOpenFileHandler([path](const QString&) { return path; });
        return path;
    };
    auto cutShape = [](UndoTest& t) {
        t.doc->m_bCutStatus = true;
        t.drag(4, QPoint(-8, -5));
    };
    const std::vector<Row> rows = {
        {"Zoom In", ID_ZOOM_IN},
        {"Customize Size", ID_CUSTOMIZE_SIZE, [](UndoTest&) { answer("90"); }},
        {"Rotate Clockwise", ID_ROTATE_CLOCKWISE},
        {"Clockwise X", ID_ROTATE_CLOCKWISE_X, [](UndoTest&) { answer("33"); }},
        {"Flip Horizontal", ID_FLIP_HORIZONTAL},
        {"Shear Vertical Clockwise", ID_SHEAR_VERTICAL_CLOCKWISE},
        {"Send to Back", ID_SEND_TO_BACK},
        {"Clone", ID_CLONE},
        {"Delete Image", ID_DELETE_IMAGE},
        {"Gray", ID_GRAY},
        {"Semitransparent", ID_SEMITRANSPARENT},
        {"Set Semitransparency", ID_SET_SEMITRANSPARENCY, [](UndoTest&) { answer(); }},
        {"Erase Concolorous Background", ID_ERASE_BACKGROUND},
        {"Set Erase Multicolor Background Extent", ID_SET_ERASE_EXTENT, [](UndoTest&) { answer(); }},
        {"Move", 0, {}, [](UndoTest& t) { t.drag(25); }},
        {"Add Image", ID_ADD_IMAGE, [&](UndoTest& t) { picture(t, {50, 50}); }},
        {"Picture From File", ID_PICTURE_FROM_FILE, [&](UndoTest& t) { picture(t, {300, 200}); }},
        {"No Picture", ID_NO_PICTURE, [&](UndoTest& t) { t.doc->LoadBackground(picture(t, {300, 200})); }},
        {"Select Color", ID_SELECT_COLOR,
         [](UndoTest&) { mc::dialogs::SetColorHandler([](QColor) { return std::optional<QColor>(Qt::green); }); }},
        {"Tile", ID_PLACEMENT_TILE, [&](UndoTest& t) { t.doc->LoadBackground(picture(t, {300, 200})); }},
        {"Customize Canvas Size", ID_CUSTOMIZE_CANVAS_SIZE, [](UndoTest&) { answer("700"); }},
        {"Canvas Size: 640x480", 0, {}, [](UndoTest& t) { t.frame->RouteCommand(int(g_vecCanvasSizes[0].id)); }},
        {"a", 0, {}, [](UndoTest& t) { t.frame->RouteCommand(int(g_vecPictures.at(0).id)); }},
        {"Cut", ID_CUT, cutShape},
        {"Restore Original Image", ID_RESTORE_ORIGINAL_IMAGE,
         [&](UndoTest& t) { cutShape(t), t.frame->RouteCommand(ID_CUT); }},
        {nullptr, ID_REFRESH},
        {nullptr, ID_CUT_STATUS},
        {nullptr, ID_SHAPE_HEART},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label ? row.label : std::to_string(row.id));
        TearDown();
        SetUp();
        if (row.prepare)
            row.prepare(*this);
        doc->SetModifiedFlag(false);
        const QImage canvasBefore = view->RenderCanvas();
        const QByteArray fileBefore = saved();
        const int steps = doc->History().StepCount();
        const quint64 current = view->m_pCurCard->m_nId;
        row.act ? row.act(*this) : void(frame->RouteCommand(row.id));
        if (!row.label) {
            EXPECT_EQ(doc->History().StepCount(), steps);
            EXPECT_FALSE(doc->IsModified());
            continue;
        }
        ASSERT_EQ(doc->History().StepCount(), steps + 1);
        const QImage canvasAfter = view->RenderCanvas();
        const QByteArray fileAfter = saved();
        ASSERT_NE(canvasAfter, canvasBefore);
        auto expectAt = [&](const QImage& canvas, const QByteArray& file, bool modified, const char* prompt) {
            EXPECT_EQ(view->RenderCanvas(), canvas);
            EXPECT_EQ(saved(), file);
            EXPECT_EQ(doc->IsModified(), modified);
            expectScreenCurrent();
            frame->UpdateCommandUI();
            const int id = modified ? ID_EDIT_UNDO : ID_EDIT_REDO;
            EXPECT_EQ(frame->MenuAction(id)->statusTip().toStdString(), prompt + std::string(row.label));
            EXPECT_NE(frame->QueryCommand(ID_EDIT_REDO).enabled, modified);
        };
        expectAt(canvasAfter, fileAfter, true, "Undo ");
        frame->RouteCommand(ID_EDIT_UNDO);
        expectAt(canvasBefore, fileBefore, false, "Redo ");
        ASSERT_NE(view->m_pCurCard, nullptr);
        EXPECT_EQ(view->m_pCurCard->m_nId, current);
        frame->RouteCommand(ID_EDIT_REDO);
        expectAt(canvasAfter, fileAfter, true, "Undo ");
    }
}

// The clean point moves with Save, redo goes with a new change, and the
// menu follows.
TEST_F(UndoTest, SavedPointRedoDroppedAndMenuStates)
{
    EXPECT_FALSE(frame->QueryCommand(ID_EDIT_UNDO).enabled);
    frame->RouteCommand(ID_ZOOM_IN);
    frame->RouteCommand(ID_GRAY);
    doc->SetModifiedFlag(false); // saved here
    frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(frame->QueryCommand(ID_EDIT_REDO).enabled);
    frame->RouteCommand(ID_EDIT_REDO);
    EXPECT_FALSE(doc->IsModified());
    frame->RouteCommand(ID_EDIT_UNDO);
    frame->RouteCommand(ID_FLIP_VERTICAL); // the saved state can no longer be reached
    EXPECT_FALSE(frame->QueryCommand(ID_EDIT_REDO).enabled);
    EXPECT_EQ(doc->History().UndoLabel(), "Flip Vertical");
    frame->RouteCommand(ID_EDIT_UNDO);
    frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(itemA->m_dScale, 1.0);
    doc->OnNewDocument();
    EXPECT_FALSE(frame->QueryCommand(ID_EDIT_UNDO).enabled);
}

// At most 100 steps, and pictures held only by the history stay under the
// bound however large the pictures.
TEST_F(UndoTest, HistoryIsBounded)
{
    for (int i = 0; i < 120; ++i)
        frame->RouteCommand(ID_ROTATE_CLOCKWISE);
    EXPECT_EQ(doc->History().StepCount(), 100);
    const QString big = mctest::writeImage(dir, "big.png", mctest::solidImage(4000, 3000, Qt::white));
    view->m_pCurCard = doc->m_listCards.AddHead(Card::CreateFromFile(big));
    for (int i = 0; i < 16; ++i)
        frame->RouteCommand(ID_GRAY);
    const qint64 held = doc->History().HeldBytes();
    EXPECT_LE(held, mc::document::ProjectHistory::kMaxPictureBytes);
    EXPECT_GT(held, 8 * 48'000'000LL); // yet it keeps all that fits
    int undone = 0;
    while (frame->QueryCommand(ID_EDIT_UNDO).enabled && undone < 200)
        frame->RouteCommand(ID_EDIT_UNDO), ++undone;
    EXPECT_EQ(undone, doc->History().StepCount());
    EXPECT_LT(undone, 16);
}
