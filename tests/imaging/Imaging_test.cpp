// Pictures read and written (format from the content, hostile headers, BMP
// layouts), and regions: pixels from paths, set operations, transforms, the
// stored form, and pixel areas mapped like their paths.
#include "imaging/ImageIO.h"
#include "imaging/PixelArea.h"
#include "imaging/Region.h"

#include "common/TestUtil.h"
#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QtEndian>

#include <functional>
#include <limits>
#include <tuple>

using namespace mc::imaging;
using mctest::bmpFile;
using mc::Region;

namespace {

Region rect(qreal x, qreal y, qreal w, qreal h) { return Region::fromRect(QRectF(x, y, w, h)); }

// `times` copies of the closed polygon `points` under `rule`.
Region figure(const QPolygonF& points, int times = 1, Qt::FillRule rule = Qt::OddEvenFill)
{
    QPainterPath path;
    path.setFillRule(rule);
    for (int i = 0; i < times; ++i)
        path.addPolygon(points), path.closeSubpath();
    return Region::fromPath(path);
}



// A PNG that is nothing but a well-formed header announcing w x h pixels.
QByteArray pngHeaderClaiming(quint32 w, quint32 h)
{
    QByteArray ihdr = "IHDR" + QByteArray(8, '\0') + QByteArray::fromHex("0806000000"), crcBytes(4, '\0');
    qToBigEndian(w, ihdr.data() + 4);
    qToBigEndian(h, ihdr.data() + 8);
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : ihdr) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, crcBytes.data());
    return QByteArray::fromHex("89504e470d0a1a0a0000000d") + ihdr + crcBytes;
}

} // namespace

TEST(ImageIO, DecodesToNonPremultipliedArgbWithoutColourProfile)
{
    const QString dir = mctest::freshDir();
    QImage img = mctest::solidImage(3, 2, QColor(200, 60, 30));
    img.setPixel(1, 1, qRgba(200, 100, 50, 0)); // colour under a transparent pixel survives
    img.setPixel(2, 0, qRgba(255, 0, 0, 128));
    img.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QImage back = decodeImage(mctest::writeImage(dir, "a.png", img));
    ASSERT_EQ(back.format(), QImage::Format_ARGB32);
    for (QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(2, 0)})
        EXPECT_EQ(back.pixel(p), img.pixel(p)) << p.x();

    // The format comes from the content, not the name.
    const QString bmp = mctest::writeFile(dir + "/d.png", bmpFile(40, 24, 0, 0));
    EXPECT_EQ(std::tuple(imageFormat(bmp), imageSize(bmp), decodeImage(bmp).size()),
              std::tuple(QByteArray("bmp"), std::optional(QSize(2, 2)), QSize(2, 2)));
}

TEST(ImageIO, MissingNonImageTruncatedAndOverBudgetFilesAreUnknown)
{
    const QString dir = mctest::freshDir();
    const QString text = mctest::writeFile(dir + "/notes.png", "just some text, not a picture\n");
    const QByteArray png = mctest::readFile(mctest::writeImage(dir, "whole.png", mctest::solidImage(64, 64, Qt::red)));
    // 60000 x 60000 is far beyond the budget; only the header exists, so a
    // decoder that tried anyway would fail differently or exhaust memory.
    const QString huge = mctest::writeFile(dir + "/huge.png", pngHeaderClaiming(60000, 60000));
    // A BMP of 70 bytes claiming 11000 x 11000 pixels: within the pixel
    // budget, but its pixel data is missing.
    QByteArray shortBmp = bmpFile(40, 24, 0, 0);
    qToLittleEndian(quint32(11000), shortBmp.data() + 18);
    qToLittleEndian(quint32(11000), shortBmp.data() + 22);
    ASSERT_FALSE(decodeImage(mctest::writeFile(dir + "/whole.bmp", bmpFile(40, 24, 0, 0))).isNull());
    for (const QString& path : {dir + "/missing.png", QString(), dir, text, huge,
                                mctest::writeFile(dir + "/cut.png", png.left(60)),
                                mctest::writeFile(dir + "/over.png", pngHeaderClaiming(1u << 14, (1u << 13) + 1)),
                                mctest::writeFile(dir + "/short.bmp", shortBmp)})
        EXPECT_TRUE(decodeImage(path).isNull() && !imageSize(path).has_value()) << path.toStdString();
    EXPECT_EQ(std::pair(imageFormat(text), imageFormat(huge)), std::pair(QByteArray(), QByteArray("png")));
}

TEST(ImageIO, BmpPixelFormatFromTheHeader)
{
    const QString dir = mctest::freshDir();
    const QImage rgb = mctest::solidImage(5, 3, Qt::green).convertToFormat(QImage::Format_RGB32);
    const std::tuple<QString, int, quint32, bool> cases[] = { // file, bits per pixel, compression, alpha mask
        {mctest::writeImage(dir, "rgb.bmp", rgb), 24, 0, false},
        {mctest::writeFile(dir + "/pal.bmp", bmpFile(40, 8, 0, 0)), 8, 0, false},
        {mctest::writeFile(dir + "/rle.bmp", bmpFile(40, 8, 1, 0)), 8, 1, false},
        {mctest::writeFile(dir + "/v5.bmp", bmpFile(124, 32, 3, 0xFF000000u)), 32, 3, true},
        {mctest::writeFile(dir + "/v4.bmp", bmpFile(108, 32, 3, 0)), 32, 3, false},
        {mctest::writeFile(dir + "/rgb32.bmp", bmpFile(40, 32, 0, 0)), 32, 0, false},
    };
    for (const auto& [path, bpp, compression, alpha] : cases) {
        const auto f = bmpPixelFormat(path).value_or(BmpPixelFormat{});
        EXPECT_EQ(std::tuple(f.bitsPerPixel, f.compression, f.hasAlphaMask), std::tuple(bpp, compression, alpha)) << path.toStdString();
    }
    for (const QString& none : {mctest::writeImage(dir, "n.png", rgb), dir + "/none.bmp",
                                mctest::writeFile(dir + "/short.bmp", bmpFile(124, 32, 3, 0).left(20))})
        EXPECT_FALSE(bmpPixelFormat(none).has_value()) << none.toStdString();
}

TEST(ImageIO, BmpIsLaidOverWhite)
{
    const QString path = mctest::freshDir() + "/out.bmp";
    QImage img = mctest::solidImage(8, 8, Qt::blue);
    img.setPixel(0, 0, qRgba(0, 0, 0, 0)); // transparent black
    ASSERT_TRUE(mc::platform::SaveImageFile(img, path, "image/bmp"));
    EXPECT_EQ(std::tuple(imageFormat(path), decodeImage(path).pixel(3, 3), decodeImage(path).pixel(0, 0)), // white, not black
              std::tuple(QByteArray("bmp"), qRgb(0, 0, 255), qRgb(255, 255, 255)));
}

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
    // A bow tie has no signed area and a sliver no pixel centre, yet both are something to cut with.
    EXPECT_FALSE(figure({{0, 0}, {10, 10}, {10, 0}, {0, 10}}).isEmpty() || figure({{0, 0}, {0.01, 0}, {0.01, 50}}).isEmpty());
    EXPECT_EQ(Region::infinite().toPixelRegion(QRect(-5, -5, 20, 30)), QRegion(-5, -5, 20, 30));
    EXPECT_TRUE(rect(1, 2, 3, 4) == rect(1, 2, 3, 4) && !(rect(1, 2, 3, 4) == rect(1, 2, 3, 5)) &&
                !(Region::infinite() == Region()));
    // A huge finite region is cut to the limit, or to the infinite extent.
    const Region big = rect(-1e9, -1e9, 2e9, 2e9);
    EXPECT_EQ(big.toPixelRegion(QRect(0, 0, 50, 40)), QRegion(0, 0, 50, 40));
    EXPECT_EQ(big.toPixelRegion().boundingRect().width(), 2 * int(Region::kInfiniteExtent));
}

TEST(Region, PathPixelsMatchPathContainment)
{
    // A self-intersecting star: odd-even leaves its centre out, winding fills it.
    QPainterPath path;
    path.addPolygon(QPolygonF({{50.3, 2.1}, {78.7, 93.2}, {3.4, 35.9}, {97.1, 36.3}, {21.9, 92.8}}));
    path.closeSubpath();
    for (Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill}) {
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

TEST(Region, SetOperationsAndTransforms)
{
    const QRect limit(-200, -200, 400, 400);
    const auto moved = [](Region& r) { r.translate(5, 5); };
    const auto cut = [](Region o) { return [=](Region& r) { r.intersect(o); }; };
    const auto hole = [](Region o) { return [=](Region& r) { r.exclude(o); }; };
    const auto warp = [](QTransform m) { return [=](Region& r) { r.transform(m); }; };
    // what, start, change, pixels within `limit`, infinite. Empty means no
    // area whatever the bounding box: a closed line, a figure folded back on
    // itself, a square twice (cancelling under odd-even, adding up under winding).
    const std::tuple<const char*, Region, std::function<void(Region&)>, QRegion, bool> rows[] = {
        {"hole, then half", rect(0, 0, 10, 10), [](Region& r) { r.exclude(rect(2, 2, 2, 2)), r.intersect(rect(0, 0, 5, 10)); },
         QRegion(0, 0, 5, 10) - QRegion(2, 2, 2, 2), false},
        {"closed line", figure({{0, 0}, {10, 10}}), moved, QRegion(), false},
        {"folded", figure({{0, 0}, {5, 5}, {10, 10}, {3, 3}}), moved, QRegion(), false},
        {"square twice", figure(QRectF(0, 0, 10, 10), 2), moved, QRegion(), false},
        {"square twice, winding", figure(QRectF(0, 0, 10, 10), 2, Qt::WindingFill), moved, QRegion(5, 5, 10, 10), false},
        {"infinite cut to a rectangle", Region::infinite(), cut(rect(1, 1, 3, 3)), QRegion(1, 1, 3, 3), false},
        {"infinite with a hole", Region::infinite(), hole(rect(0, 0, 4, 4)), QRegion(limit) - QRegion(0, 0, 4, 4), false},
        {"all taken", rect(0, 0, 4, 4), hole(Region::infinite()), QRegion(), false},
        {"moved", rect(0, 0, 10, 4), [](Region& r) { r.translate(5, -2); }, QRegion(5, -2, 10, 4), false},
        // Row-vector convention: 90 degrees takes (10, 0) to (0, 10).
        {"turned", rect(0, 0, 10, 4), warp(QTransform().rotate(90)), QRegion(-4, 0, 4, 10), false},
        {"infinite scaled", Region::infinite(), warp(QTransform().scale(2, 3)), QRegion(limit), true},
        {"infinite flattened", Region::infinite(), warp(QTransform().scale(0, 1)), QRegion(), false},
    };
    for (const auto& [what, start, change, pixels, infinite] : rows) {
        SCOPED_TRACE(what);
        Region r = start;
        change(r);
        EXPECT_EQ(r.toPixelRegion(limit), pixels);
        EXPECT_EQ(std::pair(r.isEmpty(), r.isInfinite()), std::pair(pixels.isEmpty(), infinite));
        for (QPoint p : {QPoint(1, 1), QPoint(3, 3), QPoint(100, 100)})
            EXPECT_EQ(r.contains(p + QPointF(0.5, 0.5)), pixels.contains(p)) << p.x();
    }
}

TEST(Region, StoredFormReadsBackExactly)
{
    QPainterPath curves;
    curves.addEllipse(QRectF(-10.25, 3.5, 40.125, 17));
    curves.addRect(100, 100, 0, 5); // degenerate: its repeated points must survive
    const Region winding = figure(QRectF(0, 0, 10, 10), 1, Qt::WindingFill);
    for (const Region& r : {Region(), Region::infinite(), rect(1, 2, 3, 4), Region::fromPath(curves), winding}) {
        QString error;
        const std::optional<Region> back = Region::deserialize(r.serialize(), &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_TRUE(*back == r && back->serialize() == r.serialize());
    }
}

TEST(Region, StoredFormRejectsDamagedData)
{
    const QByteArray stored = rect(1, 2, 30, 40).serialize();
    const auto reject = [](const QByteArray& bytes, const std::string& what) {
        QString error;
        EXPECT_TRUE(!Region::deserialize(bytes, &error).has_value() && !error.isEmpty()) << what;
    };
    for (int n = 0; n < stored.size(); ++n)
        reject(stored.left(n), "truncated to " + std::to_string(n));

    using Damage = std::function<QByteArray(QByteArray)>;
    const auto byte = [](int at, int value) -> Damage { return [=](QByteArray b) { return b[at] = char(value), b; }; };
    // Element i starts at 12 + 17 * i: type byte, then x and y.
    const auto number = [](int at, double v) -> Damage {
        return [=](QByteArray b) { return qToLittleEndian(v, b.data() + at), b; };
    };
    // Absurd counts are refused without allocating.
    const auto count = [](quint32 n, int extra) -> Damage {
        return [=](QByteArray b) { return qToLittleEndian(n, b.data() + 8), b.left(12) + QByteArray(extra, '\0'); };
    };
    const std::pair<const char*, Damage> damages[] = {
        {"magic", byte(0, 'X')}, {"version", byte(4, 2)}, {"kind", byte(6, 7)}, {"fill rule", byte(7, 2)},
        {"infinite with elements", byte(6, 1)}, {"trailing byte", [](QByteArray b) { return b + 'x'; }},
        {"NaN", number(12 + 17 * 2 + 1, std::numeric_limits<double>::quiet_NaN())},
        {"infinity", number(12 + 17 * 1 + 9, std::numeric_limits<double>::infinity())},
        {"beyond the path range", number(12 + 1, 1e200)}, {"unknown type", byte(12 + 17 * 3, 9)},
        {"first element not a move", byte(12, QPainterPath::LineToElement)},
        {"curve data without a curve", byte(12 + 17 * 2, QPainterPath::CurveToDataElement)},
        {"curve without its data", byte(12 + 17 * 3, QPainterPath::CurveToElement)},
        {"huge count", count(0xFFFFFFFFu, 0)}, {"count beyond the data", count(0x10000000u, 17)}};
    for (const auto& [what, damage] : damages)
        reject(damage(stored), what);
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
        const QTransform m = QTransform(z, 0, 0, z, 0, 0) * QTransform(flipH ? -1 : 1, 0, 0, flipV ? -1 : 1, 0, 0) *
                             QTransform(1, float(shearY * 0.1), float(shearX * 0.1), 1, 0, 0) *
                             QTransform(float(std::cos(a)), float(std::sin(a)), -float(std::sin(a)), float(std::cos(a)), 400, 300);
        Region path = Region::fromPath(rects);
        path.transform(m);
        const QRegion got = area.mapped(m, QRect(0, 0, 900, 700));
        EXPECT_TRUE(!got.isEmpty() && (got ^ path.toPixelRegion(QRect(0, 0, 900, 700))).isEmpty());
        EXPECT_EQ(area.mapped(m, QRect(0, 0, 400, 300)), got & QRegion(0, 0, 400, 300)); // the limit only cuts
    }
    // A singular map has no area.
    EXPECT_TRUE(area.mapped(QTransform(2, 1, 4, 2, 0, 0), QRect(0, 0, 500, 500)).isEmpty());
}
