#include "wallpaper/WallpaperRender.h"

#include "WallpaperTestUtil.h"

#include <gtest/gtest.h>

using namespace mc::wallpaper;
using namespace wptest;

namespace {

const WallpaperContext kContext{kScreen, kClient, kDesktopColor};
constexpr WallpaperLayout kAligned[] = {WallpaperLayout::LeftAlign, WallpaperLayout::RightAlign,
                                        WallpaperLayout::TopAlign, WallpaperLayout::BottomAlign};

QImage render(CMyDoc& doc, WallpaperLayout layout)
{
    const QSize size = layout == WallpaperLayout::Stretched ? kScreen : QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    return RenderWallpaper(doc, kContext, size, layout);
}

} // namespace

TEST(WallpaperRenderTest, PathChoice)
{
    const QSize canvas(800, 600);
    EXPECT_EQ(ChooseRenderPath(kScreen, WallpaperLayout::Tiled, kScreen, kScreen), RenderPath::PaintAsIs);
    EXPECT_EQ(ChooseRenderPath(kScreen, WallpaperLayout::LeftAlign, kScreen, kScreen), RenderPath::PaintAsIs);
    EXPECT_EQ(ChooseRenderPath(kScreen, WallpaperLayout::Stretched, kScreen, canvas), RenderPath::Scaled);
    EXPECT_EQ(ChooseRenderPath(canvas, WallpaperLayout::Centered, kScreen, canvas), RenderPath::CanvasSized);
    EXPECT_EQ(ChooseRenderPath(canvas, WallpaperLayout::Tiled, kScreen, canvas), RenderPath::CanvasSized);
    for (auto l : kAligned)
        EXPECT_EQ(ChooseRenderPath(canvas, l, kScreen, canvas), RenderPath::Placed);
}

TEST(WallpaperRenderTest, PlacementShiftFollowsTheView)
{
    // The shift carries the canvas origin onto the rectangle's corner, to
    // within one pixel for odd differences.
    for (const QSize client : {kClient, QSize(1001, 701), QSize(900, 650)}) {
        const QPoint origin = mc::canvas::CanvasOrigin(client, 800, 600);
        for (auto l : kAligned) {
            const CanvasPlacement p = PlaceCanvas(l, kScreen, client, QSize(800, 600));
            EXPECT_EQ(p.pictureSize, kScreen);
            EXPECT_LE(std::abs(origin.x() + p.shift.x() - p.target.x()), 1) << int(l);
            EXPECT_LE(std::abs(origin.y() + p.shift.y() - p.target.y()), 1) << int(l);
        }
    }
    // The formula, not the difference of truncated values: far shift with
    // client 1001 is 1024 - 1001 + 100 = 123 while the corner is at 224.
    EXPECT_EQ(PlaceCanvas(WallpaperLayout::RightAlign, kScreen, QSize(1001, 700), QSize(800, 600)).shift.x(), 123);
    // Canvas wider and taller than the client area: it starts at view (0,0).
    const CanvasPlacement p = PlaceCanvas(WallpaperLayout::BottomAlign, kScreen, kClient, QSize(1010, 720));
    EXPECT_EQ(p.target, QRect(7, 48, 1010, 720));
    EXPECT_EQ(p.shift, QPoint(7, 48));
}

TEST(WallpaperRenderTest, AlignLayoutsPlaceTheCanvasOnTheDesktopColour)
{
    auto doc = makeDoc(800, 600);
    addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 100));
    addItem(*doc, Qt::blue, QSize(40, 40), QPoint(0, 300)); // half outside the canvas
    const QRect expected[] = {QRect(0, 84, 800, 600), QRect(224, 84, 800, 600), QRect(112, 0, 800, 600),
                              QRect(112, 168, 800, 600)};
    for (int i = 0; i < 4; ++i) {
        const QRect r = expected[i];
        EXPECT_EQ(PlaceCanvas(kAligned[i], kScreen, kClient, QSize(800, 600)).target, r) << i;
        const QImage img = render(*doc, kAligned[i]);
        ASSERT_EQ(img.size(), kScreen);
        EXPECT_EQ(img.pixelColor(r.topLeft() + QPoint(30, 30)), canvasColor()) << i;
        EXPECT_EQ(img.pixelColor(r.bottomRight() - QPoint(1, 1)), canvasColor()) << i;
        for (const QPoint out : {r.topLeft() - QPoint(1, 1), r.bottomRight() + QPoint(1, 1)})
            EXPECT_TRUE(!img.rect().contains(out) || img.pixelColor(out) == desktopColor()) << i;
        EXPECT_EQ(img.pixelColor(r.topLeft() + QPoint(100, 100)), QColor(Qt::green)) << i;
        // The overhanging item is cut at the canvas rectangle.
        EXPECT_EQ(img.pixelColor(r.topLeft() + QPoint(5, 300)), QColor(Qt::blue)) << i;
        EXPECT_TRUE(r.left() == 0 || img.pixelColor(r.topLeft() + QPoint(-5, 300)) == desktopColor()) << i;
    }
    EXPECT_TRUE(RenderWallpaper(*doc, kContext, QSize(0, 600), WallpaperLayout::Centered).isNull());
}

TEST(WallpaperRenderTest, CanvasTallerThanTheScreenIsKeptWhole)
{
    const CanvasPlacement p = PlaceCanvas(WallpaperLayout::LeftAlign, kScreen, kClient, QSize(800, 900));
    EXPECT_EQ(p.pictureSize, QSize(1024, 900));
    EXPECT_EQ(p.target, QRect(0, 0, 800, 900));
    EXPECT_EQ(p.shift, QPoint(-100, 0));

    auto doc = makeDoc(800, 900);
    addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 880));
    const QImage left = render(*doc, WallpaperLayout::LeftAlign);
    ASSERT_EQ(left.size(), QSize(1024, 900));
    EXPECT_EQ(left.pixelColor(5, 899), canvasColor());
    EXPECT_EQ(left.pixelColor(100, 880), QColor(Qt::green));
    EXPECT_EQ(left.pixelColor(900, 450), desktopColor());
    // Centered: the whole canvas, also the part below the screen's height.
    const QImage centred = render(*doc, WallpaperLayout::Centered);
    ASSERT_EQ(centred.size(), QSize(800, 900));
    EXPECT_EQ(centred.pixelColor(799, 899), canvasColor());
    EXPECT_EQ(centred.pixelColor(100, 880), QColor(Qt::green));
}

TEST(WallpaperRenderTest, ScreenSizedCanvasGivesTheCanvasForEveryLayout)
{
    auto doc = makeDoc(1024, 768);
    addItem(*doc, Qt::green, QSize(40, 40), QPoint(1010, 300), kClient); // hangs over the right edge
    for (int l = 0; l <= 6; ++l) {
        const QImage img = render(*doc, WallpaperLayout(l));
        ASSERT_EQ(img.size(), kScreen) << l;
        EXPECT_EQ(img.pixelColor(0, 0), canvasColor()) << l;
        EXPECT_EQ(img.pixelColor(1023, 767), canvasColor()) << l;
        EXPECT_EQ(img.pixelColor(1020, 300), QColor(Qt::green)) << l;
    }
}

TEST(WallpaperRenderTest, CenteredAndTiledAreExactlyTheCanvas)
{
    auto doc = makeDoc(800, 600);
    addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 100));
    addItem(*doc, Qt::blue, QSize(40, 40), QPoint(795, 300)); // cut at the canvas edge
    const QImage img = render(*doc, WallpaperLayout::Centered);
    ASSERT_EQ(img.size(), QSize(800, 600));
    // The 20 x 20 item covers 90..109 exactly.
    for (int x : {90, 109})
        EXPECT_EQ(img.pixelColor(x, 100), QColor(Qt::green)) << x;
    for (int x : {89, 110})
        EXPECT_EQ(img.pixelColor(x, 100), canvasColor()) << x;
    EXPECT_EQ(img.pixelColor(799, 300), QColor(Qt::blue));
    EXPECT_EQ(render(*doc, WallpaperLayout::Tiled), img);
}

TEST(WallpaperRenderTest, StretchedScalesPositionsByBothRatiosAndZoomByTheHorizontalOne)
{
    auto doc = makeDoc(800, 600); // rx = ry = 1.28
    Card* card = addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 100));
    const QPoint center = card->m_ptCenter;
    const QImage img = render(*doc, WallpaperLayout::Stretched);
    ASSERT_EQ(img.size(), kScreen);
    EXPECT_EQ(img.pixelColor(128 + 11, 128), QColor(Qt::green)); // 20 x 1.28 = 25.6 wide
    EXPECT_EQ(img.pixelColor(128 + 14, 128), canvasColor());
    EXPECT_EQ(img.pixelColor(1023, 767), canvasColor());
    // The project is as it was.
    EXPECT_EQ(card->m_ptCenter, center);
    EXPECT_EQ(card->m_dScale, 1.0);
    EXPECT_FALSE(doc->IsModified());

    auto narrow = makeDoc(512, 768); // rx = 2, ry = 1
    addItem(*narrow, Qt::green, QSize(20, 20), QPoint(100, 100));
    const QImage wide = render(*narrow, WallpaperLayout::Stretched);
    // Centre (200, 100); the item 40 x 40: its own aspect ratio.
    EXPECT_EQ(wide.pixelColor(200 + 18, 100), QColor(Qt::green));
    EXPECT_EQ(wide.pixelColor(200, 100 + 18), QColor(Qt::green));
    EXPECT_EQ(wide.pixelColor(200 + 22, 100), canvasColor());
    EXPECT_EQ(wide.pixelColor(200, 100 + 22), canvasColor());
}

TEST(WallpaperRenderTest, StretchedBackgroundPlacements)
{
    auto doc = makeDoc(512, 768); // rx = 2, ry = 1
    setBackground(*doc, mctest::solidImage(100, 50, Qt::blue), PLACEMENT_CENTER);
    QImage img = render(*doc, WallpaperLayout::Stretched);
    // Scaled to 200 x 50 and centred at (412, 359).
    EXPECT_EQ(img.pixelColor(500, 380), QColor(Qt::blue));
    for (QPoint p : {QPoint(408, 380), QPoint(616, 380), QPoint(500, 355)})
        EXPECT_EQ(img.pixelColor(p), canvasColor()) << p.x() << "," << p.y();

    doc->m_nPlacement = PLACEMENT_STRETCH;
    img = render(*doc, WallpaperLayout::Stretched);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(1023, 767), QColor(Qt::blue));

    // Tiles keep their own size: a 16 x 16 tile with a blue first column.
    QImage tile = mctest::solidImage(16, 16, Qt::red);
    for (int y = 0; y < 16; ++y)
        tile.setPixelColor(0, y, Qt::blue);
    setBackground(*doc, tile, PLACEMENT_TILE);
    img = render(*doc, WallpaperLayout::Stretched);
    for (int x : {0, 1, 16, 17})
        EXPECT_EQ(img.pixelColor(x, 5), QColor(x % 16 == 0 ? Qt::blue : Qt::red)) << x;
}
