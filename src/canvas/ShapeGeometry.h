#pragma once
// The geometry of the cut shapes for the rectangle dragged from `start` to
// `end` (the corners need not be ordered): the outline the view draws while
// dragging, and the closed figure the cut region is built from.
#include <QPainterPath>
#include <QPoint>

namespace mc::canvas {

constexpr int kShapeCount = 18;

// The outline drawn on the screen, in the coordinates of the corners.
QPainterPath ShapeOutlinePath(int kind, QPoint start, QPoint end);

// The figure whose area becomes the cut region.
QPainterPath ShapeFigurePath(int kind, QPoint start, QPoint end);

} // namespace mc::canvas
