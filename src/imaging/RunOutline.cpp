#include "imaging/RunOutline.h"

#include <unordered_map>

namespace mc::imaging {

namespace {

struct Edge {
    int x0, y0, x1, y1;
    bool used = false;
};

quint64 key(int x, int y)
{
    return (quint64(quint32(x)) << 32) | quint32(y);
}

// Parts of `a` not covered by `b`; both sorted and disjoint.
void subtract(const std::vector<PixelRun>& a, const std::vector<PixelRun>& b, std::vector<PixelRun>& out)
{
    out.clear();
    size_t j = 0;
    for (const PixelRun& r : a) {
        int start = r.begin;
        while (j < b.size() && b[j].end <= start)
            ++j;
        size_t k = j;
        while (k < b.size() && b[k].begin < r.end) {
            if (b[k].begin > start)
                out.push_back({start, b[k].begin});
            start = std::max(start, b[k].end);
            ++k;
        }
        if (start < r.end)
            out.push_back({start, r.end});
    }
}

} // namespace

QPainterPath outlineOfRuns(const std::vector<std::vector<PixelRun>>& rows, int top)
{
    // Directed border edges with the area on their right (y downwards):
    // tops run right, bottoms left, right sides down, left sides up.
    std::vector<Edge> edges;
    const std::vector<PixelRun> none;
    std::vector<PixelRun> part;
    for (size_t i = 0; i <= rows.size(); ++i) {
        const int y = top + int(i);
        const std::vector<PixelRun>& above = i > 0 ? rows[i - 1] : none;
        const std::vector<PixelRun>& below = i < rows.size() ? rows[i] : none;
        subtract(below, above, part);
        for (const PixelRun& r : part)
            edges.push_back({r.begin, y, r.end, y});
        subtract(above, below, part);
        for (const PixelRun& r : part)
            edges.push_back({r.end, y, r.begin, y});
        for (const PixelRun& r : below) {
            edges.push_back({r.end, y, r.end, y + 1});
            edges.push_back({r.begin, y + 1, r.begin, y});
        }
    }

    std::unordered_multimap<quint64, size_t> from;
    from.reserve(edges.size());
    for (size_t i = 0; i < edges.size(); ++i)
        from.emplace(key(edges[i].x0, edges[i].y0), i);

    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (size_t first = 0; first < edges.size(); ++first) {
        if (edges[first].used)
            continue;
        // Follow unused edges until the walk returns to its start; every
        // corner has as many edges leaving as arriving, so it always does.
        // Straight stretches become one line.
        path.moveTo(edges[first].x0, edges[first].y0);
        size_t cur = first;
        while (true) {
            Edge& e = edges[cur];
            e.used = true;
            size_t next = edges.size();
            auto [lo, hi] = from.equal_range(key(e.x1, e.y1));
            for (auto it = lo; it != hi; ++it)
                if (!edges[it->second].used) {
                    next = it->second;
                    break;
                }
            const bool straight = next < edges.size() &&
                                  (edges[next].x1 - edges[next].x0) * (e.y1 - e.y0) ==
                                      (edges[next].y1 - edges[next].y0) * (e.x1 - e.x0);
            if (!straight)
                path.lineTo(e.x1, e.y1);
            if (next == edges.size())
                break;
            cur = next;
        }
        path.closeSubpath();
    }
    return path;
}

} // namespace mc::imaging
