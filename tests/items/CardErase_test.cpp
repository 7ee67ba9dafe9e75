#include "CardTestUtil.h"

#include <QPainter>
#include <QRandomGenerator>

#include <cstdlib>
#include <vector>

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

// The erase written out pixel by pixel from its rule, without shortcuts:
// the picture it leaves and whether each pixel is kept.
struct Reference {
    QImage image;
    std::vector<bool> kept;
};

Reference referenceErase(QImage img, int e, int alpha)
{
    const int w = img.width(), h = img.height(), mid = w / 2;
    Reference ref{img, std::vector<bool>(size_t(w) * h, false)};
    QImage& out = ref.image;
    auto colour = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; };
    auto set = [&](int x, int y, int a) { out.setPixel(x, y, colour(x, y) | QRgb(a) << 24); };
    auto match = [e](QRgb p, QRgb c) {
        return std::abs(qRed(p) - qRed(c)) <= e && std::abs(qGreen(p) - qGreen(c)) <= e &&
               std::abs(qBlue(p) - qBlue(c)) <= e;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (y < 5 || y >= h - 5 || x < 5 || x >= w - 5 || w <= 10 || h <= 10)
                set(x, y, 0);
    if (w <= 10 || h <= 10)
        return ref;
    QRgb left = colour(5, 5), right = colour(w - 6, 5);
    auto classify = [&](int x, int y, QRgb& k, QRgb first, QRgb second) {
        const QRgb p = colour(x, y);
        if (match(p, k) || match(p, first) || match(p, second)) {
            set(x, y, 0);
            k = p;
        } else {
            set(x, y, alpha);
            ref.kept[size_t(y) * w + x] = true;
        }
    };
    for (int y = 5; y < h - 5; ++y) {
        QRgb k = left;
        if (match(colour(5, y), left))
            left = k = colour(5, y);
        for (int x = 5; x < mid; ++x)
            classify(x, y, k, left, right);
        k = right;
        if (match(colour(w - 6, y), right))
            right = k = colour(w - 6, y);
        for (int x = w - 6; x > mid; --x)
            classify(x, y, k, right, left);
        const QRgb p = colour(mid, y);
        if (match(p, k) || match(p, right) || match(p, left))
            set(mid, y, 0);
    }
    return ref;
}

// Random blocks and single pixels of a few colours, pure black among them,
// on a background of one of them.
QImage blocks(QSize size, QRgb background, quint32 seed)
{
    const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 2), qRgb(3, 0, 0), qRgb(200, 30, 30)};
    QImage img = mctest::solidImage(size.width(), size.height(), QColor(background));
    QRandomGenerator rng(seed);
    for (int i = 0; i < 40; ++i) {
        const QRect r(int(rng.bounded(size.width())), int(rng.bounded(size.height())), 1 + int(rng.bounded(30)),
                      1 + int(rng.bounded(i % 2 ? 1 : 12)));
        cardtest::fillRect(img, r & img.rect(), palette[rng.bounded(5)]);
    }
    return img;
}

} // namespace

TEST_F(CardEraseTest, SameAsThePlainRulePixelByPixel)
{
    QImage disc = mctest::solidImage(203, 77, Qt::black); // a white disc on black
    {
        QPainter p(&disc);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(60, 10, 60, 55));
    }
    struct Case {
        QImage image;
        int extent, alpha;
    };
    const Case cases[] = {{disc, 0, 255},
                          {disc, 0, 120},
                          {blocks(QSize(61, 40), qRgb(0, 0, 0), 1), 0, 200},
                          {blocks(QSize(99, 33), qRgb(0, 0, 0), 2), 2, 255},
                          {blocks(QSize(37, 50), qRgb(255, 255, 255), 3), 0, 90},
                          {blocks(QSize(130, 21), qRgb(255, 255, 255), 4), 3, 200},
                          {blocks(QSize(203, 64), qRgb(200, 30, 30), 5), 0, 255}};
    for (const Case& c : cases) {
        const Reference ref = referenceErase(c.image.convertToFormat(QImage::Format_ARGB32), c.extent, c.alpha);
        erase(c.image, c.extent, c.alpha);
        const QImage& got = *m_card->m_pBitmap;
        const int w = got.width(), h = got.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(got.pixel(x, y), ref.image.pixel(x, y)) << w << "x" << h << " at " << x << "," << y;
                ASSERT_EQ(m_card->m_pKeep->contains(QPoint(x - w / 2, y - h / 2)), ref.kept[size_t(y) * w + x])
                    << w << "x" << h << " at " << x << "," << y;
            }
    }
}
