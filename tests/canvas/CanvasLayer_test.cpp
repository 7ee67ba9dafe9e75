#include "canvas/CanvasLayer.h"

#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "items/Card.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

using mc::canvas::CanvasLayer;

namespace {

const QColor kSurround(0x11, 0x22, 0x33);
const QSize kScreen(1024, 768);
const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255), kBlack = qRgb(0, 0, 0),
           kWhite = qRgb(255, 255, 255);

QRgb px(const QImage& image, QPoint p) { return image.pixel(p) | 0xFF000000u; }

// A picture from rows of colours, one character a pixel.
QImage picture(std::initializer_list<const char*> rows)
{
    QImage img(int(strlen(*rows.begin())), int(rows.size()), QImage::Format_ARGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x)
            img.setPixel(x, y, row[x] == 'g' ? kGreen : row[x] == 'b' ? kBlue : row[x] == 'w' ? kWhite : qRgb(10, 20, 30));
        ++y;
    }
    return img;
}

} // namespace

// The canvas in its one-pixel black frame on the surround, and the
// background picture in each placement, at points relative to the canvas corner.
TEST(CanvasLayer, FramePlacementsAndPixels)
{
    QImage gradient(13, 13, QImage::Format_ARGB32);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            gradient.setPixel(x, y, qRgb(x * 10, y * 10, 200));
    struct Case {
        const char* what;
        QSize canvas, client;
        std::optional<QImage> background;
        int placement;
        QPoint origin;
        std::vector<std::pair<QPoint, QRgb>> pixels;
    } const cases[] = {
        {"small canvas, the extra pixel right and below", {101, 51}, {200, 100}, std::nullopt, PLACEMENT_CENTER, {49, 24},
         {{{0, 0}, kRed}, {{100, 50}, kRed}, {{-1, 6}, kBlack}, {{101, 6}, kBlack}, {{11, -1}, kBlack},
          {{11, 51}, kBlack}, {{-1, -1}, kBlack}, {{-2, 6}, kSurround.rgb()}, {{102, 6}, kSurround.rgb()},
          {{11, 52}, kSurround.rgb()}, {{951, 676}, kSurround.rgb()}}},
        {"canvas wider than the client", {300, 300}, {200, 400}, std::nullopt, PLACEMENT_CENTER, {0, 50},
         {{{0, 0}, kRed}, {{0, -1}, kBlack}, {{300, 50}, kBlack}}},
        // Tiles start at the canvas corner and stop at the frame.
        {"tiles", {41, 31}, {100, 100}, picture({"xbww", "wwww", "wwww", "wwww"}), PLACEMENT_TILE, {29, 34},
         {{{0, 0}, qRgb(10, 20, 30)}, {{1, 0}, kBlue}, {{4, 8}, qRgb(10, 20, 30)}, {{40, 28}, qRgb(10, 20, 30)},
          {{-1, 0}, kBlack}}},
        {"small picture centred on the colour", {11, 11}, {11, 11}, picture({"bbbb", "bbbb", "bbbb", "bbbb"}),
         PLACEMENT_CENTER, {0, 0}, {{{2, 2}, kRed}, {{3, 3}, kBlue}, {{6, 6}, kBlue}, {{7, 7}, kRed}}},
        // (10 - 13) / 2 truncates to -1: the canvas starts at picture pixel 1.
        {"larger picture centred", {10, 10}, {30, 30}, gradient, PLACEMENT_CENTER, {10, 10},
         {{{0, 0}, qRgb(10, 10, 200)}, {{9, 0}, qRgb(100, 10, 200)}, {{9, 9}, qRgb(100, 100, 200)}}},
        {"stretched", {40, 10}, {40, 10}, picture({"gb", "gb"}), PLACEMENT_STRETCH, {0, 0},
         {{{0, 0}, kGreen}, {{39, 9}, kBlue}, {{5, 5}, kGreen}, {{35, 5}, kBlue}}},
        {"undecodable picture: the colour only", {10, 10}, {10, 10}, QImage(), PLACEMENT_CENTER, {0, 0},
         {{{5, 5}, kRed}}},
        {"unknown placement: white", {10, 10}, {10, 10}, picture({"bb", "bb"}), 7, {0, 0}, {{{5, 5}, kWhite}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = mctest::canvasDoc(c.canvas.width(), c.canvas.height(), 0x000000FF);
        if (c.background)
            doc->m_pBkImage = std::make_unique<QImage>(*c.background);
        doc->m_nPlacement = c.placement;
        CanvasLayer layer;
        layer.Rebuild(*doc, c.client, kScreen, kSurround);
        EXPECT_EQ(layer.Layer().size(), QSize(1026, 770));
        EXPECT_EQ(layer.CanvasRect(), QRect(c.origin, c.canvas));
        for (const auto& [at, colour] : c.pixels)
            EXPECT_EQ(px(layer.Layer(), c.origin + at), colour) << at.x() << "," << at.y();
    }
}

// Items are clipped to the canvas, and each is drawn exactly once (the
// bottom one too), so a semitransparent item looks the same wherever it lies
// in the stack: one blend of red at alpha 128 over the white canvas.
TEST(CanvasLayer, PaintClipsToTheCanvasAndDrawsEachItemOnce)
{
    auto doc = mctest::canvasDoc(100, 100, 0x00FFFFFF);
    auto card = Card::CreateFromFile(
        mctest::writeImage(mctest::freshDir(), "big.png", mctest::solidImage(280, 280, QColor(255, 0, 0, 128))));
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
    const QRect canvas = layer.CanvasRect();
    EXPECT_EQ(px(out, QPoint(canvas.left() - 5, centre.y())), kSurround.rgb());
    EXPECT_EQ(px(out, QPoint(canvas.left() - 1, centre.y())), kBlack);
    const QImage rendered = mc::canvas::RenderCanvas(*doc, kScreen);
    for (const QRgb once : {out.pixel(centre), rendered.pixel(50, 50)}) {
        EXPECT_EQ(qRed(once), 255);
        EXPECT_NEAR(qGreen(once), 127, 2);
    }
}
