#include "imaging/Region.h"

#include "imaging/RegionRaster.h"

#include <cmath>

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

} // namespace

Region Region::infinite()
{
    Region r;
    r.m_infinite = true;
    return r;
}

Region Region::fromPath(const QPainterPath& path)
{
    Region r;
    r.m_path = path;
    return r;
}

Region Region::fromRect(const QRectF& rect)
{
    QPainterPath p;
    p.setFillRule(Qt::OddEvenFill);
    p.addRect(rect);
    return fromPath(p);
}

bool Region::isEmpty() const
{
    if (m_infinite)
        return false;
    if (m_path.isEmpty())
        return true;
    const QRectF b = m_path.boundingRect();
    return !(b.width() > 0) || !(b.height() > 0);
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
    m_path = withOddEven(m_path.intersected(other.m_path));
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
    m_path = withOddEven(m_path.subtracted(other.m_path));
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
    m_path = m.map(m_path);
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
