// Items: creation, loading, cloning, transform, regions and drawing.
#include "CardTestUtil.h"

#include <cmath>
#include <numbers>

using cardtest::CardTest;
using cardtest::drawn;

namespace {

double angleDegrees(QPointF from, QPointF to)
{
    return std::atan2(to.y() - from.y(), to.x() - from.x()) * 180.0 / std::numbers::pi;
}

} // namespace

TEST(CardTransform, FactorsAreFloats)
{
    Card card;
    EXPECT_EQ(card.Transform().m11(), 1.0001000165939331); // double(1.0001f)
    card.m_dScale = 0.1;
    EXPECT_EQ(card.Transform().m11(), double(1.0001f) * double(0.1f));
    card.m_dScale = 1.0;
    card.m_dShearX = 1;
    EXPECT_EQ(card.Transform().m21(), double(1.0001f) * double(float(0.1)));
}

TEST(CardTransform, FlipOnARotatedItemKeepsTheTurn)
{
    Card card;
    card.m_dAngle = 10;
    const QPointF tl(-50, -30), tr(50, -30), bl(-50, 30), br(50, 30);
    // The picture's top edge runs from its left to its right corner.
    EXPECT_NEAR(angleDegrees(card.Transform().map(tl), card.Transform().map(tr)), 10.0, 1e-4);
    // Mirrored, the picture's left corner is the local right one; the edge
    // is still turned 10 degrees clockwise, not -10.
    card.m_bFlipH = true;
    EXPECT_NEAR(angleDegrees(card.Transform().map(tr), card.Transform().map(tl)), 10.0, 1e-4);
    card.m_bFlipV = true;
    EXPECT_NEAR(angleDegrees(card.Transform().map(br), card.Transform().map(bl)), 10.0, 1e-4);
}

TEST_F(CardTest, OneShearStepMovesTheBottomEdgeTenPixels)
{
    auto card = cardFrom(mctest::solidImage(100, 100, Qt::red));
    card->m_dShearX = 1;
    const QTransform m = card->Transform();
    EXPECT_NEAR(m.map(QPointF(-50, 50)).x() - m.map(QPointF(-50, -50)).x(), 10.0, 0.01);
    EXPECT_NEAR(m.map(QPointF(-50, 50)).y() - m.map(QPointF(-50, -50)).y(), 100.0, 0.02);
    card->UpdateRegion();
    const QRect bounds = card->m_rgnItem.boundingRect();
    const QRect top = (card->m_rgnItem & QRect(0, bounds.top(), 2000, 1)).boundingRect();
    const QRect bottom = (card->m_rgnItem & QRect(0, bounds.bottom(), 2000, 1)).boundingRect();
    EXPECT_NEAR(bottom.left() - top.left(), 10, 1);
    EXPECT_EQ(bottom.width(), top.width());

    card->m_dShearX = 0;
    card->m_dShearY = -1;
    const QTransform v = card->Transform();
    EXPECT_NEAR(v.map(QPointF(50, 0)).y() - v.map(QPointF(-50, 0)).y(), -10.0, 0.01);
}

TEST_F(CardTest, UnrotatedItemCoversItsRectangle)
{
    for (QSize size : {QSize(100, 60), QSize(101, 61), QSize(1, 1)}) {
        auto card = cardFrom(mctest::solidImage(size.width(), size.height(), Qt::red));
        card->m_ptCenter = QPoint(500, 400);
        card->UpdateRegion();
        const int w = size.width(), h = size.height();
        EXPECT_EQ(card->m_rgnItem, QRegion(500 - w / 2, 400 - h / 2, w, h)) << w << "x" << h;
    }
}

TEST_F(CardTest, DrawPlacesTurnsClipsAndBlends)
{
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    auto card = cardFrom(mctest::solidImage(40, 20, Qt::red));
    card->m_ptCenter = QPoint(50, 50);
    QImage canvas = drawn(*card);
    for (QPoint p : {QPoint(50, 50), QPoint(31, 41), QPoint(68, 58)})
        EXPECT_EQ(canvas.pixel(p), red) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(28, 50), QPoint(50, 38), QPoint(50, 61)})
        EXPECT_EQ(canvas.pixel(p), white) << p.x() << "," << p.y();

    // Turned a quarter: 20 wide, 40 high.
    card->m_dAngle = 90;
    canvas = drawn(*card);
    EXPECT_EQ(canvas.pixel(50, 33), red);
    EXPECT_EQ(canvas.pixel(35, 50), white);

    // The caller's clip is honoured and the painter restored as found.
    card->m_dAngle = 0;
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setClipRect(QRect(0, 0, 50, 100));
        card->Draw(p);
        EXPECT_TRUE(p.hasClipping());
        EXPECT_TRUE(p.transform().isIdentity());
    }
    EXPECT_EQ(canvas.pixel(45, 50), red);
    EXPECT_EQ(canvas.pixel(55, 50), white);

    // Cut to the top-left quarter in item coordinates; it travels with the item.
    *card->m_pClip = mc::Region::fromRect(QRectF(-20, -10, 20, 10));
    card->m_ptCenter = QPoint(60, 60);
    canvas = drawn(*card);
    EXPECT_EQ(canvas.pixel(50, 55), red);
    EXPECT_EQ(canvas.pixel(70, 55), white);
    EXPECT_EQ(canvas.pixel(50, 65), white);

}

TEST_F(CardTest, KeptAreaStaysWithinTheItem)
{
    // A block that touches the frame on every side.
    auto card = cardFrom(cardtest::withBlock(QSize(80, 60), Qt::white, QRect(8, 8, 64, 44), qRgb(128, 0, 0)));
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
    const struct {
        QSize size;
        double scale;
    } cases[] = {{{300, 300}, 1.0}, {{1, 1}, 1.0}, {{301, 10}, 0.9}, {{10, 301}, 0.9}, {{640, 480}, 0.4},
                 {{3000, 3000}, 0.10000000000000014}, {{5000, 10}, 0.10000000000000014},
                 {{10, 100000}, 0.10000000000000014}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Card::FitScale(c.size), c.scale) << c.size.width() << "x" << c.size.height();
    EXPECT_EQ(cardFrom(mctest::solidImage(5000, 8, Qt::red))->m_dScale, 0.10000000000000014);
    EXPECT_DOUBLE_EQ(cardFrom(mctest::solidImage(301, 10, Qt::red))->m_dScale, 0.9);

    auto card = cardFrom(mctest::solidImage(101, 51, Qt::red));
    EXPECT_EQ(card->m_dScale, 1.0);
    EXPECT_EQ(card->m_ptCenter, QPoint(512, 384));
    // The clip is exactly the bitmap's area around the centre.
    EXPECT_EQ(card->m_pClip->toPixelRegion(), QRegion(-50, -25, 101, 51));

    mc::platform::overrideScreenSize(QSize(1023, 767));
    EXPECT_EQ(cardFrom(mctest::solidImage(10, 10, Qt::red))->m_ptCenter, QPoint(511, 383));

}

TEST_F(CardTest, LoadImageReappliesStoredEffects)
{
    Card card;
    card.m_strPath =
        mctest::writeImage(m_dir, "load.png", cardtest::withBlock(QSize(40, 30), Qt::white, QRect(12, 10, 16, 10), qRgb(255, 0, 0)));
    card.m_bErased = card.m_bGray = card.m_bSemi = true;
    card.m_nAlpha = 100;
    card.m_bDragging = true;
    ASSERT_TRUE(card.LoadImage());
    EXPECT_FALSE(card.m_bDragging);
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
    cardtest::drawn(gone);
    EXPECT_TRUE(gone.m_rgnItem.isEmpty());
}

TEST_F(CardTest, CloneCopiesStateAndPixelsAndSitsAtTheScreenCentre)
{
    auto source = cardFrom(cardtest::withBlock(QSize(60, 40), Qt::white, QRect(10, 10, 40, 20), qRgb(0, 0, 200)));
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
    source->m_ptCenter = QPoint(512, 384); // the clone's place: the screen centre
    EXPECT_EQ(mctest::itemState(clone), mctest::itemState(*source));
    source->m_ptCenter = QPoint(100, 90);
    EXPECT_FALSE(clone.m_bDragging);
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_EQ(*clone.m_pBitmap, *source->m_pBitmap);
    EXPECT_EQ(*clone.m_pClip, *source->m_pClip);
    EXPECT_EQ(*clone.m_pKeep, *source->m_pKeep);
    EXPECT_EQ(*clone.m_pClipSaved, *source->m_pClipSaved);
    // Same shape, other place.
    EXPECT_EQ(clone.m_rgnItem, source->m_rgnItem.translated(512 - 100, 384 - 90));
    EXPECT_EQ(clone.m_rgnKept, source->m_rgnKept.translated(512 - 100, 384 - 90));
    // The copies are the clone's own.
    source->m_pClip->translate(5, 5);
    EXPECT_NE(*clone.m_pClip, *source->m_pClip);

    // An unprocessed item is decoded afresh: pixel edits are not effects.
    auto plain = cardFrom(mctest::solidImage(20, 20, Qt::red));
    plain->m_pBitmap->setPixel(0, 0, qRgb(0, 0, 0));
    plain->CloneTo(clone);
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_EQ(clone.m_pBitmap->pixel(0, 0), qRgb(255, 0, 0));
}
