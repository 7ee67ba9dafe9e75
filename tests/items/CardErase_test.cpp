#include "CardTestUtil.h"

#include <QRandomGenerator>

using cardtest::CardTest;

namespace {

// The pixels still visible after an erase.
QRegion visible(const QImage& img)
{
    QRegion r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                r += QRect(x, y, 1, 1);
    return r;
}

bool frameTransparent(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool frame = x < 5 || y < 5 || x >= img.width() - 5 || y >= img.height() - 5;
            if (frame && qAlpha(img.pixel(x, y)) != 0)
                return false;
        }
    return true;
}

} // namespace

class CardEraseTest : public CardTest {
protected:
    Card& load(const QImage& img, int extent = 0, int alpha = 255)
    {
        m_card = std::make_unique<Card>();
        m_card->m_strPath = mctest::writeImage(m_dir, QString("e%1.png").arg(++m_count), img);
        EXPECT_TRUE(m_card->LoadImage());
        m_card->m_nEraseExtent = extent;
        m_card->m_nAlpha = alpha;
        return *m_card;
    }

    // The kept area in bitmap pixel coordinates.
    QRegion keptPixels() const
    {
        const QSize s = m_card->m_pBitmap->size();
        return m_card->m_pKeep->toPixelRegion().translated(s.width() / 2, s.height() / 2);
    }

    std::unique_ptr<Card> m_card;
    int m_count = 0;
};

TEST_F(CardEraseTest, WhiteBackgroundAndEnclosedHoles)
{
    QImage img = mctest::solidImage(41, 31, Qt::white);
    cardtest::fillRect(img, QRect(8, 8, 10, 14), qRgb(0, 0, 0));     // left of the middle
    cardtest::fillRect(img, QRect(12, 12, 2, 3), qRgb(255, 255, 255)); // hole inside it
    cardtest::fillRect(img, QRect(25, 10, 6, 6), qRgb(0, 90, 0));    // right of the middle
    Card& card = load(img, 0, 200);
    card.EraseBackground();

    QRegion expected = QRegion(8, 8, 10, 14) - QRegion(12, 12, 2, 3);
    expected += QRegion(25, 10, 6, 6);
    EXPECT_TRUE(cardtest::sameArea(visible(*card.m_pBitmap), expected));
    EXPECT_TRUE(cardtest::sameArea(keptPixels(), expected));
    EXPECT_EQ(card.m_pBitmap->pixel(9, 9), qRgba(0, 0, 0, 200)); // kept get m_nAlpha
    EXPECT_EQ(card.m_pBitmap->pixel(30, 20), qRgba(255, 255, 255, 0)); // colour kept under alpha 0
}

TEST_F(CardEraseTest, ExtentDecidesNearWhite)
{
    QImage img = mctest::solidImage(30, 20, Qt::white);
    img.setPixel(8, 8, qRgb(254, 255, 255));
    img.setPixel(22, 8, qRgb(255, 254, 255));
    load(img, 0).EraseBackground();
    EXPECT_TRUE(cardtest::sameArea(visible(*m_card->m_pBitmap), QRegion(8, 8, 1, 1) | QRegion(22, 8, 1, 1)));
    load(img, 1).EraseBackground();
    EXPECT_TRUE(visible(*m_card->m_pBitmap).isEmpty());
    EXPECT_TRUE(m_card->m_pKeep->isEmpty());
}

TEST_F(CardEraseTest, DriftingBackgroundIsFollowed)
{
    // Each step to the right changes the red channel by one: far from the
    // reference colour at the ends, always within extent 1 of a neighbour.
    QImage img(120, 30, QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(60 + x, 100, 100));
    cardtest::fillRect(img, QRect(20, 12, 4, 4), qRgb(0, 0, 255));
    Card& card = load(img, 1);
    card.EraseBackground();
    const QImage& out = *card.m_pBitmap;
    EXPECT_EQ(qAlpha(out.pixel(19, 13)), 0);
    EXPECT_EQ(qAlpha(out.pixel(20, 13)), 255);
    // Behind the blue block the running colour is still that of x = 19; the
    // background there has drifted 5 further, so the rest of the half-row is
    // kept: a scan, not a flood fill.
    EXPECT_EQ(qAlpha(out.pixel(30, 13)), 255);
    EXPECT_EQ(qAlpha(out.pixel(59, 20)), 0); // 54 steps from the left reference
    EXPECT_EQ(qAlpha(out.pixel(60, 20)), 0); // the middle pixel
    EXPECT_EQ(qAlpha(out.pixel(100, 20)), 0);
}

TEST_F(CardEraseTest, DriftWithinARowOnly)
{
    // A smooth ramp is erased along the whole half-row at extent 1 ...
    QImage ramp(100, 12, QImage::Format_ARGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(10 + 2 * std::min(x, 99 - x) / 2, 10 + std::min(x, 99 - x), 50));
    load(ramp, 1).EraseBackground();
    EXPECT_TRUE(visible(*m_card->m_pBitmap).isEmpty());
    // ... and kept at extent 0, where no neighbour matches.
    load(ramp, 0).EraseBackground();
    EXPECT_FALSE(visible(*m_card->m_pBitmap).isEmpty());
}

TEST_F(CardEraseTest, FrameIsAlwaysTransparent)
{
    QImage noise(37, 29, QImage::Format_ARGB32);
    QRandomGenerator rng(42);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, 0xFF000000u | (rng.generate() & 0xFFFFFFu));
    Card& card = load(noise, 0);
    card.EraseBackground();
    EXPECT_TRUE(frameTransparent(*card.m_pBitmap));
    // Colours are never changed, only alpha.
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            ASSERT_EQ(card.m_pBitmap->pixel(x, y) & 0xFFFFFFu, noise.pixel(x, y) & 0xFFFFFFu);
    // Everything kept is visible; the middle column is visible but not kept.
    const QRegion kept = keptPixels();
    EXPECT_TRUE((kept - visible(*card.m_pBitmap)).isEmpty());
    EXPECT_TRUE((visible(*card.m_pBitmap) - kept - QRegion(37 / 2, 0, 1, 29)).isEmpty());
}

TEST_F(CardEraseTest, LowPicturesHaveOnlyAFrame)
{
    Card& card = load(mctest::solidImage(50, 10, Qt::red));
    card.EraseBackground();
    EXPECT_TRUE(visible(*card.m_pBitmap).isEmpty());
    EXPECT_TRUE(card.m_pKeep->isEmpty());

    Card& eleven = load(mctest::solidImage(50, 11, Qt::red));
    QImage img = *eleven.m_pBitmap;
    img.setPixel(20, 5, qRgb(0, 0, 0));
    *eleven.m_pBitmap = img;
    eleven.EraseBackground();
    EXPECT_EQ(visible(*eleven.m_pBitmap), QRegion(20, 5, 1, 1));
    EXPECT_EQ(keptPixels(), QRegion(20, 5, 1, 1));
}

TEST_F(CardEraseTest, TinyPicturesStayInBounds)
{
    // Run under the address sanitizer this also proves no access outside the
    // bitmap. Up to 10 pixels on a side everything is frame.
    for (QSize s : {QSize(1, 1), QSize(3, 7), QSize(5, 40), QSize(6, 40), QSize(10, 40), QSize(40, 6),
                    QSize(10, 10)}) {
        Card& card = load(mctest::solidImage(s.width(), s.height(), Qt::green));
        card.m_pBitmap->setPixel(s.width() / 2, s.height() / 2, qRgb(1, 2, 3));
        card.EraseBackground();
        EXPECT_TRUE(visible(*card.m_pBitmap).isEmpty()) << s.width() << "x" << s.height();
        EXPECT_TRUE(card.m_pKeep->isEmpty());
        card.m_bErased = true;
        card.UpdateRegion();
        EXPECT_TRUE(card.m_rgnKept.isEmpty());
    }
    // Eleven wide: only the middle column is scanned, and never kept.
    Card& card = load(mctest::solidImage(11, 20, Qt::green));
    card.m_pBitmap->setPixel(5, 9, qRgb(1, 2, 3));
    card.EraseBackground();
    EXPECT_EQ(visible(*card.m_pBitmap), QRegion(5, 9, 1, 1));
    EXPECT_TRUE(card.m_pKeep->isEmpty());
}

TEST_F(CardEraseTest, SemitransparentThenErase)
{
    QImage img = mctest::solidImage(30, 30, Qt::white);
    cardtest::fillRect(img, QRect(10, 10, 4, 4), qRgb(9, 9, 9));
    Card& card = load(img, 0, 255);
    card.m_bSemi = true;
    card.m_nAlpha = 100;
    card.ApplySemi();
    card.EraseBackground();
    EXPECT_EQ(card.m_pBitmap->pixel(11, 11), qRgba(9, 9, 9, 100));
    card.ApplySemi();
    EXPECT_EQ(qAlpha(card.m_pBitmap->pixel(20, 20)), 0); // erased stays transparent
}
