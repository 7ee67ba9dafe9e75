// Damaged, truncated and hostile project files: the reader refuses them
// without touching the open project and without allocating what the file
// merely claims.
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ByteStreams.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"

#include <QFile>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <limits>

using namespace mc::document;

namespace {

const QSize kScreen(1024, 768);
const QString kDamaged = QStringLiteral("The project file is damaged or incomplete.");
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A project with a background path and two items, the top one cut, and
// where its parts sit.
struct SavedProject {
    QByteArray bytes;
    qsizetype countAt = 0;  // the item count
    qsizetype fieldsAt = 0; // the top record's fields after its path
    qsizetype shapeAt = 0;  // the top record's shape size
};

SavedProject savedProject()
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->m_strBkPath = QStringLiteral("/nowhere/bk.png");
    mctest::addItem(*doc, mctest::writeImage(dir, "a.png", mctest::solidImage(30, 20, Qt::red)));
    Card* top = mctest::addItem(*doc, mctest::writeImage(dir, "b.png", mctest::solidImage(16, 16, Qt::blue)));
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-6, -6, 12, 12));
    top->m_pClipSaved = std::make_unique<mc::Region>(*top->m_pClip);
    top->m_pClip = std::make_unique<mc::Region>(mc::Region::fromPath(ellipse));
    top->m_bCut = true;
    SavedProject saved;
    saved.bytes = SerializeProject(*doc);
    saved.countAt = 41 + 16 + doc->m_strBkPath.size() - 4;
    saved.fieldsAt = saved.countAt + 8 + 2 * top->m_strPath.size();
    saved.shapeAt = saved.fieldsAt + 60;
    return saved;
}

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
    const SavedProject saved = savedProject();
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
    const SavedProject s = savedProject();
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

    // A cut shape that is not a shape; a zoom that is not a number.
    EXPECT_EQ(parseMessage(QByteArray(s.bytes).replace(s.shapeAt + 4, 4, "ZZZZ")), kDamaged);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        ByteWriter w;
        w.writeDouble(bad);
        EXPECT_EQ(parseMessage(QByteArray(s.bytes).replace(s.fieldsAt + 8, 8, w.bytes())), kDamaged);
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
    mctest::addItem(*back, picture);
    const auto open = [&] {
        QString message;
        const bool ok = OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message);
        EXPECT_EQ(message, ok ? QString() : kDamaged);
        return ok;
    };
    // Cut while the picture was 80 x 60, then the file was replaced by the
    // 40 x 20 one: the item keeps what of its shape lies on the picture.
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-35, -25, 70, 50));
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromPath(ellipse));
    card->m_bCut = true;
    ASSERT_TRUE(open());
    const Card* replaced = back->m_listCards.GetHead();
    EXPECT_TRUE(replaced->m_bCut && replaced->m_pClip->contains(QPointF(-19, -9)));
    EXPECT_TRUE(QRectF(-20.01, -10.01, 40.02, 20.02).contains(replaced->m_pClip->boundingRect()));
    // A shape with nothing on the picture shows it whole.
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(100, 100, 10, 10)));
    ASSERT_TRUE(open());
    EXPECT_EQ(*back->m_listCards.GetHead()->m_pClip, Card::ImageRectRegion(QSize(40, 20)));

    // One that stays on the picture (within rounding) is a cut.
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(-20.5, -10, 30, 20.5)));
    ASSERT_TRUE(open());
    const Card* loaded = back->m_listCards.GetHead();
    EXPECT_EQ(*loaded->m_pClip, *card->m_pClip);

    // An item whose zoom or place puts it beyond any scrolling is damage.
    card->m_pClip = std::make_unique<mc::Region>(Card::ImageRectRegion(QSize(40, 20)));
    card->m_bCut = false;
    card->m_dScale = 1e7;
    EXPECT_FALSE(open());
    card->m_dScale = 1;
    card->m_ptCenter = QPoint(2000000000, 5);
    EXPECT_FALSE(open());
    EXPECT_EQ(back->m_listCards.GetHead(), loaded);
}
