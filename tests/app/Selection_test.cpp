// The current item through the window: its outline, the commands it
// enables, the keys, the clipboard and pictures dropped on the canvas.
#include "app/AppTestUtil.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "canvas/ClipboardPicture.h"
#include "document/CommandIds.h"
#include "view/ItemCommands.h"

#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QTest>

class SelectionTest : public ::testing::Test {
public:
    void SetUp() override
    {
        CMyView::ResetFirstUpdate();
        ASSERT_TRUE(app.InitInstance({"muralcrafter"}));
        frame = app.MainFrame(), doc = app.Document(), view = frame->GetActiveView();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        doc->SetCanvasSize(600, 400); // all in sight
        view->OnInitialUpdate();
        QImage picture = mctest::solidImage(120, 80, Qt::white); // light and dark halves
        QPainter(&picture).fillRect(60, 0, 60, 80, Qt::black);
        item = doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, "p.png", picture)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item->m_ptCenter - view->ScrollPosition());
    }
    QImage shown() { return view->UpdateWindow(), view->ScreenImage().copy(view->Layer().CanvasRect().translated(-view->ScrollPosition())); }
    void drop(const QList<QUrl>& files, QPoint at)
    {
        QMimeData mime;
        mime.setUrls(files);
        QDragEnterEvent enter(view->viewport()->mapTo(frame, at), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDropEvent event(view->viewport()->mapTo(frame, at), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(frame, &enter), QCoreApplication::sendEvent(frame, &event);
    }
    QString dir = mctest::freshDir();
    apptest::ScriptedDialogs dialogs;
    CMyApp app;
    CMainFrame* frame = nullptr;
    CMyDoc* doc = nullptr;
    CMyView* view = nullptr;
    Card* item = nullptr; // current, on top
};

TEST_F(SelectionTest, OutlineCommandStatesAndKeys)
{
    const QImage canvas = view->RenderCanvas(), screen = shown();
    const QRegion band = view->CurrentOutline().translated(-view->Layer().CanvasRect().topLeft());
    QList<QRgb> colours;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != canvas.pixel(x, y))
                colours << (band.contains(QPoint(x, y)) ? screen.pixel(x, y) | 0xff000000u : 0u);
    // Black and white dashes on the band, on the white and the black half.
    EXPECT_TRUE(!colours.contains(0u) && colours.contains(qRgb(0, 0, 0)) && colours.contains(qRgb(255, 255, 255)));
    frame->EnterFullScreen();
    EXPECT_TRUE(view->CurrentOutline().isEmpty()); // full screen shows the wallpaper as it will be
    frame->LeaveFullScreen();

    for (bool current : {true, false}) {
        Q_EMIT view->currentCardChanged(view->m_pCurCard = current ? item : nullptr);
        for (int id = 140; id < 260; ++id)
            if (ItemCommands::Handles(id) || id == ID_CUT || id == ID_RESTORE_ORIGINAL_IMAGE) {
                EXPECT_EQ(frame->QueryCommand(id).enabled, current || id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT) << id;
            }
        EXPECT_TRUE(frame->QueryCommand(ID_EDIT_CUT).enabled == current && frame->QueryCommand(ID_EDIT_COPY).enabled);
    }
    EXPECT_EQ(shown(), canvas); // the outline went without a trace

    // The arrows move the current item, a burst of them as one step.
    Q_EMIT view->currentCardChanged(view->m_pCurCard = item);
    const QPoint start = item->m_ptCenter;
    for (auto [key, shift] : {std::pair(Qt::Key_Right, false), {Qt::Key_Right, false}, {Qt::Key_Down, true}, {Qt::Key_Left, false}})
        QTest::keyClick(view, key, shift ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(item->m_ptCenter - start, QPoint(1, 10));
    const QImage moved = shown();
    view->InvalidateAll();
    EXPECT_EQ(moved, shown()); // painted as a drag paints: what a full repaint shows
    frame->RouteCommand(ID_GRAY), QTest::keyClick(view, Qt::Key_Up); // a new burst after another step
    EXPECT_EQ(doc->History().StepCount(), 4); // the first click's raise, moves, gray, move
    frame->RouteCommand(ID_EDIT_UNDO), frame->RouteCommand(ID_EDIT_UNDO), frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(item->m_ptCenter, start);
    mc::view::g_bPromptOnDelete = false;
    QTest::keyClick(view, Qt::Key_Delete);
    mc::view::g_bPromptOnDelete = true;
    EXPECT_TRUE(doc->m_listCards.IsEmpty() && !view->m_pCurCard);
}

TEST_F(SelectionTest, CopyCutPasteAndDrops)
{
    frame->RouteCommand(ID_GRAY), frame->RouteCommand(ID_ROTATE_CLOCKWISE);
    const QImage look = mc::canvas::ItemPicture(*item);
    frame->RouteCommand(ID_EDIT_COPY), frame->RouteCommand(ID_EDIT_PASTE), frame->RouteCommand(ID_EDIT_PASTE);
    Card* pasted = view->m_pCurCard;
    // Transparent beside the turned picture.
    ASSERT_TRUE(pasted != item && doc->m_listCards.GetCount() == 3 && qAlpha(look.pixel(0, 0)) == 0);
    EXPECT_TRUE(*pasted->m_pBitmap == look && pasted->m_ptCenter == view->VisibleCentre() && pasted->m_dScale == 1.0);
    // One file for both, the step named as the command.
    EXPECT_TRUE(QDir(mc::canvas::PastedPictureFolder()).entryList(QDir::Files).size() == 1 && doc->History().UndoLabel() == "Paste");
    frame->RouteCommand(ID_EDIT_CUT);
    EXPECT_TRUE(doc->m_listCards.GetCount() == 2 && !view->m_pCurCard && doc->History().UndoLabel() == "Cut");
    frame->RouteCommand(ID_EDIT_COPY); // no current item: the canvas
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == view->RenderCanvas());

    // Files copied in a file manager: Add Image's rules, a little apart.
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(dir + "/p.png"), QUrl::fromLocalFile(mctest::writeImage(dir, "q.png", look))});
    QGuiApplication::clipboard()->setMimeData(files);
    frame->RouteCommand(ID_EDIT_PASTE);
    const Card *first = std::next(doc->m_listCards.begin())->get(), *second = doc->m_listCards.GetHead();
    EXPECT_TRUE(second->m_ptCenter - first->m_ptCenter == QPoint(20, 20) && first->m_strPath == dir + "/p.jpg"
                && second->m_strPath == dir + "/q.jpg");

    // Dropped: pictures become items where they fell, a project opens,
    // a mix of both opens nothing and says why.
    doc->OnNewDocument();
    const QUrl project = QUrl::fromLocalFile(apptest::writeProject(dir, "d.mcr", 1)), picture = QUrl::fromLocalFile(dir + "/p.png");
    drop({picture, project}, QPoint(100, 90));
    EXPECT_TRUE(doc->m_listCards.GetCount() == 0 && dialogs.messages.size() == 1);
    drop({picture, picture}, QPoint(100, 90));
    EXPECT_TRUE(view->m_pCurCard->m_ptCenter == view->ToDevice(QPoint(100, 90)) + view->ScrollPosition() + QPoint(20, 20)
                && doc->m_listCards.GetHead() == view->m_pCurCard
                && doc->m_listCards.GetCount() == 2 && doc->History().UndoLabel() == "Add Image");
    dialogs.answer = CFileCommands::SaveAnswer::DontSave;
    drop({project}, QPoint(100, 90));
    EXPECT_TRUE(doc->GetPathName() == project.toLocalFile() && doc->m_listCards.GetCount() == 1);
}
