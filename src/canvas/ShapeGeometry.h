#pragma once
// The geometry of the eighteen cut shapes for the rectangle dragged from
// (x0, y0) to (x1, y1). The rectangle is not normalised: a drag to the left
// or upwards mirrors the shape. Every coordinate is computed in 32-bit
// integers with truncating division (double products truncated where the
// shape says so), so that outline and cut region stand on the same pixels.
#include "imaging/Region.h"

#include <QPainterPath>
#include <QPoint>

#include <vector>

class QPainter;

namespace mc::canvas {

// The shape kinds in the order of the Shape menu; kind k is command 196 + k.
enum ShapeKind {
    SHAPE_RECT = 0,
    SHAPE_ROUND_RECT,
    SHAPE_DIAMOND,
    SHAPE_PARALLELOGRAM,
    SHAPE_ECHELON,
    SHAPE_ISOSCELES_TRIANGLE,
    SHAPE_RIGHT_ANGLE_TRIANGLE,
    SHAPE_PENTACLE,
    SHAPE_EIGHT_SQUARE,
    SHAPE_TEN_SQUARE,
    SHAPE_HEXAGON,
    SHAPE_OCTAGON,
    SHAPE_ELLIPSE,
    SHAPE_HEART,
    SHAPE_CRESCENT,
    SHAPE_CLOUD,
    SHAPE_GOMBOL,
    SHAPE_BLAST,
};
constexpr int kShapeCount = 18;

// The point where the line through p and q meets the line through r and s,
// with 64-bit products and truncating division; p when the lines are
// parallel (as in a degenerate rectangle).
QPoint LineIntersection(QPoint p, QPoint q, QPoint r, QPoint s);

// The points a shape is made of: the polygon vertices, or the Bézier chain
// (start point, then control, control, end for every segment; the Heart's
// two chains of ten one after the other). Empty for Rect, RoundRect,
// Ellipe and Crescent, which are drawn from their rectangle. A kind outside
// 0..17 counts as Rect.
std::vector<QPoint> ShapePoints(int kind, int x0, int y0, int x1, int y1);

// The outline drawn on the screen, in the coordinates of the corners:
// closed figures for the polygons, the rectangle shapes and the ellipse,
// open chains for the Bézier shapes, two half-ellipse arcs for the Crescent.
QPainterPath ShapeOutlinePath(int kind, int x0, int y0, int x1, int y1);

// Strokes the outline with the painter's pen. The filled shapes would also
// be filled with the white brush, which leaves every pixel as it is in the
// inverting mode the outline is drawn in; so only the stroke is drawn.
void DrawShapeOutline(int kind, int x0, int y0, int x1, int y1, QPainter& dc);

// The area a cut with this shape keeps, in the coordinates of the corners
// (odd-even fill). A rectangle without width or height gives an empty
// region.
mc::Region ShapeRegion(int kind, int x0, int y0, int x1, int y1);

} // namespace mc::canvas
