#include "imaging/Region.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

using mc::Region;

namespace {

Region roundTrip(const Region& r)
{
    QString error;
    const std::optional<Region> back = Region::deserialize(r.serialize(), &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    return back.value_or(Region());
}

QByteArray rectBytes()
{
    return Region::fromRect(QRectF(1, 2, 30, 40)).serialize();
}

void expectRejected(const QByteArray& bytes, const char* what)
{
    QString error;
    EXPECT_FALSE(Region::deserialize(bytes, &error).has_value()) << what;
    EXPECT_FALSE(error.isEmpty()) << what;
}

void putDouble(QByteArray& bytes, int at, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    qToLittleEndian(bits, bytes.data() + at);
}

} // namespace

TEST(RegionSerialization, ReadsBackExactlyWhatItWrote)
{
    QPainterPath curves;
    curves.addEllipse(QRectF(-10.25, 3.5, 40.125, 17));
    curves.addRect(100, 100, 0, 5); // degenerate: its repeated points must survive
    QPainterPath winding;
    winding.setFillRule(Qt::WindingFill);
    winding.addRect(0, 0, 10, 10);
    Region transformed = Region::fromRect(QRectF(-50, -25, 100, 50));
    transformed.transform(QTransform().rotate(33.3).scale(1.0001, 1.0001));

    for (const Region& r : {Region(), Region::infinite(), Region::fromRect(QRectF(1, 2, 3, 4)),
                            Region::fromPath(curves), Region::fromPath(winding), transformed}) {
        const Region back = roundTrip(r);
        EXPECT_EQ(back, r);
        EXPECT_EQ(back.isInfinite(), r.isInfinite());
        EXPECT_EQ(back.path().fillRule(), r.path().fillRule());
        EXPECT_EQ(back.serialize(), r.serialize());
        EXPECT_EQ(back.toPixelRegion(), r.toPixelRegion());
    }
}

TEST(RegionSerialization, RejectsEveryTruncation)
{
    const QByteArray bytes = rectBytes();
    for (int n = 0; n < bytes.size(); ++n)
        expectRejected(bytes.left(n), "truncated");
    expectRejected(bytes + 'x', "trailing byte");
}

TEST(RegionSerialization, RejectsWrongHeaders)
{
    QByteArray magic = rectBytes();
    magic[0] = 'X';
    expectRejected(magic, "magic");

    QByteArray version = rectBytes();
    version[4] = 2;
    expectRejected(version, "version");

    QByteArray kind = rectBytes();
    kind[6] = 7;
    expectRejected(kind, "kind");

    QByteArray rule = rectBytes();
    rule[7] = 2;
    expectRejected(rule, "fill rule");

    QByteArray infiniteWithElements = rectBytes();
    infiniteWithElements[6] = 1;
    expectRejected(infiniteWithElements, "infinite with elements");
}

TEST(RegionSerialization, RejectsAbsurdCountsWithoutAllocating)
{
    QByteArray bytes = rectBytes().left(12);
    qToLittleEndian(quint32(0xFFFFFFFFu), bytes.data() + 8);
    expectRejected(bytes, "huge count");
    qToLittleEndian(quint32(0x10000000u), bytes.data() + 8);
    expectRejected(bytes + QByteArray(17, '\0'), "count beyond the data");
}

TEST(RegionSerialization, RejectsBadElements)
{
    // Element i starts at 12 + 17 * i: type byte, then x and y.
    QByteArray nan = rectBytes();
    putDouble(nan, 12 + 17 * 2 + 1, std::numeric_limits<double>::quiet_NaN());
    expectRejected(nan, "NaN");

    QByteArray inf = rectBytes();
    putDouble(inf, 12 + 17 * 1 + 9, std::numeric_limits<double>::infinity());
    expectRejected(inf, "infinity");

    QByteArray huge = rectBytes();
    putDouble(huge, 12 + 1, 1e200);
    expectRejected(huge, "beyond the path range");

    QByteArray type = rectBytes();
    type[12 + 17 * 3] = 9;
    expectRejected(type, "unknown type");

    QByteArray noMove = rectBytes();
    noMove[12] = char(QPainterPath::LineToElement);
    expectRejected(noMove, "first element not a move");

    QByteArray strayData = rectBytes();
    strayData[12 + 17 * 2] = char(QPainterPath::CurveToDataElement);
    expectRejected(strayData, "curve data without a curve");

    QByteArray shortCurve = rectBytes();
    shortCurve[12 + 17 * 3] = char(QPainterPath::CurveToElement);
    expectRejected(shortCurve, "curve without its data");
}
