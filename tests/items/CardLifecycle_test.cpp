#include "CardTestUtil.h"

#include <QFile>
#include <QPainter>

using cardtest::CardTest;

TEST(CardFit, ZoomSteps)
{
    EXPECT_EQ(Card::FitScale(QSize(300, 300)), 1.0);
    EXPECT_EQ(Card::FitScale(QSize(1, 1)), 1.0);
    EXPECT_DOUBLE_EQ(Card::FitScale(QSize(301, 10)), 0.9);
    EXPECT_DOUBLE_EQ(Card::FitScale(QSize(10, 301)), 0.9);
    EXPECT_DOUBLE_EQ(Card::FitScale(QSize(640, 480)), 0.4);
    // Nine subtractions of 0.1 in double precision.
    EXPECT_EQ(Card::FitScale(QSize(3000, 3000)), 0.10000000000000014);
    // Beyond 3000 pixels the fitting stops there instead of going to ~1e-16.
    EXPECT_EQ(Card::FitScale(QSize(5000, 10)), 0.10000000000000014);
    EXPECT_EQ(Card::FitScale(QSize(10, 100000)), 0.10000000000000014);
}

TEST_F(CardTest, CreateFromFileFitsAndCentres)
{
    struct Case { int w, h; double scale; };
    for (const Case c : {Case{300, 300, 1.0}, Case{301, 10, 0.9}, Case{640, 480, 0.4},
                         Case{3000, 3000, 0.10000000000000014}, Case{5000, 8, 0.10000000000000014}}) {
        auto card = cardFrom(mctest::solidImage(c.w, c.h, Qt::darkGreen), QString("fit%1x%2.png").arg(c.w).arg(c.h));
        ASSERT_TRUE(card);
        EXPECT_NEAR(card->m_dScale, c.scale, 1e-15) << c.w << "x" << c.h;
        if (c.scale == 1.0 || c.w >= 3000) {
            EXPECT_EQ(card->m_dScale, c.scale) << c.w << "x" << c.h;
        }
    }

    auto card = cardFrom(mctest::solidImage(101, 51, Qt::red));
    ASSERT_TRUE(card);
    EXPECT_EQ(card->m_ptCenter, QPoint(512, 384));
    EXPECT_EQ(card->m_nAlpha, 255);
    EXPECT_FALSE(card->m_bDragging || card->m_bCut || card->m_bErased || card->m_bGray || card->m_bSemi);
    EXPECT_EQ(card->m_pBitmap->size(), QSize(101, 51));
    EXPECT_EQ(card->m_pBitmap->format(), QImage::Format_ARGB32);
    // The clip is exactly the bitmap's area around the centre.
    EXPECT_EQ(card->m_pClip->toPixelRegion(), QRegion(-50, -25, 101, 51));
    EXPECT_TRUE(card->m_pKeep->isInfinite());
    EXPECT_TRUE(card->m_pClipSaved->isInfinite());
    EXPECT_EQ(card->m_rgnItem, QRegion(512 - 50, 384 - 25, 101, 51));
}

TEST_F(CardTest, CreateFromFileRefusesNonPictures)
{
    QFile f(m_dir + "/text.png");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    EXPECT_EQ(Card::CreateFromFile(f.fileName()), nullptr);
    EXPECT_EQ(Card::CreateFromFile(m_dir + "/missing.png"), nullptr);
}

TEST_F(CardTest, CentreFollowsOddScreenSizes)
{
    mc::platform::overrideScreenSize(QSize(1023, 767));
    auto card = cardFrom(mctest::solidImage(10, 10, Qt::red));
    ASSERT_TRUE(card);
    EXPECT_EQ(card->m_ptCenter, QPoint(511, 383));
}

TEST_F(CardTest, LoadImageReappliesStoredEffects)
{
    QImage img = mctest::solidImage(40, 30, Qt::white);
    for (int y = 10; y < 20; ++y)
        for (int x = 12; x < 28; ++x)
            img.setPixel(x, y, qRgb(255, 0, 0));
    const QString path = mctest::writeImage(m_dir, "load.png", img);

    Card card;
    card.m_strPath = path;
    card.m_bErased = card.m_bGray = card.m_bSemi = true;
    card.m_nAlpha = 100;
    card.m_bDragging = true;
    ASSERT_TRUE(card.LoadImage());
    EXPECT_FALSE(card.m_bDragging);
    ASSERT_TRUE(card.m_pBitmap);
    EXPECT_EQ(card.m_pBitmap->pixel(20, 15), qRgba(76, 76, 76, 100)); // erased, gray, then semi
    EXPECT_EQ(qAlpha(card.m_pBitmap->pixel(8, 8)), 0);
    EXPECT_EQ(*card.m_pClip, Card::ImageRectRegion(QSize(40, 30)));
    EXPECT_TRUE(card.m_pClipSaved->isInfinite());
    // The middle column is never part of the kept runs.
    EXPECT_EQ(card.m_pKeep->toPixelRegion(), QRegion(12 - 20, 10 - 15, 8, 10) | QRegion(21 - 20, 10 - 15, 7, 10));
}

TEST_F(CardTest, LoadImageOfAMissingFileFails)
{
    Card card;
    card.m_strPath = m_dir + "/gone.png";
    card.m_bErased = true;
    EXPECT_FALSE(card.LoadImage());
    EXPECT_EQ(card.m_pBitmap, nullptr);
    // Nothing reads through the missing bitmap.
    card.ApplyGray();
    card.ApplySemi();
    card.UndoErase();
    card.EraseBackground();
    card.UpdateRegion();
    QImage target(10, 10, QImage::Format_ARGB32);
    QPainter painter(&target);
    card.Draw(painter);
    EXPECT_TRUE(card.m_rgnItem.isEmpty());
}

TEST_F(CardTest, CloneCopiesStateAndPixelsAndSitsAtTheScreenCentre)
{
    QImage img = mctest::solidImage(60, 40, Qt::white);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 50; ++x)
            img.setPixel(x, y, qRgb(0, 0, 200));
    auto source = cardFrom(img);
    ASSERT_TRUE(source);
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
    EXPECT_EQ(clone.m_strPath, source->m_strPath);
    EXPECT_EQ(clone.m_dAngle, 30);
    EXPECT_EQ(clone.m_dScale, 0.7);
    EXPECT_EQ(clone.m_dShearX, 1);
    EXPECT_EQ(clone.m_dShearY, -2);
    EXPECT_TRUE(clone.m_bFlipH);
    EXPECT_FALSE(clone.m_bFlipV);
    EXPECT_TRUE(clone.m_bErased);
    EXPECT_TRUE(clone.m_bCut);
    EXPECT_EQ(clone.m_nAlpha, 180);
    EXPECT_EQ(clone.m_nEraseExtent, 3);
    EXPECT_FALSE(clone.m_bDragging);
    EXPECT_EQ(clone.m_ptCenter, QPoint(512, 384));
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
}

TEST_F(CardTest, CloneOfAnUnprocessedItemDecodesAfresh)
{
    auto source = cardFrom(mctest::solidImage(20, 20, Qt::red));
    ASSERT_TRUE(source);
    source->m_pBitmap->setPixel(0, 0, qRgb(0, 0, 0)); // not an effect: not copied
    Card clone;
    source->CloneTo(clone);
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_EQ(clone.m_pBitmap->pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(CardTest, DraggingMovesCentreAndRegions)
{
    QImage img = mctest::solidImage(30, 30, Qt::white);
    cardtest::fillRect(img, QRect(10, 10, 10, 10), qRgb(0, 0, 0));
    auto card = cardFrom(img);
    ASSERT_TRUE(card);
    card->EraseBackground();
    card->m_bErased = true;
    card->UpdateRegion();
    const QRegion item = card->m_rgnItem;
    const QRegion kept = card->m_rgnKept;
    ASSERT_FALSE(kept.isEmpty());

    // Not dragging yet: nothing moves.
    card->DragTo(QPoint(0, 0));
    EXPECT_EQ(card->m_ptCenter, QPoint(512, 384));
    EXPECT_EQ(card->m_rgnItem, item);

    EXPECT_EQ(card->BeginDrag(QPoint(520, 380)), QPoint(8, -4));
    card->DragTo(QPoint(600, 300));
    EXPECT_EQ(card->m_ptCenter, QPoint(592, 304));
    EXPECT_EQ(card->m_rgnItem, item.translated(80, -80));
    EXPECT_EQ(card->m_rgnKept, kept.translated(80, -80));
    // Moving equals recomputing at the new place.
    const QRegion moved = card->m_rgnItem;
    card->UpdateRegion();
    EXPECT_EQ(card->m_rgnItem, moved);
}
