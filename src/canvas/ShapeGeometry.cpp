#include "canvas/ShapeGeometry.h"

#include <QPainter>
#include <QPolygonF>
#include <QRectF>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace mc::canvas {

namespace {

// Cloud's three factors are these exact doubles, one step away from the
// decimal values they stand for; the other Cloud factors are plain doubles.
const double kC56 = std::bit_cast<double>(std::uint64_t(0x3FE1EB851EB851EBull));
const double kC30 = std::bit_cast<double>(std::uint64_t(0x3FD3333333333334ull));
const double kC15 = std::bit_cast<double>(std::uint64_t(0x3FC3333333333334ull));

// Truncation toward zero of a double coordinate.
int trunc(double v)
{
    return int(v);
}

// The star: O0, I0, O1, I1, ..., where Ik is where the line Ok-O(k+s) meets
// the line O(k+1)-O(k+1-s).
std::vector<QPoint> star(const std::vector<QPoint>& o, int s)
{
    const int n = int(o.size());
    std::vector<QPoint> out;
    out.reserve(2 * n);
    for (int k = 0; k < n; ++k) {
        out.push_back(o[k]);
        out.push_back(LineIntersection(o[k], o[(k + s) % n], o[(k + 1) % n], o[(k + 1 - s + n) % n]));
    }
    return out;
}

std::vector<QPoint> pentacle(int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    const int ya = y0 + H / 8 + 2 * (H / 8);
    return star({{x0 + W / 2, y0}, {x0, ya}, {x0 + 2 * (W / 10), y1}, {x0 + 8 * (W / 10), y1}, {x1, ya}}, 2);
}

std::vector<QPoint> eightSquare(int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    return star({{x0 + W / 2, y0},
                 {x0 + W / 7, y0 + H / 7},
                 {x0, y0 + H / 2},
                 {x0 + W / 7, y1 - H / 7},
                 {x0 + W / 2, y1},
                 {x1 - W / 7, y1 - H / 7},
                 {x1, y0 + H / 2},
                 {x1 - W / 7, y0 + H / 7}},
                2);
}

std::vector<QPoint> tenSquare(int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    return star({{x0 + W / 2, y0},
                 {trunc(x0 + 0.19 * W), trunc(y0 + 0.1 * H)},
                 {x0, trunc(y0 + 0.35 * H)},
                 {x0, trunc(y1 - 0.35 * H)},
                 {trunc(x0 + 0.19 * W), trunc(y1 - 0.1 * H)},
                 {x0 + W / 2, y1},
                 {trunc(x1 - 0.19 * W), trunc(y1 - 0.1 * H)},
                 {x1, trunc(y1 - 0.35 * H)},
                 {x1, trunc(y0 + 0.35 * H)},
                 {trunc(x1 - 0.19 * W), trunc(y0 + 0.1 * H)}},
                4);
}

std::vector<QPoint> heart(int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    return {// left half
            {x0 + W / 2, y0 + H / 8},
            {x0 + W / 2, y0 + H / 10},
            {x0 + W / 4 + W / 8, y0},
            {x0 + W / 4, y0},
            {x0 + W / 8, y0},
            {x0, y0 + H / 8},
            {x0, y0 + H / 4},
            {x0, y0 + H / 2},
            {x0 + W / 5, y0 + H / 4 + 2 * (H / 4)},
            {x0 + W / 2, y1},
            // right half
            {x0 + W / 2, y1},
            {x1 - W / 5, y0 + H / 4 + 2 * (H / 4)},
            {x1, y0 + H / 2},
            {x1, y0 + H / 4},
            {x1, y0 + H / 8},
            {x1 - W / 8, y0},
            {x0 + W / 4 + 2 * (W / 4), y0},
            {x1 - W / 4 - W / 8, y0},
            {x0 + W / 2, y0 + H / 10},
            {x0 + W / 2, y0 + H / 8}};
}

std::vector<QPoint> cloud(int x0, int y0, int x1, int y1)
{
    const int hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
    return {{x0 + hw / 6, y0 + (3 * hh) / 5},
            {x0 + hw / 10, y0 + hh / 5},
            {x0 + (2 * hw) / 5, y0 + hh / 15},
            {x0 + (2 * hw) / 3, y0 + hh / 5},
            {x0 + (2 * hw) / 3 + hw / 10, y0 + hh / 15},
            {x0 + hw - hw / 20, y0 + hh / 20},
            {x0 + hw + hw / 15, y0 + hh / 6},
            {x0 + hw + hw / 9, y0 + hh / 20},
            {trunc((x0 + hw) + 0.26 * hw), y0 + hh / 20},
            {x0 + hw + (3 * hw) / 10, y0 + hh / 7},
            {x0 + hw + hw / 12 + (3 * hw) / 10, y0},
            {x0 + hw + (3 * hw) / 4 - hw / 12, y0},
            {x0 + hw + (3 * hw) / 4, y0 + hh / 4},
            {x1, y0 + hh / 4 - hh / 15},
            {x1 + hw / 10, y0 + (3 * hh) / 4 - hh / 12},
            {x1 - hw / 10, y0 + (3 * hh) / 4},
            {x1 + hw / 6, y0 + (7 * hh) / 8},
            {x1, trunc(y1 - kC56 * hh)},
            {x1 - (3 * hw) / 8, y1 - (3 * hh) / 5},
            {x1 - (3 * hw) / 8, trunc(y1 - 0.24 * hh)},
            {x1 - hw / 2 - hw / 5, trunc(y1 - 0.25 * hh)},
            {x1 - (4 * hw) / 5, y1 - (2 * hh) / 5},
            {x1 - (5 * hw) / 6, y1 - hh / 5},
            {x0 + (7 * hw) / 8, y1},
            {x0 + (3 * hw) / 5, trunc(y1 - kC30 * hh)},
            {x0 + (2 * hw) / 4, trunc(y1 - kC15 * hh)},
            {x0 + hw / 10, y1 - (2 * hh) / 8},
            {x0 + hw / 5, trunc(y1 - kC56 * hh)},
            {x0, y1 - (3 * hh) / 5},
            {x0 - hw / 10, y1 - (5 * hh) / 6},
            {x0 + hw / 10, y1 - hh},
            {x0 - hw / 10, y1 - hh - hh / 15},
            {x0 - hw / 10, y0 + (3 * hh) / 5},
            {x0 + hw / 6, y0 + (3 * hh) / 5}};
}

std::vector<QPoint> gombol(int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    static constexpr int k[16][2] = {{33, 10}, {44, -3}, {58, 0},  {59, 15}, {90, 7},   {94, 25}, {57, 37}, {75, 50},
                                     {56, 67}, {33, 48}, {18, 65}, {-10, 45}, {17, 27}, {12, 17}, {15, 8},  {33, 10}};
    std::vector<QPoint> out;
    out.reserve(16);
    for (const auto& f : k)
        out.push_back({x0 + (f[0] * W) / 80, y0 + (f[1] * H) / 60});
    return out;
}

std::vector<QPoint> blast(int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    // Fractions of the width and height; a negative entry names a corner
    // coordinate itself: -1 for x0 / y0, -2 for x1 / y1.
    static constexpr double f[24][2] = {{0.05, 0.08}, {0.2, 0.35},  {-1, 0.4},   {0.15, 0.55}, {-1, 0.7},   {0.25, 0.65},
                                        {0.2, 0.8},   {0.35, 0.75}, {0.4, -2},   {0.5, 0.72},  {0.6, 0.9},  {0.65, 0.71},
                                        {0.85, 0.85}, {0.8, 0.6},   {-2, 0.63},  {0.85, 0.5},  {0.98, 0.38}, {0.8, 0.3},
                                        {0.88, 0.14}, {0.65, 0.23}, {0.68, -1},  {0.5, 0.24},  {0.4, 0.1},  {0.35, 0.28}};
    auto coord = [](double fraction, int size, int lo, int hi) {
        if (fraction == -1)
            return lo;
        if (fraction == -2)
            return hi;
        return trunc(fraction * size + lo);
    };
    std::vector<QPoint> out;
    out.reserve(24);
    for (const auto& v : f)
        out.push_back({coord(v[0], W, x0, x1), coord(v[1], H, y0, y1)});
    return out;
}

bool isChain(int kind)
{
    return kind == SHAPE_HEART || kind == SHAPE_CLOUD || kind == SHAPE_GOMBOL;
}

// Appends a Bézier chain to the current figure (a line joins it to the
// figure's last point when they differ), or starts the figure with it.
void addChain(QPainterPath& path, const QPoint* p, int count, bool newFigure)
{
    if (newFigure)
        path.moveTo(p[0]);
    else if (path.currentPosition() != QPointF(p[0]))
        path.lineTo(p[0]);
    for (int i = 1; i + 2 < count; i += 3)
        path.cubicTo(p[i], p[i + 1], p[i + 2]);
}

QRectF normalized(int x0, int y0, int x1, int y1)
{
    const int left = std::min(x0, x1), top = std::min(y0, y1);
    return QRectF(left, top, std::abs(x1 - x0), std::abs(y1 - y0));
}

// Arcs are given as on the screen: degrees clockwise from the positive x
// axis. QPainterPath counts counter-clockwise, hence the signs.
void arcTo(QPainterPath& path, const QRectF& box, double start, double sweep)
{
    path.arcTo(box, -start, -sweep);
}

QPainterPath roundRectFigure(int x0, int y0, int x1, int y1)
{
    const double l = std::min(x0, x1), t = std::min(y0, y1), r = std::max(x0, x1), b = std::max(y0, y1);
    const double d = std::abs(x1 - x0) / 10;
    QPainterPath path;
    path.moveTo(l + d, t);
    path.lineTo(r - d, t);
    arcTo(path, QRectF(r - 2 * d, t, 2 * d, 2 * d), 270, 90);
    path.lineTo(r, t + d);
    path.lineTo(r, b - d);
    arcTo(path, QRectF(r - 2 * d, b - 2 * d, 2 * d, 2 * d), 0, 90);
    path.lineTo(r - d, b);
    path.lineTo(l + d, b);
    arcTo(path, QRectF(l, b - 2 * d, 2 * d, 2 * d), 90, 90);
    path.lineTo(l, b - d);
    path.lineTo(l, t + d);
    arcTo(path, QRectF(l, t, 2 * d, 2 * d), 180, 90);
    path.closeSubpath();
    return path;
}

// One closed half-ellipse: the arc of `box` from `start` sweeping 180
// degrees, closed by its chord.
QPainterPath halfEllipse(const QRectF& box, double start)
{
    QPainterPath path;
    path.arcMoveTo(box, -start);
    arcTo(path, box, start, 180);
    path.closeSubpath();
    return path;
}

mc::Region crescentRegion(int x0, int y0, int x1, int y1)
{
    const int top = std::min(y0, y1), w = std::abs(x1 - x0), h = std::abs(y1 - y0);
    QPainterPath outer, inner;
    if (x1 - x0 >= 0) {
        outer = halfEllipse(QRectF(x0 - w, top, 2 * w, h), 270);
        inner = halfEllipse(QRectF(x0 - w / 2 - 1, top, w, h), 270);
    } else {
        outer = halfEllipse(QRectF(x1, top, 2 * w, h), 90);
        inner = halfEllipse(QRectF(x1 + w / 2 + 1, top, w, h), 90);
    }
    mc::Region region = mc::Region::fromPath(outer);
    region.exclude(mc::Region::fromPath(inner));
    return region;
}

// The half of the ellipse in (left, y0)-(right, y1) that lies towards x1,
// from the top of the rectangle to its bottom.
void addHalfArc(QPainterPath& path, int left, int right, int y0, int y1, bool towardsRight)
{
    const QRectF box = normalized(left, y0, right, y1);
    path.arcMoveTo(box, 90);
    path.arcTo(box, 90, towardsRight ? -180 : 180);
}

} // namespace

QPoint LineIntersection(QPoint p, QPoint q, QPoint r, QPoint s)
{
    const std::int64_t a = p.x(), b = p.y(), c = q.x(), d = q.y();
    const std::int64_t e = r.x(), f = r.y(), g = s.x(), h = s.y();
    const std::int64_t o = (c - a) * (f - h);
    const std::int64_t rr = (b - d) * (g - e);
    if (o == rr)
        return p;
    const std::int64_t u = d * a - b * c;
    const std::int64_t v = e * h - f * g;
    const std::int64_t x = ((c - a) * v - (g - e) * u) / (rr - o);
    const std::int64_t y = ((b - d) * v - u * (f - h)) / (o - rr);
    // Nearly parallel lines meet far away; keep such a point representable.
    constexpr std::int64_t lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    return QPoint(int(std::clamp(x, lo, hi)), int(std::clamp(y, lo, hi)));
}

std::vector<QPoint> ShapePoints(int kind, int x0, int y0, int x1, int y1)
{
    const int W = x1 - x0, H = y1 - y0;
    switch (kind) {
    case SHAPE_DIAMOND:
        return {{x0 + W / 2, y0}, {x1, y0 + H / 2}, {x0 + W / 2, y1}, {x0, y0 + H / 2}};
    case SHAPE_PARALLELOGRAM:
        return {{x0 + W / 3, y0}, {x1, y0}, {x1 - W / 3, y1}, {x0, y1}};
    case SHAPE_ECHELON: {
        const int c = W / 4;
        return {{x0 + c, y0}, {x0 + 3 * c, y0}, {x1, y1}, {x0, y1}};
    }
    case SHAPE_ISOSCELES_TRIANGLE:
        return {{x0 + W / 2, y0}, {x0, y1}, {x1, y1}};
    case SHAPE_RIGHT_ANGLE_TRIANGLE:
        return {{x0, y0}, {x1, y1}, {x0, y1}};
    case SHAPE_PENTACLE:
        return pentacle(x0, y0, x1, y1);
    case SHAPE_EIGHT_SQUARE:
        return eightSquare(x0, y0, x1, y1);
    case SHAPE_TEN_SQUARE:
        return tenSquare(x0, y0, x1, y1);
    case SHAPE_HEXAGON: {
        const int c = W / 4;
        return {{x0 + c, y0}, {x0 + 3 * c, y0}, {x1, y0 + H / 2}, {x1 - c, y1}, {x0 + c, y1}, {x0, y0 + H / 2}};
    }
    case SHAPE_OCTAGON: {
        const int cx = W / 4, cy = H / 4;
        return {{x0 + cx, y0}, {x0 + 3 * cx, y0}, {x1, y0 + cy},  {x1, y1 - cy},
                {x1 - cx, y1}, {x0 + cx, y1},     {x0, y1 - cy}, {x0, y0 + cy}};
    }
    case SHAPE_HEART:
        return heart(x0, y0, x1, y1);
    case SHAPE_CLOUD:
        return cloud(x0, y0, x1, y1);
    case SHAPE_GOMBOL:
        return gombol(x0, y0, x1, y1);
    case SHAPE_BLAST:
        return blast(x0, y0, x1, y1);
    default:
        return {};
    }
}

QPainterPath ShapeOutlinePath(int kind, int x0, int y0, int x1, int y1)
{
    QPainterPath path;
    const QRectF box = normalized(x0, y0, x1, y1);
    switch (kind) {
    case SHAPE_ROUND_RECT: {
        // The corner ellipse is a fifth of the width wide and high.
        const double e = std::abs(x1 - x0) / 5;
        path.addRoundedRect(box, e / 2, e / 2);
        return path;
    }
    case SHAPE_ELLIPSE:
        path.addEllipse(box);
        return path;
    case SHAPE_CRESCENT: {
        const int W = x1 - x0;
        // Both ellipses are centred on the vertical through x0: the outer
        // one W wide on each side, the inner one W / 2.
        addHalfArc(path, x0 - W, x1, y0, y1, W >= 0);
        addHalfArc(path, x0 - W / 2, x0 + W / 2, y0, y1, W >= 0);
        return path;
    }
    default:
        break;
    }
    const std::vector<QPoint> points = ShapePoints(kind, x0, y0, x1, y1);
    if (points.empty()) {
        path.addRect(box);
    } else if (kind == SHAPE_HEART) {
        // Two chains of ten points, each drawn on its own.
        addChain(path, points.data(), 10, true);
        addChain(path, points.data() + 10, 10, true);
    } else if (isChain(kind)) {
        addChain(path, points.data(), int(points.size()), true);
    } else {
        QPolygonF polygon;
        for (const QPoint& p : points)
            polygon << QPointF(p);
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    return path;
}

void DrawShapeOutline(int kind, int x0, int y0, int x1, int y1, QPainter& dc)
{
    dc.strokePath(ShapeOutlinePath(kind, x0, y0, x1, y1), dc.pen());
}

mc::Region ShapeRegion(int kind, int x0, int y0, int x1, int y1)
{
    // Without width or height no shape has an area.
    if (x1 == x0 || y1 == y0)
        return mc::Region();
    QPainterPath path; // odd-even fill
    switch (kind) {
    case SHAPE_ROUND_RECT:
        path = roundRectFigure(x0, y0, x1, y1);
        break;
    case SHAPE_ELLIPSE:
        path.addEllipse(normalized(x0, y0, x1, y1));
        break;
    case SHAPE_CRESCENT:
        return crescentRegion(x0, y0, x1, y1);
    default: {
        const std::vector<QPoint> points = ShapePoints(kind, x0, y0, x1, y1);
        if (points.empty()) {
            path.addRect(normalized(x0, y0, x1, y1));
        } else if (isChain(kind)) {
            // The Heart's two chains form one figure.
            addChain(path, points.data(), kind == SHAPE_HEART ? 10 : int(points.size()), true);
            if (kind == SHAPE_HEART)
                addChain(path, points.data() + 10, 10, false);
            path.closeSubpath();
        } else {
            QPolygonF polygon;
            for (const QPoint& p : points)
                polygon << QPointF(p);
            path.addPolygon(polygon);
            path.closeSubpath();
        }
    }
    }
    return mc::Region::fromPath(path);
}

} // namespace mc::canvas
