#pragma once
// A set of whole pixels: one bit per pixel of a bounding rectangle, or the
// whole plane. Pixel (x, y) stands for the unit square [x, x + 1) x [y, y + 1).
//
// The kept area of an erased item is one. Bits cost a thirty-second of the
// picture's own memory however often kept and erased pixels alternate,
// where an outline of the same area grows with every corner and has to be
// traced, transformed and rasterised again whenever the item moves.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QTransform>
#include <QtGlobal>

#include <vector>

namespace mc::imaging {

class PixelArea {
public:
    // The empty area.
    PixelArea() = default;
    static PixelArea infinite();
    // An empty area to which pixels inside `bounds` can be added.
    explicit PixelArea(const QRect& bounds);

    // Adds the pixels begin ... end - 1 of row y; the part outside the
    // bounds is ignored.
    void addRun(int y, int begin, int end);
    void translate(int dx, int dy);

    bool isInfinite() const { return m_infinite; }
    bool isEmpty() const { return !m_infinite && m_count == 0; }
    bool contains(QPoint p) const;

    // The pixels themselves. An infinite area answers the square that
    // mc::Region uses for the plane.
    QRegion toPixelRegion() const;

    // The view pixels whose centres lie in the area mapped by the affine
    // transform `m` (row-vector convention), limited to `limit`. Pixel
    // centres on the mapped border follow the same rule as for a mapped
    // mc::Region, and where `m` neither rotates nor shears the result is
    // exactly the one of the area's outline mapped and rasterised. The cost
    // follows the rows and runs the result crosses, never the corners.
    QRegion mapped(const QTransform& m, const QRect& limit) const;

    // Memory the bits take.
    qint64 byteSize() const { return qint64(m_bits.size() * sizeof(quint64)); }

    // Same pixels (an infinite area equals only an infinite one).
    friend bool operator==(const PixelArea& a, const PixelArea& b);

private:
    bool bit(int x, int y) const;
    // Calls f(begin, end) for every run of the area in row y that overlaps
    // columns from ... to - 1, clipped to them, left to right.
    template <typename F>
    void forEachRun(int y, int from, int to, F&& f) const;
    QRegion mappedAxisAligned(const QTransform& m, const QRect& limit) const;
    QRegion mappedGeneral(const QTransform& m, const QRect& limit) const;

    bool m_infinite = false;
    QRect m_bounds;
    int m_wordsPerRow = 0;
    qint64 m_count = 0; // pixels in the area
    std::vector<quint64> m_bits;
};

} // namespace mc::imaging
