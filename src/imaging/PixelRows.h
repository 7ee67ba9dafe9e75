#pragma once
// Building a QRegion row by row: the runs of one pixel row, and the bands of
// equal rows that QRegion keeps. Shared by the rasterisers of paths and of
// pixel areas, so that both turn a span into pixels by the same rule.
#include <QRect>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <vector>

namespace mc::imaging {

struct PixelRun {
    int begin;
    int end; // exclusive
    bool operator==(const PixelRun&) const = default;
};

// Pixel columns (or rows) whose centres lie in [a, b), clamped to
// first ... last; false when there are none. Safe for any double, NaN and
// infinities included: the clamping comes before the conversion to int.
inline bool pixelSpan(double a, double b, int first, int last, int& begin, int& end)
{
    const double lo = std::max(std::ceil(a - 0.5), double(first));
    const double hi = std::min(std::ceil(b - 0.5), double(last) + 1.0);
    if (!(lo < hi))
        return false;
    begin = int(lo);
    end = int(hi);
    return true;
}

// Appends a run to runs sorted by their start, merging it with the last one
// when they touch or overlap.
inline void appendRun(std::vector<PixelRun>& runs, int begin, int end)
{
    if (!runs.empty() && runs.back().end >= begin) {
        runs.back().end = std::max(runs.back().end, end);
        return;
    }
    runs.push_back({begin, end});
}

// Collects rows of runs, given from the top down, into bands of equal rows.
class RowBands {
public:
    // Rows y ... y + count - 1 all hold `runs`.
    void addRows(int y, int count, const std::vector<PixelRun>& runs)
    {
        if (!m_band.empty() && y == m_bandTop + m_bandHeight && runs == m_band) {
            m_bandHeight += count;
            return;
        }
        flush();
        if (runs.empty())
            return;
        m_band = runs;
        m_bandTop = y;
        m_bandHeight = count;
    }

    QRegion finish()
    {
        flush();
        QRegion region;
        if (!m_rects.empty())
            region.setRects(m_rects.data(), int(m_rects.size()));
        return region;
    }

private:
    void flush()
    {
        for (const PixelRun& r : m_band)
            m_rects.emplace_back(r.begin, m_bandTop, r.end - r.begin, m_bandHeight);
        m_band.clear();
    }

    std::vector<PixelRun> m_band;
    int m_bandTop = 0;
    int m_bandHeight = 0;
    std::vector<QRect> m_rects;
};

} // namespace mc::imaging
