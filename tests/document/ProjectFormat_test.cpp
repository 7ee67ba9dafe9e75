// The byte layout of project files and what reading them gives back.
#include "document/ProjectFileTestUtil.h"
#include "canvas/CardCut.h"

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
#include <random>

using namespace mc::document;

namespace {

const QSize kScreen(1024, 768);
const QString kUnknown = QStringLiteral("Unknown File Format.");

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

// A header with the given magic, version and version text, then an empty
// project on a 1024 x 768 canvas.
QByteArray headerFile(const QByteArray& magic, std::int32_t version, const QByteArray& versionText)
{
    ByteWriter w;
    w.writeBytes(magic);
    w.writeInt32(version);
    w.writeCountedBytes(versionText);
    w.writeCountedBytes({});
    w.writeInt32(1024);
    w.writeInt32(768);
    w.writeUInt32(0);
    w.writeInt32(-1);
    w.writeInt32(2);
    w.writeUInt16(1);
    w.writeInt32(0);
    return w.bytes();
}

} // namespace

TEST(ProjectFormat, EmptyProjectIsTheFiftySevenByteExample)
{
    const QByteArray expected = QByteArray("MCR") + hex("1C0C0000") + hex("10000000") + QByteArray("Muralcrafter 3.1")
        + hex("00000000") + hex("00040000") + hex("00030000") + hex("00000000") + hex("FFFFFFFF")
        + hex("02000000") + hex("0100") + hex("00000000");
    ASSERT_EQ(expected.size(), 57);
    EXPECT_EQ(SerializeProject(*mctest::emptyProject()).toHex(), expected.toHex());

    const ParseResult parsed = ParseProject(expected, kScreen);
    ASSERT_TRUE(parsed.contents) << parsed.message.toStdString();
    EXPECT_EQ(QSize(parsed.contents->canvasWidth, parsed.contents->canvasHeight), kScreen);
    EXPECT_EQ(parsed.contents->predefined, -1);
    EXPECT_EQ(parsed.contents->placement, 2);
    EXPECT_TRUE(parsed.contents->byDisplayScale);
    EXPECT_TRUE(parsed.contents->items.empty());
}

TEST(ProjectFormat, RecordsHaveTheirSizesAndTopmostComesFirst)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->m_strBkPath = QStringLiteral("/pics/bk.png");
    const QString bottom = mctest::writeImage(dir, "bottom.png", mctest::solidImage(40, 30, Qt::red));
    const QString top = mctest::writeImage(dir, "top.png", mctest::solidImage(20, 10, Qt::blue));
    mctest::addItem(*doc, bottom);
    Card* cut = mctest::addItem(*doc, top);
    cut->m_bCut = true;
    cut->m_pClip = std::make_unique<mc::Region>(mc::Region::fromRect(QRectF(-5, -5, 8, 8)));
    const QByteArray shape = cut->m_pClip->serialize();

    const QByteArray bytes = SerializeProject(*doc);
    const qsizetype header = 41 + 16 + doc->m_strBkPath.toUtf8().size();
    const qsizetype topRecord = 68 + 2 * top.size() + shape.size();
    ASSERT_EQ(bytes.size(), header + topRecord + 64 + 2 * bottom.size());

    ByteReader in(bytes);
    QByteArray skip;
    QString firstPath;
    ASSERT_TRUE(in.readBytes(header, skip) && in.readCountedUtf16(firstPath));
    EXPECT_EQ(firstPath, top);
    // The shape blob closes the first record, its size in front.
    ByteWriter size;
    size.writeInt32(std::int32_t(shape.size()));
    EXPECT_EQ(bytes.mid(header + topRecord - shape.size() - 4, shape.size() + 4), size.bytes() + shape);
}

TEST(ProjectFormat, RoundTripKeepsOrderFieldsShapesAndEffects)
{
    const QString dir = mctest::freshDir();
    QImage picture(60, 40, QImage::Format_ARGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 6, 100));
    const QString bkPath = mctest::writeImage(dir, "bk.png", mctest::solidImage(32, 32, Qt::green));
    const QString a = mctest::writeImage(dir, "a.png", picture);
    const QString b = mctest::writeImage(dir, "b.png", mctest::solidImage(50, 50, Qt::yellow));
    const QString c = mctest::writeImage(dir, "c.png", picture);

    auto doc = mctest::emptyProject();
    doc->LoadBackground(bkPath);
    doc->m_crBkColor = 0x00123456;
    doc->m_nPredefined = 3;
    doc->m_nPlacement = PLACEMENT_CENTER;
    doc->m_bByDisplayScale = false;
    doc->m_nCanvasWidth = 800;
    doc->m_nCanvasHeight = 600;

    Card* ca = mctest::addItem(*doc, a); // bottom
    ca->m_dAngle = 395.5;
    ca->m_dScale = 0.7;
    ca->m_dShearX = 2;
    ca->m_dShearY = -1;
    ca->m_bFlipH = true;
    ca->m_ptCenter = QPoint(-40, 900);
    ca->m_bGray = ca->m_bSemi = true;
    ca->m_nAlpha = 90;
    ca->ApplyGray();
    ca->ApplySemi();
    ca->UpdateRegion();

    Card* cb = mctest::addItem(*doc, b);
    cb->m_bFlipV = true;
    cb->m_nEraseExtent = 12;
    cb->m_bErased = true;
    cb->EraseBackground();
    cb->UpdateRegion();

    Card* cc = mctest::addItem(*doc, c); // top, cut into an ellipse
    QPainterPath ellipse;
    ellipse.addEllipse(QRectF(-25, -15, 40, 28));
    const mc::Region shape = mc::Region::fromPath(ellipse);
    cc->m_pClipSaved = std::make_unique<mc::Region>(*cc->m_pClip);
    cc->m_pClip = std::make_unique<mc::Region>(shape);
    cc->m_bCut = true;
    cc->m_ptCenter = QPoint(300, 200);
    cc->UpdateRegion();

    const QString path = mctest::writeBytes(SerializeProject(*doc));
    auto back = mctest::emptyProject();
    back->m_nShape = 7;
    back->m_bCutStatus = true;
    back->SetModifiedFlag(true);
    QString message;
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message)) << message.toStdString();

    EXPECT_EQ(back->m_strBkPath, bkPath);
    ASSERT_TRUE(back->m_pBkImage);
    EXPECT_EQ(back->m_pBkImage->size(), QSize(32, 32));
    EXPECT_EQ(back->m_crBkColor, 0x00123456u);
    EXPECT_EQ(back->m_nPredefined, 3);
    EXPECT_EQ(back->m_nPlacement, PLACEMENT_CENTER); // as stored, not chosen again
    EXPECT_FALSE(back->m_bByDisplayScale);
    EXPECT_EQ(QSize(back->m_nCanvasWidth, back->m_nCanvasHeight), QSize(800, 600));
    EXPECT_EQ(back->m_nShape, 7); // never stored
    EXPECT_TRUE(back->m_bCutStatus);
    EXPECT_FALSE(back->IsModified());
    EXPECT_EQ(back->GetPathName(), path);

    ASSERT_EQ(back->m_listCards.GetCount(), 3);
    std::vector<const Card*> order;
    for (const auto& card : back->m_listCards)
        order.push_back(card.get());
    const Card *rc = order[0], *rb = order[1], *ra = order[2];
    EXPECT_EQ(rc->m_strPath, c);
    EXPECT_EQ(rb->m_strPath, b);
    EXPECT_EQ(ra->m_strPath, a);

    EXPECT_EQ(ra->m_dAngle, 395.5);
    EXPECT_EQ(ra->m_dScale, 0.7);
    EXPECT_EQ(ra->m_dShearX, 2.0);
    EXPECT_EQ(ra->m_dShearY, -1.0);
    EXPECT_TRUE(ra->m_bFlipH && !ra->m_bFlipV);
    EXPECT_EQ(ra->m_ptCenter, QPoint(-40, 900));
    EXPECT_TRUE(ra->m_bGray && ra->m_bSemi);
    EXPECT_EQ(ra->m_nAlpha, 90);
    ASSERT_TRUE(ra->m_pBitmap && rb->m_pBitmap);
    EXPECT_EQ(*ra->m_pBitmap, *ca->m_pBitmap); // effects re-applied: same pixels
    EXPECT_EQ(ra->m_rgnItem, ca->m_rgnItem);

    EXPECT_TRUE(rb->m_bFlipV && rb->m_bErased);
    EXPECT_EQ(rb->m_nEraseExtent, 12);
    EXPECT_EQ(*rb->m_pBitmap, *cb->m_pBitmap);
    EXPECT_EQ(rb->m_rgnKept, cb->m_rgnKept);

    EXPECT_TRUE(rc->m_bCut);
    ASSERT_TRUE(rc->m_pClip && rc->m_pClipSaved);
    EXPECT_EQ(*rc->m_pClip, shape);
    // The uncut picture rectangle is kept for Restore Original Image.
    EXPECT_EQ(*rc->m_pClipSaved, Card::ImageRectRegion(QSize(60, 40)));
    EXPECT_EQ(rc->m_rgnItem, cc->m_rgnItem);
    EXPECT_FALSE(rc->m_rgnItem.isEmpty());
    const QRegion cutArea = rc->m_rgnItem;
    EXPECT_TRUE(mc::canvas::RestoreCard(const_cast<Card&>(*rc)));
    EXPECT_EQ(*rc->m_pClip, Card::ImageRectRegion(QSize(60, 40)));
    EXPECT_GT(rc->m_rgnItem.boundingRect().width(), cutArea.boundingRect().width());
}

TEST(ProjectFormat, VersionChecksAndTheirMessages)
{
    auto doc = mctest::emptyProject();
    doc->m_crBkColor = 0x00ABCDEF;
    const QString before = mctest::fingerprint(*doc);
    const QString higher =
        QStringLiteral("This is higher version file,please download Muralcrafter 7.2 or more high version.");
    const struct {
        QByteArray magic;
        std::int32_t version;
        QString message;
    } cases[] = {
        {"MCR", 3101, higher}, {"MCR", 20000, higher},  {"MCR", 20001, kUnknown},
        {"MCR", 3099, kUnknown}, {"MCR", 0, kUnknown}, {"mcr", 3100, kUnknown},
    };
    for (const auto& c : cases) {
        QString message;
        EXPECT_FALSE(OpenProject(*doc, mctest::writeBytes(headerFile(c.magic, c.version, "Muralcrafter 7.2")),
                                 kScreen, &message));
        EXPECT_EQ(message, c.message) << c.version;
        EXPECT_EQ(mctest::fingerprint(*doc), before);
    }
    // The version text is read only after the version test: a newer file
    // with a damaged text is damaged, an unknown one is unknown.
    EXPECT_EQ(ParseProject(headerFile("MCR", 3101, "Muralcrafter 7.2").left(15), kScreen).message,
              QStringLiteral("The project file is damaged or incomplete."));
    EXPECT_EQ(ParseProject(headerFile("MCR", 99999, "x").left(7), kScreen).message, kUnknown);
    EXPECT_EQ(ParseProject("GIF89a....", kScreen).message, kUnknown);
}

TEST(ProjectFormat, CanvasIsReducedToTheScreenPerAxis)
{
    // An empty or negative canvas cannot be shown; it becomes one pixel.
    const QSize cases[][2] = {{{1280, 1024}, {1024, 768}}, {{2000, 500}, {1024, 500}}, {{0, -20}, {1, 1}}};
    auto doc = mctest::emptyProject();
    for (const auto& c : cases) {
        doc->m_nCanvasWidth = c[0].width();
        doc->m_nCanvasHeight = c[0].height();
        const ParseResult parsed = ParseProject(SerializeProject(*doc), kScreen);
        ASSERT_TRUE(parsed.contents);
        EXPECT_EQ(QSize(parsed.contents->canvasWidth, parsed.contents->canvasHeight), c[1]) << c[0].width();
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

    // Opening and saving gives back every byte; the missing are named once.
    auto back = mctest::emptyProject();
    QString message;
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message));
    EXPECT_EQ(SerializeProject(*back), saved);
    EXPECT_FALSE(back->IsModified());
    EXPECT_TRUE(message.endsWith("readable:\n    " + a + QChar(0) + "x\n    /dev/zero\n    " + dir + "\n    " + b));
    EXPECT_EQ(back->m_strBkPath, bk); // the path stays, the picture does not
    EXPECT_FALSE(back->m_pBkImage);

    // The project folder moved with its pictures: they are found beside it,
    // the items hold the new paths, and the project is to be saved again.
    const QString moved = QFileInfo(path).absolutePath();
    ASSERT_TRUE(QFile::copy(a, moved + "/b.png"));
    ASSERT_TRUE(OpenProject(*back, path, kScreen, &message));
    EXPECT_TRUE(back->IsModified());
    const Card* found = std::next(back->m_listCards.begin(), 3)->get();
    EXPECT_EQ(found->m_strPath, moved + "/b.png");
    EXPECT_TRUE(found->m_pBitmap);
    EXPECT_FALSE(message.contains("b.png"));
}

// Whatever state the item commands can give items, the file written reads
// back to the same items and the same bytes: zoom 0.0001 to 5.1, shear and
// rotation steps without limit, centres anywhere.
TEST(ProjectFormat, EveryStateTheCommandsReachRoundTrips)
{
    const QString dir = mctest::freshDir();
    std::mt19937 random(9);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 8; ++round) {
        auto doc = mctest::emptyProject();
        const QString picture = mctest::writeImage(dir, QStringLiteral("p%1.png").arg(round),
                                                   mctest::solidImage(pick(1, 90), pick(1, 90), Qt::red));
        for (int i = 0; i < 12; ++i) {
            Card* card = mctest::addItem(*doc, picture);
            card->m_dScale = pick(0, 2) ? 0.1 * pick(1, 51) : 0.0001 * pick(1, 9);
            card->m_dShearX = pick(0, 3) ? pick(-9, 9) : pick(-3000, 3000);
            card->m_dShearY = pick(-80, 80);
            card->m_dAngle = 10.0 * pick(-500, 500) + pick(0, 359) / 7.0;
            const int bits = pick(0, 31);
            card->m_bFlipH = bits & 1, card->m_bFlipV = bits & 2, card->m_bGray = bits & 4;
            card->m_bSemi = bits & 8, card->m_bErased = bits & 16;
            card->m_nAlpha = card->m_bSemi ? pick(1, 254) : 255;
            card->m_nEraseExtent = card->m_bErased ? pick(0, 50) : 0;
            card->m_ptCenter = pick(0, 3) ? QPoint(pick(-5000, 5000), pick(-5000, 5000))
                                          : QPoint(pick(INT_MIN, INT_MAX), pick(INT_MIN, INT_MAX));
            const QRectF area = card->m_pClip->boundingRect();
            card->m_bCut = pick(0, 2) == 0 && area.width() > 8 && area.height() > 8;
            if (card->m_bCut)
                *card->m_pClip = mc::Region::fromRect(area.adjusted(pick(0, 3), pick(0, 3), -pick(0, 3), 0));
        }
        const QByteArray saved = SerializeProject(*doc);
        auto back = mctest::emptyProject();
        QString message;
        ASSERT_TRUE(OpenProject(*back, mctest::writeBytes(saved), kScreen, &message));
        EXPECT_EQ(message, QString()) << round;
        EXPECT_EQ(SerializeProject(*back), saved) << round;
    }
}

TEST(ByteStreams, LittleEndianPrimitives)
{
    ByteWriter w;
    w.writeInt32(-2);
    w.writeUInt16(0xBEEF);
    w.writeDouble(1.5);
    w.writeCountedUtf16(QStringLiteral("é€"));
    EXPECT_EQ(w.bytes().toHex(), QByteArray("feffffff" "efbe" "000000000000f83f" "02000000" "e900" "ac20"));

    ByteReader r(w.bytes() + hex("0000" "0001"));
    std::int32_t i = 0;
    std::uint16_t u = 0;
    double d = 0;
    QString s;
    bool f = true, t = false;
    EXPECT_TRUE(r.readInt32(i) && r.readUInt16(u) && r.readDouble(d) && r.readCountedUtf16(s));
    EXPECT_TRUE(r.readBool16(f) && r.readBool16(t));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(u, 0xBEEF);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(s, QStringLiteral("é€"));
    EXPECT_FALSE(f);
    EXPECT_TRUE(t); // 256: read zero-extended, any bit counts
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.readUInt16(u));
    EXPECT_TRUE(r.failed());
}
