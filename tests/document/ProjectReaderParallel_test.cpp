// Opening a project decodes its pictures on several threads at once: with
// many items, gaps and effects, every item still comes back in its place
// with its own pixels, and damage anywhere still rejects the whole file.
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace mc::document;

namespace {

const QSize kScreen(1024, 768);

} // namespace

TEST(ProjectReaderParallel, ManyItemsKeepTheirOrderPixelsAndRegions)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->LoadBackground(mctest::writeImage(dir, "bk.png", mctest::solidImage(64, 48, Qt::darkCyan)));
    std::vector<QString> gone;
    for (int i = 0; i < 24; ++i) {
        // Each picture its own size and colours, so that a swap shows.
        QImage picture(30 + i, 20 + 2 * i, QImage::Format_ARGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 7 + i * 10) % 256, (y * 5 + i) % 256, i * 10));
        const QString path = mctest::writeImage(dir, QStringLiteral("p%1.png").arg(i), picture);
        Card* card = mctest::addItem(*doc, path);
        card->m_ptCenter = QPoint(40 * i, 20 * i);
        card->m_dAngle = 7.0 * i;
        card->m_bGray = i % 3 == 0;
        card->m_bErased = i % 4 == 1;
        card->m_nEraseExtent = 5;
        if (card->m_bErased)
            card->EraseBackground();
        if (card->m_bGray)
            card->ApplyGray();
        card->UpdateRegion();
        if (i % 5 == 2)
            gone.push_back(path);
    }
    const QString path = mctest::writeBytes(SerializeProject(*doc));
    for (const QString& file : gone)
        QFile::remove(file);

    auto back = mctest::emptyProject();
    QString message;
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message)) << message.toStdString();
    ASSERT_TRUE(back->m_pBkImage);
    EXPECT_EQ(back->m_pBkImage->size(), QSize(64, 48));

    std::vector<const Card*> expected;
    for (const auto& card : doc->m_listCards)
        if (std::find(gone.begin(), gone.end(), card->m_strPath) == gone.end())
            expected.push_back(card.get());
    ASSERT_EQ(back->m_listCards.GetCount(), int(expected.size()));
    auto it = expected.begin();
    for (const auto& card : back->m_listCards) {
        const Card& want = **it++;
        EXPECT_EQ(card->m_strPath, want.m_strPath);
        ASSERT_TRUE(card->m_pBitmap);
        EXPECT_EQ(*card->m_pBitmap, *want.m_pBitmap) << want.m_strPath.toStdString();
        EXPECT_EQ(card->m_rgnItem, want.m_rgnItem);
        EXPECT_EQ(card->m_rgnKept, want.m_rgnKept);
    }
}

TEST(ProjectReaderParallel, DamageInTheLastItemRejectsTheFile)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    Card* last = nullptr;
    for (int i = 0; i < 12; ++i)
        last = mctest::addItem(*doc, mctest::writeImage(dir, QStringLiteral("p%1.png").arg(i),
                                                        mctest::solidImage(20, 20, Qt::blue)));
    // The head is written first: the bottom item comes last in the file.
    Card* bottom = doc->m_listCards.GetTail();
    ASSERT_NE(bottom, last);
    bottom->m_dScale = 1e7;
    auto back = mctest::emptyProject();
    const QString before = mctest::fingerprint(*back);
    QString message;
    EXPECT_FALSE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(mctest::fingerprint(*back), before);
}
