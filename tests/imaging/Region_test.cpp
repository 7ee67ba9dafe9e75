// Regions: pixels from paths, set operations, transforms, the stored form,
// and pixel areas mapped like their paths.
#include "imaging/PixelArea.h"
#include "imaging/Region.h"

#include <gtest/gtest.h>

#include <QPolygonF>
#include <QRandomGenerator>
#include <QtEndian>

#include <cstring>
#include <functional>
#include <limits>

using mc::Region;

namespace {

Region rect(qreal x, qreal y, qreal w, qreal h) { return Region::fromRect(QRectF(x, y, w, h)); }

} // namespace

TEST(Region, PixelBelongsWhenItsCentreIsInside)
{
    // [0.4, 1.6] holds the centres 0.5 and 1.5; [0.6, 1.4] holds none.
    const std::pair<Region, QRegion> cases[] = {
        {Region(), QRegion()}, {rect(3, 3, 0, 10), QRegion()}, {rect(2, 3, 10, 5), QRegion(2, 3, 10, 5)},
        {rect(0.4, 0.4, 1.2, 1.2), QRegion(0, 0, 2, 2)}, {rect(0.6, 0.6, 0.8, 0.8), QRegion()},
        {rect(-2.4, -1, 2, 1), QRegion(-2, -1, 2, 1)}};
    for (const auto& [region, pixels] : cases)
        EXPECT_EQ(region.toPixelRegion(), pixels) << pixels.boundingRect().x();
    EXPECT_TRUE(rect(3, 3, 0, 10).isEmpty());
    EXPECT_EQ(Region::infinite().toPixelRegion(QRect(-5, -5, 20, 30)), QRegion(-5, -5, 20, 30));
    EXPECT_EQ(rect(1, 2, 3, 4), rect(1, 2, 3, 4));
    EXPECT_FALSE(rect(1, 2, 3, 4) == rect(1, 2, 3, 5));
    EXPECT_FALSE(Region::infinite() == Region());
    // A huge finite region is cut to the limit, or to the infinite extent.
    const Region big = rect(-1e9, -1e9, 2e9, 2e9);
    EXPECT_EQ(big.toPixelRegion(QRect(0, 0, 50, 40)), QRegion(0, 0, 50, 40));
    EXPECT_EQ(big.toPixelRegion().boundingRect().width(), 2 * int(Region::kInfiniteExtent));
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
    qint64 area = 0;
    for (const QRect& r : pixels)
        area += qint64(r.width()) * r.height();
    EXPECT_NEAR(double(area), 3.14159265 * 50 * 30, 60.0);
}

TEST(Region, SetOperationsAndTransforms)
{
    const QRect limit(-200, -200, 400, 400);
    const struct {
        const char* what;
        Region start;
        std::function<void(Region&)> change;
        QRegion pixels; // within `limit`
        bool infinite;
    } rows[] = {
        {"hole, then half", rect(0, 0, 10, 10), [](Region& r) { r.exclude(rect(2, 2, 2, 2)), r.intersect(rect(0, 0, 5, 10)); },
         QRegion(0, 0, 5, 10) - QRegion(2, 2, 2, 2), false},
        {"disjoint", rect(0, 0, 5, 5), [](Region& r) { r.intersect(rect(20, 20, 5, 5)); }, QRegion(), false},
        {"infinite cut to a rectangle", Region::infinite(), [](Region& r) { r.intersect(rect(1, 1, 3, 3)); },
         QRegion(1, 1, 3, 3), false},
        {"infinite with a hole", Region::infinite(), [](Region& r) { r.exclude(rect(0, 0, 4, 4)); },
         QRegion(limit) - QRegion(0, 0, 4, 4), false},
        {"all taken", rect(0, 0, 4, 4), [](Region& r) { r.exclude(Region::infinite()); }, QRegion(), false},
        {"moved", rect(0, 0, 10, 4), [](Region& r) { r.translate(5, -2); }, QRegion(5, -2, 10, 4), false},
        // Row-vector convention: 90 degrees takes (10, 0) to (0, 10).
        {"turned", rect(0, 0, 10, 4), [](Region& r) { r.transform(QTransform().rotate(90)); }, QRegion(-4, 0, 4, 10), false},
        {"infinite scaled", Region::infinite(), [](Region& r) { r.transform(QTransform().scale(2, 3)); }, QRegion(limit),
         true},
        {"infinite flattened", Region::infinite(), [](Region& r) { r.transform(QTransform().scale(0, 1)); }, QRegion(),
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Region r = row.start;
        row.change(r);
        EXPECT_EQ(r.toPixelRegion(limit), row.pixels);
        EXPECT_EQ(r.isEmpty(), row.pixels.isEmpty());
        EXPECT_EQ(r.isInfinite(), row.infinite);
        for (QPoint p : {QPoint(1, 1), QPoint(3, 3), QPoint(100, 100)})
            EXPECT_EQ(r.contains(p + QPointF(0.5, 0.5)), row.pixels.contains(p)) << p.x();
    }
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
        {QPolygonF({{0, 0}, {0.01, 0}, {0.01, 50}}), 1, Qt::OddEvenFill, false}};
    for (const auto& row : rows) {
        QPainterPath path;
        path.setFillRule(row.rule);
        for (int i = 0; i < row.times; ++i)
            path.addPolygon(row.points), path.closeSubpath();
        Region r = Region::fromPath(path);
        EXPECT_EQ(r.isEmpty(), row.empty) << path.elementCount();
        r.translate(5, 5);
        EXPECT_EQ(r.isEmpty(), row.empty) << path.elementCount();
    }
}

TEST(Region, StoredFormReadsBackExactly)
{
    QPainterPath curves;
    curves.addEllipse(QRectF(-10.25, 3.5, 40.125, 17));
    curves.addRect(100, 100, 0, 5); // degenerate: its repeated points must survive
    QPainterPath winding;
    winding.setFillRule(Qt::WindingFill);
    winding.addRect(0, 0, 10, 10);
    Region transformed = rect(-50, -25, 100, 50);
    transformed.transform(QTransform().rotate(33.3).scale(1.0001, 1.0001));
    for (const Region& r : {Region(), Region::infinite(), rect(1, 2, 3, 4), Region::fromPath(curves),
                            Region::fromPath(winding), transformed}) {
        QString error;
        const std::optional<Region> back = Region::deserialize(r.serialize(), &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_EQ(*back, r);
        EXPECT_EQ(back->serialize(), r.serialize());
    }
}

TEST(Region, StoredFormRejectsDamagedData)
{
    const QByteArray stored = rect(1, 2, 30, 40).serialize();
    const auto reject = [](const QByteArray& bytes, const std::string& what) {
        QString error;
        EXPECT_FALSE(Region::deserialize(bytes, &error).has_value()) << what;
        EXPECT_FALSE(error.isEmpty()) << what;
    };
    for (int n = 0; n < stored.size(); ++n)
        reject(stored.left(n), "truncated to " + std::to_string(n));
    reject(stored + 'x', "trailing byte");

    const auto byte = [](int at, int value) { return [=](QByteArray& b) { b[at] = char(value); }; };
    // Element i starts at 12 + 17 * i: type byte, then x and y.
    const auto number = [](int at, double v) {
        return [=](QByteArray& b) {
            quint64 bits;
            std::memcpy(&bits, &v, 8);
            qToLittleEndian(bits, b.data() + at);
        };
    };
    const std::pair<const char*, std::function<void(QByteArray&)>> damages[] = {
        {"magic", byte(0, 'X')}, {"version", byte(4, 2)}, {"kind", byte(6, 7)}, {"fill rule", byte(7, 2)},
        {"infinite with elements", byte(6, 1)},
        {"NaN", number(12 + 17 * 2 + 1, std::numeric_limits<double>::quiet_NaN())},
        {"infinity", number(12 + 17 * 1 + 9, std::numeric_limits<double>::infinity())},
        {"beyond the path range", number(12 + 1, 1e200)}, {"unknown type", byte(12 + 17 * 3, 9)},
        {"first element not a move", byte(12, QPainterPath::LineToElement)},
        {"curve data without a curve", byte(12 + 17 * 2, QPainterPath::CurveToDataElement)},
        {"curve without its data", byte(12 + 17 * 3, QPainterPath::CurveToElement)},
    };
    for (const auto& [what, damage] : damages) {
        QByteArray bytes = stored;
        damage(bytes);
        reject(bytes, what);
    }
    // Absurd counts are refused without allocating.
    QByteArray counted = stored.left(12);
    qToLittleEndian(quint32(0xFFFFFFFFu), counted.data() + 8);
    reject(counted, "huge count");
    qToLittleEndian(quint32(0x10000000u), counted.data() + 8);
    reject(counted + QByteArray(17, '\0'), "count beyond the data");
}

// Item transforms: the 1.0001 start, a zoom, mirrors, shear, rotation, then
// the move to the centre. Without rotation and shear the result is the
// path's bit for bit whatever the numbers; with them only a pixel centre
// within rounding of a border could differ, and none here does.
TEST(PixelArea, MappedLikeItsPixelsAsAPath)
{
    // Random blobs with holes and pixels that touch only at corners, runs
    // crossing the 64-pixel words, and the same pixels as one rectangle each.
    const QRect bounds(-75, -40, 150, 80);
    mc::imaging::PixelArea area(bounds);
    QPainterPath rects;
    QRandomGenerator rng(7);
    for (int y = bounds.top(); y <= bounds.bottom(); ++y)
        for (int x = bounds.left() + int(rng.bounded(3));;) {
            const int len = 1 + int(rng.bounded(y % 7 ? 6 : 90));
            if (x + len > bounds.right() + 1)
                break;
            area.addRun(y, x, x + len);
            rects.addRect(x, y, len, 1);
            x += len + 1 + int(rng.bounded(4));
        }
    // zoom, flips, shear x and y, angle
    const std::tuple<double, bool, bool, double, double, double> cases[] = {
        {1, false, false, 0, 0, 0},  {0.4, true, false, 0, 0, 0}, {3.7, false, true, 0, 0, 0}, {0.05, true, true, 0, 0, 0},
        {1, false, false, 0, 0, 30}, {2.5, true, false, 0, 0, -90}, {0.3, false, false, 3, 0, 0}, {1, false, true, 0, -2, 0},
        {1.7, false, false, 1, 4, 200}, {1, false, false, 0, 0, 360}};
    for (const auto& [zoom, flipH, flipV, shearX, shearY, angle] : cases) {
        SCOPED_TRACE(testing::Message() << zoom << " " << angle);
        const float z = float(zoom) * 1.0001f;
        const double a = double(float(angle)) * M_PI / 180.0;
        QTransform m = QTransform(z, 0, 0, z, 0, 0) * QTransform(flipH ? -1 : 1, 0, 0, flipV ? -1 : 1, 0, 0) *
                       QTransform(1, float(shearY * 0.1), float(shearX * 0.1), 1, 0, 0);
        if (angle != 0)
            m = m * QTransform(float(std::cos(a)), float(std::sin(a)), -float(std::sin(a)), float(std::cos(a)), 0, 0);
        m = m * QTransform::fromTranslate(400, 300);
        Region path = Region::fromPath(rects);
        path.transform(m);
        const QRegion got = area.mapped(m, QRect(0, 0, 900, 700));
        EXPECT_TRUE(!got.isEmpty() && (got ^ path.toPixelRegion(QRect(0, 0, 900, 700))).isEmpty());
        EXPECT_EQ(area.mapped(m, QRect(0, 0, 400, 300)), got & QRegion(0, 0, 400, 300)); // the limit only cuts
    }
    // The same pixels in other bounds are the same area; a singular map has none.
    mc::imaging::PixelArea wider(QRect(-80, -50, 300, 100));
    for (const QRect& r : area.toPixelRegion())
        for (int y = r.top(); y <= r.bottom(); ++y)
            wider.addRun(y, r.left(), r.right() + 1);
    EXPECT_EQ(wider, area);
    EXPECT_TRUE(area.mapped(QTransform(2, 1, 4, 2, 0, 0), QRect(0, 0, 500, 500)).isEmpty());
}
