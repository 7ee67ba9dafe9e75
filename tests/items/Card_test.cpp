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
#include <cstdlib>
#include <numbers>
#include <tuple>

namespace {

void fill(QImage& img, const QRect& rect, QRgb colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            img.setPixel(x, y, colour);
}

// A solid picture with blocks of other colours.
QImage withBlocks(QSize size, QColor background, std::initializer_list<std::pair<QRect, QRgb>> blocks)
{
    QImage img = mctest::solidImage(size.width(), size.height(), background);
    for (const auto& [rect, colour] : blocks)
        fill(img, rect, colour);
    return img;
}

// The pixels whose colour passes `test`.
template <typename F>
QRegion pixelsWhere(const QImage& img, F test)
{
    QRegion r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (test(img.pixel(x, y)))
                r += QRect(x, y, 1, 1);
    return r;
}

double angleDegrees(QPointF from, QPointF to)
{
    return std::atan2(to.y() - from.y(), to.x() - from.x()) * 180.0 / std::numbers::pi;
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

    // The kept area in bitmap pixel coordinates.
    QRegion keptPixels() const
    {
        const QSize s = m_card->m_pBitmap->size();
        return m_card->m_pKeep->toPixelRegion().translated(s.width() / 2, s.height() / 2);
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
    card.m_dScale = 1.0;
    card.m_dShearX = 1;
    const QTransform m = card.Transform();
    EXPECT_EQ(m.m21(), double(1.0001f) * double(float(0.1)));
    // One shear step moves the bottom edge of 100 pixels 10 to the right,
    // and one step down of the vertical shear the right edge 10 up.
    EXPECT_NEAR(m.map(QPointF(-50, 50)).x() - m.map(QPointF(-50, -50)).x(), 10.0, 0.01);
    EXPECT_NEAR(m.map(QPointF(-50, 50)).y() - m.map(QPointF(-50, -50)).y(), 100.0, 0.02);
    card.m_dShearX = 0;
    card.m_dShearY = -1;
    EXPECT_NEAR(card.Transform().map(QPointF(50, 0)).y() - card.Transform().map(QPointF(-50, 0)).y(), -10.0, 0.01);

    // Mirrored, the picture's left corner is the local right one; its top
    // edge is still turned 10 degrees clockwise, not -10.
    card.m_dShearY = 0;
    card.m_dAngle = 10;
    const QPointF tl(-50, -30), tr(50, -30), bl(-50, 30), br(50, 30);
    EXPECT_NEAR(angleDegrees(card.Transform().map(tl), card.Transform().map(tr)), 10.0, 1e-4);
    card.m_bFlipH = true;
    EXPECT_NEAR(angleDegrees(card.Transform().map(tr), card.Transform().map(tl)), 10.0, 1e-4);
    card.m_bFlipV = true;
    EXPECT_NEAR(angleDegrees(card.Transform().map(br), card.Transform().map(bl)), 10.0, 1e-4);
}

// Probes on both sides of every edge: the item's region is exactly the
// pixels Draw paints, and the painter is handed back as it came.
TEST_F(CardTest, DrawAndRegionPlaceTurnAndClip)
{
    const struct {
        const char* what;
        QSize size;
        double angle;
        QRectF cut;        // in item coordinates; empty: uncut
        QRect callerClip;  // empty: none
        QRegion red;       // what is painted on the 100 x 100 canvas
    } rows[] = {
        {"40 x 20 at (50, 50)", {40, 20}, 0, {}, {}, QRegion(30, 40, 40, 20)},
        {"odd sizes: the extra pixel right and below", {41, 21}, 0, {}, {}, QRegion(30, 40, 41, 21)},
        {"one pixel", {1, 1}, 0, {}, {}, QRegion(50, 50, 1, 1)},
        {"turned a quarter", {40, 20}, 90, {}, {}, QRegion(40, 30, 20, 40)},
        {"the caller's clip", {40, 20}, 0, {}, {0, 0, 50, 100}, QRegion(30, 40, 20, 20)},
        {"cut to the top-left quarter, which travels with the item", {40, 20}, 0, {-20, -10, 20, 10}, {},
         QRegion(30, 40, 20, 10)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        auto card = cardFrom(mctest::solidImage(row.size.width(), row.size.height(), Qt::red));
        card->m_ptCenter = QPoint(50, 50);
        card->m_dAngle = row.angle;
        if (!row.cut.isEmpty())
            *card->m_pClip = mc::Region::fromRect(row.cut);
        QImage canvas(100, 100, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        if (!row.callerClip.isEmpty())
            p.setClipRect(row.callerClip);
        card->Draw(p);
        EXPECT_EQ(p.hasClipping(), !row.callerClip.isEmpty());
        EXPECT_TRUE(p.transform().isIdentity());
        p.end();
        EXPECT_EQ(pixelsWhere(canvas, [](QRgb p) { return p == qRgb(255, 0, 0); }), row.red);
        card->UpdateRegion();
        EXPECT_EQ(card->m_rgnItem, row.callerClip.isEmpty() ? row.red : QRegion(30, 40, 40, 20));
    }
}

TEST_F(CardTest, KeptAreaStaysWithinTheItem)
{
    // A block that touches the frame on every side.
    auto card = cardFrom(withBlocks(QSize(80, 60), Qt::white, {{QRect(8, 8, 64, 44), qRgb(128, 0, 0)}}));
    card->EraseBackground();
    card->m_bErased = true;
    card->m_dAngle = 17;
    card->m_dShearY = 2;
    card->UpdateRegion();
    EXPECT_FALSE(card->m_rgnKept.isEmpty());
    EXPECT_TRUE((card->m_rgnKept - card->m_rgnItem).isEmpty());

    // Cut to a small ellipse: the kept area shrinks with it.
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-15, -10, 30, 20));
    *card->m_pClip = mc::Region::fromPath(ellipse);
    card->m_bCut = true;
    card->UpdateRegion();
    EXPECT_TRUE((card->m_rgnKept - card->m_rgnItem).isEmpty());
    // The ellipse lies inside the kept block; only the middle column, which
    // the scan never counts as kept, is missing.
    qint64 missing = 0;
    for (const QRect& r : card->m_rgnItem - card->m_rgnKept)
        missing += qint64(r.width()) * r.height();
    EXPECT_LE(missing, 2 * card->m_rgnItem.boundingRect().height());
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
    EXPECT_EQ(cardFrom(mctest::solidImage(5000, 8, Qt::red))->m_dScale, 0.10000000000000014);

    auto card = cardFrom(mctest::solidImage(101, 51, Qt::red));
    EXPECT_EQ(card->m_ptCenter, QPoint(512, 384));
    // The clip is exactly the bitmap's area around the centre.
    EXPECT_EQ(card->m_pClip->toPixelRegion(), QRegion(-50, -25, 101, 51));
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
    // The middle column is never part of the kept runs.
    EXPECT_EQ(card.m_pKeep->toPixelRegion(), QRegion(12 - 20, 10 - 15, 8, 10) | QRegion(21 - 20, 10 - 15, 7, 10));

    // A missing file fails, and nothing reads through the missing bitmap.
    Card gone;
    gone.m_strPath = m_dir + "/gone.png";
    gone.m_bErased = true;
    EXPECT_FALSE(gone.LoadImage());
    EXPECT_EQ(gone.m_pBitmap, nullptr);
    gone.ApplyGray();
    gone.ApplySemi();
    gone.UndoErase();
    gone.EraseBackground();
    gone.UpdateRegion();
    QImage canvas(10, 10, QImage::Format_RGB32);
    QPainter painter(&canvas);
    gone.Draw(painter);
    EXPECT_TRUE(gone.m_rgnItem.isEmpty());
}

TEST_F(CardTest, CloneCopiesStateAndPixelsAndSitsAtTheScreenCentre)
{
    auto source = cardFrom(withBlocks(QSize(60, 40), Qt::white, {{QRect(10, 10, 40, 20), qRgb(0, 0, 200)}}));
    source->m_dAngle = 30;
    source->m_dScale = 0.7;
    source->m_dShearX = 1;
    source->m_dShearY = -2;
    source->m_bFlipH = true;
    source->m_nAlpha = 180;
    source->m_nEraseExtent = 3;
    source->EraseBackground();
    source->m_bErased = true;
    source->m_bCut = true;
    *source->m_pClipSaved = *source->m_pClip;
    *source->m_pClip = mc::Region::fromRect(QRectF(-20, -15, 30, 25));
    source->m_ptCenter = QPoint(100, 90);
    source->BeginDrag(QPoint(110, 95));
    source->UpdateRegion();

    Card clone;
    source->CloneTo(clone);
    EXPECT_EQ(mctest::itemState(clone), mctest::itemState(*source).replace("@100,90", "@512,384"));
    EXPECT_FALSE(clone.m_bDragging);
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_EQ(*clone.m_pBitmap, *source->m_pBitmap);
    EXPECT_EQ(*clone.m_pClip, *source->m_pClip);
    EXPECT_EQ(*clone.m_pKeep, *source->m_pKeep);
    EXPECT_EQ(*clone.m_pClipSaved, *source->m_pClipSaved);
    // Same shape, other place; the clip is the clone's own copy.
    EXPECT_EQ(clone.m_rgnItem, source->m_rgnItem.translated(512 - 100, 384 - 90));
    EXPECT_EQ(clone.m_rgnKept, source->m_rgnKept.translated(512 - 100, 384 - 90));
    source->m_pClip->translate(5, 5);
    EXPECT_NE(*clone.m_pClip, *source->m_pClip);

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
    QImage img(5, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 5; ++x)
        img.setPixel(x, 0, in[x]);
    auto card = cardFrom(img);
    card->m_bGray = true;
    card->ApplyGray();
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(card->m_pBitmap->pixel(x, 0), qRgba(gray[x], gray[x], gray[x], qAlpha(in[x]))) << x;
    // Without erase or semitransparency the file comes back as it is.
    card->m_bGray = false;
    card->ApplyGray();
    EXPECT_EQ(*card->m_pBitmap, img);

    // Semitransparent: colour back from the file, alpha kept; with the file
    // gone the gray pixels stay.
    card->m_bSemi = true;
    card->m_nAlpha = 90;
    card->ApplySemi();
    for (bool fileGone : {false, true}) {
        card->m_bGray = true;
        card->ApplyGray();
        ASSERT_TRUE(!fileGone || QFile::remove(card->m_strPath));
        card->m_bGray = false;
        card->ApplyGray();
        ASSERT_TRUE(card->m_pBitmap);
        EXPECT_EQ(card->m_pBitmap->pixel(0, 0), fileGone ? qRgba(76, 76, 76, 90) : qRgba(255, 0, 0, 90));
    }
}

TEST_F(CardTest, SemitransparencyAndUndoErase)
{
    QImage img = mctest::solidImage(3, 1, Qt::blue);
    img.setPixel(0, 0, qRgba(9, 9, 9, 0));
    auto card = cardFrom(img);
    card->m_bSemi = true;
    card->m_nAlpha = 128;
    card->ApplySemi();
    EXPECT_EQ(card->m_pBitmap->pixel(1, 0), qRgba(0, 0, 255, 128));
    EXPECT_EQ(card->m_pBitmap->pixel(0, 0), qRgba(9, 9, 9, 0)); // transparent stays so
    // 255 means opaque and not semitransparent.
    card->m_nAlpha = 255;
    card->ApplySemi();
    EXPECT_FALSE(card->m_bSemi);
    EXPECT_EQ(card->m_pBitmap->pixel(1, 0), qRgba(0, 0, 255, 255));
    // Switching it off forces 255.
    card->m_bSemi = true;
    card->m_nAlpha = 60;
    card->ApplySemi();
    card->m_bSemi = false;
    card->ApplySemi();
    EXPECT_EQ(card->m_nAlpha, 255);
    EXPECT_EQ(card->m_pBitmap->pixel(2, 0), qRgba(0, 0, 255, 255));

    // Undoing the erase shows every transparent pixel, also those of the file.
    img = mctest::solidImage(20, 20, Qt::white);
    img.setPixel(10, 10, qRgba(1, 2, 3, 0));
    card = cardFrom(img);
    card->m_nAlpha = 77;
    card->EraseBackground();
    EXPECT_EQ(qAlpha(card->m_pBitmap->pixel(0, 0)), 0);
    card->UndoErase();
    EXPECT_EQ(card->m_pBitmap->pixel(0, 0), qRgba(255, 255, 255, 77));
    EXPECT_EQ(card->m_pBitmap->pixel(10, 10), qRgba(1, 2, 3, 77));
    EXPECT_FALSE(card->m_pKeep->isInfinite()); // left as the erase made it
}

TEST(CardCopyPixels, CopiesAllBitsAndOnlyWhatFits)
{
    QImage src(3, 2, QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            src.setPixel(x, y, qRgba(x * 50, y * 80, 7, x == 1 ? 0 : 200));
    for (QSize size : {QSize(3, 2), QSize(2, 1), QSize(5, 5)}) {
        QImage target(size, QImage::Format_ARGB32);
        target.fill(Qt::black);
        Card::CopyPixels(src, target);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                EXPECT_EQ(target.pixel(x, y), src.rect().contains(x, y) ? src.pixel(x, y) : qRgb(0, 0, 0));
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

// A picture of `size` with each opaque pixel's colour from `f(x, y)`.
template <typename F>
QImage painted(QSize size, F f)
{
    QImage img(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, 0xFF000000u | f(x, y));
    return img;
}

// Random blocks and lines of a few colours, pure black among them.
QImage blocks(QSize size, QRgb background, quint32 seed)
{
    const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 2), qRgb(3, 0, 0), qRgb(200, 30, 30)};
    QImage img = mctest::solidImage(size.width(), size.height(), QColor(background));
    QRandomGenerator rng(seed);
    for (int i = 0; i < 40; ++i)
        fill(img, QRect(rng.bounded(size.width()), rng.bounded(size.height()), 1 + rng.bounded(30),
                        1 + rng.bounded(i % 2 ? 1 : 12)) & img.rect(), palette[rng.bounded(5)]);
    return img;
}

} // namespace

// The erase compared with its rule pixel by pixel, on pictures chosen for
// one case each and on random ones: kept pixels get m_nAlpha, the colour
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
    QImage ramp = painted(QSize(120, 30), [](int x, int) { return qRgb(60 + x, 100, 100); });
    fill(ramp, QRect(20, 12, 4, 4), qRgb(0, 0, 255));
    QRandomGenerator rng(42);
    const QImage noise = painted(QSize(37, 29), [&](int, int) { return rng.generate(); });
    const QImage disc = painted(QSize(203, 77), [](int x, int y) {
        return (x - 90) * (x - 90) + (y - 38) * (y - 38) < 27 * 27 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    });
    const std::tuple<const char*, QImage, int, int> rows[] = {
        {"holes", holes, 0, 200}, {"near white", nearWhite, 0, 255}, {"near white at 1", nearWhite, 1, 255},
        {"ramp", ramp, 1, 255}, {"ramp at 0", ramp, 0, 255}, {"noise", noise, 0, 255}, {"disc", disc, 0, 120},
        {"on black", blocks(QSize(61, 40), qRgb(0, 0, 0), 1), 0, 200},
        {"on black at 2", blocks(QSize(99, 33), qRgb(0, 0, 0), 2), 2, 255},
        {"on white", blocks(QSize(37, 50), qRgb(255, 255, 255), 3), 0, 90},
        {"on white at 3", blocks(QSize(130, 21), qRgb(255, 255, 255), 4), 3, 200},
        {"on red", blocks(QSize(203, 64), qRgb(200, 30, 30), 5), 0, 255}};
    for (const auto& [what, image, extent, alpha] : rows) {
        SCOPED_TRACE(what);
        const QImage want = referenceErase(image, extent, alpha);
        erase(image, extent, alpha);
        const QImage& got = *m_card->m_pBitmap;
        const int w = got.width(), h = got.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(got.pixel(x, y), want.pixel(x, y)) << x << "," << y;
                const bool kept = x >= 5 && x < w - 5 && x != w / 2 && y >= 5 && y < h - 5 && qAlpha(want.pixel(x, y));
                ASSERT_EQ(m_card->m_pKeep->contains(QPoint(x - w / 2, y - h / 2)), kept) << x << "," << y;
            }
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
        EXPECT_EQ(keptPixels(), kept);
        m_card->m_bErased = true;
        m_card->UpdateRegion();
        EXPECT_EQ(m_card->m_rgnKept.isEmpty(), kept.isEmpty());
    }
}
