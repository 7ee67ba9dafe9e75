// The byte layout of project files and what reading them gives back; and
// damaged, truncated and hostile files, which the reader refuses without
// touching the open project and without allocating what the file merely
// claims (a damaged item is kept unseen instead). The projects made here are
// also kept as the fuzzer's seeds (keepSeed).
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ByteStreams.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <limits>
#include <tuple>

using namespace mc::document;

namespace {

const QSize kScreen(1024, 768);
const QString kUnknown = QStringLiteral("Unknown File Format.");
const QString kDamaged = QStringLiteral("The project file is damaged or incomplete.");
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }
QByteArray le32(std::int32_t value)
{
    ByteWriter w;
    w.writeInt32(value);
    return w.bytes();
}

// What follows the version text in an empty project on a 1024 x 768 canvas:
// no background path, the canvas, black, no predefined picture, Stretch,
// scaled by the display, no items.
constexpr char kEmptyTail[] = "00000000" "00040000" "00030000" "00000000" "FFFFFFFF" "02000000" "0100" "00000000";

QByteArray headerFile(const QByteArray& magic, std::int32_t version, const QByteArray& text)
{
    return magic + le32(version) + le32(std::int32_t(text.size())) + text + hex(kEmptyTail);
}
QByteArray withInt32(QByteArray bytes, qsizetype at, std::int32_t value) { return bytes.replace(at, 4, le32(value)); }

QString openError(CMyDoc& doc, const QByteArray& bytes)
{
    QString message;
    EXPECT_FALSE(OpenProject(doc, mctest::writeBytes(bytes), kScreen, &message));
    return message;
}

} // namespace

TEST(ProjectFormat, EmptyProjectIsTheFiftySevenByteExample)
{
    const QByteArray expected = "MCR" + hex("1C0C0000" "10000000") + "Muralcrafter 3.1" + hex(kEmptyTail);
    ASSERT_EQ(expected.size(), 57);
    EXPECT_EQ(SerializeProject(*mctest::emptyProject()).toHex(), expected.toHex());
    mctest::keepSeed("empty.mcr", expected);
}

// Every field, effect and cut comes back on the right item, also when the
// pictures are decoded on several threads at once and for the extremes the
// item commands reach. (Items whose picture is gone: the next test.)
TEST(ProjectFormat, RoundTripKeepsOrderFieldsPixelsAndShapes)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject(), back = mctest::emptyProject();
    doc->LoadBackground(mctest::writeImage(dir, "bk.png", mctest::solidImage(32, 32, Qt::green)));
    doc->m_crBkColor = 0x00123456, doc->m_nPredefined = 3, doc->m_nPlacement = PLACEMENT_CENTER;
    doc->m_bByDisplayScale = false, doc->m_nCanvasWidth = 800, doc->m_nCanvasHeight = 600;
    for (int i = 0; i < 24; ++i) {
        // Each picture its own size and colour, so that a swap shows.
        const QImage picture =
            mctest::solidImage(i == 23 ? 1 : 30 + i, i == 23 ? 1 : 20 + 2 * i, QColor(i * 10, 250 - i * 9, i % 5 * 60));
        const char* type = i % 7 == 6 ? "jpg" : i % 4 == 3 ? "bmp" : "png";
        const QString name = i ? QStringLiteral("p%1.%2").arg(i).arg(type) : QStringLiteral("é€.png");
        Card* card = mctest::addItem(*doc, mctest::writeImage(dir, name, picture));
        card->m_ptCenter = QPoint(40 * i - 300, 900 - 20 * i);
        card->m_dAngle = 7.0 * i + (i == 5 ? 395.5 : 0);
        card->m_dScale = i % 3 == 2 ? 0.7 : card->m_dScale;
        card->m_dShearX = i % 4 - 2, card->m_dShearY = -(i % 3);
        card->m_bFlipH = i % 2, card->m_bFlipV = i % 3 == 1, card->m_bGray = i % 3 == 0;
        card->m_bErased = i % 4 == 1, card->m_nEraseExtent = card->m_bErased ? 12 : 0;
        card->m_bSemi = i % 5 == 1, card->m_nAlpha = card->m_bSemi ? 90 : 255;
        if (i % 6 == 5 && i > 10) { // what the item commands can reach: zoom, shears and centres without limit
            card->m_dScale = 0.0001 * i, card->m_dShearX = 3000 - i, card->m_dAngle = -4999.0 / 7;
            card->m_ptCenter = QPoint(i == 11 ? INT_MIN : INT_MAX, INT_MIN + i);
        }
        card->LoadImage(*card->m_pBitmap); // the effects, in the order opening applies them
        if ((card->m_bCut = i % 3 == 0)) {
            QPainterPath cut;
            cut.addEllipse(card->m_pClip->boundingRect().adjusted(1, 1, -1, -1));
            card->m_pClipSaved = std::make_unique<mc::Region>(*card->m_pClip);
            card->m_pClip = std::make_unique<mc::Region>(mc::Region::fromPath(cut));
        }
        card->UpdateRegion();
    }
    const QByteArray saved = SerializeProject(*doc);
    const QString path = mctest::writeBytes(saved);

    // Shape and cut status are the session's, never stored.
    back->m_nShape = doc->m_nShape = 7;
    back->m_bCutStatus = doc->m_bCutStatus = true;
    back->SetModifiedFlag(true);
    QString message;
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message)) << message.toStdString();
    doc->SetPathName(path);
    doc->SetModifiedFlag(false);
    EXPECT_EQ(mctest::fingerprint(*back, false), mctest::fingerprint(*doc, false));
    EXPECT_EQ(SerializeProject(*back), saved);

    // Pixels, areas, shape and the uncut rectangle, which Restore Original
    // Image brings back (the view's cut tests restore it).
    auto it = doc->m_listCards.begin();
    for (const auto& card : back->m_listCards) {
        const Card& want = **it++;
        EXPECT_TRUE(*card->m_pBitmap == *want.m_pBitmap && card->m_rgnItem == want.m_rgnItem
                    && card->m_rgnKept == want.m_rgnKept && *card->m_pClip == *want.m_pClip
                    && *card->m_pClipSaved == *want.m_pClipSaved) << want.m_strPath.toStdString();
    }
    mctest::keepSeed("items.mcr", mctest::withPictures(*doc));
}

TEST(ProjectFormat, VersionChecksAndTheirMessages)
{
    auto doc = mctest::emptyProject();
    doc->m_crBkColor = 0x00ABCDEF;
    const QString before = mctest::fingerprint(*doc);
    const QString higher =
        QStringLiteral("This is higher version file,please download Muralcrafter 7.2 or more high version.");
    const std::tuple<QByteArray, std::int32_t, QString> cases[] = {
        {"MCR", 3101, higher}, {"MCR", 20000, higher},  {"MCR", 20001, kUnknown},
        {"MCR", 3099, kUnknown}, {"MCR", 0, kUnknown}, {"mcr", 3100, kUnknown},
    };
    for (const auto& [magic, version, message] : cases)
        EXPECT_EQ(std::pair(openError(*doc, headerFile(magic, version, "Muralcrafter 7.2")), mctest::fingerprint(*doc)),
                  std::pair(message, before)) << version;
    mctest::keepSeed("newer.mcr", headerFile("MCR", 3105, "Muralcrafter 7.2"));
    // The version text is read only after the version test: a newer file
    // with a damaged text is damaged, an unknown one is unknown.
    EXPECT_EQ(ParseProject(headerFile("MCR", 3101, "Muralcrafter 7.2").left(15), kScreen).message, kDamaged);
    EXPECT_EQ(ParseProject(headerFile("MCR", 99999, "x").left(7), kScreen).message, kUnknown);
    EXPECT_EQ(ParseProject("GIF89a....", kScreen).message, kUnknown);
}

TEST(ProjectFormat, CanvasIsReducedToTheScreenPerAxis)
{
    // An empty or negative canvas cannot be shown; it becomes one pixel.
    const QSize cases[][2] = {{{1280, 1024}, {1024, 768}}, {{2000, 500}, {1024, 500}}, {{0, -20}, {1, 1}}};
    for (const auto& c : cases) {
        const ParseResult p = ParseProject(
            withInt32(withInt32(headerFile("MCR", 3100, "x"), 16, c[0].width()), 20, c[0].height()), kScreen);
        EXPECT_EQ(p.contents ? QSize(p.contents->canvasWidth, p.contents->canvasHeight) : QSize(), c[1]);
    }
}

TEST(ProjectFormat, MissingPicturesAreLookedForBesideTheProjectAndOtherwiseKept)
{
    const QString dir = mctest::freshDir();
    const QString bk = mctest::writeImage(dir, "bk.png", mctest::solidImage(300, 200, Qt::gray));
    const QString a = mctest::writeImage(dir, "a.png", mctest::solidImage(10, 10, Qt::red));
    const QString b = mctest::writeImage(dir, "b.png", mctest::solidImage(10, 10, Qt::green));
    auto doc = mctest::emptyProject();
    doc->LoadBackground(bk);
    mctest::addItem(*doc, a);
    mctest::addItem(*doc, b)->m_dAngle = 30;
    // A folder, a device and an embedded NUL count as missing too.
    for (const QString& path : {dir, QStringLiteral("/dev/zero"), a + QChar(0) + "x"})
        doc->m_listCards.AddHead(Card::CreateFromFile(a))->m_strPath = path;
    const QByteArray saved = SerializeProject(*doc);
    const QString path = mctest::writeBytes(saved);
    QFile::remove(b);
    QFile::remove(bk);

    // Opening and saving gives back every byte; the missing are named once;
    // the background path stays, its picture does not.
    auto back = mctest::emptyProject();
    QString message;
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message));
    EXPECT_EQ(std::tuple(SerializeProject(*back), back->IsModified(), back->m_strBkPath, back->HasBackgroundPicture()),
              std::tuple(saved, false, bk, false));
    EXPECT_TRUE(message.endsWith("readable:\n    " + a + QChar(0) + "x\n    /dev/zero\n    " + dir + "\n    " + b));

    // The project folder moved with its pictures: they are found beside it,
    // the items hold the new paths, and the project is to be saved again.
    const QString moved = QFileInfo(path).absolutePath();
    ASSERT_TRUE(QFile::copy(a, moved + "/b.png"));
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message));
    const Card* found = std::next(back->m_listCards.begin(), 3)->get();
    EXPECT_EQ(std::tuple(back->IsModified(), found->m_strPath, bool(found->m_pBitmap), message.contains("b.png")),
              std::tuple(true, moved + "/b.png", true, false));
}

// One decoded picture per file, shared by its items until an effect gives
// one its own; the background and then the items from the top take their
// share of the budget, and what does not fit stays unloaded and is named.
TEST(ProjectFormat, ItemsOfOneFileShareOnePictureWithinTheBudget)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->LoadBackground(mctest::writeImage(dir, "bk.png", mctest::solidImage(100, 100, Qt::gray)));
    const QString one = mctest::writeImage(dir, "one.png", mctest::solidImage(50, 40, Qt::red));
    const QString two = mctest::writeImage(dir, "two.png", mctest::solidImage(60, 50, Qt::blue));
    mctest::addItem(*doc, two); // bottom
    mctest::addItem(*doc, one)->m_bGray = true;
    mctest::addItem(*doc, one), mctest::addItem(*doc, one), mctest::addItem(*doc, one);
    const qint64 fits = 4 * (100 * 100 + 50 * 40 + 50 * 40); // background, one, its gray copy
    for (const qint64 budget : {fits + 4 * 60 * 50 - 1, fits + 4 * 60 * 50}) {
        LoadedProject loaded = LoadPictures(*ParseProject(SerializeProject(*doc), kScreen).contents, {}, budget);
        const auto& items = loaded.contents.items;
        ASSERT_TRUE(items.size() == 5 && loaded.bkImage);
        const auto bits = [&](int i) { return items[i].card->m_pBitmap->constBits(); };
        EXPECT_TRUE(bits(1) == bits(0) && bits(2) == bits(0) && bits(3) != bits(0)); // gray: its own
        const bool fitsAll = budget % 2 == 0;
        EXPECT_EQ(std::pair(items[4].card->IsUnloaded(), loaded.overBudget),
                  std::pair(!fitsAll, fitsAll ? QStringList() : QStringList{two}));
        // Add Image asks the same of the open project.
        EXPECT_EQ(PictureFitsBudget(*doc, two, ProjectPictureBytes(*doc) + budget - fits), fitsAll);
    }
    mctest::keepSeed("one-picture-twice.mcr", mctest::withPictures(*doc));
}

TEST(ProjectReaderRobustness, TruncatedAtEveryLengthLeavesTheOpenProjectUntouched)
{
    const mctest::SavedProject saved = mctest::savedProject();
    // An open project that differs from the saved one in every field.
    auto doc = mctest::emptyProject();
    const QString dir = mctest::freshDir();
    mctest::addItem(*doc, mctest::writeImage(dir, "old.png", mctest::solidImage(12, 12, Qt::cyan)));
    doc->m_crBkColor = 0x00FF00FF, doc->m_nCanvasWidth = 640, doc->m_nPredefined = 5, doc->m_nPlacement = PLACEMENT_TILE;
    doc->SetPathName(dir + "/old.mcr"), doc->SetModifiedFlag(true);
    const QString before = mctest::fingerprint(*doc);
    int cleared = 0;
    QObject::connect(doc.get(), &CMyDoc::cardsCleared, [&] { ++cleared; });
    // Too short for the magic or the version: damaged, never "unknown".
    for (qsizetype n = 0; n < saved.bytes.size(); ++n)
        ASSERT_EQ(std::pair(openError(*doc, saved.bytes.left(n)), mctest::fingerprint(*doc)), std::pair(kDamaged, before))
            << "length " << n;
    EXPECT_EQ(cleared, 0);
    QString message; // a file that cannot be read at all: a folder
    EXPECT_FALSE(OpenProject(*doc, dir, kScreen, &message) || message.isEmpty());
    EXPECT_EQ(mctest::fingerprint(*doc), before);
}

TEST(ProjectReaderRobustness, HugeCountsLengthsAndBadValuesAreDamage)
{
    // Header 41 bytes + 16 + the background path; the cut top record first,
    // 68 + its path + its shape, which closes it behind its size; the bottom
    // 64 + its path. The offsets below follow from this layout.
    const mctest::SavedProject s = mctest::savedProject();
    ASSERT_EQ(s.bytes.size(), s.countAt + 4 + 68 + 2 * s.top.size() + s.shape.size() + 64 + 2 * s.bottom.size());
    const std::pair<qsizetype, std::int32_t> cases[] = {
        {s.countAt, kMax}, {s.countAt, 1 << 24}, {s.countAt, 3}, {s.countAt, -1}, {s.countAt, INT_MIN},
        {s.countAt + 4, kMax}, {s.countAt + 4, 1 << 30}, // item path
        {7, kMax}, {7, 1 << 30},                         // version text
        {27, kMax}, {27, 1 << 30},                       // background path
        {s.shapeAt, kMax}, {s.shapeAt, 100000},          // cut shape
    };
    for (const auto& [at, value] : cases)
        EXPECT_EQ(ParseProject(withInt32(s.bytes, at, value), kScreen).message, kDamaged) << at << ":" << value;

    // A cut shape that is not a shape, a zoom that is not a number: the
    // item is damaged, the file is not. The item is named, stays unseen in
    // its place and is written back unchanged; the other item loads.
    const QByteArray bad[] = {QByteArray(s.bytes).replace(s.shapeAt + 4, 4, "ZZZZ"),
                              QByteArray(s.bytes).replace(s.fieldsAt + 8, 8, hex("000000000000f87f"))}; // NaN
    for (const QByteArray& bytes : bad) {
        auto doc = mctest::emptyProject();
        QString message;
        ASSERT_TRUE(OpenProject(*doc, mctest::writeBytes(bytes), kScreen, &message));
        const Card* top = doc->m_listCards.GetHead();
        EXPECT_TRUE(top->IsUnloaded() && message.contains("Damaged in the project file:\n    " + top->m_strPath));
        EXPECT_TRUE(doc->m_listCards.GetTail()->m_pBitmap && SerializeProject(*doc) == bytes);
    }
    // Effect values out of range are brought into range instead.
    const ParseResult parsed = ParseProject(withInt32(withInt32(s.bytes, s.fieldsAt + 42, 100000), s.fieldsAt + 46, -7),
                                            kScreen);
    ASSERT_TRUE(parsed.contents);
    const Card& top = *parsed.contents->items.front().card;
    EXPECT_EQ(std::pair(top.m_nAlpha, top.m_nEraseExtent), std::pair(255, 0));
}

TEST(ProjectReaderRobustness, ShapesAndItemsOutOfAllReachAreBounded)
{
    auto doc = mctest::emptyProject();
    Card* card = mctest::addItem(*doc, mctest::writeImage(mctest::freshDir(), "a.png", mctest::solidImage(40, 20, Qt::red)));
    auto back = mctest::emptyProject();
    const auto open = [&](mc::Region clip) {
        card->m_pClip = std::make_unique<mc::Region>(clip);
        card->m_bCut = true;
        QString message;
        EXPECT_TRUE(OpenProject(*back, mctest::writeBytes(SerializeProject(*doc)), kScreen, &message));
        return back->m_listCards.GetHead();
    };
    // A cut made on another picture the file was replaced by: a shape with
    // nothing on the picture shows it whole; one that stays on the picture
    // (within rounding) is a cut.
    EXPECT_EQ(*open(mc::Region::fromRect(QRectF(100, 100, 10, 10)))->m_pClip, Card::ImageRectRegion(QSize(40, 20)));
    const mc::Region onPicture = mc::Region::fromRect(QRectF(-20.5, -10, 30, 20.5));
    EXPECT_EQ(*open(onPicture)->m_pClip, onPicture);

    // Items zoomed or placed beyond all scrolling load; their regions are
    // computed only as far as scrolling reaches.
    const int reach = Card::kRegionExtent;
    card->m_dScale = 1e7;
    EXPECT_EQ(open(onPicture)->m_rgnItem, QRegion(-reach, -reach, 2 * reach, 2 * reach));
    card->m_dScale = 1;
    card->m_ptCenter = QPoint(2000000000, 5);
    EXPECT_TRUE(open(onPicture)->m_pBitmap && back->m_listCards.GetHead()->m_rgnItem.isEmpty());
}
