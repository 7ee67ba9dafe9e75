#pragma once
// Shared by the item tests: items made from real picture files.
#include "items/Card.h"

#include "common/TestUtil.h"
#include "platform/Screen.h"

#include <gtest/gtest.h>

#include <QImage>

namespace cardtest {

// Every item test runs on a 1024 x 768 screen.
class CardTest : public ::testing::Test {
protected:
    void SetUp() override { mc::platform::overrideScreenSize(QSize(1024, 768)); }

    std::unique_ptr<Card> cardFrom(const QImage& image, const QString& name = "pic.png")
    {
        const QString path = mctest::writeImage(m_dir, name, image);
        auto card = Card::CreateFromFile(path);
        EXPECT_TRUE(card) << path.toStdString();
        return card;
    }

    QString m_dir = mctest::freshDir();
};

inline void fillRect(QImage& image, const QRect& rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            image.setPixel(x, y, colour);
}

// Same pixels, however the regions are cut into rectangles.
inline bool sameArea(const QRegion& a, const QRegion& b)
{
    return (a ^ b).isEmpty();
}

inline qint64 pixelCount(const QRegion& r)
{
    qint64 n = 0;
    for (const QRect& rect : r)
        n += qint64(rect.width()) * rect.height();
    return n;
}

} // namespace cardtest
