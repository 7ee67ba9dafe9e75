#pragma once
// An exact, path-based area in some coordinate system: the item clip, the
// kept area of an erased item and the cut shapes are all Regions. A Region is
// either infinite (covers the whole plane) or the area of a QPainterPath
// under its fill rule. Conversion to whole pixels (QRegion) happens only when
// the view needs it, by rasterising.
#include <QByteArray>
#include <QPainterPath>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <optional>

namespace mc {

class Region {
public:
    // The empty region.
    Region() = default;
    static Region infinite();
    static Region fromPath(const QPainterPath& path);
    static Region fromRect(const QRectF& rect);

    bool isInfinite() const { return m_infinite; }
    // True when the region covers no area (an infinite region never is):
    // a figure that encloses nothing (a line, two figures cancelling out
    // under the fill rule) is empty whatever its bounding box.
    bool isEmpty() const { return m_empty; }

    // Set operations; each leaves the result in *this.
    void intersect(const Region& other);
    void exclude(const Region& other);
    void translate(qreal dx, qreal dy);
    // Maps every point p to p * m (row-vector convention of QTransform).
    void transform(const QTransform& m);

    // The region's outline. An infinite region answers a very large
    // rectangle, which is enough for every canvas this program handles.
    QPainterPath path() const;
    QRectF boundingRect() const;
    bool contains(const QPointF& p) const;

    // Whole pixels whose centres lie inside the region. An infinite region is
    // limited to `limit` (default: a very large rectangle).
    QRegion toPixelRegion() const;
    QRegion toPixelRegion(const QRect& limit) const;

    // Versioned byte form of our own. deserialize() reads back exactly what
    // serialize() wrote and rejects anything else with a message.
    QByteArray serialize() const;
    static std::optional<Region> deserialize(const QByteArray& bytes, QString* error = nullptr);

    friend bool operator==(const Region& a, const Region& b);

    // Half the side of the square that stands for the infinite plane.
    static constexpr qreal kInfiniteExtent = 1 << 22;

    // Paths with more elements than this are not resolved exactly when
    // asked whether they cover any area (a path read from a damaged file
    // could take unbounded time); they count as covering their bounding box.
    static constexpr int kExactEmptyLimit = 100000;

private:
    // Sets m_path and works out once whether it covers any area.
    void setPath(QPainterPath path);

    bool m_infinite = false;
    bool m_empty = true; // kept up to date by every change of m_path
    QPainterPath m_path;
};

} // namespace mc
