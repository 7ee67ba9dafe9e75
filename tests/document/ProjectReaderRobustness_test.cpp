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

// A project with a background path and two items, the top one cut.
struct SavedProject {
    QByteArray bytes;
    qsizetype headerSize = 0;    // up to and including the item count
    qsizetype firstRecord = 0;   // size of the top item's record
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
    saved.headerSize = 41 + 16 + doc->m_strBkPath.size();
    saved.firstRecord = 68 + 2 * top->m_strPath.size() + top->m_pClip->serialize().size();
    return saved;
}

// An open project that differs from the saved one in every field.
std::unique_ptr<CMyDoc> openProject()
{
    auto doc = mctest::emptyProject();
    const QString dir = mctest::freshDir();
    mctest::addItem(*doc, mctest::writeImage(dir, "old.png", mctest::solidImage(12, 12, Qt::cyan)));
    doc->m_crBkColor = 0x00FF00FF;
    doc->m_nCanvasWidth = 640;
    doc->m_nPredefined = 5;
    doc->m_nPlacement = PLACEMENT_TILE;
    doc->SetPathName(dir + "/old.mcr");
    doc->SetModifiedFlag(true);
    return doc;
}

void putInt32(QByteArray& bytes, qsizetype at, std::int32_t value)
{
    ByteWriter w;
    w.writeInt32(value);
    bytes.replace(at, 4, w.bytes());
}

} // namespace

TEST(ProjectReaderRobustness, TruncatedAtEveryLengthLeavesTheOpenProjectUntouched)
{
    const SavedProject saved = savedProject();
    auto doc = openProject();
    const QString before = mctest::fingerprint(*doc);
    int cardsClearedSignals = 0;
    QObject::connect(doc.get(), &CMyDoc::cardsCleared, [&] { ++cardsClearedSignals; });

    const QString path = mctest::writeBytes({});
    for (qsizetype n = 0; n < saved.bytes.size(); ++n) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(saved.bytes.left(n));
        file.close();
        QString message;
        ASSERT_FALSE(OpenProject(*doc, path, kScreen, &message)) << "length " << n;
        // Too short for the magic or the version: damaged, never "unknown".
        EXPECT_EQ(message, kDamaged) << "length " << n;
        ASSERT_EQ(mctest::fingerprint(*doc), before) << "length " << n;
    }
    EXPECT_EQ(cardsClearedSignals, 0);

    // The whole file is read.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(saved.bytes);
    file.close();
    QString message;
    EXPECT_TRUE(OpenProject(*doc, path, kScreen, &message)) << message.toStdString();
    EXPECT_EQ(doc->m_listCards.GetCount(), 2);
}

TEST(ProjectReaderRobustness, HugeCountsAndLengthsAreRejectedBeforeAllocating)
{
    const SavedProject saved = savedProject();
    const qsizetype countAt = saved.headerSize - 4;
    const qsizetype pathAt = saved.headerSize;

    for (std::int32_t huge : {std::numeric_limits<std::int32_t>::max(), 1 << 24, 3, -1,
                              std::numeric_limits<std::int32_t>::min()}) {
        QByteArray bytes = saved.bytes;
        putInt32(bytes, countAt, huge);
        EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged) << "count " << huge;
    }
    for (std::int32_t huge : {std::numeric_limits<std::int32_t>::max(), 1 << 30}) {
        QByteArray bytes = saved.bytes;
        putInt32(bytes, pathAt, huge);
        EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged) << "path length " << huge;

        bytes = saved.bytes;
        putInt32(bytes, 7, huge); // the version text
        EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged) << "version text " << huge;

        bytes = saved.bytes;
        putInt32(bytes, 27, huge); // the background path
        EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged) << "background path " << huge;
    }

    // The cut shape's size sits right after the top record's fixed fields.
    ByteReader in(saved.bytes);
    QByteArray skip;
    in.readBytes(pathAt, skip);
    std::int32_t k = 0;
    in.readInt32(k);
    const qsizetype shapeAt = pathAt + 64 + 2 * k;
    for (std::int32_t huge : {std::numeric_limits<std::int32_t>::max(), 100000}) {
        QByteArray bytes = saved.bytes;
        putInt32(bytes, shapeAt, huge);
        EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged) << "shape size " << huge;
    }
}

TEST(ProjectReaderRobustness, ImpossibleContentIsDamaged)
{
    const SavedProject saved = savedProject();
    ByteReader in(saved.bytes);
    QByteArray skip;
    in.readBytes(saved.headerSize, skip);
    std::int32_t k = 0;
    in.readInt32(k);
    const qsizetype fields = saved.headerSize + 4 + 2 * k;

    // A cut shape that is not a shape.
    QByteArray bytes = saved.bytes;
    const qsizetype shapeData = saved.headerSize + 68 + 2 * k;
    for (qsizetype i = shapeData; i < shapeData + 4; ++i)
        bytes[i] = 'Z';
    EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged);

    // Transform values that are not numbers.
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        bytes = saved.bytes;
        ByteWriter w;
        w.writeDouble(bad);
        bytes.replace(fields + 8, 8, w.bytes()); // m_dScale
        EXPECT_EQ(ParseProject(bytes, kScreen).message, kDamaged);
    }
}

TEST(ProjectReaderRobustness, OutOfRangeEffectValuesAreBroughtIntoRange)
{
    const SavedProject saved = savedProject();
    ByteReader in(saved.bytes);
    QByteArray skip;
    in.readBytes(saved.headerSize, skip);
    std::int32_t k = 0;
    in.readInt32(k);
    const qsizetype fields = saved.headerSize + 4 + 2 * k;
    QByteArray bytes = saved.bytes;
    putInt32(bytes, fields + 42, 100000); // m_nAlpha
    putInt32(bytes, fields + 46, -7);     // m_nEraseExtent
    ParseResult parsed = ParseProject(bytes, kScreen);
    ASSERT_TRUE(parsed.contents);
    EXPECT_EQ(parsed.contents->items.front().card->m_nAlpha, 255);
    EXPECT_EQ(parsed.contents->items.front().card->m_nEraseExtent, 0);
}

TEST(ProjectReaderRobustness, FilesThatCannotBeReadAreReported)
{
    auto doc = openProject();
    const QString before = mctest::fingerprint(*doc);
    QString message;
    EXPECT_FALSE(OpenProject(*doc, mctest::freshDir() + "/absent.mcr", kScreen, &message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(OpenProject(*doc, mctest::freshDir(), kScreen, &message)); // a folder
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(mctest::fingerprint(*doc), before);
}

TEST(ProjectReaderRobustness, PathsThatNameNoRegularFileAreMissingPictures)
{
    const QString dir = mctest::freshDir();
    const QString picture = mctest::writeImage(dir, "a.png", mctest::solidImage(10, 10, Qt::red));
    auto doc = mctest::emptyProject();
    for (const QString& path : {picture + QChar(0) + "x", QStringLiteral("/dev/zero"), dir, picture})
        doc->m_listCards.AddHead(Card::CreateFromFile(picture))->m_strPath = path;
    doc->m_strBkPath = QStringLiteral("/dev/zero");
    const QString project = mctest::writeBytes(SerializeProject(*doc));

    auto back = mctest::emptyProject();
    QString message;
    ASSERT_TRUE(OpenProject(*back, project, kScreen, &message));
    ASSERT_EQ(back->m_listCards.GetCount(), 1);
    EXPECT_EQ(back->m_listCards.GetHead()->m_strPath, picture);
    EXPECT_FALSE(back->m_pBkImage);
}

TEST(ProjectReaderRobustness, ShapesAndItemsOutOfAllReachAreBounded)
{
    const QString dir = mctest::freshDir();
    const QString picture = mctest::writeImage(dir, "a.png", mctest::solidImage(40, 20, Qt::red));
    auto doc = mctest::emptyProject();
    Card* card = mctest::addItem(*doc, picture);
    // A cut shape far larger than the picture cannot have come from a cut.
    QPainterPath huge;
    huge.addEllipse(QRectF(-1e9, -1e9, 2e9, 2e9));
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromPath(huge));
    card->m_bCut = true;
    auto back = mctest::emptyProject();
    const Card* before = mctest::addItem(*back, picture);
    QString message;
    EXPECT_FALSE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
    EXPECT_EQ(message, kDamaged);
    EXPECT_EQ(back->m_listCards.GetHead(), before);

    // One that stays on the picture (within rounding) is a cut.
    card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(-20.5, -10, 30, 20.5)));
    ASSERT_TRUE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
    const Card* loaded = back->m_listCards.GetHead();
    EXPECT_EQ(*loaded->m_pClip, *card->m_pClip);

    // An item whose zoom or place puts it beyond any scrolling is damage.
    card->m_pClip = std::make_unique<mc::Region>(Card::ImageRectRegion(QSize(40, 20)));
    card->m_bCut = false;
    card->m_dScale = 1e7;
    EXPECT_FALSE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
    EXPECT_EQ(message, kDamaged);
    card->m_dScale = 1;
    card->m_ptCenter = QPoint(2000000000, 5);
    EXPECT_FALSE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
    EXPECT_EQ(back->m_listCards.GetHead(), loaded);
}
