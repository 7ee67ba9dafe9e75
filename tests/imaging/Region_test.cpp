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

} // namespace

TEST(Region, EmptyInfiniteAndRectangles)
{
    EXPECT_TRUE(Region().isEmpty());
    EXPECT_FALSE(Region::infinite().isEmpty());
    EXPECT_TRUE(Region::fromRect(QRectF(3, 3, 0, 10)).isEmpty());
    EXPECT_EQ(Region::fromRect(QRectF(2, 3, 10, 5)).toPixelRegion(), QRegion(2, 3, 10, 5));
    EXPECT_EQ(Region::infinite().toPixelRegion(QRect(-5, -5, 20, 30)), QRegion(-5, -5, 20, 30));
    EXPECT_TRUE(Region().toPixelRegion().isEmpty());
}

TEST(Region, PixelBelongsWhenItsCentreIsInside)
{
    // [0.4, 1.6] holds the centres 0.5 and 1.5; [0.6, 1.4] holds none.
    EXPECT_EQ(Region::fromRect(QRectF(0.4, 0.4, 1.2, 1.2)).toPixelRegion(), QRegion(0, 0, 2, 2));
    EXPECT_TRUE(Region::fromRect(QRectF(0.6, 0.6, 0.8, 0.8)).toPixelRegion().isEmpty());
    // Negative coordinates follow the same rule.
    EXPECT_EQ(Region::fromRect(QRectF(-2.4, -1, 2, 1)).toPixelRegion(), QRegion(-2, -1, 2, 1));
}

TEST(Region, PolygonPixelsMatchPathContainment)
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
}

TEST(Region, CurvesAreRasterised)
{
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(0, 0, 100, 60));
    const QRegion pixels = Region::fromPath(ellipse).toPixelRegion();
    EXPECT_EQ(pixels.boundingRect(), QRect(0, 0, 100, 60));
    EXPECT_TRUE(pixels.contains(QPoint(50, 30)));
    EXPECT_FALSE(pixels.contains(QPoint(2, 2)));
    EXPECT_NEAR(double(area(pixels)), 3.14159265 * 50 * 30, 60.0);
}

TEST(Region, SetOperations)
{
    Region r = Region::fromRect(QRectF(0, 0, 10, 10));
    r.exclude(Region::fromRect(QRectF(2, 2, 2, 2)));
    EXPECT_EQ(area(r.toPixelRegion()), 96);
    EXPECT_FALSE(r.contains(QPointF(3, 3)));
    EXPECT_TRUE(r.contains(QPointF(5, 5)));

    r.intersect(Region::fromRect(QRectF(0, 0, 5, 10)));
    EXPECT_EQ(area(r.toPixelRegion()), 46);

    Region disjoint = Region::fromRect(QRectF(0, 0, 5, 5));
    disjoint.intersect(Region::fromRect(QRectF(20, 20, 5, 5)));
    EXPECT_TRUE(disjoint.isEmpty());

    Region inf = Region::infinite();
    inf.intersect(Region::fromRect(QRectF(1, 1, 3, 3)));
    EXPECT_FALSE(inf.isInfinite());
    EXPECT_EQ(inf.toPixelRegion(), QRegion(1, 1, 3, 3));

    Region holed = Region::infinite();
    holed.exclude(Region::fromRect(QRectF(0, 0, 4, 4)));
    EXPECT_FALSE(holed.contains(QPointF(1, 1)));
    EXPECT_TRUE(holed.contains(QPointF(100, 100)));

    Region gone = Region::fromRect(QRectF(0, 0, 4, 4));
    gone.exclude(Region::infinite());
    EXPECT_TRUE(gone.isEmpty());
}

TEST(Region, TranslateAndTransform)
{
    Region r = Region::fromRect(QRectF(0, 0, 10, 4));
    r.translate(5, -2);
    EXPECT_EQ(r.toPixelRegion(), QRegion(5, -2, 10, 4));

    // Row-vector convention: (x, y) -> (x cos - y sin, x sin + y cos); 90
    // degrees takes (10, 0) to (0, 10).
    Region turned = Region::fromRect(QRectF(0, 0, 10, 4));
    turned.transform(QTransform().rotate(90));
    EXPECT_EQ(turned.toPixelRegion(), QRegion(-4, 0, 4, 10));

    Region inf = Region::infinite();
    inf.transform(QTransform().scale(2, 3));
    EXPECT_TRUE(inf.isInfinite());
    inf.transform(QTransform().scale(0, 1));
    EXPECT_TRUE(inf.isEmpty());
}

TEST(Region, ManyRowRectanglesBecomeTheirUnion)
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
}

TEST(Region, LimitBoundsTheResult)
{
    const Region big = Region::fromRect(QRectF(-1e9, -1e9, 2e9, 2e9));
    EXPECT_EQ(big.toPixelRegion(QRect(0, 0, 50, 40)), QRegion(0, 0, 50, 40));
    const QRegion whole = big.toPixelRegion();
    EXPECT_EQ(whole.boundingRect().width(), 2 * int(Region::kInfiniteExtent));
}

TEST(Region, Equality)
{
    EXPECT_EQ(Region::infinite(), Region::infinite());
    EXPECT_EQ(Region::fromRect(QRectF(1, 2, 3, 4)), Region::fromRect(QRectF(1, 2, 3, 4)));
    EXPECT_FALSE(Region::fromRect(QRectF(1, 2, 3, 4)) == Region::fromRect(QRectF(1, 2, 3, 5)));
    EXPECT_FALSE(Region::infinite() == Region());
}
