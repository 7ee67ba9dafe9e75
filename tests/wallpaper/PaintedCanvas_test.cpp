// The canvas picture (the companion JPEG, and the layouts that take the
// canvas as it is: a screen-sized canvas, Centered, Tiled) is drawn without
// the view's background layer: it must still be the view's canvas to the pixel, whatever the background, the
// items' transforms and the canvas's place in the client area.
#include "wallpaper/WallpaperRender.h"

#include "WallpaperTestUtil.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace mc::wallpaper;
using namespace wptest;

namespace {

// Gradients and edges, so that any resampling difference shows.
QImage patterned(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, ((x / 7 + y / 5) % 2) * 200));
    return img;
}

// The canvas cut out of the view's own background layer and paint.
QImage viewCanvas(const CMyDoc& doc, QSize client, QSize screen)
{
    const QPoint origin = mc::canvas::CanvasOrigin(client, doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    const QSize surface(std::max(screen.width(), origin.x() + doc.m_nCanvasWidth),
                        std::max(screen.height(), origin.y() + doc.m_nCanvasHeight));
    mc::canvas::CanvasLayer layer;
    layer.Rebuild(doc, client, surface, mc::canvas::SurroundColor());
    QImage shown(surface + QSize(2, 2), QImage::Format_RGB32);
    QPainter painter(&shown);
    layer.Paint(painter, doc);
    painter.end();
    return shown.copy(layer.CanvasRect());
}

} // namespace

TEST(PaintedCanvasTest, IsTheViewsCanvasForEveryBackgroundAndPlace)
{
    struct Case {
        QSize canvas;
        QSize client;
    };
    // Centred in a larger client, at 0 in a smaller one, larger than the
    // screen on one axis, and the screen-sized canvas.
    const Case cases[] = {{{700, 500}, kClient}, {{700, 500}, {600, 400}}, {{900, 1000}, kClient}, {kScreen, kClient}};
    for (const Case& c : cases) {
        auto doc = makeDoc(c.canvas.width(), c.canvas.height());
        Card* turned = addItem(*doc, Qt::green, QSize(120, 80), QPoint(200, 150), c.client);
        turned->m_dAngle = 33;
        turned->m_dScale = 1.7;
        turned->m_dShearX = 0.2;
        turned->UpdateRegion();
        Card* edge = addItem(*doc, Qt::blue, QSize(60, 60), QPoint(c.canvas.width() - 10, 40), c.client);
        edge->m_dAngle = -12;
        edge->UpdateRegion();

        for (int placement : {-1, int(PLACEMENT_CENTER), int(PLACEMENT_TILE), int(PLACEMENT_STRETCH), 7}) {
            if (placement == -1)
                doc->m_pBkImage.reset();
            else
                setBackground(*doc, patterned(333, 221), placement);
            const WallpaperContext context{kScreen, c.client, kDesktopColor};
            const QImage expected = viewCanvas(*doc, c.client, kScreen);
            for (WallpaperLayout layout : {WallpaperLayout::Centered, WallpaperLayout::Tiled}) {
                const QImage picture = RenderWallpaper(*doc, context, c.canvas, layout);
                EXPECT_EQ(picture, expected) << c.canvas.width() << "x" << c.canvas.height() << " in "
                                             << c.client.width() << "x" << c.client.height() << ", placement "
                                             << placement;
            }
        }
    }
}
