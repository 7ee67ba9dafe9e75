#include "imaging/PixelArea.h"

#include "imaging/PixelRows.h"
#include "imaging/Region.h"

#include <bit>
#include <cmath>

namespace mc::imaging {

namespace {

constexpr int kWordBits = 64;

// The first position p in from ... end - 1 whose bit is `set`, or end.
int nextBit(const quint64* words, int from, int end, bool set)
{
    if (from >= end)
        return end;
    int i = from / kWordBits;
    quint64 w = (set ? words[i] : ~words[i]) & (~quint64(0) << (from % kWordBits));
    while (w == 0) {
        if (++i * kWordBits >= end)
            return end;
        w = set ? words[i] : ~words[i];
    }
    return std::min(end, i * kWordBits + std::countr_zero(w));
}

} // namespace

PixelArea PixelArea::infinite()
{
    PixelArea a;
    a.m_infinite = true;
    return a;
}

PixelArea::PixelArea(const QRect& bounds)
{
    if (bounds.isEmpty())
        return;
    m_bounds = bounds;
    m_wordsPerRow = (bounds.width() + kWordBits - 1) / kWordBits;
    m_bits.assign(size_t(m_wordsPerRow) * size_t(bounds.height()), 0);
}

void PixelArea::addRun(int y, int begin, int end)
{
    if (m_infinite || y < m_bounds.top() || y > m_bounds.bottom())
        return;
    begin = std::max(begin, m_bounds.left()) - m_bounds.left();
    end = std::min(end, m_bounds.right() + 1) - m_bounds.left();
    quint64* row = m_bits.data() + size_t(y - m_bounds.top()) * size_t(m_wordsPerRow);
    while (begin < end) {
        const int i = begin / kWordBits;
        const int first = begin % kWordBits;
        const int count = std::min(end - begin, kWordBits - first);
        const quint64 mask = (count == kWordBits ? ~quint64(0) : ((quint64(1) << count) - 1)) << first;
        m_count += std::popcount(mask & ~row[i]);
        row[i] |= mask;
        begin += count;
    }
}

void PixelArea::translate(int dx, int dy)
{
    m_bounds.translate(dx, dy);
}

bool PixelArea::bit(int x, int y) const
{
    const int i = x - m_bounds.left();
    return (m_bits[size_t(y - m_bounds.top()) * size_t(m_wordsPerRow) + size_t(i / kWordBits)] >> (i % kWordBits)) & 1;
}

bool PixelArea::contains(QPoint p) const
{
    return m_infinite || (m_count > 0 && m_bounds.contains(p) && bit(p.x(), p.y()));
}

template <typename F>
void PixelArea::forEachRun(int y, int from, int to, F&& f) const
{
    const int left = m_bounds.left();
    from = std::max(from, left) - left;
    to = std::min(to, m_bounds.right() + 1) - left;
    const quint64* row = m_bits.data() + size_t(y - m_bounds.top()) * size_t(m_wordsPerRow);
    for (int x = nextBit(row, from, to, true); x < to;) {
        const int end = nextBit(row, x, to, false);
        f(x + left, end + left);
        x = nextBit(row, end, to, true);
    }
}

QRegion PixelArea::toPixelRegion() const
{
    if (m_infinite) {
        const int e = int(Region::kInfiniteExtent);
        return QRegion(-e, -e, 2 * e, 2 * e);
    }
    return mapped(QTransform(), m_bounds);
}

QRegion PixelArea::mapped(const QTransform& m, const QRect& limit) const
{
    if (m_infinite)
        return m.isInvertible() && !limit.isEmpty() ? QRegion(limit) : QRegion();
    if (m_count == 0 || limit.isEmpty())
        return QRegion();
    if (m.m12() == 0.0 && m.m21() == 0.0)
        return mappedAxisAligned(m, limit);
    return mappedGeneral(m, limit);
}

// Without rotation or shear every row of the area maps to a band of view
// rows and every run to the same columns in each of them. A mapped outline
// has one vertical edge per run end over the rows it spans, at the same x
// (the edge's ends are mapped with the same arithmetic) and active in the
// same view rows (the row bands of consecutive area rows tile the view
// without gaps or overlaps), so the result is the outline's, bit for bit.
QRegion PixelArea::mappedAxisAligned(const QTransform& m, const QRect& limit) const
{
    if (m.m11() == 0.0 || m.m22() == 0.0)
        return QRegion(); // everything on one line: no pixel centre inside
    const bool down = m.m22() > 0;
    const bool right = m.m11() > 0;
    RowBands bands;
    std::vector<PixelRun> local, runs;
    for (int i = 0; i < m_bounds.height(); ++i) {
        // View rows in increasing order: area rows upwards when mirrored.
        const int y = down ? m_bounds.top() + i : m_bounds.bottom() - i;
        const double y0 = m.map(QPointF(0, y)).y();
        const double y1 = m.map(QPointF(0, y + 1)).y();
        int first = 0, last = 0;
        if (!pixelSpan(std::min(y0, y1), std::max(y0, y1), limit.top(), limit.bottom(), first, last))
            continue;
        local.clear();
        forEachRun(y, m_bounds.left(), m_bounds.right() + 1, [&](int b, int e) { local.push_back({b, e}); });
        runs.clear();
        for (size_t k = 0; k < local.size(); ++k) {
            const PixelRun& r = local[right ? k : local.size() - 1 - k];
            const double xb = m.map(QPointF(r.begin, y)).x();
            const double xe = m.map(QPointF(r.end, y)).x();
            int begin = 0, end = 0;
            if (pixelSpan(std::min(xb, xe), std::max(xb, xe), limit.left(), limit.right(), begin, end))
                appendRun(runs, begin, end);
        }
        bands.addRows(first, last - first, runs);
    }
    return bands.finish();
}

// Any other transform: each view row's centre line is mapped back into the
// area, where it crosses a few rows; the stretch of the line inside each
// crossed row is split at the run ends of that row. The view pixels whose
// centres fall in a kept stretch form the row's runs. Exact up to rounding:
// only a pixel centre that lies on the mapped border within the precision
// of doubles can go the other way than with a mapped outline.
QRegion PixelArea::mappedGeneral(const QTransform& m, const QRect& limit) const
{
    const double m11 = m.m11(), m12 = m.m12(), m21 = m.m21(), m22 = m.m22(), dx = m.dx(), dy = m.dy();
    const double det = m11 * m22 - m12 * m21;
    if (det == 0.0 || !std::isfinite(det))
        return QRegion();

    // The view rectangle the area can reach.
    const QRectF b(m_bounds);
    const QPointF corners[] = {m.map(b.topLeft()), m.map(b.topRight()), m.map(b.bottomLeft()),
                               m.map(b.bottomRight())};
    double minX = corners[0].x(), maxX = minX, minY = corners[0].y(), maxY = minY;
    for (const QPointF& c : corners) {
        minX = std::min(minX, c.x());
        maxX = std::max(maxX, c.x());
        minY = std::min(minY, c.y());
        maxY = std::max(maxY, c.y());
    }
    int firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
    if (!pixelSpan(minY, maxY, limit.top(), limit.bottom(), firstRow, lastRow) ||
        !pixelSpan(minX, maxX, limit.left(), limit.right(), firstCol, lastCol))
        return QRegion();
    // Only centres matter: the line from the first to the last column centre.
    const double tLo = firstCol + 0.5;
    const double tHi = lastCol - 0.5;

    const double invDet = 1.0 / det;
    const double invM22 = m22 != 0.0 ? 1.0 / m22 : 0.0;
    const double invM12 = m12 != 0.0 ? 1.0 / m12 : 0.0;
    RowBands bands;
    std::vector<PixelRun> local, runs;
    for (int row = firstRow; row < lastRow; ++row) {
        const double yc = row + 0.5;
        // Area coordinates of the view point (t, yc), and the t where each
        // of them reaches a given value.
        // (Multiplying by reciprocals: a few of these per crossed row.)
        const double ym21 = (yc - dy) * m21, ym11 = (yc - dy) * m11;
        auto u = [&](double t) { return ((t - dx) * m22 - ym21) * invDet; };
        auto v = [&](double t) { return (ym11 - (t - dx) * m12) * invDet; };
        auto tAtU = [&](double k) { return dx + (k * det + ym21) * invM22; };
        auto tAtV = [&](double j) { return dx + (ym11 - j * det) * invM12; };
        // Adds the kept parts of the stretch ta ... tb of the line in area row j.
        auto stretch = [&](int j, double ta, double tb) {
            if (m22 == 0.0) { // u is the same all along the row
                const double k = std::floor(u(ta));
                int begin = 0, end = 0;
                if (k >= m_bounds.left() && k <= m_bounds.right() && bit(int(k), j) &&
                    pixelSpan(ta, tb, limit.left(), limit.right(), begin, end))
                    appendRun(runs, begin, end);
                return;
            }
            const double ua = u(ta), ub = u(tb);
            const double lo = std::max(std::floor(std::min(ua, ub)), double(m_bounds.left()));
            const double hi = std::min(std::floor(std::max(ua, ub)), double(m_bounds.right()));
            if (!(lo <= hi))
                return;
            local.clear();
            forEachRun(j, int(lo), int(hi) + 1, [&](int b, int e) { local.push_back({b, e}); });
            const bool forward = ub >= ua;
            for (size_t k = 0; k < local.size(); ++k) {
                const PixelRun& r = local[forward ? k : local.size() - 1 - k];
                double s = tAtU(r.begin), f = tAtU(r.end);
                if (s > f)
                    std::swap(s, f);
                int begin = 0, end = 0;
                if (pixelSpan(std::max(s, ta), std::min(f, tb), limit.left(), limit.right(), begin, end))
                    appendRun(runs, begin, end);
            }
        };

        runs.clear();
        if (m12 == 0.0) {
            // The line stays in one area row.
            const double j = std::floor(v(tLo));
            if (j >= m_bounds.top() && j <= m_bounds.bottom())
                stretch(int(j), tLo - 0.5, tHi + 0.5);
        } else {
            const double va = v(tLo), vb = v(tHi);
            if (!std::isfinite(va) || !std::isfinite(vb))
                continue;
            const int top = int(std::max(std::floor(std::min(va, vb)), double(m_bounds.top())));
            const int bottom = int(std::min(std::floor(std::max(va, vb)), double(m_bounds.bottom())));
            // Rows in the order the line meets them as t grows.
            const bool downwards = vb >= va;
            for (int i = 0; i <= bottom - top; ++i) {
                const int j = downwards ? top + i : bottom - i;
                double ta = tAtV(j), tb = tAtV(j + 1);
                if (ta > tb)
                    std::swap(ta, tb);
                ta = std::max(ta, tLo - 0.5);
                tb = std::min(tb, tHi + 0.5);
                if (ta < tb)
                    stretch(j, ta, tb);
            }
        }
        bands.addRows(row, 1, runs);
    }
    return bands.finish();
}

bool operator==(const PixelArea& a, const PixelArea& b)
{
    if (a.m_infinite || b.m_infinite)
        return a.m_infinite == b.m_infinite;
    if (a.m_count != b.m_count)
        return false;
    if (a.m_count == 0)
        return true;
    if (a.m_bounds == b.m_bounds)
        return a.m_bits == b.m_bits;
    return a.toPixelRegion() == b.toPixelRegion();
}

} // namespace mc::imaging
