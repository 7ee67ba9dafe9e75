#include "imaging/Region.h"

#include "imaging/RegionRaster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace mc {

namespace {

QRectF infiniteRect()
{
    return QRectF(-Region::kInfiniteExtent, -Region::kInfiniteExtent, 2 * Region::kInfiniteExtent,
                  2 * Region::kInfiniteExtent);
}

QRect infinitePixelRect()
{
    const int e = int(Region::kInfiniteExtent);
    return QRect(-e, -e, 2 * e, 2 * e);
}

QPainterPath withOddEven(QPainterPath path)
{
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

// Whether the path's fill covers any area. The bounding box alone does not
// tell: a closed line, or a figure drawn twice under the odd-even rule, has
// a real box and covers nothing. Resolving the path under its fill rule
// leaves only edges that do not cross; it then covers area exactly when one
// of its figures does. Rounding noise far below a pixel counts as nothing.
bool coversArea(const QPainterPath& path)
{
    if (path.isEmpty())
        return false;
    const QRectF box = path.boundingRect();
    if (!(box.width() > 0) || !(box.height() > 0))
        return false;
    if (path.elementCount() > Region::kExactEmptyLimit)
        return true;
    const double noise = std::max(1e-9, 1e-12 * box.width() * box.height());
    for (const QPolygonF& figure : path.simplified().toSubpathPolygons()) {
        double twiceArea = 0.0;
        for (qsizetype i = 0, n = figure.size(); i < n; ++i) {
            const QPointF& a = figure[i];
            const QPointF& b = figure[(i + 1) % n];
            twiceArea += a.x() * b.y() - b.x() * a.y();
        }
        if (std::abs(twiceArea) / 2 > noise)
            return true;
    }
    return false;
}

} // namespace

Region Region::infinite()
{
    Region r;
    r.m_infinite = true;
    r.m_empty = false;
    return r;
}

Region Region::fromPath(const QPainterPath& path)
{
    Region r;
    r.setPath(path);
    return r;
}

void Region::setPath(QPainterPath path)
{
    m_path = std::move(path);
    m_empty = !m_infinite && !coversArea(m_path);
}

Region Region::fromRect(const QRectF& rect)
{
    QPainterPath p;
    p.setFillRule(Qt::OddEvenFill);
    p.addRect(rect);
    // A rectangle covers area exactly when it has width and height.
    Region r;
    r.m_path = std::move(p);
    r.m_empty = !(std::abs(rect.width()) > 0) || !(std::abs(rect.height()) > 0);
    return r;
}

void Region::intersect(const Region& other)
{
    if (other.m_infinite)
        return;
    if (m_infinite) {
        *this = other;
        return;
    }
    if (isEmpty() || other.isEmpty()) {
        *this = Region();
        return;
    }
    setPath(withOddEven(m_path.intersected(other.m_path)));
}

void Region::exclude(const Region& other)
{
    if (other.m_infinite) {
        *this = Region();
        return;
    }
    if (other.isEmpty())
        return;
    if (m_infinite) {
        // The plane minus a finite area: a huge square with a hole.
        m_infinite = false;
        m_path = QPainterPath();
        m_path.addRect(infiniteRect());
    }
    setPath(withOddEven(m_path.subtracted(other.m_path)));
}

void Region::translate(qreal dx, qreal dy)
{
    if (!m_infinite)
        m_path.translate(dx, dy);
}

void Region::transform(const QTransform& m)
{
    if (m_infinite) {
        // An invertible affine map takes the plane onto itself; a singular one
        // squashes it onto a line or a point, which covers no area.
        if (!m.isInvertible())
            *this = Region();
        return;
    }
    // An invertible map keeps an area an area; a singular one flattens it.
    if (m.isInvertible())
        m_path = m.map(m_path);
    else
        setPath(m.map(m_path));
}

QPainterPath Region::path() const
{
    if (!m_infinite)
        return m_path;
    QPainterPath p;
    p.setFillRule(Qt::OddEvenFill);
    p.addRect(infiniteRect());
    return p;
}

QRectF Region::boundingRect() const
{
    return m_infinite ? infiniteRect() : m_path.boundingRect();
}

bool Region::contains(const QPointF& p) const
{
    return m_infinite || m_path.contains(p);
}

QRegion Region::toPixelRegion() const
{
    return toPixelRegion(infinitePixelRect());
}

QRegion Region::toPixelRegion(const QRect& limit) const
{
    if (limit.isEmpty())
        return QRegion();
    if (m_infinite)
        return QRegion(limit);
    return imaging::rasterizePath(m_path, limit);
}

bool operator==(const Region& a, const Region& b)
{
    if (a.m_infinite || b.m_infinite)
        return a.m_infinite == b.m_infinite;
    return a.m_path == b.m_path;
}

} // namespace mc
