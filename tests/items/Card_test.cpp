// Items: creation, loading, cloning, transform, regions and drawing, and the
// pixel effects (gray, semitransparency, background erase).
#include "items/Card.h"

#include "common/TestUtil.h"
#include "platform/Screen.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace {

// A picture of `size`, each pixel's colour from `f(x, y)`.
template <typename F>
QImage painted(QSize size, F f)
{
    QImage img(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, f(x, y));
    return img;
}

// A solid picture with opaque blocks of other colours, later ones on top.
QImage withBlocks(QSize size, QColor background, std::vector<std::pair<QRect, QRgb>> blocks)
{
    return painted(size, [&](int x, int y) {
        QRgb c = background.rgba();
        for (const auto& [rect, colour] : blocks)
            c = rect.contains(x, y) ? colour : c;
        return c;
    });
}

// The pixels whose colour passes `test`.
template <typename F>
QRegion pixelsWhere(const QImage& img, F test)
{
    QRegion r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            r += test(img.pixel(x, y)) ? QRegion(x, y, 1, 1) : QRegion();
    return r;
}

// Every item test runs on a 1024 x 768 screen.
class CardTest : public ::testing::Test {
protected:
    void SetUp() override { mc::platform::overrideScreenSize(QSize(1024, 768)); }

    // An item as Add Image makes it: fitted and centred (the pixel effects
    // work on it as on a loaded one).
    std::unique_ptr<Card> cardFrom(const QImage& image)
    {
        auto card = Card::CreateFromFile(mctest::writeImage(m_dir, QString("c%1.png").arg(++m_count), image));
        EXPECT_TRUE(card);
        return card;
    }

    // Erases `img` at `extent` into m_card; returns what stays visible.
    QRegion erase(const QImage& img, int extent = 0, int alpha = 255)
    {
        m_card = cardFrom(img);
        m_card->m_nEraseExtent = extent;
        m_card->m_nAlpha = alpha;
        m_card->EraseBackground();
        return pixelsWhere(*m_card->m_pBitmap, [](QRgb p) { return qAlpha(p) != 0; });
    }

    QString m_dir = mctest::freshDir();
    int m_count = 0;
    std::unique_ptr<Card> m_card;
};

} // namespace

TEST(CardTransform, FloatFactorsFlipsAndShearSteps)
{
    Card card;
    EXPECT_EQ(card.Transform().m11(), 1.0001000165939331); // double(1.0001f)
    card.m_dScale = 0.1;
    EXPECT_EQ(card.Transform().m11(), double(1.0001f) * double(0.1f));
    // One shear step is a tenth: the bottom edge of 100 pixels goes 10 to
    // the right, and one step down of the vertical shear the right edge 10 up.
    card.m_dScale = 1.0, card.m_dShearX = 1;
    EXPECT_EQ(card.Transform().m21(), double(1.0001f) * double(float(0.1)));
    card.m_dShearX = 0, card.m_dShearY = -1;
    EXPECT_NEAR(card.Transform().map(QPointF(50, 0)).y() - card.Transform().map(QPointF(-50, 0)).y(), -10.0, 0.01);

    // Mirrored, the picture's left corner is the local right one; its top
    // edge is still turned 10 degrees clockwise, not -10.
    const auto angle = [&](QPointF from, QPointF to) {
        const QPointF d = card.Transform().map(to) - card.Transform().map(from);
        return std::atan2(d.y(), d.x()) * 180.0 / std::numbers::pi;
    };
    card.m_dShearY = 0, card.m_dAngle = 10;
    EXPECT_NEAR(angle({-50, -30}, {50, -30}), 10.0, 1e-4);
    card.m_bFlipH = true;
    EXPECT_NEAR(angle({50, -30}, {-50, -30}), 10.0, 1e-4);
    card.m_bFlipV = true;
    EXPECT_NEAR(angle({50, 30}, {-50, 30}), 10.0, 1e-4);
}

// Probes on both sides of every edge: the item's region is exactly the
// pixels Draw paints, and the painter is handed back as it came.
TEST_F(CardTest, DrawAndRegionPlaceTurnAndClip)
{
    // what, size, angle, cut in item coordinates (empty: uncut), caller's
    // clip (empty: none), what is painted on the 100 x 100 canvas
    const std::tuple<const char*, QSize, double, QRectF, QRect, QRegion> rows[] = {
        {"40 x 20 at (50, 50)", {40, 20}, 0, {}, {}, QRegion(30, 40, 40, 20)},
        {"one pixel", {1, 1}, 0, {}, {}, QRegion(50, 50, 1, 1)},
        {"turned a quarter", {40, 20}, 90, {}, {}, QRegion(40, 30, 20, 40)},
        {"the caller's clip", {40, 20}, 0, {}, {0, 0, 50, 100}, QRegion(30, 40, 20, 20)},
        {"cut to the top-left quarter, which travels with the item", {40, 20}, 0, {-20, -10, 20, 10}, {},
         QRegion(30, 40, 20, 10)},
    };
    for (const auto& [what, size, angle, cut, callerClip, red] : rows) {
        SCOPED_TRACE(what);
        auto card = cardFrom(mctest::solidImage(size.width(), size.height(), Qt::red));
        card->m_ptCenter = QPoint(50, 50);
        card->m_dAngle = angle;
        if (!cut.isEmpty())
            *card->m_pClip = mc::Region::fromRect(cut);
        QImage canvas = mctest::solidImage(100, 100, Qt::white);
        QPainter p(&canvas);
        if (!callerClip.isEmpty())
            p.setClipRect(callerClip);
        card->Draw(p);
        EXPECT_TRUE(p.hasClipping() == !callerClip.isEmpty() && p.transform().isIdentity());
        p.end();
        EXPECT_EQ(pixelsWhere(canvas, [](QRgb p) { return p == qRgb(255, 0, 0); }), red);
        card->UpdateRegion();
        EXPECT_EQ(card->m_rgnItem, callerClip.isEmpty() ? red : QRegion(30, 40, 40, 20));
    }
}

TEST_F(CardTest, CreateFromFileFitsTheZoomAndCentres)
{
    // Fitting subtracts 0.1 per step in double precision and stops at the
    // ninth step (3000 pixels) instead of going on to ~1e-16.
    const std::pair<QSize, double> cases[] = {
        {{300, 300}, 1.0}, {{1, 1}, 1.0}, {{301, 10}, 0.9}, {{10, 301}, 0.9}, {{640, 480}, 0.4},
        {{3000, 3000}, 0.10000000000000014}, {{5000, 10}, 0.10000000000000014}, {{10, 100000}, 0.10000000000000014}};
    for (const auto& [size, scale] : cases)
        EXPECT_DOUBLE_EQ(Card::FitScale(size), scale) << size.width() << "x" << size.height();

    // Centred on the screen; the clip is exactly the bitmap's area around it.
    auto card = cardFrom(mctest::solidImage(101, 51, Qt::red));
    EXPECT_EQ(std::pair(card->m_ptCenter, card->m_pClip->toPixelRegion()), std::pair(QPoint(512, 384), QRegion(-50, -25, 101, 51)));
    mc::platform::overrideScreenSize(QSize(1023, 767));
    EXPECT_EQ(cardFrom(mctest::solidImage(10, 10, Qt::red))->m_ptCenter, QPoint(511, 383));
}

TEST_F(CardTest, LoadImageReappliesStoredEffects)
{
    Card card;
    card.m_strPath = mctest::writeImage(m_dir, "load.png",
                                        withBlocks(QSize(40, 30), Qt::white, {{QRect(12, 10, 16, 10), qRgb(255, 0, 0)}}));
    card.m_bErased = card.m_bGray = card.m_bSemi = true;
    card.m_nAlpha = 100;
    ASSERT_TRUE(card.LoadImage());
    EXPECT_EQ(card.m_pBitmap->pixel(20, 15), qRgba(76, 76, 76, 100)); // erased, gray, then semi
    EXPECT_EQ(qAlpha(card.m_pBitmap->pixel(8, 8)), 0);

    // A missing file fails, and nothing reads through the missing bitmap.
    Card gone;
    gone.m_strPath = m_dir + "/gone.png";
    gone.m_bErased = true;
    EXPECT_TRUE(!gone.LoadImage() && !gone.m_pBitmap);
    gone.ApplyGray(), gone.ApplySemi(), gone.UndoErase(), gone.EraseBackground(), gone.UpdateRegion();
    QImage canvas(10, 10, QImage::Format_RGB32);
    QPainter painter(&canvas);
    gone.Draw(painter);
    EXPECT_TRUE(gone.m_rgnItem.isEmpty());
}

TEST_F(CardTest, CloneCopiesStateAndPixelsAndSitsAtTheScreenCentre)
{
    auto source = cardFrom(withBlocks(QSize(60, 40), Qt::white, {{QRect(10, 10, 40, 20), qRgb(0, 0, 200)}}));
    Card& s = *source;
    s.m_dAngle = 30, s.m_dScale = 0.7, s.m_dShearX = 1, s.m_dShearY = -2, s.m_nAlpha = 180, s.m_nEraseExtent = 3;
    s.EraseBackground();
    s.m_bFlipH = s.m_bErased = s.m_bCut = true;
    *s.m_pClipSaved = *s.m_pClip;
    *s.m_pClip = mc::Region::fromRect(QRectF(-20, -15, 30, 25));
    s.m_ptCenter = QPoint(100, 90);
    s.UpdateRegion();

    Card clone;
    s.CloneTo(clone);
    EXPECT_EQ(mctest::itemState(clone), mctest::itemState(s).replace("@100,90", "@512,384"));
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_TRUE(*clone.m_pBitmap == *s.m_pBitmap && *clone.m_pClip == *s.m_pClip && *clone.m_pKeep == *s.m_pKeep &&
                *clone.m_pClipSaved == *s.m_pClipSaved);
    // Same shape, other place; the clip is the clone's own copy.
    EXPECT_EQ(clone.m_rgnItem, s.m_rgnItem.translated(512 - 100, 384 - 90));
    EXPECT_EQ(clone.m_rgnKept, s.m_rgnKept.translated(512 - 100, 384 - 90));
    s.m_pClip->translate(5, 5);
    EXPECT_NE(*clone.m_pClip, *s.m_pClip);

    // An unprocessed item is decoded afresh: pixel edits are not effects.
    auto plain = cardFrom(mctest::solidImage(20, 20, Qt::red));
    plain->m_pBitmap->setPixel(0, 0, qRgb(0, 0, 0));
    plain->CloneTo(clone);
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_EQ(clone.m_pBitmap->pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(CardTest, GrayWeightsAndRestore)
{
    // Five pixels: four through the wide path, one through the plain one.
    const QRgb in[] = {qRgba(255, 0, 0, 255), qRgba(0, 255, 0, 255), qRgba(0, 0, 255, 40), qRgba(255, 255, 255, 255),
                       qRgba(10, 20, 250, 7)};
    const int gray[] = {76, 153, 25, 255, 40}; // (3R + 6G + B) / 10, alpha kept
    const QImage img = painted(QSize(5, 1), [&](int x, int) { return in[x]; });
    auto card = cardFrom(img);
    card->m_bGray = true;
    card->ApplyGray();
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(card->m_pBitmap->pixel(x, 0), qRgba(gray[x], gray[x], gray[x], qAlpha(in[x]))) << x;
    // Without erase or semitransparency the file comes back as it is.
    card->m_bGray = false;
    card->ApplyGray();
    EXPECT_EQ(*card->m_pBitmap, img);

    // Semitransparent with the file gone: the gray pixels stay, alpha kept.
    card->m_bSemi = card->m_bGray = true;
    card->m_nAlpha = 90;
    card->ApplySemi();
    card->ApplyGray();
    ASSERT_TRUE(QFile::remove(card->m_strPath));
    card->m_bGray = false;
    card->ApplyGray();
    ASSERT_TRUE(card->m_pBitmap);
    EXPECT_EQ(card->m_pBitmap->pixel(0, 0), qRgba(76, 76, 76, 90));
}

TEST_F(CardTest, SemitransparencyAndUndoErase)
{
    auto card = cardFrom(withBlocks(QSize(2, 1), Qt::blue, {{QRect(0, 0, 1, 1), qRgba(9, 9, 9, 0)}}));
    const auto pixels = [&](QPoint a, QPoint b) { return std::pair(card->m_pBitmap->pixel(a), card->m_pBitmap->pixel(b)); };
    card->m_bSemi = true;
    card->m_nAlpha = 128;
    card->ApplySemi();
    EXPECT_EQ(pixels({0, 0}, {1, 0}), std::pair(qRgba(9, 9, 9, 0), qRgba(0, 0, 255, 128))); // transparent stays so
    // 255 means opaque and not semitransparent; switching it off forces 255.
    card->m_nAlpha = 255;
    card->ApplySemi();
    EXPECT_FALSE(card->m_bSemi);
    card->m_nAlpha = 60;
    card->ApplySemi();
    EXPECT_EQ(std::pair(card->m_nAlpha, card->m_pBitmap->pixel(1, 0)), std::pair(255, qRgba(0, 0, 255, 255)));

    // Undoing the erase shows every transparent pixel, also those of the
    // file, and leaves the kept area as the erase made it.
    card = cardFrom(withBlocks(QSize(20, 20), Qt::white, {{QRect(10, 10, 1, 1), qRgba(1, 2, 3, 0)}}));
    card->m_nAlpha = 77;
    card->EraseBackground();
    card->UndoErase();
    EXPECT_EQ(pixels({0, 0}, {10, 10}), std::pair(qRgba(255, 255, 255, 77), qRgba(1, 2, 3, 77)));
    EXPECT_FALSE(card->m_pKeep->isInfinite());
}

TEST(CardCopyPixels, CopiesAllBitsAndOnlyWhatFits)
{
    const QImage src = painted(QSize(3, 2), [](int x, int y) { return qRgba(x * 50, y * 80, 7, x == 1 ? 0 : 200); });
    for (QSize size : {QSize(3, 2), QSize(2, 1), QSize(5, 5)}) {
        QImage target = mctest::solidImage(size.width(), size.height(), Qt::black);
        Card::CopyPixels(src, target);
        EXPECT_EQ(target, painted(size, [&](int x, int y) { return src.rect().contains(x, y) ? src.pixel(x, y) : qRgb(0, 0, 0); }));
    }
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
    auto near = [e](QRgb p, QRgb c) { return std::max({std::abs(qRed(p) - qRed(c)), std::abs(qGreen(p) - qGreen(c)),
                                                       std::abs(qBlue(p) - qBlue(c))}) <= e; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (y < 5 || y >= h - 5 || x < 5 || x >= w - 5)
                set(x, y, 0);
    QRgb left = colour(5, 5), right = colour(w - 6, 5);
    // Walks from `from` towards the middle; `k` runs along with the background.
    auto scan = [&](int y, int from, int step, QRgb& end, QRgb other) {
        QRgb k = end = near(colour(from, y), end) ? colour(from, y) : end;
        for (int x = from; x != mid; x += step) {
            const QRgb p = colour(x, y);
            const bool background = near(p, k) || near(p, end) || near(p, other);
            set(x, y, background ? 0 : alpha);
            k = background ? p : k;
        }
        return k;
    };
    for (int y = 5; y < h - 5; ++y) {
        scan(y, 5, 1, left, right);
        const QRgb k = scan(y, w - 6, -1, right, left);
        if (near(colour(mid, y), k) || near(colour(mid, y), right) || near(colour(mid, y), left))
            set(mid, y, 0);
    }
    return img;
}

} // namespace

// The erase compared with its rule pixel by pixel, on pictures chosen for
// one case each and on random noise: kept pixels get m_nAlpha, the colour
// under alpha 0 stays, the five-pixel frame goes, the running colour drifts
// along the row (a scan, not a flood fill), and the middle column is never kept.
TEST_F(CardTest, EraseIsThePlainRulePixelByPixel)
{
    const QImage holes = withBlocks(QSize(41, 31), Qt::white, {{QRect(8, 8, 10, 14), qRgb(0, 0, 0)},
                                    {QRect(12, 12, 2, 3), qRgb(255, 255, 255)}, {QRect(25, 10, 6, 6), qRgb(0, 90, 0)}});
    const QImage nearWhite = withBlocks(QSize(30, 20), Qt::white, {{QRect(8, 8, 1, 1), qRgb(254, 255, 255)},
                                        {QRect(22, 8, 1, 1), qRgb(255, 254, 255)}});
    // Each step right changes red by one: within extent 1 of a neighbour,
    // far from the colour at either end.
    const QImage ramp = painted(QSize(120, 30), [](int x, int y) {
        return QRect(20, 12, 4, 4).contains(x, y) ? qRgb(0, 0, 255) : qRgb(60 + x, 100, 100);
    });
    QRandomGenerator rng(42);
    const QImage noise = painted(QSize(37, 29), [&](int, int) { return 0xFF000000u | rng.generate(); });
    const QImage disc = painted(QSize(203, 77), [](int x, int y) {
        return (x - 90) * (x - 90) + (y - 38) * (y - 38) < 27 * 27 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    });
    const std::tuple<const char*, QImage, int, int> rows[] = {
        {"holes", holes, 0, 200}, {"near white", nearWhite, 0, 255}, {"near white at 1", nearWhite, 1, 255},
        {"ramp", ramp, 1, 255}, {"ramp at 0", ramp, 0, 255}, {"noise", noise, 0, 255}, {"noise at 3", noise, 3, 90},
        {"disc on black", disc, 0, 120}};
    for (const auto& [what, image, extent, alpha] : rows) {
        SCOPED_TRACE(what);
        const QImage want = referenceErase(image, extent, alpha);
        erase(image, extent, alpha);
        EXPECT_EQ(*m_card->m_pBitmap, want);
        const int w = want.width(), h = want.height();
        EXPECT_EQ(m_card->m_pKeep->toPixelRegion().translated(w / 2, h / 2),
                  pixelsWhere(want, [](QRgb p) { return qAlpha(p) != 0; }) - QRegion(w / 2, 0, 1, h));
    }
    // The rule itself, on three rows.
    EXPECT_TRUE((erase(holes) ^ (QRegion(8, 8, 10, 14) - QRegion(12, 12, 2, 3) + QRegion(25, 10, 6, 6))).isEmpty());
    EXPECT_TRUE((erase(nearWhite) ^ (QRegion(8, 8, 1, 1) + QRegion(22, 8, 1, 1))).isEmpty());
    const QRegion shown = erase(ramp, 1);
    EXPECT_EQ(shown & QRect(19, 13, 12, 1), QRegion(20, 13, 11, 1)); // kept behind the block
    EXPECT_TRUE((shown & QRect(59, 20, 42, 1)).isEmpty());
}

TEST_F(CardTest, EraseOfLowOrNarrowPicturesStaysInBounds)
{
    // Run under the address sanitizer this also proves no access outside
    // the bitmap. Up to 10 pixels on a side everything is frame; eleven
    // high, one row is scanned; eleven wide, only the middle column, which
    // is never kept.
    const std::tuple<QSize, QPoint, QRegion, QRegion> rows[] = {
        {{1, 1}, {0, 0}, {}, {}}, {{3, 7}, {1, 3}, {}, {}}, {{5, 40}, {2, 20}, {}, {}}, {{6, 40}, {3, 20}, {}, {}},
        {{10, 40}, {5, 20}, {}, {}}, {{40, 6}, {20, 3}, {}, {}}, {{10, 10}, {5, 5}, {}, {}}, {{50, 10}, {20, 5}, {}, {}},
        {{50, 11}, {20, 5}, QRegion(20, 5, 1, 1), QRegion(20, 5, 1, 1)}, {{11, 20}, {5, 9}, QRegion(5, 9, 1, 1), {}}};
    for (const auto& [size, odd, shown, kept] : rows) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        EXPECT_EQ(erase(withBlocks(size, Qt::green, {{QRect(odd, QSize(1, 1)), qRgb(1, 2, 3)}})), shown);
        EXPECT_EQ(m_card->m_pKeep->toPixelRegion().translated(size.width() / 2, size.height() / 2), kept);
    }
}
