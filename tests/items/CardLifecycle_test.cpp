#include "CardTestUtil.h"

#include <QFile>

using cardtest::CardTest;

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
    EXPECT_EQ(Card::FitScale(QSize(300, 300)), 1.0);
    EXPECT_EQ(Card::FitScale(QSize(3000, 3000)), 0.10000000000000014);
    EXPECT_EQ(Card::FitScale(QSize(10, 100000)), 0.10000000000000014);
    EXPECT_EQ(cardFrom(mctest::solidImage(5000, 8, Qt::red))->m_dScale, 0.10000000000000014);
    EXPECT_DOUBLE_EQ(cardFrom(mctest::solidImage(301, 10, Qt::red))->m_dScale, 0.9);

    auto card = cardFrom(mctest::solidImage(101, 51, Qt::red));
    EXPECT_EQ(card->m_dScale, 1.0);
    EXPECT_EQ(card->m_ptCenter, QPoint(512, 384));
    EXPECT_EQ(card->m_nAlpha, 255);
    EXPECT_FALSE(card->m_bDragging || card->m_bCut || card->m_bErased || card->m_bGray || card->m_bSemi);
    EXPECT_EQ(card->m_pBitmap->format(), QImage::Format_ARGB32);
    // The clip is exactly the bitmap's area around the centre.
    EXPECT_EQ(card->m_pClip->toPixelRegion(), QRegion(-50, -25, 101, 51));
    EXPECT_TRUE(card->m_pKeep->isInfinite());
    EXPECT_TRUE(card->m_pClipSaved->isInfinite());
    EXPECT_EQ(card->m_rgnItem, QRegion(512 - 50, 384 - 25, 101, 51));

    mc::platform::overrideScreenSize(QSize(1023, 767));
    EXPECT_EQ(cardFrom(mctest::solidImage(10, 10, Qt::red))->m_ptCenter, QPoint(511, 383));

    QFile f(m_dir + "/text.png");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("not a picture") > 0);
    f.close();
    EXPECT_EQ(Card::CreateFromFile(f.fileName()), nullptr);
    EXPECT_EQ(Card::CreateFromFile(m_dir + "/missing.png"), nullptr);
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
    EXPECT_EQ(*card.m_pClip, Card::ImageRectRegion(QSize(40, 30)));
    EXPECT_TRUE(card.m_pClipSaved->isInfinite());
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
    EXPECT_EQ(clone.m_strPath, source->m_strPath);
    EXPECT_EQ(clone.m_dAngle, 30);
    EXPECT_EQ(clone.m_dScale, 0.7);
    EXPECT_EQ(clone.m_dShearX, 1);
    EXPECT_EQ(clone.m_dShearY, -2);
    EXPECT_TRUE(clone.m_bFlipH && !clone.m_bFlipV && clone.m_bErased && clone.m_bCut);
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

    // An unprocessed item is decoded afresh: pixel edits are not effects.
    auto plain = cardFrom(mctest::solidImage(20, 20, Qt::red));
    plain->m_pBitmap->setPixel(0, 0, qRgb(0, 0, 0));
    plain->CloneTo(clone);
    ASSERT_TRUE(clone.m_pBitmap);
    EXPECT_EQ(clone.m_pBitmap->pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(CardTest, DraggingMovesCentreAndRegions)
{
    auto card = cardFrom(cardtest::withBlock(QSize(30, 30), Qt::white, QRect(10, 10, 10, 10), qRgb(0, 0, 0)));
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
    card->UpdateRegion();
    EXPECT_EQ(card->m_rgnItem, item.translated(80, -80));
}
