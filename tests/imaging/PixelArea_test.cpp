#include "imaging/PixelArea.h"

#include "imaging/Region.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using mc::imaging::PixelArea;

namespace {

// Random blobs with holes and pixels that touch only at corners, runs
// crossing the 64-pixel words, and the same pixels as one rectangle each.
struct Sample {
    PixelArea area;
    QPainterPath rects;
};

Sample randomSample(quint32 seed, const QRect& bounds)
{
    QRandomGenerator rng(seed);
    Sample s{PixelArea(bounds), QPainterPath()};
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left() + int(rng.bounded(3));;) {
            const int len = 1 + int(rng.bounded(y % 7 ? 6 : 90));
            if (x + len > bounds.right() + 1)
                break;
            s.area.addRun(y, x, x + len);
            s.rects.addRect(x, y, len, 1);
            x += len + 1 + int(rng.bounded(4));
        }
    }
    return s;
}

} // namespace

TEST(PixelArea, MappedLikeItsPixelsAsAPath)
{
    // Item transforms: the 1.0001 start, a zoom, mirrors, shear, rotation,
    // then the move to the centre. Without rotation and shear the result is
    // the path's bit for bit whatever the numbers; with them only a pixel
    // centre within rounding of a border could differ, and none here does.
    struct Case {
        double zoom;
        bool flipH, flipV;
        double shearX, shearY, angle;
    };
    const Case cases[] = {{1, false, false, 0, 0, 0},    {0.4, true, false, 0, 0, 0},   {3.7, false, true, 0, 0, 0},
                          {0.05, true, true, 0, 0, 0},   {1, false, false, 0, 0, 30},   {2.5, true, false, 0, 0, -90},
                          {0.3, false, false, 3, 0, 0},  {1, false, true, 0, -2, 0},   {1.7, false, false, 1, 4, 200},
                          {1, false, false, 0, 0, 360}};
    const Sample s = randomSample(7, QRect(-75, -40, 150, 80));
    for (const Case& c : cases) {
        const float z = float(c.zoom) * 1.0001f;
        QTransform m(z, 0, 0, z, 0, 0);
        m = m * QTransform(c.flipH ? -1 : 1, 0, 0, c.flipV ? -1 : 1, 0, 0);
        m = m * QTransform(1, float(c.shearY * 0.1), float(c.shearX * 0.1), 1, 0, 0);
        const double a = double(float(c.angle)) * M_PI / 180.0;
        if (c.angle != 0)
            m = m * QTransform(float(std::cos(a)), float(std::sin(a)), -float(std::sin(a)), float(std::cos(a)), 0, 0);
        m = m * QTransform::fromTranslate(400, 300);
        mc::Region path = mc::Region::fromPath(s.rects);
        path.transform(m);
        const QRect limit(0, 0, 900, 700);
        const QRegion expected = path.toPixelRegion(limit);
        const QRegion got = s.area.mapped(m, limit);
        EXPECT_TRUE(!got.isEmpty() && (got ^ expected).isEmpty()) << c.zoom << " " << c.angle;
        EXPECT_EQ(s.area.mapped(m, QRect(0, 0, 400, 300)), got & QRegion(0, 0, 400, 300)); // the limit only cuts
    }
    // The same pixels in other bounds are the same area; a singular map has none.
    PixelArea wider(QRect(-80, -50, 300, 100));
    for (const QRect& r : s.area.toPixelRegion())
        for (int y = r.top(); y <= r.bottom(); ++y)
            wider.addRun(y, r.left(), r.right() + 1);
    EXPECT_EQ(wider, s.area);
    EXPECT_TRUE(s.area.mapped(QTransform(2, 1, 4, 2, 0, 0), QRect(0, 0, 500, 500)).isEmpty());
}
