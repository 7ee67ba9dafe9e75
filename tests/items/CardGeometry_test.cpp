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
    EXPECT_EQ(card.Transform().m22(), double(1.0001f));
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

    // Blended by source alpha.
    card->m_bSemi = true;
    card->m_nAlpha = 128;
    card->ApplySemi();
    const QRgb px = drawn(*card).pixel(50, 55);
    EXPECT_EQ(qRed(px), 255);
    EXPECT_NEAR(qGreen(px), 127, 1);
    EXPECT_NEAR(qBlue(px), 127, 1);
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
