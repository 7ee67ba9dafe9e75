// Damaged, truncated and hostile project files: the reader refuses them
// without touching the open project and without allocating what the file
// merely claims; a damaged item is kept unseen instead.
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ByteStreams.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"

#include <QPainterPath>

#include <gtest/gtest.h>

#include <limits>

using namespace mc::document;

namespace {

const QSize kScreen(1024, 768);
const QString kDamaged = QStringLiteral("The project file is damaged or incomplete.");
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

QByteArray withInt32(QByteArray bytes, qsizetype at, std::int32_t value)
{
    ByteWriter w;
    w.writeInt32(value);
    return bytes.replace(at, 4, w.bytes());
}

QString parseMessage(const QByteArray& bytes) { return ParseProject(bytes, kScreen).message; }

} // namespace

TEST(ProjectReaderRobustness, TruncatedAtEveryLengthLeavesTheOpenProjectUntouched)
{
    const mctest::SavedProject saved = mctest::savedProject();
    // An open project that differs from the saved one in every field.
    auto doc = mctest::emptyProject();
    const QString dir = mctest::freshDir();
    mctest::addItem(*doc, mctest::writeImage(dir, "old.png", mctest::solidImage(12, 12, Qt::cyan)));
    doc->m_crBkColor = 0x00FF00FF;
    doc->m_nCanvasWidth = 640;
    doc->m_nPredefined = 5;
    doc->m_nPlacement = PLACEMENT_TILE;
    doc->SetPathName(dir + "/old.mcr");
    doc->SetModifiedFlag(true);
    const QString before = mctest::fingerprint(*doc);
    int cleared = 0;
    QObject::connect(doc.get(), &CMyDoc::cardsCleared, [&] { ++cleared; });

    QString message;
    for (qsizetype n = 0; n < saved.bytes.size(); ++n) {
        ASSERT_FALSE(OpenProject(*doc, mctest::writeBytes(saved.bytes.left(n)), kScreen, &message)) << n;
        // Too short for the magic or the version: damaged, never "unknown".
        EXPECT_EQ(message, kDamaged) << "length " << n;
        ASSERT_EQ(mctest::fingerprint(*doc), before) << "length " << n;
    }
    EXPECT_EQ(cleared, 0);
    // Files that cannot be read at all: absent, or a folder.
    for (const QString& path : {dir + "/absent.mcr", dir}) {
        EXPECT_FALSE(OpenProject(*doc, path, kScreen, &message));
        EXPECT_FALSE(message.isEmpty());
    }
    EXPECT_EQ(mctest::fingerprint(*doc), before);

    EXPECT_TRUE(OpenProject(*doc, mctest::writeBytes(saved.bytes), kScreen, &message)) << message.toStdString();
    EXPECT_EQ(doc->m_listCards.GetCount(), 2);
}

TEST(ProjectReaderRobustness, HugeCountsLengthsAndBadValuesAreDamage)
{
    const mctest::SavedProject s = mctest::savedProject();
    const struct {
        qsizetype at;
        std::int32_t value;
    } cases[] = {
        {s.countAt, kMax}, {s.countAt, 1 << 24}, {s.countAt, 3}, {s.countAt, -1},
        {s.countAt, std::numeric_limits<std::int32_t>::min()},
        {s.countAt + 4, kMax}, {s.countAt + 4, 1 << 30}, // item path
        {7, kMax}, {7, 1 << 30},                         // version text
        {27, kMax}, {27, 1 << 30},                       // background path
        {s.shapeAt, kMax}, {s.shapeAt, 100000},          // cut shape
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseMessage(withInt32(s.bytes, c.at, c.value)), kDamaged) << c.at << ": " << c.value;

    // A cut shape that is not a shape, a zoom that is not a number: the
    // item is damaged, the file is not. The item is named, stays unseen in
    // its place and is written back unchanged; the other item loads.
    QByteArray bad[3] = {QByteArray(s.bytes).replace(s.shapeAt + 4, 4, "ZZZZ"), s.bytes, s.bytes};
    bad[1].replace(s.fieldsAt + 8, 8, QByteArray::fromHex("000000000000f87f")); // NaN
    bad[2].replace(s.fieldsAt + 8, 8, QByteArray::fromHex("000000000000f07f")); // infinity
    for (const QByteArray& bytes : bad) {
        auto doc = mctest::emptyProject();
        QString message;
        ASSERT_TRUE(OpenProject(*doc, mctest::writeBytes(bytes), kScreen, &message));
        const Card* top = doc->m_listCards.GetHead();
        EXPECT_TRUE(top->IsUnloaded() && message.contains("Damaged in the project file:\n    " + top->m_strPath));
        EXPECT_TRUE(doc->m_listCards.GetTail()->m_pBitmap);
        EXPECT_EQ(SerializeProject(*doc), bytes);
    }
    // Effect values out of range are brought into range instead.
    const ParseResult parsed = ParseProject(withInt32(withInt32(s.bytes, s.fieldsAt + 42, 100000), s.fieldsAt + 46, -7),
                                            kScreen);
    ASSERT_TRUE(parsed.contents);
    EXPECT_EQ(parsed.contents->items.front().card->m_nAlpha, 255);
    EXPECT_EQ(parsed.contents->items.front().card->m_nEraseExtent, 0);
}

TEST(ProjectReaderRobustness, ShapesAndItemsOutOfAllReachAreBounded)
{
    const QString picture = mctest::writeImage(mctest::freshDir(), "a.png", mctest::solidImage(40, 20, Qt::red));
    auto doc = mctest::emptyProject();
    Card* card = mctest::addItem(*doc, picture);
    auto back = mctest::emptyProject();
    const auto open = [&] {
        QString message;
        EXPECT_TRUE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
        return back->m_listCards.GetHead();
    };
    // Cut while the picture was 80 x 60, then the file was replaced by the
    // 40 x 20 one: the item keeps what of its shape lies on the picture.
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-35, -25, 70, 50));
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromPath(ellipse));
    card->m_bCut = true;
    const Card* replaced = open();
    EXPECT_TRUE(replaced->m_bCut && replaced->m_pClip->contains(QPointF(-19, -9)));
    EXPECT_TRUE(QRectF(-20.01, -10.01, 40.02, 20.02).contains(replaced->m_pClip->boundingRect()));
    // A shape with nothing on the picture shows it whole.
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(100, 100, 10, 10)));
    EXPECT_EQ(*open()->m_pClip, Card::ImageRectRegion(QSize(40, 20)));

    // One that stays on the picture (within rounding) is a cut.
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(-20.5, -10, 30, 20.5)));
    EXPECT_EQ(*open()->m_pClip, *card->m_pClip);

    // Items zoomed or placed beyond all scrolling load; their regions are
    // computed only as far as scrolling reaches.
    const int reach = Card::kRegionExtent;
    card->m_dScale = 1e7;
    EXPECT_EQ(open()->m_rgnItem, QRegion(-reach, -reach, 2 * reach, 2 * reach));
    card->m_dScale = 1;
    card->m_ptCenter = QPoint(2000000000, 5);
    EXPECT_TRUE(open()->m_pBitmap && back->m_listCards.GetHead()->m_rgnItem.isEmpty());
}
