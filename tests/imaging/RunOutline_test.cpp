#include "imaging/RunOutline.h"

#include "imaging/Region.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using mc::imaging::PixelRun;

namespace {

// Random rows of runs: blobs with holes and pixels that touch only at corners.
std::vector<std::vector<PixelRun>> randomRows(quint32 seed, int rows, int width)
{
    QRandomGenerator rng(seed);
    std::vector<std::vector<PixelRun>> out(rows);
    for (auto& row : out) {
        int x = int(rng.bounded(3));
        while (true) {
            const int len = 1 + int(rng.bounded(6));
            if (x + len > width)
                break;
            row.push_back({x, x + len});
            x += len + 1 + int(rng.bounded(4));
        }
    }
    return out;
}

QPainterPath rectsOf(const std::vector<std::vector<PixelRun>>& rows, int top)
{
    QPainterPath p;
    for (size_t i = 0; i < rows.size(); ++i)
        for (const PixelRun& r : rows[i])
            p.addRect(r.begin, top + int(i), r.end - r.begin, 1);
    return p;
}

} // namespace

TEST(RunOutline, CoversExactlyTheRuns)
{
    for (quint32 seed : {1u, 2u, 3u, 77u}) {
        const auto rows = randomRows(seed, 60, 80);
        const QPainterPath outline = mc::imaging::outlineOfRuns(rows, -7);
        const QRegion expected = mc::Region::fromPath(rectsOf(rows, -7)).toPixelRegion();
        const QRegion got = mc::Region::fromPath(outline).toPixelRegion();
        EXPECT_TRUE((got ^ expected).isEmpty()) << "seed " << seed;
        // Sub-pixel probes agree too: the outline is the area, not just its pixels.
        for (double y = -7.25; y < 20; y += 0.5)
            for (double x = 0.25; x < 40; x += 0.5)
                ASSERT_EQ(outline.contains(QPointF(x, y)), expected.contains(QPoint(int(std::floor(x)), int(std::floor(y)))))
                    << x << "," << y;
    }
}

TEST(RunOutline, TransformedLikeTheRectangles)
{
    const auto rows = randomRows(9, 120, 150);
    mc::Region outline = mc::Region::fromPath(mc::imaging::outlineOfRuns(rows, 0));
    mc::Region rects = mc::Region::fromPath(rectsOf(rows, 0));
    const QTransform m = QTransform().rotate(30).scale(1.0001, 1.0001).translate(300, 200);
    outline.transform(m);
    rects.transform(m);
    const QRegion a = outline.toPixelRegion();
    const QRegion b = rects.toPixelRegion();
    qint64 differing = 0;
    for (const QRect& r : a ^ b)
        differing += qint64(r.width()) * r.height();
    EXPECT_LE(differing, 2); // only where a pixel centre sits on a border
    EXPECT_LT(outline.path().elementCount(), rects.path().elementCount());
}

TEST(RunOutline, EmptyAndSingle)
{
    EXPECT_TRUE(mc::Region::fromPath(mc::imaging::outlineOfRuns({}, 0)).isEmpty());
    EXPECT_TRUE(mc::Region::fromPath(mc::imaging::outlineOfRuns({{}, {}}, 0)).isEmpty());
    const QPainterPath one = mc::imaging::outlineOfRuns({{{3, 8}}}, 4);
    EXPECT_EQ(one.elementCount(), 5); // four corners and the close
    EXPECT_EQ(mc::Region::fromPath(one).toPixelRegion(), QRegion(3, 4, 5, 1));
}
