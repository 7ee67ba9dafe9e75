#include "CardTestUtil.h"

#include <QFile>

using cardtest::CardTest;

TEST_F(CardTest, GrayWeightsAndRestore)
{
    QImage img(4, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 0, 0, 255));
    img.setPixel(1, 0, qRgba(0, 255, 0, 255));
    img.setPixel(2, 0, qRgba(0, 0, 255, 40));
    img.setPixel(3, 0, qRgba(255, 255, 255, 255));
    auto card = loaded(img);
    card->m_bGray = true;
    card->ApplyGray();
    EXPECT_EQ(card->m_pBitmap->pixel(0, 0), qRgba(76, 76, 76, 255));
    EXPECT_EQ(card->m_pBitmap->pixel(1, 0), qRgba(153, 153, 153, 255));
    EXPECT_EQ(card->m_pBitmap->pixel(2, 0), qRgba(25, 25, 25, 40)); // alpha kept
    EXPECT_EQ(card->m_pBitmap->pixel(3, 0), qRgba(255, 255, 255, 255));
    // Without erase or semitransparency the file comes back as it is.
    card->m_bGray = false;
    card->ApplyGray();
    EXPECT_EQ(*card->m_pBitmap, img);

    // Semitransparent: colour back, alpha kept.
    card->m_bSemi = true;
    card->m_nAlpha = 90;
    card->ApplySemi();
    card->m_bGray = true;
    card->ApplyGray();
    card->m_bGray = false;
    card->ApplyGray();
    EXPECT_EQ(card->m_pBitmap->pixel(0, 0), qRgba(255, 0, 0, 90));

    // With the file gone the gray pixels stay.
    card->m_bGray = true;
    card->ApplyGray();
    ASSERT_TRUE(QFile::remove(card->m_strPath));
    card->m_bGray = false;
    card->ApplyGray();
    ASSERT_TRUE(card->m_pBitmap);
    EXPECT_EQ(card->m_pBitmap->pixel(0, 0), qRgba(76, 76, 76, 90));
}

TEST_F(CardTest, Semitransparency)
{
    QImage img = mctest::solidImage(3, 1, Qt::blue);
    img.setPixel(0, 0, qRgba(9, 9, 9, 0));
    auto card = loaded(img);
    card->m_bSemi = true;
    card->m_nAlpha = 128;
    card->ApplySemi();
    EXPECT_TRUE(card->m_bSemi);
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
}

TEST_F(CardTest, UndoEraseShowsEveryTransparentPixel)
{
    QImage img = mctest::solidImage(20, 20, Qt::white);
    img.setPixel(10, 10, qRgba(1, 2, 3, 0)); // transparent in the file
    auto card = loaded(img);
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
