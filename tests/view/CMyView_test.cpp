#include "view/CMyView.h"

#include "common/EnvGuard.h"
#include "common/TestUtil.h"
#include "dialogs/CMessageBox.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "imaging/ImageIO.h"
#include "imaging/Region.h"
#include "items/Card.h"
#include "platform/KeyFileBackend.h"

#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Records what the view asks of its window.
class FakeHost : public ViewHost {
public:
    bool IsFullScreen() const override { return false; }
    void EnterFullScreen() override {}
    void LeaveFullScreen() override {}
    void TrackContextMenu(int menuId, QPoint) override { menus.push_back(menuId); }
    std::vector<int> menus;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CMyView::ResetFirstUpdate();
        doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{{}, {}, {}, 0x00FFFFFF});
        view = std::make_unique<CMyView>(doc.get());
        view->SetHost(&host);
        view->resize(800, 600);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        mc::dialogs::SetMessageHandler([this](const QString& text) { messages << text; });
    }
    void TearDown() override { mc::dialogs::SetMessageHandler({}); }

    // A new item centred on the screen (512, 384), on top of the stack.
    Card* addCard(int w, int h, QColor color, const QString& name)
    {
        return doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, name, mctest::solidImage(w, h, color))));
    }

    QWidget* vp() { return view->viewport(); }
    // A drag from `from` to `to` (client points).
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(vp(), Qt::LeftButton, {}, from);
        QTest::mouseMove(vp(), to);
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, to);
    }
    static bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
    QRgb screenAt(QPoint client) { return view->ScreenImage().pixel(client) | 0xFF000000u; }

    std::unique_ptr<CMyDoc> doc;
    std::unique_ptr<CMyView> view;
    FakeHost host;
    QString dir = mctest::freshDir();
    QStringList messages;
};

} // namespace

TEST_F(ViewTest, HitTestClicksAndContextMenus)
{
    Card* lower = addCard(200, 200, Qt::blue, "lower.png");
    Card* upper = addCard(100, 100, Qt::red, "upper.png");
    EXPECT_EQ(view->HitTest(QPoint(470, 384)), upper);
    upper->m_bErased = true; // hit only where its pixels were kept
    upper->m_rgnKept = QRegion(QRect(492, 364, 40, 40));
    EXPECT_EQ(std::tuple(view->HitTest(QPoint(512, 384)), view->HitTest(QPoint(470, 384)), view->HitTest(QPoint(5, 5))),
              std::tuple(upper, lower, nullptr)); // the second through the erased part

    QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(512, 384));
    ASSERT_EQ(view->m_pCurCard, upper);
    doc->SetModifiedFlag(false);
    QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(view->m_pCurCard == upper && !doc->IsModified()); // kept
    QTest::mousePress(vp(), Qt::RightButton, {}, QPoint(512, 384));
    ASSERT_EQ(view->m_pCurCard, upper);
    QTest::mousePress(vp(), Qt::RightButton, {}, QPoint(5, 5)); // clears the current item
    EXPECT_EQ(std::pair(view->m_pCurCard, host.menus),
              std::pair(static_cast<Card*>(nullptr), std::vector<int>{IDR_ITEM_CONTEXT_MENU, IDR_CANVAS_CONTEXT_MENU}));
}

// A press raises the item and marks the project modified; the drag keeps
// the grab offset in a scrolled view. (That only what changed is repainted
// yet the screen is whole: the rotated drag test and the undo tests.)
TEST_F(ViewTest, DragWithTheViewScrolledKeepsTheGrabOffset)
{
    Card* card = addCard(100, 80, Qt::red, "a.png");
    Card* above = addCard(30, 30, Qt::green, "above.png");
    above->m_ptCenter = QPoint(100, 100), above->UpdateRegion(), doc->SetModifiedFlag(false);
    view->horizontalScrollBar()->setValue(100), view->verticalScrollBar()->setValue(50);
    const QPoint scroll = view->ScrollPosition();
    ASSERT_EQ(scroll, QPoint(100, 50));
    const QPoint press = QPoint(500, 380) - scroll; // 12 left, 4 above the centre
    QTest::mousePress(vp(), Qt::LeftButton, {}, press);
    EXPECT_TRUE(doc->m_listCards.GetHead() == card && doc->IsModified());
    QTest::mouseMove(vp(), press + QPoint(-40, 25));
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, press + QPoint(-40, 25));
    EXPECT_EQ(std::pair(view->m_pCurCard, card->m_ptCenter), std::pair(card, QPoint(512 - 40, 384 + 25)));
    view->UpdateWindow();
    EXPECT_EQ(screenAt(QPoint(472, 409) - scroll), qRgb(255, 0, 0));
}

TEST_F(ViewTest, CutStatusDragsAnOutlineInTheInvertingMode)
{
    Card* card = addCard(100, 80, Qt::red, "a.png");
    doc->m_bCutStatus = true;
    doc->SetModifiedFlag(false);
    view->m_pCurCard = card; // outlined before and after
    view->UpdateWindow();
    const QImage clean = view->ScreenImage().copy();

    QTest::mousePress(vp(), Qt::LeftButton, {}, QPoint(480, 360));
    EXPECT_TRUE(view->m_pCurCard == card && !doc->IsModified()); // selected, not raised or moved
    QTest::mouseMove(vp(), QPoint(540, 400));
    EXPECT_NE(view->ScreenImage(), clean); // drawn while dragging
    QTest::mouseMove(vp(), QPoint(560, 420));
    QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(560, 420));
    view->UpdateWindow();
    EXPECT_NE(view->ScreenImage(), clean); // the outline stays on the screen
    EXPECT_TRUE(card->m_ptCenter == QPoint(512, 384) && view->m_pShapeRegion && view->m_pShapeRegion->contains(QPointF(520, 390))
                && !view->m_pShapeRegion->contains(QPointF(470, 390)));

    // Pressing inside moves the outline; drawing it twice restores pixels.
    drag(QPoint(500, 380), QPoint(510, 385));
    EXPECT_TRUE(view->m_rgnShape.contains(QPoint(565, 420)));

    // Refresh takes the outline off the screen, the region stays for Cut.
    view->OnCommand(ID_REFRESH), view->UpdateWindow();
    EXPECT_TRUE(view->ScreenImage() == clean && view->m_pShapeRegion && !view->m_pShapeRegion->isEmpty());
}

TEST_F(ViewTest, AddImagePutsTheNewItemOnTopAndCurrentAndRefusesOtherFiles)
{
    addCard(50, 50, Qt::blue, "old.png");
    QStringList filters, answers = {mctest::writeFile(dir + "/bad.jpg", "nothing"), QString(),
                                    mctest::writeImage(dir, "new.png", mctest::solidImage(40, 30, Qt::red))};
    mc::dialogs::SetOpenFileHandler([&](const QString& filter) { return answers[(filters << filter).size() - 1]; });
    doc->SetModifiedFlag(false);
    // Not a picture: said so, nothing changes; cancelled: nothing said either.
    EXPECT_TRUE(view->OnCommand(ID_ADD_IMAGE) && view->OnCommand(ID_ADD_IMAGE));
    EXPECT_EQ(std::pair(doc->m_listCards.GetCount(), doc->IsModified()), std::pair(1, false));
    EXPECT_TRUE(messages.size() == 1 && messages[0].contains("bad.jpg")) << messages.join('|').toStdString();
    view->OnCommand(ID_ADD_IMAGE);
    mc::dialogs::SetOpenFileHandler({});
    EXPECT_EQ(filters.last(),
              "All Image Files (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff)|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.tiff|"
              "BMP  (*.bmp)|*.bmp|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF  (*.gif)|*.gif|TIFF (*.tif;*.tiff)|*.tif;*.tiff|"
              "PNG  (*.png)|*.png||");
    EXPECT_EQ(std::tuple(doc->m_listCards.GetCount(), view->m_pCurCard, doc->m_listCards.GetHead()->m_strPath),
              std::tuple(2, doc->m_listCards.GetHead(), dir + "/new.jpg"));
}

// The view carries out the Set Wallpaper commands and shows their failures.
// (Each layout's picture: the wallpaper command tests.)
TEST_F(ViewTest, SetWallpaperCommandsRenderTheCanvas)
{
    EnvGuard env;
    env.set("MURALCRAFTER_DESKTOP", "file");
    doc->SetCanvasSize(600, 400);
    ASSERT_TRUE(view->OnCommand(ID_SET_WALLPAPER_CENTERED) && messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(mc::imaging::decodeImage(mc::platform::KeyFileBackend().read().wallpaperPath).size(), QSize(600, 400));
    QFile::remove(mc::platform::keyFileBackendPath());
    // The data folder cannot be created (where it would go is a file): said
    // so, nothing installed.
    mctest::writeFile(dir + "/muralcrafter", {});
    env.set("XDG_DATA_HOME", dir.toUtf8());
    EXPECT_TRUE(view->OnCommand(ID_SET_WALLPAPER_STRETCHED) && messages.size() == 1 && messages[0].contains("muralcrafter.bmp"));
    EXPECT_TRUE(mc::platform::KeyFileBackend().read().wallpaperPath.isEmpty());
}

// The outline's pixels and the transformed drawing must agree: a rotated,
// sheared item dragged about leaves no specks of itself behind, nor does an
// erased one (its transparent part is repainted too), so the picture after
// the drags equals a full repaint.
TEST_F(ViewTest, DraggingARotatedItemLeavesNothingBehind)
{
    Card* item = addCard(120, 90, QColor(200, 40, 90), "rotated.png");
    Card* erased = addCard(100, 80, Qt::red, "erased.png");
    erased->m_ptCenter = QPoint(300, 300), item->m_dAngle = 23, item->m_dShearX = 1;
    erased->UpdateRegion(), item->UpdateRegion();
    erased->m_bErased = true;
    erased->m_rgnKept = QRegion(QRect(270, 280, 40, 40));
    view->UpdateWindow();

    for (QPoint at : {QPoint(512, 384), QPoint(290, 300)}) {
        QTest::mousePress(vp(), Qt::LeftButton, {}, at);
        for (const QPoint step : {QPoint(7, 3), QPoint(11, -5), QPoint(-4, 9), QPoint(13, 13), QPoint(-9, 2)})
            QTest::mouseMove(vp(), at += step);
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, at);
    }
    view->UpdateWindow();
    const QImage afterDrags = view->ScreenImage().copy();

    view->InvalidateAll();
    view->UpdateWindow();
    EXPECT_EQ(afterDrags, view->ScreenImage());
}

// Every transform at once: turned, zoomed, sheared both ways and flipped.
TEST_F(ViewTest, CutKeepsWhatLiesUnderTheOutlineOfATransformedItem)
{
    Card* card = view->m_pCurCard = addCard(200, 160, Qt::red, "r.png");
    card->m_dAngle = -50, card->m_dScale = 0.8, card->m_dShearX = 2, card->m_dShearY = -0.5;
    card->m_bFlipH = true, card->m_bFlipV = true;
    card->UpdateRegion();
    doc->m_bCutStatus = true, doc->m_nShape = 12; // Ellipse
    drag(QPoint(600, 440), QPoint(470, 330));
    const mc::Region shape = *view->m_pShapeRegion;
    const QRegion before = card->m_rgnItem;
    EXPECT_TRUE(view->OnCommand(ID_CUT));
    view->UpdateWindow();
    // Cut, cut status off, the outline gone.
    EXPECT_TRUE(card->m_bCut && !doc->m_bCutStatus && view->m_ptShapeStart == view->m_ptShapeEnd);
    // Away from the outline by more than a pixel the picture shows exactly
    // inside the shape.
    auto all = [](QPoint p, auto inside) {
        return inside(p) && inside(p + QPoint(2, 0)) && inside(p - QPoint(2, 0)) && inside(p + QPoint(0, 2))
            && inside(p - QPoint(0, 2));
    };
    int checked = 0;
    for (int y = 300; y < 470; y += 5)
        for (int x = 420; x < 640; x += 5) {
            const QPoint p(x, y);
            const bool in = all(p, [&](QPoint q) { return shape.contains(q); });
            if (all(p, [&](QPoint q) { return before.contains(q); }) && (in || all(p, [&](QPoint q) { return !shape.contains(q); }))) {
                EXPECT_EQ(isRed(screenAt(p)), in) << x << "," << y;
                ++checked;
            }
        }
    EXPECT_GT(checked, 200);
}

TEST_F(ViewTest, CutMissingTheItemChangesNothingCutsIntersectAndRestoreBringsAllBack)
{
    Card* lower = addCard(60, 60, Qt::blue, "b.png");
    Card* card = addCard(100, 80, Qt::red, "a.png"); // 462..561 x 344..423
    doc->m_bCutStatus = true, doc->m_nShape = 0; // Rect
    QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(500, 380));
    // Outside the item: nothing happens, also when asked twice; the press
    // on empty canvas kept the target.
    drag(QPoint(100, 100), QPoint(200, 200));
    const mc::Region shape = *view->m_pShapeRegion;
    doc->SetModifiedFlag(false);
    view->OnCommand(ID_CUT), view->OnCommand(ID_CUT);
    EXPECT_TRUE(view->m_pCurCard == card && *view->m_pShapeRegion == shape && view->m_ptShapeEnd == QPoint(200, 200));
    EXPECT_TRUE(doc->m_bCutStatus && !card->m_bCut && !doc->IsModified());

    // Two overlapping cuts leave the overlap.
    drag(QPoint(470, 350), QPoint(530, 410));
    view->OnCommand(ID_CUT), doc->m_bCutStatus = true;
    drag(QPoint(560, 420), QPoint(500, 370));
    view->OnCommand(ID_CUT);
    view->UpdateWindow();
    EXPECT_TRUE(isRed(screenAt(QPoint(515, 390))) && !isRed(screenAt(QPoint(480, 360))) && !isRed(screenAt(QPoint(550, 415))));
    // Restore brings back the uncut rectangle, kept aside (the undo tests
    // see the screen after Restore).
    view->OnCommand(ID_RESTORE_ORIGINAL_IMAGE);
    EXPECT_TRUE(!card->m_bCut && *card->m_pClip == Card::ImageRectRegion(QSize(100, 80)));
    // On an uncut item it raises the item.
    view->m_pCurCard = lower;
    view->OnCommand(ID_RESTORE_ORIGINAL_IMAGE);
    EXPECT_TRUE(doc->m_listCards.GetHead() == lower && !lower->m_bCut);
}

// One canvas pixel is one device pixel at every scale factor. Qt reads
// QT_SCALE_FACTOR once, so the check runs in a child of this test program.
TEST(HiDpiView, ClickDragAndPixelsInDevicePixels)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "run by HiDpiView.AtScaleFactorsTwoAndOneAndAHalf";
    CMyView::ResetFirstUpdate();
    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.SetCanvasSize(500, 400);
    CMyView view(&doc);
    view.resize(400, 300); // logical
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.OnInitialUpdate();
    const qreal ratio = view.DevicePixelRatio();
    const QSize client = view.ClientSize(); // logical 400 x 300 less the scroll bars
    EXPECT_TRUE(client == view.viewport()->size() * ratio && view.horizontalScrollBar()->maximum() == 1024 - client.width());
    Card* card = doc.m_listCards.AddHead(Card::CreateFromFile(
        mctest::writeImage(mctest::freshDir(), "a.png", mctest::solidImage(80, 60, Qt::red))));
    card->m_ptCenter = view.Layer().CanvasRect().center();
    card->UpdateRegion();
    view.InvalidateAll();
    const QPoint press = (QPointF(card->m_ptCenter) / ratio).toPoint(), release = press + QPoint(20, 10);
    const QPoint before = card->m_ptCenter;
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, press);
    QTest::mouseMove(view.viewport(), release);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, release);
    EXPECT_EQ(std::pair(view.m_pCurCard, card->m_ptCenter - before), std::pair(card, view.ToDevice(release) - view.ToDevice(press)));
    view.m_pCurCard = nullptr; // no outline
    view.UpdateWindow();
    EXPECT_EQ(view.ScreenImage().devicePixelRatio(), ratio);
    EXPECT_EQ(view.ScreenImage().copy(view.Layer().CanvasRect()).convertToFormat(QImage::Format_RGB32),
              mc::canvas::RenderCanvas(doc, client).convertToFormat(QImage::Format_RGB32));
}

TEST(HiDpiView, AtScaleFactorsTwoAndOneAndAHalf)
{
    if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "already scaled";
    for (const char* factor : {"2", "1.5"}) {
        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment() << QStringLiteral("QT_SCALE_FACTOR=") + factor);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HiDpiView.ClickDrag*"});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QByteArray output = child.readAllStandardOutput();
        EXPECT_TRUE(child.exitCode() == 0 && output.contains("[  PASSED  ] 1 test")) << factor << output.toStdString();
    }
}
