#include "imaging/RegionRaster.h"

#include "imaging/PixelRows.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace mc::imaging {

namespace {

struct Edge {
    double x0;   // x where the edge meets y0
    double y0;
    double dxdy; // change of x per unit of y
    int rowStart; // first row whose centre the edge crosses
    int rowEnd;   // one past the last such row
    int dir;      // +1 downwards, -1 upwards (winding rule)
};

struct Crossing {
    double x;
    int dir;
    bool operator<(const Crossing& o) const { return x < o.x; }
};

class EdgeCollector {
public:
    EdgeCollector(const QRect& limit, std::vector<Edge>& edges) : m_limit(limit), m_edges(edges) {}

    void add(QPointF a, QPointF b)
    {
        if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
            return;
        if (a.y() == b.y())
            return; // horizontal edges cross no row centre
        int dir = 1;
        if (a.y() > b.y()) {
            std::swap(a, b);
            dir = -1;
        }
        // Rows r with a.y <= r + 0.5 < b.y, clamped to the limit before any
        // conversion to int so that huge coordinates cannot overflow.
        const double first = std::max(std::ceil(a.y() - 0.5), double(m_limit.top()));
        const double last = std::min(std::ceil(b.y() - 0.5), double(m_limit.bottom()) + 1.0);
        if (!(first < last))
            return;
        const double dxdy = (b.x() - a.x()) / (b.y() - a.y());
        if (!std::isfinite(dxdy))
            return;
        m_edges.push_back({a.x(), a.y(), dxdy, int(first), int(last), dir});
    }

private:
    QRect m_limit;
    std::vector<Edge>& m_edges;
};

bool hasCurves(const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i)
        if (path.elementAt(i).type == QPainterPath::CurveToElement)
            return true;
    return false;
}

void collectEdges(const QPainterPath& path, EdgeCollector& out)
{
    if (hasCurves(path)) {
        for (const QPolygonF& poly : path.toSubpathPolygons()) {
            for (int i = 0; i + 1 < poly.size(); ++i)
                out.add(poly[i], poly[i + 1]);
            if (poly.size() > 1)
                out.add(poly.last(), poly.first()); // filling closes every figure
        }
        return;
    }
    // Straight lines only (rectangles, polygons): walk the elements directly,
    // without building one polygon per figure.
    QPointF start, prev;
    bool open = false;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        const QPointF p(e.x, e.y);
        if (e.type == QPainterPath::MoveToElement) {
            if (open)
                out.add(prev, start);
            start = prev = p;
            open = true;
        } else {
            out.add(prev, p);
            prev = p;
        }
    }
    if (open)
        out.add(prev, start);
}

} // namespace

QRegion rasterizePath(const QPainterPath& path, const QRect& limit)
{
    if (limit.isEmpty() || path.isEmpty())
        return QRegion();
    std::vector<Edge> edges;
    EdgeCollector collector(limit, edges);
    collectEdges(path, collector);
    if (edges.empty())
        return QRegion();
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.rowStart < b.rowStart; });

    const bool winding = path.fillRule() == Qt::WindingFill;
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::vector<PixelRun> runs;
    RowBands bands;
    size_t next = 0;
    int row = edges.front().rowStart;
    while (next < edges.size() || !active.empty()) {
        if (active.empty() && row < edges[next].rowStart)
            row = edges[next].rowStart;
        while (next < edges.size() && edges[next].rowStart <= row)
            active.push_back(&edges[next++]);
        std::erase_if(active, [row](const Edge* e) { return e->rowEnd <= row; });
        if (active.empty())
            continue;

        const double yc = row + 0.5;
        crossings.clear();
        for (const Edge* e : active)
            crossings.push_back({e->x0 + (yc - e->y0) * e->dxdy, e->dir});
        std::sort(crossings.begin(), crossings.end());

        runs.clear();
        int begin = 0, end = 0;
        if (winding) {
            int wind = 0;
            for (size_t i = 0; i + 1 < crossings.size(); ++i) {
                wind += crossings[i].dir;
                if (wind != 0 && pixelSpan(crossings[i].x, crossings[i + 1].x, limit.left(), limit.right(), begin, end))
                    appendRun(runs, begin, end);
            }
        } else {
            for (size_t i = 0; i + 1 < crossings.size(); i += 2)
                if (pixelSpan(crossings[i].x, crossings[i + 1].x, limit.left(), limit.right(), begin, end))
                    appendRun(runs, begin, end);
        }
        // While only vertical edges are active, every row looks the same
        // until an edge starts or ends: tall rectangles cost one row.
        int rows = 1;
        if (std::all_of(active.begin(), active.end(), [](const Edge* e) { return e->dxdy == 0.0; })) {
            int until = next < edges.size() ? edges[next].rowStart : INT_MAX;
            for (const Edge* e : active)
                until = std::min(until, e->rowEnd);
            rows = std::max(1, until - row);
        }
        bands.addRows(row, rows, runs);
        row += rows;
    }
    return bands.finish();
}

} // namespace mc::imaging
