#include "canvas/ShapeGeometry.h"

#include <QRectF>

#include <algorithm>

namespace mc::canvas {

namespace {
QRectF normalized(QPoint a, QPoint b)
{
    const int left = std::min(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    return QRectF(left, top, std::max(a.x(), b.x()) - left, std::max(a.y(), b.y()) - top);
}
} // namespace

// Every kind is the plain rectangle until the eighteen shapes take their
// own outlines and figures here.
QPainterPath ShapeOutlinePath(int kind, QPoint start, QPoint end)
{
    (void)kind;
    QPainterPath path;
    path.addRect(normalized(start, end));
    return path;
}

QPainterPath ShapeFigurePath(int kind, QPoint start, QPoint end)
{
    (void)kind;
    QPainterPath path;
    path.addRect(normalized(start, end));
    return path;
}

} // namespace mc::canvas
