#pragma once
// Turns an exact path into whole pixels: a pixel belongs to the result when
// its centre lies inside the path under the path's fill rule. Scanline based,
// so the cost follows the number of rows and edges, not the covered area, and
// thousands of small rectangles stay cheap.
#include <QPainterPath>
#include <QRect>
#include <QRegion>

namespace mc::imaging {

// Rows and columns outside `limit` are never visited.
QRegion rasterizePath(const QPainterPath& path, const QRect& limit);

} // namespace mc::imaging
