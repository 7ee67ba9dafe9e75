// Undo and redo through the window: every kind of change, the modified flag
// and the bounds of the history.
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "common/TestUtil.h"
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
        // White pictures with a red block left of centre, so that erase,
        // gray and flips all show; C at the bottom, A (current), B on top.
        QImage picture = mctest::solidImage(120, 80, Qt::white);
        QPainter(&picture).fillRect(20, 20, 40, 40, Qt::red);
        const QString path = mctest::writeImage(dir, "p.png", picture);
        for (QPoint at : {QPoint(400, 380), QPoint(450, 400), QPoint(500, 420)}) {
            view->m_pCurCard = doc->m_listCards.AddHead(Card::CreateFromFile(path));
            view->m_pCurCard->m_ptCenter = at;
            view->m_pCurCard->UpdateRegion();
        }
        itemA = view->m_pCurCard = std::next(doc->m_listCards.begin())->get();
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
            if (auto* edit = dialog->findChild<QLineEdit*>(); edit && !text.isEmpty())
                edit->setText(text), Q_EMIT edit->textEdited(text);
            for (auto* button : dialog->findChildren<QPushButton*>())
                if (button->objectName() == "ctl1" || button->isDefault())
                    return button->click();
        });
    }
    QByteArray saved()
    {
        EXPECT_TRUE(mc::document::WriteProjectFile(*doc, dir + "/s.mcr").ok);
        return mctest::readFile(dir + "/s.mcr");
    }
    // The view painted only what changed, yet shows what a full repaint
    // shows (within the rounding of a picture drawn in parts).
    int screenPixelsOff()
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
        return off;
    }
    bool enabled(int id) const { return frame->QueryCommand(id).enabled; }

    QString dir;
    std::unique_ptr<CMyApp> app;
    CMainFrame* frame = nullptr;
    CMyDoc* doc = nullptr;
    CMyView* view = nullptr;
    Card* itemA = nullptr;
};

} // namespace

// Each kind of change, done, undone and redone through the window: the
// canvas, the file and the screen are those of before and after, the flag
// follows the saved point and the prompts name the step.
TEST_F(UndoTest, EveryKindOfChangeUndoesAndRedoesExactly)
{
    using Step = std::function<void(UndoTest&)>;
    auto picture = [](UndoTest& t) {
        const QString path = mctest::writeImage(t.dir, "bk.png", mctest::solidImage(300, 200, Qt::yellow));
        mc::dialogs::SetOpenFileHandler([path](const QString&) { return path; });
        return path;
    };
    auto route = [](int id) { return [id](UndoTest& t) { t.frame->RouteCommand(id); }; };
    Step cutShape = [](UndoTest& t) { t.doc->m_bCutStatus = true, t.drag(4, QPoint(-8, -5)); };
    Step background = [&](UndoTest& t) { t.doc->LoadBackground(picture(t)); };
    const std::vector<std::tuple<const char*, int, Step, Step>> rows = {
        {"Clockwise X", ID_ROTATE_CLOCKWISE_X, [](UndoTest&) { answer("33"); }, {}},
        {"Flip Horizontal", ID_FLIP_HORIZONTAL, {}, {}},
        {"Send to Back", ID_SEND_TO_BACK, {}, {}},
        {"Clone", ID_CLONE, {}, {}},
        {"Delete Image", ID_DELETE_IMAGE, {}, {}},
        {"Gray", ID_GRAY, {}, {}},
        {"Erase Concolorous Background", ID_ERASE_BACKGROUND, {}, {}},
        {"Set Erase Multicolor Background Extent", ID_SET_ERASE_EXTENT, [](UndoTest&) { answer(); }, {}},
        {"Move", 0, {}, [](UndoTest& t) { t.drag(25); }},
        {"Add Image", ID_ADD_IMAGE, [&](UndoTest& t) { picture(t); }, {}},
        {"Picture From File", ID_PICTURE_FROM_FILE, [&](UndoTest& t) { picture(t); }, {}},
        {"No Picture", ID_NO_PICTURE, background, {}},
        {"Select Color", ID_SELECT_COLOR,
         [](UndoTest&) { mc::dialogs::SetColorHandler([](QColor) { return std::optional<QColor>(Qt::green); }); }, {}},
        {"Tile", ID_PLACEMENT_TILE, background, {}},
        {"Canvas Size: 640x480", 0, {}, [&](UndoTest& t) { route(int(g_vecCanvasSizes[0].id))(t); }},
        {"Cut", ID_CUT, cutShape, {}},
        {"Restore Original Image", ID_RESTORE_ORIGINAL_IMAGE, [&](UndoTest& t) { cutShape(t), route(ID_CUT)(t); }, {}},
    };
    for (const auto& [label, id, prepare, act] : rows) {
        SCOPED_TRACE(label);
        TearDown();
        SetUp();
        if (prepare)
            prepare(*this);
        doc->SetModifiedFlag(false);
        const QImage canvasBefore = view->RenderCanvas();
        const QByteArray fileBefore = saved();
        const int steps = doc->History().StepCount();
        const quint64 current = view->m_pCurCard->m_nId;
        act ? act(*this) : route(id)(*this);
        ASSERT_EQ(doc->History().StepCount(), steps + 1);
        const QImage canvasAfter = view->RenderCanvas();
        const QByteArray fileAfter = saved();
        ASSERT_NE(canvasAfter, canvasBefore);
        auto expectAt = [&](const QImage& canvas, const QByteArray& file, bool modified) {
            EXPECT_EQ(view->RenderCanvas(), canvas);
            EXPECT_EQ(saved(), file);
            frame->UpdateCommandUI();
            const QString prompt = frame->MenuAction(modified ? ID_EDIT_UNDO : ID_EDIT_REDO)->statusTip();
            EXPECT_EQ(std::tuple(doc->IsModified(), enabled(ID_EDIT_REDO), screenPixelsOff(), prompt.toStdString()),
                      std::tuple(modified, !modified, 0, (modified ? "Undo " : "Redo ") + std::string(label)));
        };
        expectAt(canvasAfter, fileAfter, true);
        frame->RouteCommand(ID_EDIT_UNDO);
        expectAt(canvasBefore, fileBefore, false);
        EXPECT_EQ(view->m_pCurCard ? view->m_pCurCard->m_nId : 0, current);
        frame->RouteCommand(ID_EDIT_REDO);
        expectAt(canvasAfter, fileAfter, true);
    }
}

// Commands that change nothing in the file are no steps; the clean point
// moves with Save; redo goes with a new change; New starts afresh.
TEST_F(UndoTest, StepsTheSavedPointAndRedoDropped)
{
    for (int id : {ID_REFRESH, ID_CUT_STATUS, ID_SHAPE_HEART, ID_CUT_STATUS})
        frame->RouteCommand(id);
    auto state = [&] { return std::tuple(doc->IsModified(), enabled(ID_EDIT_UNDO), enabled(ID_EDIT_REDO)); };
    EXPECT_EQ(state(), std::tuple(false, false, false));
    frame->RouteCommand(ID_ZOOM_IN);
    frame->RouteCommand(ID_GRAY);
    doc->SetModifiedFlag(false); // saved here
    frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(state(), std::tuple(true, true, true));
    frame->RouteCommand(ID_EDIT_REDO);
    EXPECT_EQ(state(), std::tuple(false, true, false));
    frame->RouteCommand(ID_EDIT_UNDO);
    frame->RouteCommand(ID_FLIP_VERTICAL); // the saved state can no longer be reached
    EXPECT_EQ(std::tuple(state(), doc->History().UndoLabel()), std::tuple(std::tuple(true, true, false), "Flip Vertical"));
    frame->RouteCommand(ID_EDIT_UNDO);
    frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(std::tuple(state(), itemA->m_dScale), std::tuple(std::tuple(true, false, true), 1.0));
    doc->OnNewDocument();
    EXPECT_EQ(state(), std::tuple(false, false, false));
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
    while (enabled(ID_EDIT_UNDO) && undone < 200)
        frame->RouteCommand(ID_EDIT_UNDO), ++undone;
    EXPECT_EQ(undone, doc->History().StepCount());
    EXPECT_LT(undone, 16);
}
