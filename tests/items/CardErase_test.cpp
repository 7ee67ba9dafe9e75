#include "CardTestUtil.h"

#include <QRandomGenerator>

#include <cstdlib>
#include <tuple>

using cardtest::sameArea;

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

} // namespace

class CardEraseTest : public cardtest::CardTest {
protected:
    // Erases `img` at `extent`; returns what stays visible.
    QRegion erase(const QImage& img, int extent = 0, int alpha = 255)
    {
        m_card = loaded(img);
        m_card->m_nEraseExtent = extent;
        m_card->m_nAlpha = alpha;
        m_card->EraseBackground();
        return visible(*m_card->m_pBitmap);
    }

    // The kept area in bitmap pixel coordinates.
    QRegion keptPixels() const
    {
        const QSize s = m_card->m_pBitmap->size();
        return m_card->m_pKeep->toPixelRegion().translated(s.width() / 2, s.height() / 2);
    }

    std::unique_ptr<Card> m_card;
};

TEST_F(CardEraseTest, WhiteBackgroundAndEnclosedHoles)
{
    QImage img = cardtest::withBlock(QSize(41, 31), Qt::white, QRect(8, 8, 10, 14), qRgb(0, 0, 0)); // left of the middle
    cardtest::fillRect(img, QRect(12, 12, 2, 3), qRgb(255, 255, 255)); // hole inside it
    cardtest::fillRect(img, QRect(25, 10, 6, 6), qRgb(0, 90, 0));      // right of the middle
    const QRegion expected = (QRegion(8, 8, 10, 14) - QRegion(12, 12, 2, 3)) + QRegion(25, 10, 6, 6);
    EXPECT_TRUE(sameArea(erase(img, 0, 200), expected));
    EXPECT_TRUE(sameArea(keptPixels(), expected));
    EXPECT_EQ(m_card->m_pBitmap->pixel(9, 9), qRgba(0, 0, 0, 200));         // kept get m_nAlpha
    EXPECT_EQ(m_card->m_pBitmap->pixel(30, 20), qRgba(255, 255, 255, 0)); // colour kept under alpha 0
}

TEST_F(CardEraseTest, ExtentDecidesNearWhite)
{
    QImage img = mctest::solidImage(30, 20, Qt::white);
    img.setPixel(8, 8, qRgb(254, 255, 255));
    img.setPixel(22, 8, qRgb(255, 254, 255));
    EXPECT_TRUE(sameArea(erase(img, 0), QRegion(8, 8, 1, 1) | QRegion(22, 8, 1, 1)));
    EXPECT_TRUE(erase(img, 1).isEmpty());
    EXPECT_TRUE(m_card->m_pKeep->isEmpty());
}

TEST_F(CardEraseTest, DriftingBackgroundIsFollowedAlongTheRowOnly)
{
    // Each step to the right changes the red channel by one: far from the
    // reference colour at the ends, always within extent 1 of a neighbour.
    QImage img(120, 30, QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(60 + x, 100, 100));
    cardtest::fillRect(img, QRect(20, 12, 4, 4), qRgb(0, 0, 255));
    const QRegion shown = erase(img, 1);
    EXPECT_FALSE(shown.contains(QPoint(19, 13)));
    EXPECT_TRUE(shown.contains(QPoint(20, 13)));
    // Behind the blue block the running colour is still that of x = 19; the
    // background there has drifted 5 further, so the rest of the half-row is
    // kept: a scan, not a flood fill.
    EXPECT_TRUE(shown.contains(QPoint(30, 13)));
    for (int x : {59, 60, 100}) // 54 steps from the left reference, the middle, the right half
        EXPECT_FALSE(shown.contains(QPoint(x, 20))) << x;
    // At extent 0 no neighbour matches and the ramp is kept.
    EXPECT_TRUE(erase(img, 0).contains(QPoint(59, 20)));
}

TEST_F(CardEraseTest, FrameIsAlwaysTransparentAndColoursUnchanged)
{
    QImage noise(37, 29, QImage::Format_ARGB32);
    QRandomGenerator rng(42);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, 0xFF000000u | (rng.generate() & 0xFFFFFFu));
    const QRegion shown = erase(noise);
    EXPECT_TRUE((shown - QRegion(5, 5, 37 - 10, 29 - 10)).isEmpty());
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            ASSERT_EQ(m_card->m_pBitmap->pixel(x, y) & 0xFFFFFFu, noise.pixel(x, y) & 0xFFFFFFu);
    // Everything kept is visible; the middle column is visible but not kept.
    const QRegion kept = keptPixels();
    EXPECT_TRUE((kept - shown).isEmpty());
    EXPECT_TRUE((shown - kept - QRegion(37 / 2, 0, 1, 29)).isEmpty());
}

TEST_F(CardEraseTest, LowOrNarrowPicturesStayInBounds)
{
    // Run under the address sanitizer this also proves no access outside the
    // bitmap. Up to 10 pixels on a side everything is frame.
    for (QSize s : {QSize(1, 1), QSize(3, 7), QSize(5, 40), QSize(6, 40), QSize(10, 40), QSize(40, 6),
                    QSize(10, 10), QSize(50, 10)}) {
        QImage img = mctest::solidImage(s.width(), s.height(), Qt::green);
        img.setPixel(s.width() / 2, s.height() / 2, qRgb(1, 2, 3));
        EXPECT_TRUE(erase(img).isEmpty()) << s.width() << "x" << s.height();
        EXPECT_TRUE(m_card->m_pKeep->isEmpty());
        m_card->m_bErased = true;
        m_card->UpdateRegion();
        EXPECT_TRUE(m_card->m_rgnKept.isEmpty());
    }
    // Eleven high: one row is scanned. Eleven wide: only the middle column,
    // which is never kept.
    EXPECT_EQ(erase(cardtest::withBlock(QSize(50, 11), Qt::red, QRect(20, 5, 1, 1), qRgb(0, 0, 0))),
              QRegion(20, 5, 1, 1));
    EXPECT_EQ(keptPixels(), QRegion(20, 5, 1, 1));
    EXPECT_EQ(erase(cardtest::withBlock(QSize(11, 20), Qt::green, QRect(5, 9, 1, 1), qRgb(1, 2, 3))),
              QRegion(5, 9, 1, 1));
    EXPECT_TRUE(m_card->m_pKeep->isEmpty());
}

TEST_F(CardEraseTest, SemitransparentThenErase)
{
    m_card = loaded(cardtest::withBlock(QSize(30, 30), Qt::white, QRect(10, 10, 4, 4), qRgb(9, 9, 9)));
    m_card->m_bSemi = true;
    m_card->m_nAlpha = 100;
    m_card->ApplySemi();
    m_card->EraseBackground();
    EXPECT_EQ(m_card->m_pBitmap->pixel(11, 11), qRgba(9, 9, 9, 100));
    m_card->ApplySemi();
    EXPECT_EQ(qAlpha(m_card->m_pBitmap->pixel(20, 20)), 0); // erased stays transparent
}

namespace {

// The erase written out pixel by pixel from its rule, without shortcuts,
// for pictures over 10 pixels on each side.
QImage referenceErase(QImage img, int e, int alpha)
{
    const int w = img.width(), h = img.height(), mid = w / 2;
    const QImage in = img;
    auto colour = [&](int x, int y) { return in.pixel(x, y) & 0xFFFFFFu; };
    auto set = [&](int x, int y, int a) { img.setPixel(x, y, colour(x, y) | QRgb(a) << 24); };
    auto match = [e](QRgb p, QRgb c) {
        return std::abs(qRed(p) - qRed(c)) <= e && std::abs(qGreen(p) - qGreen(c)) <= e &&
               std::abs(qBlue(p) - qBlue(c)) <= e;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (y < 5 || y >= h - 5 || x < 5 || x >= w - 5)
                set(x, y, 0);
    QRgb left = colour(5, 5), right = colour(w - 6, 5);
    auto classify = [&](int x, int y, QRgb& k, QRgb first, QRgb second) {
        const QRgb p = colour(x, y);
        const bool background = match(p, k) || match(p, first) || match(p, second);
        set(x, y, background ? 0 : alpha);
        k = background ? p : k;
    };
    for (int y = 5; y < h - 5; ++y) {
        QRgb k = left = match(colour(5, y), left) ? colour(5, y) : left;
        for (int x = 5; x < mid; ++x)
            classify(x, y, k, left, right);
        k = right = match(colour(w - 6, y), right) ? colour(w - 6, y) : right;
        for (int x = w - 6; x > mid; --x)
            classify(x, y, k, right, left);
        if (match(colour(mid, y), k) || match(colour(mid, y), right) || match(colour(mid, y), left))
            set(mid, y, 0);
    }
    return img;
}

// Random blocks and lines of a few colours, pure black among them, or a
// white disc on black.
QImage blocks(QSize size, QRgb background, quint32 seed)
{
    const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 2), qRgb(3, 0, 0), qRgb(200, 30, 30)};
    QImage img = mctest::solidImage(size.width(), size.height(), QColor(background));
    QRandomGenerator rng(seed);
    for (int i = 0; i < 40 && seed; ++i)
        cardtest::fillRect(img, QRect(rng.bounded(size.width()), rng.bounded(size.height()), 1 + rng.bounded(30),
                                      1 + rng.bounded(i % 2 ? 1 : 12)) & img.rect(),
                           palette[rng.bounded(5)]);
    for (int y = 0; y < size.height() && !seed; ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, (x - 90) * (x - 90) + (y - 38) * (y - 38) < 27 * 27 ? 0xFFFFFFFFu : 0xFF000000u);
    return img;
}

} // namespace

TEST_F(CardEraseTest, SameAsThePlainRulePixelByPixel)
{
    const std::tuple<QImage, int, int> cases[] = {{blocks(QSize(203, 77), 0, 0), 0, 120}, {blocks(QSize(61, 40), qRgb(0, 0, 0), 1), 0, 200},
                          {blocks(QSize(99, 33), qRgb(0, 0, 0), 2), 2, 255},
                          {blocks(QSize(37, 50), qRgb(255, 255, 255), 3), 0, 90},
                          {blocks(QSize(130, 21), qRgb(255, 255, 255), 4), 3, 200},
                          {blocks(QSize(203, 64), qRgb(200, 30, 30), 5), 0, 255}};
    for (const auto& [image, extent, alpha] : cases) {
        const QImage want = referenceErase(image.convertToFormat(QImage::Format_ARGB32), extent, alpha);
        erase(image, extent, alpha);
        const QImage& got = *m_card->m_pBitmap;
        const int w = got.width(), h = got.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(got.pixel(x, y), want.pixel(x, y)) << w << "x" << h << " at " << x << "," << y;
                // Kept: every scanned pixel left visible but the middle one.
                const bool kept = x >= 5 && x < w - 5 && x != w / 2 && y >= 5 && y < h - 5 && qAlpha(want.pixel(x, y));
                ASSERT_EQ(m_card->m_pKeep->contains(QPoint(x - w / 2, y - h / 2)), kept) << x << "," << y;
            }
    }
}
