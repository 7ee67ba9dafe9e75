#pragma once
// Shared by the item tests: items made from real picture files.
#include "items/Card.h"

#include "common/TestUtil.h"
#include "platform/Screen.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace cardtest {

// Every item test runs on a 1024 x 768 screen.
class CardTest : public ::testing::Test {
protected:
    void SetUp() override { mc::platform::overrideScreenSize(QSize(1024, 768)); }

    // An item as Add Image makes it: fitted and centred.
    std::unique_ptr<Card> cardFrom(const QImage& image)
    {
        const QString path = mctest::writeImage(m_dir, QString("c%1.png").arg(++m_count), image);
        auto card = Card::CreateFromFile(path);
        EXPECT_TRUE(card) << path.toStdString();
        return card;
    }

    // An item as a project loads it: the picture only, effects to be applied.
    std::unique_ptr<Card> loaded(const QImage& image)
    {
        auto card = std::make_unique<Card>();
        card->m_strPath = mctest::writeImage(m_dir, QString("l%1.png").arg(++m_count), image);
        EXPECT_TRUE(card->LoadImage());
        return card;
    }

    QString m_dir = mctest::freshDir();
    int m_count = 0;
};

inline void fillRect(QImage& image, const QRect& rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            image.setPixel(x, y, colour);
}

// A solid picture with a block of another colour.
inline QImage withBlock(QSize size, QColor background, const QRect& block, QRgb colour)
{
    QImage img = mctest::solidImage(size.width(), size.height(), background);
    fillRect(img, block, colour);
    return img;
}

// The item drawn alone on a white canvas.
inline QImage drawn(const Card& card, QSize size = QSize(100, 100))
{
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    card.Draw(p);
    return canvas;
}

// Same pixels, however the regions are cut into rectangles.
inline bool sameArea(const QRegion& a, const QRegion& b) { return (a ^ b).isEmpty(); }

} // namespace cardtest
