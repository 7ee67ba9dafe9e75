#pragma once
// The canvas as the view shows it, without any widget: the background layer
// (surround, black frame, white canvas, then colour and picture) rebuilt once
// per document change, and the paint that copies the layer and draws the
// items from the bottom of the stack to the top, clipped to the canvas. The
// project's JPEG snapshot and the wallpaper export reuse it headless.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class CMyDoc;
class Card;
class QPainter;

namespace mc::canvas {

// Top-left corner of the canvas in view coordinates: centred in the captured
// client area on each axis where the client is larger, else 0.
QPoint CanvasOrigin(QSize clientSize, int canvasWidth, int canvasHeight);

class CanvasLayer {
public:
    // Rebuilds the layer, (screen width + 2) x (screen height + 2) pixels.
    void Rebuild(const CMyDoc& doc, QSize clientSize, QSize screenSize, QColor surround);

    const QImage& Layer() const { return m_layer; }
    // The canvas rectangle in view coordinates, as of the last rebuild.
    QRect CanvasRect() const { return m_canvasRect; }

    // Paints the layer and all items. `painter` maps view point (0,0) to its
    // own origin; the items are clipped to the canvas rectangle.
    void Paint(QPainter& painter, const CMyDoc& doc) const;

private:
    QImage m_layer;
    QRect m_canvasRect;
};

// Draws `card` clipped to its pixel area m_rgnItem (view coordinates), so
// that the pixels an item touches are exactly those that invalidating its
// area repaints: the rasterised outline and the transformed drawing may
// round an edge pixel differently, which would leave specks behind a drag.
void DrawItem(QPainter& painter, const Card& card);

// Draws the project's background into `rect`: no picture, the background
// colour; Stretch, the picture filling the rectangle; Tile, the picture at
// its own size with a tile starting at the rectangle's top-left corner;
// Center, the colour and then the picture scaled by (rx, ry) and centred. An
// unknown placement draws nothing. The caller clips to `rect`.
void DrawCanvasBackground(QPainter& painter, const CMyDoc& doc, const QRect& rect, double rx = 1.0,
                          double ry = 1.0);

// The finished canvas picture (canvas width x height), exactly what the
// view shows inside the frame: drawn straight into a canvas-sized picture,
// with the items at their view positions for a canvas centred in a client
// area of `clientSize`. This is what the project's companion JPEG holds.
QImage RenderCanvas(const CMyDoc& doc, QSize clientSize);

// The surround colour of the background layer (the palette's window colour,
// or a fixed light gray without a GUI application).
QColor SurroundColor();

} // namespace mc::canvas
