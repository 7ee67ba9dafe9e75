#include "imaging/Region.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cstring>
#include <functional>
#include <limits>

using mc::Region;

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
        QString error;
        const std::optional<Region> back = Region::deserialize(r.serialize(), &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_EQ(*back, r);
        EXPECT_EQ(back->isInfinite(), r.isInfinite());
        EXPECT_EQ(back->path().fillRule(), r.path().fillRule());
        EXPECT_EQ(back->serialize(), r.serialize());
        EXPECT_EQ(back->toPixelRegion(), r.toPixelRegion());
    }
}

TEST(RegionSerialization, RejectsDamagedData)
{
    const QByteArray rect = Region::fromRect(QRectF(1, 2, 30, 40)).serialize();
    const auto reject = [](const QByteArray& bytes, const std::string& what) {
        QString error;
        EXPECT_FALSE(Region::deserialize(bytes, &error).has_value()) << what;
        EXPECT_FALSE(error.isEmpty()) << what;
    };
    for (int n = 0; n < rect.size(); ++n)
        reject(rect.left(n), "truncated to " + std::to_string(n));
    reject(rect + 'x', "trailing byte");

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
        {"magic", byte(0, 'X')},
        {"version", byte(4, 2)},
        {"kind", byte(6, 7)},
        {"fill rule", byte(7, 2)},
        {"infinite with elements", byte(6, 1)},
        {"NaN", number(12 + 17 * 2 + 1, std::numeric_limits<double>::quiet_NaN())},
        {"infinity", number(12 + 17 * 1 + 9, std::numeric_limits<double>::infinity())},
        {"beyond the path range", number(12 + 1, 1e200)},
        {"unknown type", byte(12 + 17 * 3, 9)},
        {"first element not a move", byte(12, QPainterPath::LineToElement)},
        {"curve data without a curve", byte(12 + 17 * 2, QPainterPath::CurveToDataElement)},
        {"curve without its data", byte(12 + 17 * 3, QPainterPath::CurveToElement)},
    };
    for (const auto& [what, damage] : damages) {
        QByteArray bytes = rect;
        damage(bytes);
        reject(bytes, what);
    }

    // Absurd counts are refused without allocating.
    QByteArray counted = rect.left(12);
    qToLittleEndian(quint32(0xFFFFFFFFu), counted.data() + 8);
    reject(counted, "huge count");
    qToLittleEndian(quint32(0x10000000u), counted.data() + 8);
    reject(counted + QByteArray(17, '\0'), "count beyond the data");
}
