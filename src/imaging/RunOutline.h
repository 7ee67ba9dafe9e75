#pragma once
// The outline of an area given as runs of whole pixels, row by row. The
// outline covers exactly the union of the runs, but its edges follow only
// the area's border: transformed (rotated, sheared) and rasterised again it
// costs in proportion to the border, where one rectangle per run would
// cost in proportion to the runs' combined width.
#include <QPainterPath>

#include <vector>

namespace mc::imaging {

struct PixelRun {
    int begin;
    int end; // exclusive
};

// rows[i] holds the runs of pixel row top + i, sorted, non-overlapping and
// not touching. The result uses the odd-even rule.
QPainterPath outlineOfRuns(const std::vector<std::vector<PixelRun>>& rows, int top);

} // namespace mc::imaging
