// Opening a project decodes its pictures on several threads at once: with
// many items, gaps and effects, every item still comes back in its place
// with its own pixels, and items of one file share one decoded picture.
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

    // Items whose pictures are gone keep their place, unseen.
    ASSERT_EQ(back->m_listCards.GetCount(), doc->m_listCards.GetCount());
    auto it = doc->m_listCards.begin();
    for (const auto& card : back->m_listCards) {
        const Card& want = **it++;
        EXPECT_EQ(card->m_strPath, want.m_strPath);
        const bool missing = std::find(gone.begin(), gone.end(), want.m_strPath) != gone.end();
        EXPECT_EQ(card->IsUnloaded() && message.contains(want.m_strPath), missing);
        if (missing)
            continue;
        ASSERT_TRUE(card->m_pBitmap);
        EXPECT_EQ(*card->m_pBitmap, *want.m_pBitmap) << want.m_strPath.toStdString();
        EXPECT_EQ(card->m_rgnItem, want.m_rgnItem);
        EXPECT_EQ(card->m_rgnKept, want.m_rgnKept);
    }
}

// One decoded picture per file, shared by its items until an effect gives
// one its own; the background and then the items from the top take their
// share of the budget, and what does not fit stays unloaded and is named.
TEST(ProjectReaderParallel, ItemsOfOneFileShareOnePictureWithinTheBudget)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->LoadBackground(mctest::writeImage(dir, "bk.png", mctest::solidImage(100, 100, Qt::gray)));
    const QString one = mctest::writeImage(dir, "one.png", mctest::solidImage(50, 40, Qt::red));
    const QString two = mctest::writeImage(dir, "two.png", mctest::solidImage(60, 50, Qt::blue));
    mctest::addItem(*doc, two); // bottom
    mctest::addItem(*doc, one)->m_bGray = true;
    for (int i = 0; i < 3; ++i)
        mctest::addItem(*doc, one);
    const qint64 fits = 4 * (100 * 100 + 50 * 40 + 50 * 40); // background, one, its gray copy
    for (const qint64 budget : {fits + 4 * 60 * 50 - 1, fits + 4 * 60 * 50}) {
        LoadedProject loaded = LoadPictures(*ParseProject(SerializeProject(*doc), kScreen).contents, {}, budget);
        const auto& items = loaded.contents.items;
        ASSERT_TRUE(items.size() == 5 && loaded.bkImage);
        const uchar* shared = items[0].card->m_pBitmap->constBits();
        EXPECT_TRUE(items[1].card->m_pBitmap->constBits() == shared && items[2].card->m_pBitmap->constBits() == shared);
        EXPECT_NE(items[3].card->m_pBitmap->constBits(), shared); // gray: its own
        const bool fitsAll = budget % 2 == 0;
        EXPECT_EQ(items[4].card->IsUnloaded(), !fitsAll);
        EXPECT_EQ(loaded.overBudget, fitsAll ? QStringList() : QStringList{two});
        // Add Image asks the same of the open project.
        EXPECT_EQ(PictureFitsBudget(*doc, two, ProjectPictureBytes(*doc) + budget - fits), fitsAll);
    }
}
