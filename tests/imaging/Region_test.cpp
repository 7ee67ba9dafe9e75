#include "imaging/Region.h"

#include <gtest/gtest.h>

#include <QPolygonF>

using mc::Region;

namespace {

qint64 area(const QRegion& r)
{
    qint64 n = 0;
    for (const QRect& rect : r)
        n += qint64(rect.width()) * rect.height();
    return n;
}

Region rect(qreal x, qreal y, qreal w, qreal h) { return Region::fromRect(QRectF(x, y, w, h)); }

} // namespace

TEST(Region, PixelBelongsWhenItsCentreIsInside)
{
    // [0.4, 1.6] holds the centres 0.5 and 1.5; [0.6, 1.4] holds none.
    const std::pair<Region, QRegion> cases[] = {
        {Region(), QRegion()},
        {rect(3, 3, 0, 10), QRegion()},
        {rect(2, 3, 10, 5), QRegion(2, 3, 10, 5)},
        {rect(0.4, 0.4, 1.2, 1.2), QRegion(0, 0, 2, 2)},
        {rect(0.6, 0.6, 0.8, 0.8), QRegion()},
        {rect(-2.4, -1, 2, 1), QRegion(-2, -1, 2, 1)},
    };
    for (const auto& [region, pixels] : cases)
        EXPECT_EQ(region.toPixelRegion(), pixels) << pixels.boundingRect().x();
    EXPECT_TRUE(rect(3, 3, 0, 10).isEmpty());
    EXPECT_FALSE(Region::infinite().isEmpty());
    EXPECT_EQ(Region::infinite().toPixelRegion(QRect(-5, -5, 20, 30)), QRegion(-5, -5, 20, 30));
    EXPECT_EQ(rect(1, 2, 3, 4), rect(1, 2, 3, 4));
    EXPECT_FALSE(rect(1, 2, 3, 4) == rect(1, 2, 3, 5));
    EXPECT_FALSE(Region::infinite() == Region());
}

TEST(Region, PathPixelsMatchPathContainment)
{
    // A self-intersecting star: odd-even leaves its centre out, winding fills it.
    QPolygonF star;
    star << QPointF(50.3, 2.1) << QPointF(78.7, 93.2) << QPointF(3.4, 35.9) << QPointF(97.1, 36.3)
         << QPointF(21.9, 92.8);
    for (Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill}) {
        QPainterPath path;
        path.addPolygon(star);
        path.closeSubpath();
        path.setFillRule(rule);
        const QRegion pixels = Region::fromPath(path).toPixelRegion();
        int mismatches = 0;
        for (int y = -1; y < 101; ++y)
            for (int x = -1; x < 101; ++x)
                mismatches += pixels.contains(QPoint(x, y)) != path.contains(QPointF(x + 0.5, y + 0.5));
        EXPECT_EQ(mismatches, 0) << "fill rule " << rule;
        EXPECT_EQ(pixels.contains(QPoint(50, 50)), rule == Qt::WindingFill);
    }
    // Curves are rasterised too.
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(0, 0, 100, 60));
    const QRegion pixels = Region::fromPath(ellipse).toPixelRegion();
    EXPECT_EQ(pixels.boundingRect(), QRect(0, 0, 100, 60));
    EXPECT_FALSE(pixels.contains(QPoint(2, 2)));
    EXPECT_NEAR(double(area(pixels)), 3.14159265 * 50 * 30, 60.0);
}

TEST(Region, SetOperations)
{
    Region r = rect(0, 0, 10, 10);
    r.exclude(rect(2, 2, 2, 2));
    EXPECT_EQ(area(r.toPixelRegion()), 96);
    EXPECT_FALSE(r.contains(QPointF(3, 3)));
    r.intersect(rect(0, 0, 5, 10));
    EXPECT_EQ(area(r.toPixelRegion()), 46);

    Region disjoint = rect(0, 0, 5, 5);
    disjoint.intersect(rect(20, 20, 5, 5));
    EXPECT_TRUE(disjoint.isEmpty());

    Region inf = Region::infinite();
    inf.intersect(rect(1, 1, 3, 3));
    EXPECT_FALSE(inf.isInfinite());
    EXPECT_EQ(inf.toPixelRegion(), QRegion(1, 1, 3, 3));

    Region holed = Region::infinite();
    holed.exclude(rect(0, 0, 4, 4));
    EXPECT_FALSE(holed.contains(QPointF(1, 1)));
    EXPECT_TRUE(holed.contains(QPointF(100, 100)));

    Region gone = rect(0, 0, 4, 4);
    gone.exclude(Region::infinite());
    EXPECT_TRUE(gone.isEmpty());
}

TEST(Region, EmptyMeansNoAreaWhateverTheBoundingBox)
{
    // A closed line, a figure folded back on itself, a rectangle twice
    // (cancelling under odd-even, adding up under winding), a bow tie (no
    // signed area) and a thin sliver.
    const struct {
        QPolygonF points;
        int times;
        Qt::FillRule rule;
        bool empty;
    } rows[] = {
        {QPolygonF({{0, 0}, {10, 10}}), 1, Qt::OddEvenFill, true},
        {QPolygonF({{0, 0}, {5, 5}, {10, 10}, {3, 3}}), 1, Qt::OddEvenFill, true},
        {QPolygonF(QRectF(0, 0, 10, 10)), 2, Qt::OddEvenFill, true},
        {QPolygonF(QRectF(0, 0, 10, 10)), 2, Qt::WindingFill, false},
        {QPolygonF({{0, 0}, {10, 10}, {10, 0}, {0, 10}}), 1, Qt::OddEvenFill, false},
        {QPolygonF({{0, 0}, {0.01, 0}, {0.01, 50}}), 1, Qt::OddEvenFill, false},
    };
    for (const auto& row : rows) {
        QPainterPath path;
        path.setFillRule(row.rule);
        for (int i = 0; i < row.times; ++i)
            path.addPolygon(row.points), path.closeSubpath();
        Region r = Region::fromPath(path);
        EXPECT_EQ(r.isEmpty(), row.empty) << path.elementCount();
        r.translate(5, 5);
        EXPECT_EQ(r.isEmpty(), row.empty);
    }
}

TEST(Region, TranslateAndTransform)
{
    Region r = rect(0, 0, 10, 4);
    r.translate(5, -2);
    EXPECT_EQ(r.toPixelRegion(), QRegion(5, -2, 10, 4));
    // Row-vector convention: 90 degrees takes (10, 0) to (0, 10).
    Region turned = rect(0, 0, 10, 4);
    turned.transform(QTransform().rotate(90));
    EXPECT_EQ(turned.toPixelRegion(), QRegion(-4, 0, 4, 10));

    Region inf = Region::infinite();
    inf.transform(QTransform().scale(2, 3));
    EXPECT_TRUE(inf.isInfinite());
    inf.transform(QTransform().scale(0, 1));
    EXPECT_TRUE(inf.isEmpty());
}

TEST(Region, ManyRowRectanglesBecomeTheirUnionWithinTheLimit)
{
    // The shape of an erase result: runs one pixel high, several per row.
    QPainterPath path;
    QRegion expected;
    for (int y = 0; y < 400; ++y)
        for (int k = 0; k < 5; ++k) {
            const int x = k * 40 + (y * 7 + k * 13) % 25;
            const int w = 1 + (y + k) % 12;
            path.addRect(x, y, w, 1);
            expected += QRect(x, y, w, 1);
        }
    EXPECT_EQ(Region::fromPath(path).toPixelRegion(), expected);

    const Region big = rect(-1e9, -1e9, 2e9, 2e9);
    EXPECT_EQ(big.toPixelRegion(QRect(0, 0, 50, 40)), QRegion(0, 0, 50, 40));
    EXPECT_EQ(big.toPixelRegion().boundingRect().width(), 2 * int(Region::kInfiniteExtent));
}
