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
           kWhite = qRgb(255, 255, 255), kDark = qRgb(10, 20, 30), kOut = kSurround.rgb();

QRgb px(const QImage& image, QPoint p) { return image.pixel(p) | 0xFF000000u; }

// A w x h blue picture with the pixels `others` in other colours.
QImage picture(int w, int h, std::initializer_list<std::pair<QPoint, QRgb>> others)
{
    QImage img = mctest::solidImage(w, h, QColor(kBlue));
    for (const auto& [at, colour] : others)
        img.setPixel(at, colour);
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
    using Probes = std::vector<std::pair<QPoint, QRgb>>;
    // what, canvas, client, background, placement, canvas corner, probes
    const std::tuple<const char*, QSize, QSize, std::optional<QImage>, int, QPoint, Probes> cases[] = {
        {"small canvas, the extra pixel right and below", {101, 51}, {200, 100}, std::nullopt, PLACEMENT_CENTER, {49, 24},
         {{{0, 0}, kRed}, {{100, 50}, kRed}, {{-1, 6}, kBlack}, {{101, 6}, kBlack}, {{11, -1}, kBlack}, {{11, 51}, kBlack},
          {{-1, -1}, kBlack}, {{-2, 6}, kOut}, {{102, 6}, kOut}, {{11, 52}, kOut}, {{951, 676}, kOut}}},
        {"canvas wider than the client", {300, 300}, {200, 400}, std::nullopt, PLACEMENT_CENTER, {0, 50},
         {{{0, 0}, kRed}, {{0, -1}, kBlack}, {{300, 50}, kBlack}}},
        // Tiles start at the canvas corner and stop at the frame.
        {"tiles", {41, 31}, {100, 100}, picture(4, 4, {{{0, 0}, kDark}, {{2, 0}, kWhite}}), PLACEMENT_TILE, {29, 34},
         {{{0, 0}, kDark}, {{1, 0}, kBlue}, {{2, 0}, kWhite}, {{4, 8}, kDark}, {{40, 28}, kDark}, {{-1, 0}, kBlack}}},
        {"small picture centred on the colour", {11, 11}, {11, 11}, picture(4, 4, {}), PLACEMENT_CENTER, {0, 0},
         {{{2, 2}, kRed}, {{3, 3}, kBlue}, {{6, 6}, kBlue}, {{7, 7}, kRed}}},
        // (10 - 13) / 2 truncates to -1: the canvas starts at picture pixel 1.
        {"larger picture centred", {10, 10}, {30, 30}, gradient, PLACEMENT_CENTER, {10, 10},
         {{{0, 0}, qRgb(10, 10, 200)}, {{9, 0}, qRgb(100, 10, 200)}, {{9, 9}, qRgb(100, 100, 200)}}},
        {"stretched", {40, 10}, {40, 10}, picture(2, 2, {{{0, 0}, kGreen}, {{0, 1}, kGreen}}), PLACEMENT_STRETCH, {0, 0},
         {{{0, 0}, kGreen}, {{39, 9}, kBlue}, {{5, 5}, kGreen}, {{35, 5}, kBlue}}},
        {"undecodable picture: the colour only", {10, 10}, {10, 10}, QImage(), PLACEMENT_CENTER, {0, 0}, {{{5, 5}, kRed}}},
        {"unknown placement: white", {10, 10}, {10, 10}, picture(2, 2, {}), 7, {0, 0}, {{{5, 5}, kWhite}}},
    };
    for (const auto& [what, canvas, client, background, placement, origin, pixels] : cases) {
        SCOPED_TRACE(what);
        auto doc = mctest::canvasDoc(canvas.width(), canvas.height(), 0x000000FF);
        if (background)
            doc->m_pBkImage = std::make_unique<QImage>(*background);
        doc->m_nPlacement = placement;
        CanvasLayer layer;
        layer.Rebuild(*doc, client, kScreen, kSurround);
        EXPECT_EQ(std::pair(layer.Layer().size(), layer.CanvasRect()), std::pair(QSize(1026, 770), QRect(origin, canvas)));
        for (const auto& [at, colour] : pixels)
            EXPECT_EQ(px(layer.Layer(), origin + at), colour) << at.x() << "," << at.y();
    }
}

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
    EXPECT_EQ(std::pair(px(out, QPoint(canvas.left() - 5, centre.y())), px(out, QPoint(canvas.left() - 1, centre.y()))),
              std::pair(kOut, kBlack));
    const QImage rendered = mc::canvas::RenderCanvas(*doc, kScreen);
    for (const QRgb once : {out.pixel(centre), rendered.pixel(50, 50)}) {
        EXPECT_EQ(qRed(once), 255);
        EXPECT_NEAR(qGreen(once), 127, 2);
    }
}
