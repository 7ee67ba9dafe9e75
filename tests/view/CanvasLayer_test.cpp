#include "view/CanvasLayer.h"

#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "items/Card.h"

#include <QPainter>
#include <gtest/gtest.h>

using mc::view::CanvasLayer;
using mc::view::CanvasOrigin;

namespace {

const QColor kSurround(0x11, 0x22, 0x33);
const QSize kScreen(1024, 768);

std::unique_ptr<CMyDoc> makeDoc(int w, int h, mc::COLORREF color = 0x000000FF)
{
    mc::platform::DesktopSettings desktop;
    desktop.desktopColor = color;
    auto doc = std::make_unique<CMyDoc>(desktop);
    doc->m_nCanvasWidth = w;
    doc->m_nCanvasHeight = h;
    return doc;
}

QRgb px(const CanvasLayer& layer, int x, int y) { return layer.Layer().pixel(x, y) | 0xFF000000u; }

} // namespace

TEST(CanvasOrigin, CentresWithTheExtraPixelRightAndBelow)
{
    EXPECT_EQ(CanvasOrigin(QSize(200, 100), 101, 51), QPoint(49, 24));
    EXPECT_EQ(CanvasOrigin(QSize(100, 100), 200, 50), QPoint(0, 25));
    EXPECT_EQ(CanvasOrigin(QSize(100, 100), 100, 100), QPoint(0, 0));
}

TEST(CanvasLayer, FrameCanvasAndSurroundOfASmallCanvas)
{
    auto doc = makeDoc(101, 51, 0x000000FF); // red
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(200, 100), kScreen, kSurround);
    EXPECT_EQ(layer.Layer().size(), QSize(1026, 770));
    EXPECT_EQ(layer.CanvasRect(), QRect(49, 24, 101, 51));
    const QRgb red = qRgb(255, 0, 0), black = qRgb(0, 0, 0);
    EXPECT_EQ(px(layer, 49, 24), red);
    EXPECT_EQ(px(layer, 149, 74), red);
    // One black pixel on every side, the surround beyond it.
    EXPECT_EQ(px(layer, 48, 30), black);
    EXPECT_EQ(px(layer, 150, 30), black);
    EXPECT_EQ(px(layer, 60, 23), black);
    EXPECT_EQ(px(layer, 60, 75), black);
    EXPECT_EQ(px(layer, 48, 23), black);
    EXPECT_EQ(px(layer, 47, 30), kSurround.rgb());
    EXPECT_EQ(px(layer, 151, 30), kSurround.rgb());
    EXPECT_EQ(px(layer, 60, 76), kSurround.rgb());
    EXPECT_EQ(px(layer, 1000, 700), kSurround.rgb());
}

TEST(CanvasLayer, CanvasLargerThanTheClientStartsAtTheOrigin)
{
    auto doc = makeDoc(300, 300, 0x0000FF00); // green
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(200, 400), kScreen, kSurround);
    EXPECT_EQ(layer.CanvasRect().topLeft(), QPoint(0, 50));
    EXPECT_EQ(px(layer, 0, 50), qRgb(0, 255, 0));
    EXPECT_EQ(px(layer, 0, 49), qRgb(0, 0, 0));
    EXPECT_EQ(px(layer, 300, 100), qRgb(0, 0, 0));
}

TEST(CanvasLayer, TilesStartAtTheCanvasCorner)
{
    auto doc = makeDoc(41, 31);
    QImage tile(4, 4, QImage::Format_ARGB32);
    tile.fill(Qt::white);
    tile.setPixel(0, 0, qRgb(10, 20, 30));
    tile.setPixel(1, 0, qRgb(40, 50, 60));
    doc->m_pBkImage = std::make_unique<QImage>(tile);
    doc->m_nPlacement = PLACEMENT_TILE;
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(100, 100), kScreen, kSurround);
    const QPoint o = layer.CanvasRect().topLeft();
    ASSERT_EQ(o, QPoint(29, 34));
    EXPECT_EQ(px(layer, o.x(), o.y()), qRgb(10, 20, 30));
    EXPECT_EQ(px(layer, o.x() + 1, o.y()), qRgb(40, 50, 60));
    EXPECT_EQ(px(layer, o.x() + 4, o.y() + 8), qRgb(10, 20, 30));
    EXPECT_EQ(px(layer, o.x() + 40, o.y() + 28), qRgb(10, 20, 30));
    // No tile spills over the frame.
    EXPECT_EQ(px(layer, o.x() - 1, o.y()), qRgb(0, 0, 0));
}

TEST(CanvasLayer, CentredPictureLargerThanTheCanvasShowsItsMiddle)
{
    auto doc = makeDoc(10, 10, 0x000000FF);
    QImage picture(13, 13, QImage::Format_ARGB32);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            picture.setPixel(x, y, qRgb(x * 10, y * 10, 200));
    doc->m_pBkImage = std::make_unique<QImage>(picture);
    doc->m_nPlacement = PLACEMENT_CENTER;
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(30, 30), kScreen, kSurround);
    const QPoint o = layer.CanvasRect().topLeft();
    // (10 - 13) / 2 truncates to -1: the canvas starts at picture pixel 1.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(px(layer, o.x() + x, o.y() + y), qRgb((x + 1) * 10, (y + 1) * 10, 200)) << x << "," << y;
}

TEST(CanvasLayer, CentredSmallPictureOnTheColour)
{
    auto doc = makeDoc(11, 11, 0x000000FF);
    doc->m_pBkImage = std::make_unique<QImage>(mctest::solidImage(4, 4, Qt::blue));
    doc->m_nPlacement = PLACEMENT_CENTER;
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(11, 11), kScreen, kSurround);
    EXPECT_EQ(px(layer, 0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(px(layer, 3, 3), qRgb(0, 0, 255)); // (11 - 4) / 2 = 3
    EXPECT_EQ(px(layer, 6, 6), qRgb(0, 0, 255));
    EXPECT_EQ(px(layer, 7, 7), qRgb(255, 0, 0));
}

TEST(CanvasLayer, StretchFillsTheCanvasDistorted)
{
    auto doc = makeDoc(40, 10, 0x000000FF);
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 255, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 255));
    doc->m_pBkImage = std::make_unique<QImage>(picture);
    doc->m_nPlacement = PLACEMENT_STRETCH;
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(40, 10), kScreen, kSurround);
    EXPECT_EQ(px(layer, 0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(px(layer, 39, 9), qRgb(0, 0, 255));
    EXPECT_EQ(px(layer, 5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(px(layer, 35, 5), qRgb(0, 0, 255));
}

TEST(CanvasLayer, UndecodablePictureAndUnknownPlacement)
{
    auto doc = makeDoc(10, 10, 0x000000FF);
    doc->m_pBkImage = std::make_unique<QImage>(); // a file that did not decode
    doc->m_nPlacement = PLACEMENT_CENTER;
    CanvasLayer layer;
    layer.Rebuild(*doc, QSize(10, 10), kScreen, kSurround);
    EXPECT_EQ(px(layer, 5, 5), qRgb(255, 0, 0)); // the colour only
    doc->m_pBkImage = std::make_unique<QImage>(mctest::solidImage(4, 4, Qt::blue));
    doc->m_nPlacement = 7;
    layer.Rebuild(*doc, QSize(10, 10), kScreen, kSurround);
    EXPECT_EQ(px(layer, 5, 5), qRgb(255, 255, 255)); // white canvas
}

// A semitransparent item looks the same at the bottom of the stack as
// higher up: every item is drawn exactly once.
TEST(CanvasLayer, BottomItemIsDrawnOnce)
{
    const QString dir = mctest::freshDir();
    const QString semiPath = mctest::writeImage(dir, "semi.png", mctest::solidImage(50, 50, QColor(255, 0, 0, 128)));
    const QString otherPath = mctest::writeImage(dir, "other.png", mctest::solidImage(20, 20, Qt::blue));

    auto doc = makeDoc(1024, 768, 0x00FFFFFF); // white
    auto card = Card::CreateFromFile(semiPath);
    ASSERT_TRUE(card);
    const QPoint centre = card->m_ptCenter;
    doc->m_listCards.AddHead(std::move(card));
    const QImage alone = mc::view::RenderCanvas(*doc, kScreen, kScreen, kSurround);

    // The same item above another one far away.
    auto below = Card::CreateFromFile(otherPath);
    ASSERT_TRUE(below);
    below->BeginDrag(below->m_ptCenter);
    below->DragTo(QPoint(30, 30));
    doc->m_listCards.AddTail(std::move(below));
    const QImage stacked = mc::view::RenderCanvas(*doc, kScreen, kScreen, kSurround);

    const QRgb once = alone.pixel(centre);
    EXPECT_EQ(once, stacked.pixel(centre));
    // One blend of red at alpha 128 over white, not two.
    EXPECT_NEAR(qGreen(once), 127, 2);
    EXPECT_EQ(qRed(once), 255);
}

TEST(CanvasLayer, PaintClipsItemsToTheCanvas)
{
    const QString dir = mctest::freshDir();
    const QString path = mctest::writeImage(dir, "big.png", mctest::solidImage(280, 280, Qt::blue));
    auto doc = makeDoc(100, 100, 0x00FFFFFF);
    auto card = Card::CreateFromFile(path);
    ASSERT_TRUE(card);
    const QPoint centre = card->m_ptCenter;
    doc->m_listCards.AddHead(std::move(card));
    CanvasLayer layer;
    // The client is the screen: the canvas lies around the screen centre,
    // where the new item is too.
    layer.Rebuild(*doc, kScreen, kScreen, kSurround);
    QImage out(kScreen, QImage::Format_RGB32);
    QPainter painter(&out);
    layer.Paint(painter, *doc);
    painter.end();
    EXPECT_EQ(out.pixel(centre) | 0xFF000000u, qRgb(0, 0, 255));
    const QRect canvas = layer.CanvasRect();
    EXPECT_EQ(out.pixel(canvas.left() - 5, centre.y()) | 0xFF000000u, kSurround.rgb());
    EXPECT_EQ(out.pixel(canvas.left() - 1, centre.y()) | 0xFF000000u, qRgb(0, 0, 0));

    const QImage rendered = mc::view::RenderCanvas(*doc, kScreen, kScreen, kSurround);
    EXPECT_EQ(rendered.size(), QSize(100, 100));
    EXPECT_EQ(rendered.pixel(50, 50) | 0xFF000000u, qRgb(0, 0, 255));
}
