// The current item through the window: its outline, the commands it
// enables, the keys, the clipboard and pictures dropped on the canvas.
#include "app/AppTestUtil.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "canvas/ClipboardPicture.h"
#include "common/EnvGuard.h"
#include "document/CommandIds.h"
#include "view/ItemCommands.h"

#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class SelectionTest : public ::testing::Test {
public:
    void SetUp() override
    {
        env.set("XDG_DATA_HOME", QFile::encodeName(dir));
        mc::view::g_bPromptOnDelete = false;
        CMyView::ResetFirstUpdate();
        ASSERT_TRUE(app.InitInstance({"muralcrafter"}));
        frame = app.MainFrame(), doc = app.Document(), view = frame->GetActiveView();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        view->OnInitialUpdate();
        QImage picture = mctest::solidImage(120, 80, Qt::white); // light and dark halves
        QPainter(&picture).fillRect(60, 0, 60, 80, Qt::black);
        item = doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, "p.png", picture)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item->m_ptCenter - view->ScrollPosition());
    }
    void TearDown() override { mc::view::g_bPromptOnDelete = true; }
    // The part of the canvas in sight (view coordinates), as the view shows
    // it or as rendered.
    QRect seen() const { return QRect(view->ScrollPosition(), view->DeviceClientRect().size()) & view->Layer().CanvasRect(); }
    QImage shown()
    {
        view->UpdateWindow();
        return view->ScreenImage().copy(seen().translated(-view->ScrollPosition()));
    }
    QImage rendered() { return view->RenderCanvas().copy(seen().translated(-view->Layer().CanvasRect().topLeft())); }
    // What was painted piece by piece is what a full repaint paints.
    void expectNoTraces()
    {
        const QImage before = shown();
        view->InvalidateAll();
        EXPECT_EQ(before, shown());
    }
    QString dir = mctest::freshDir();
    EnvGuard env;
    apptest::ScriptedDialogs dialogs;
    CMyApp app;
    CMainFrame* frame = nullptr;
    CMyDoc* doc = nullptr;
    CMyView* view = nullptr;
    Card* item = nullptr;
};

} // namespace

TEST_F(SelectionTest, OutlineOnlyInTheViewAndCommandsNeedACurrentItem)
{
    const QImage canvas = rendered(), screen = shown();
    const QRegion band = view->CurrentOutline();
    ASSERT_FALSE(band.isEmpty());
    QList<QRgb> colours;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != canvas.pixel(x, y)) {
                EXPECT_TRUE(band.contains(QPoint(x, y) + seen().topLeft()));
                colours << (screen.pixel(x, y) | 0xff000000u);
            }
    // Dashes of black and white, seen on the white and on the black half.
    EXPECT_TRUE(colours.contains(qRgb(0, 0, 0)) && colours.contains(qRgb(255, 255, 255)));
    frame->EnterFullScreen();
    EXPECT_TRUE(view->CurrentOutline().isEmpty());
    frame->LeaveFullScreen();

    for (bool current : {true, false}) {
        Q_EMIT view->currentCardChanged(view->m_pCurCard = current ? item : nullptr);
        for (int id = 140; id < 260; ++id)
            if (ItemCommands::Handles(id) || id == ID_CUT || id == ID_RESTORE_ORIGINAL_IMAGE) {
                EXPECT_EQ(frame->QueryCommand(id).enabled, current || id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT) << id;
            }
        EXPECT_EQ(frame->QueryCommand(ID_EDIT_CUT).enabled, current);
        EXPECT_TRUE(frame->QueryCommand(ID_REFRESH).enabled && frame->QueryCommand(ID_EDIT_COPY).enabled);
    }
    EXPECT_EQ(shown(), canvas); // the outline went without a trace
}

TEST_F(SelectionTest, ArrowsMoveAsOneStepAndDeleteAsksAsTheMenuDoes)
{
    const QPoint start = item->m_ptCenter;
    for (auto [key, shift] : {std::pair(Qt::Key_Right, false), {Qt::Key_Right, false}, {Qt::Key_Down, true}, {Qt::Key_Left, false}})
        QTest::keyClick(view, key, shift ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(item->m_ptCenter - start, QPoint(1, 10));
    expectNoTraces();
    frame->RouteCommand(ID_GRAY);
    QTest::keyClick(view, Qt::Key_Up); // a new burst after another step
    EXPECT_EQ(doc->History().StepCount(), 4); // click (raise), moves, gray, move
    frame->RouteCommand(ID_EDIT_UNDO), frame->RouteCommand(ID_EDIT_UNDO), frame->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(item->m_ptCenter, start);

    mc::view::g_bPromptOnDelete = true;
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        for (auto* button : QApplication::activeModalWidget()->findChildren<QPushButton*>())
            if (button->isDefault()) // "&Yes"
                asked = true, button->click();
    });
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(doc->m_listCards.IsEmpty() && !view->m_pCurCard);
    expectNoTraces();
}

TEST_F(SelectionTest, CopyPasteAndCutGoThroughTheClipboardAsTheItemLooks)
{
    frame->RouteCommand(ID_GRAY), frame->RouteCommand(ID_ROTATE_CLOCKWISE);
    const QImage look = mc::canvas::ItemPicture(*item);
    EXPECT_EQ(qAlpha(look.pixel(0, 0)), 0); // beside the turned picture
    frame->RouteCommand(ID_EDIT_COPY);
    for (int i = 0; i < 2; ++i)
        frame->RouteCommand(ID_EDIT_PASTE);
    Card* pasted = view->m_pCurCard;
    ASSERT_TRUE(pasted != item && doc->m_listCards.GetCount() == 3);
    EXPECT_EQ(*pasted->m_pBitmap, look);
    EXPECT_EQ(std::pair(pasted->m_ptCenter, pasted->m_dScale), std::pair(view->VisibleCentre(), 1.0));
    EXPECT_EQ(QDir(mc::canvas::PastedPictureFolder()).entryList(QDir::Files).size(), 1); // one file for both
    EXPECT_EQ(doc->History().UndoLabel(), "Paste");
    frame->RouteCommand(ID_EDIT_CUT);
    EXPECT_TRUE(doc->m_listCards.GetCount() == 2 && !view->m_pCurCard && doc->History().UndoLabel() == "Cut");
    frame->RouteCommand(ID_EDIT_COPY); // no current item: the canvas
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == view->RenderCanvas());

    // Files copied in a file manager: Add Image's rules, a little apart.
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(dir + "/p.png"), QUrl::fromLocalFile(mctest::writeImage(dir, "q.png", look))});
    QGuiApplication::clipboard()->setMimeData(files);
    frame->RouteCommand(ID_EDIT_PASTE);
    auto it = doc->m_listCards.begin();
    EXPECT_EQ((*it)->m_ptCenter - (*std::next(it))->m_ptCenter, QPoint(20, 20));
    EXPECT_EQ(((*it)->m_strPath + ' ' + (*std::next(it))->m_strPath).toStdString(), (dir + "/q.jpg " + dir + "/p.jpg").toStdString());
}

TEST_F(SelectionTest, DroppedPicturesBecomeItemsAProjectOpensAMixNothing)
{
    const QString project = apptest::writeProject(dir, "d.mcr", 1), picture = dir + "/p.png";
    auto drop = [&](QStringList paths, QPoint at) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        mime.setUrls(urls);
        QDragEnterEvent enter(view->viewport()->mapTo(frame, at), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(frame, &enter);
        QDropEvent event(view->viewport()->mapTo(frame, at), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(frame, &event);
    };
    drop({picture, project}, QPoint(100, 90));
    EXPECT_TRUE(doc->m_listCards.GetCount() == 1 && dialogs.messages.size() == 1);
    drop({picture, picture}, QPoint(100, 90));
    const QPoint at = view->ToDevice(QPoint(100, 90)) + view->ScrollPosition();
    EXPECT_EQ(std::pair(view->m_pCurCard->m_ptCenter, doc->m_listCards.GetHead()), std::pair(at + QPoint(20, 20), view->m_pCurCard));
    EXPECT_EQ(std::pair(doc->m_listCards.GetCount(), doc->History().UndoLabel()), std::pair(3, QString("Add Image")));
    dialogs.answer = CFileCommands::SaveAnswer::DontSave;
    drop({project}, QPoint(100, 90));
    EXPECT_TRUE(doc->GetPathName() == project && doc->m_listCards.GetCount() == 1);
}
