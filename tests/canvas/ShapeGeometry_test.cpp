#include "canvas/ShapeGeometry.h"

#include <QRect>
#include <gtest/gtest.h>

#include <vector>

using namespace mc::canvas;

namespace {

// The dragged rectangle of the table: 400 x 300 from (100, 100).
constexpr int kX0 = 100, kY0 = 100, kX1 = 500, kY1 = 400;

// Each kind with points inside and outside it.
using Points = std::vector<QPoint>;
const std::tuple<int, Points, Points> kRows[] = {
    {SHAPE_RECT, {{300, 250}, {102, 102}}, {{98, 250}, {300, 402}}},
    {SHAPE_ROUND_RECT, {{300, 250}, {140, 102}}, {{103, 103}, {497, 397}}},
    {SHAPE_DIAMOND, {{300, 250}, {150, 250}}, {{120, 120}, {480, 380}}},
    {SHAPE_PARALLELOGRAM, {{300, 250}, {480, 110}}, {{150, 120}, {450, 380}}},
    {SHAPE_ECHELON, {{300, 250}, {110, 395}}, {{120, 120}, {480, 120}}},
    {SHAPE_ISOSCELES_TRIANGLE, {{300, 300}, {300, 110}}, {{150, 150}, {450, 150}}},
    {SHAPE_RIGHT_ANGLE_TRIANGLE, {{150, 350}, {105, 110}}, {{450, 150}, {300, 200}}},
    {SHAPE_PENTACLE, {{300, 250}, {300, 110}}, {{300, 390}, {490, 110}, {110, 110}}},
    {SHAPE_EIGHT_SQUARE, {{300, 250}, {300, 120}}, {{105, 105}, {495, 395}}},
    {SHAPE_TEN_SQUARE, {{300, 250}, {300, 110}}, {{105, 105}, {495, 395}}},
    {SHAPE_HEXAGON, {{300, 250}, {110, 250}}, {{110, 110}, {490, 390}}},
    {SHAPE_OCTAGON, {{300, 250}, {105, 250}}, {{105, 105}, {495, 395}}},
    {SHAPE_ELLIPSE, {{300, 250}, {110, 250}}, {{110, 110}, {490, 390}}},
    {SHAPE_HEART, {{200, 200}, {400, 200}, {300, 300}}, {{300, 110}, {110, 390}}},
    {SHAPE_CRESCENT, {{400, 250}, {250, 130}}, {{200, 250}, {450, 120}}},
    {SHAPE_CLOUD, {{300, 250}, {495, 260}}, {{105, 105}, {495, 395}}},
    {SHAPE_GOMBOL, {{260, 250}, {300, 150}}, {{105, 105}, {495, 395}}},
    {SHAPE_BLAST, {{300, 250}, {260, 395}}, {{105, 395}, {495, 105}}},
};

// The rectangle ClearShape repaints for a drag from (x0, y0) to (x1, y1).
QRectF clearedArea(int x0, int y0, int x1, int y1)
{
    const int dx = std::max(std::abs(x1 - x0) / 10, 5), dy = std::max(std::abs(y1 - y0) / 10, 5);
    return QRectF(QPointF(std::min(x0, x1) - dx, std::min(y0, y1) - dy),
                  QPointF(std::max(x0, x1) + dx, std::max(y0, y1) + dy));
}

} // namespace

TEST(ShapeGeometry, EveryKindCoversItsPointsAndADragBackwardsMirrorsIt)
{
    ASSERT_EQ(std::size(kRows), std::size_t(kShapeCount));
    for (const auto& [kind, inside, outside] : kRows) {
        SCOPED_TRACE(kind);
        const mc::Region forward = ShapeRegion(kind, kX0, kY0, kX1, kY1);
        // From the lower right to the upper left: the shape turned about
        // the rectangle's centre (the Pentacle points down, the Heart is
        // upside down, the Crescent bulges to the left).
        const mc::Region backward = ShapeRegion(kind, kX1, kY1, kX0, kY0);
        const QPoint turn(kX0 + kX1, kY0 + kY1);
        for (const auto& [points, in] : {std::pair(inside, true), std::pair(outside, false)})
            for (const QPoint& p : points) {
                EXPECT_EQ(forward.contains(p), in) << p.x() << "," << p.y();
                EXPECT_EQ(backward.contains(turn - p), in) << p.x() << "," << p.y();
            }
        // Overhangs (Cloud, Gombol) stay inside what ClearShape repaints.
        EXPECT_TRUE(clearedArea(kX0, kY0, kX1, kY1).contains(ShapeOutlinePath(kind, kX0, kY0, kX1, kY1).boundingRect()));
        EXPECT_TRUE(clearedArea(kX1, kY1, kX0, kY0).contains(backward.boundingRect()));
        // Rect, RoundRect and Ellipse do not depend on the drag direction.
        const bool symmetric = kind == SHAPE_RECT || kind == SHAPE_ROUND_RECT || kind == SHAPE_ELLIPSE;
        EXPECT_TRUE(!symmetric || (backward == forward && ShapeRegion(kind, kX1, kY0, kX0, kY1) == forward));
        // A click, or a drag along a line, cuts nothing.
        EXPECT_TRUE(ShapeRegion(kind, kX0, kY0, kX0, kY1).isEmpty() && ShapeRegion(kind, kX0, kY0, kX1, kY0).isEmpty());
    }
    EXPECT_GT(ShapeRegion(SHAPE_CLOUD, kX0, kY0, kX1, kY1).boundingRect().right(), kX1 + 5);
}

TEST(ShapeGeometry, ExactPointsAndLineIntersection)
{
    const std::vector<QPoint> pentacle = {{512, 0},   {396, 288}, {0, 288},   {320, 476},  {204, 768},
                                          {510, 588}, {816, 768}, {700, 477}, {1024, 288}, {626, 288}};
    EXPECT_EQ(ShapePoints(SHAPE_PENTACLE, 0, 0, 1024, 768), pentacle);
    // Cloud's three exact doubles; the decimal constants would give -15, -1
    // and -4 on these upward drags.
    const std::vector<QPoint> cloud = ShapePoints(SHAPE_CLOUD, 0, 33, 100, -7);
    EXPECT_EQ(std::tuple(ShapePoints(SHAPE_CLOUD, 0, 20, 100, -30)[17].y(), cloud[24].y(), cloud[25].y()), std::tuple(-16, 0, -3));
    EXPECT_EQ(ShapePoints(SHAPE_GOMBOL, 0, 0, 80, 60)[11], QPoint(-10, 45));
    EXPECT_EQ(ShapePoints(SHAPE_BLAST, 10, 20, 110, 120)[16], QPoint(108, 58));

    // Products beyond 32 bits; parallel lines give the first point.
    EXPECT_EQ(LineIntersection({0, 0}, {120000, 120000}, {0, 120000}, {120000, 0}), QPoint(60000, 60000));
    EXPECT_EQ(LineIntersection({3, 4}, {10, 4}, {0, 9}, {7, 9}), QPoint(3, 4));

    // RoundRect's corner radius is |W| / 10 on both axes: 5 for a tall
    // narrow rectangle, 40 for a wide flat one.
    EXPECT_TRUE(ShapeRegion(SHAPE_ROUND_RECT, 0, 0, 50, 400).contains(QPointF(3, 3)) &&
                !ShapeRegion(SHAPE_ROUND_RECT, 0, 0, 400, 50).contains(QPointF(5, 5)));
}
