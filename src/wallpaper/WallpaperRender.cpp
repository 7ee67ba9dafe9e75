#include "wallpaper/WallpaperRender.h"

#include "document/CMyDoc.h"
#include "canvas/CanvasLayer.h"
#include "imaging/PixelCoordinate.h"

#include <QPainter>

#include <algorithm>

namespace mc::wallpaper {

namespace {

// Changes an item's centre and zoom for one drawing and puts them back.
class ItemPose {
public:
    ItemPose(Card& card, QPoint center, double scale)
        : m_card(card), m_center(card.m_ptCenter), m_scale(card.m_dScale)
    {
        card.m_ptCenter = center;
        card.m_dScale = scale;
    }
    ~ItemPose()
    {
        m_card.m_ptCenter = m_center;
        m_card.m_dScale = m_scale;
    }
    ItemPose(const ItemPose&) = delete;
    ItemPose& operator=(const ItemPose&) = delete;

private:
    Card& m_card;
    QPoint m_center;
    double m_scale;
};

// One axis of the placed path: S screen, V client, c canvas extent.
struct AxisPlacement {
    int extent; // of the picture
    int position;
    int shift;
};

int originOf(int v, int c) { return v > c ? (v - c) / 2 : 0; }

AxisPlacement nearAxis(int s, int v, int c) { return {s, 0, c < v ? -((v - c) / 2) : 0}; }

AxisPlacement farAxis(int s, int v, int c) { return {s, s - c, c < v ? s - v + (v - c) / 2 : s - c}; }

AxisPlacement centredAxis(int s, int v, int c)
{
    if (c > s) // the whole canvas, at 0 in a picture as large as the canvas
        return {c, 0, -originOf(v, c)};
    return {s, (s - c) / 2, c < v ? (s - v) / 2 : (s - c) / 2};
}

QImage renderScaled(CMyDoc& doc, const WallpaperContext& context, QSize size)
{
    const double rx = double(size.width()) / doc.m_nCanvasWidth;
    const double ry = double(size.height()) / doc.m_nCanvasHeight;
    const QPoint origin = canvas::CanvasOrigin(context.clientSize, doc.m_nCanvasWidth, doc.m_nCanvasHeight);

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white); // what an unknown placement leaves, as in the view
    QPainter painter(&image);
    const QRect all(QPoint(0, 0), size);
    painter.setClipRect(all);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    canvas::DrawCanvasBackground(painter, doc, all, rx, ry);

    for (auto it = doc.m_listCards.rbegin(); it != doc.m_listCards.rend(); ++it) {
        Card& card = **it;
        const QPoint center(imaging::truncToPixel((double(card.m_ptCenter.x()) - origin.x()) * rx),
                            imaging::truncToPixel((double(card.m_ptCenter.y()) - origin.y()) * ry));
        const ItemPose pose(card, center, card.m_dScale * rx);
        card.Draw(painter);
    }
    return image;
}

QImage renderPlaced(CMyDoc& doc, const WallpaperContext& context, QSize canvas, WallpaperLayout layout)
{
    const CanvasPlacement placed = PlaceCanvas(layout, context.screenSize, context.clientSize, canvas);
    QImage image(placed.pictureSize, QImage::Format_RGB32);
    image.fill(colorrefToColor(context.desktopColor));
    QPainter painter(&image);
    painter.setClipRect(placed.target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    canvas::DrawCanvasBackground(painter, doc, placed.target);

    for (auto it = doc.m_listCards.rbegin(); it != doc.m_listCards.rend(); ++it) {
        Card& card = **it;
        const ItemPose pose(card, card.m_ptCenter + placed.shift, card.m_dScale);
        card.Draw(painter);
    }
    return image;
}

} // namespace

RenderPath ChooseRenderPath(QSize requested, WallpaperLayout layout, QSize screen, QSize canvas)
{
    if (requested == screen)
        return canvas == screen ? RenderPath::PaintAsIs : RenderPath::Scaled;
    switch (layout) {
    case WallpaperLayout::Centered:
    case WallpaperLayout::Tiled:
        return RenderPath::CanvasSized;
    case WallpaperLayout::LeftAlign:
    case WallpaperLayout::RightAlign:
    case WallpaperLayout::TopAlign:
    case WallpaperLayout::BottomAlign:
        return RenderPath::Placed;
    case WallpaperLayout::Stretched:
        break;
    }
    // Stretched always asks for the screen size; any other size is still a
    // stretch of the canvas onto it.
    return RenderPath::Scaled;
}

CanvasPlacement PlaceCanvas(WallpaperLayout layout, QSize screen, QSize client, QSize canvas)
{
    const int sw = screen.width(), sh = screen.height();
    const int vw = client.width(), vh = client.height();
    const int cw = canvas.width(), ch = canvas.height();
    AxisPlacement x{}, y{};
    switch (layout) {
    case WallpaperLayout::LeftAlign:
        x = nearAxis(sw, vw, cw);
        y = centredAxis(sh, vh, ch);
        break;
    case WallpaperLayout::RightAlign:
        x = farAxis(sw, vw, cw);
        y = centredAxis(sh, vh, ch);
        break;
    case WallpaperLayout::TopAlign:
        x = centredAxis(sw, vw, cw);
        y = nearAxis(sh, vh, ch);
        break;
    case WallpaperLayout::BottomAlign:
        x = centredAxis(sw, vw, cw);
        y = farAxis(sh, vh, ch);
        break;
    default:
        // Not an Align layout: the canvas centred on both axes.
        x = centredAxis(sw, vw, cw);
        y = centredAxis(sh, vh, ch);
        break;
    }
    return {QSize(x.extent, y.extent), QRect(x.position, y.position, cw, ch), QPoint(x.shift, y.shift)};
}

QImage RenderWallpaper(CMyDoc& doc, const WallpaperContext& context, QSize requested, WallpaperLayout layout)
{
    if (requested.width() <= 0 || requested.height() <= 0 || doc.m_nCanvasWidth <= 0 || doc.m_nCanvasHeight <= 0)
        return {};
    const QSize canvas(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    switch (ChooseRenderPath(requested, layout, context.screenSize, canvas)) {
    case RenderPath::PaintAsIs:
        // The canvas cut out at its origin: the whole screen-sized picture
        // whenever the canvas starts at view point (0,0), as it does for a
        // client area smaller than the screen.
    case RenderPath::CanvasSized:
        return canvas::RenderCanvas(doc, context.clientSize);
    case RenderPath::Scaled:
        return renderScaled(doc, context, requested);
    case RenderPath::Placed:
        return renderPlaced(doc, context, requested, layout);
    }
    return {};
}

} // namespace mc::wallpaper
