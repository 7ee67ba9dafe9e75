#pragma once
// The wallpaper picture of a project for one layout, without any desktop:
// the project, the sizes and the layout go in, a picture comes out.
//
// Four ways, chosen by the size asked for and the canvas size:
// - paint as is: canvas and picture both the screen size; the canvas as the
//   view paints it;
// - scaled (Stretched, canvas of another size): background and items drawn
//   afresh into a screen-sized picture, positions scaled by rx = W / cw and
//   ry = H / ch, item zoom by rx alone so items keep their aspect ratio;
// - canvas-sized (Centered, Tiled): the canvas as the view paints it; the
//   desktop centres or tiles it;
// - placed (the four Align layouts): the canvas drawn afresh at the aligned
//   place of a screen-sized picture filled with the desktop colour.
//
// A canvas larger than the screen on one axis keeps all of itself: the
// canvas-sized picture holds the whole canvas, and an Align picture is as
// tall (or wide) as the canvas on the axis it is centred on, the canvas at
// 0 there, so the desktop's centring shows its middle; nothing of the canvas
// is lost from the file.
#include "imaging/Colors.h"
#include "wallpaper/WallpaperLayout.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class CMyDoc;

namespace mc::wallpaper {

// What the picture depends on besides the project and the layout.
struct WallpaperContext {
    QSize screenSize;          // W x H, read once per run
    QSize clientSize;          // the view's captured client area (VW x VH)
    COLORREF desktopColor = 0; // around the canvas of the Align layouts
};

enum class RenderPath { PaintAsIs, Scaled, CanvasSized, Placed };

RenderPath ChooseRenderPath(QSize requested, WallpaperLayout layout, QSize screen, QSize canvas);

// Where the placed path puts the canvas: the picture size, the destination
// rectangle and the shift that carries an item from its view position to the
// same place in that rectangle.
struct CanvasPlacement {
    QSize pictureSize;
    QRect target;
    QPoint shift;
};
CanvasPlacement PlaceCanvas(WallpaperLayout layout, QSize screen, QSize client, QSize canvas);

// Renders the picture of `layout` at the requested size (screen size for
// Stretched, canvas size for the others). Items are moved and zoomed only
// for their own drawing and put back at once; the project ends as it was.
// A null image for a requested size that is not positive.
QImage RenderWallpaper(CMyDoc& doc, const WallpaperContext& context, QSize requested, WallpaperLayout layout);

} // namespace mc::wallpaper
