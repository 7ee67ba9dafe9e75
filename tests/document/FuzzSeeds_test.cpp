// Real project files of every kind the reader meets. Each is checked here;
// with MC_FUZZ_SEED_DIR set they are also written there as the fuzzer's seed
// corpus (scripts/fuzz.sh). A seed carries its pictures after the project
// bytes, each behind the fuzz target's marker; the items name them "0", "1",
// ... in a folder that does not exist, so the reader finds them beside the
// project and the fuzzer mutates them too.
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ByteStreams.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"

#include <QDir>
#include <QFile>
#include <QPainterPath>

#include <gtest/gtest.h>

using namespace mc::document;

namespace {

constexpr char kPictureMarker[] = "\n--mc-picture--\n";

// The project's bytes followed by its items' pictures in stack order; each
// item is pointed at its picture's number.
QByteArray withPictures(CMyDoc& doc)
{
    QByteArray pictures;
    int n = 0;
    for (const auto& card : doc.m_listCards) {
        QFile file(card->m_strPath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        pictures += kPictureMarker + file.readAll();
        card->m_strPath = QStringLiteral("/nonexistent-mc-seeds/%1").arg(n++);
    }
    return SerializeProject(doc) + pictures;
}

void keep(const QString& name, const QByteArray& bytes)
{
    const QString dir = qEnvironmentVariable("MC_FUZZ_SEED_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QFile file(QDir(dir).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(FuzzSeeds, RealProjectsParse)
{
    const QSize screen(1024, 768);
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    keep("empty.mcr", SerializeProject(*doc));
    EXPECT_TRUE(ParseProject(SerializeProject(*doc), screen).contents);

    doc->LoadBackground(mctest::writeImage(dir, "bk.png", mctest::solidImage(64, 64, Qt::darkGreen)));
    Card* plain = mctest::addItem(*doc, mctest::writeImage(dir, "a.png", mctest::solidImage(40, 30, Qt::red)));
    plain->m_dAngle = 33;
    plain->m_bGray = true;
    plain->m_bSemi = true;
    plain->m_nAlpha = 100;
    {
        auto copy = mctest::emptyProject();
        mctest::addItem(*copy, plain->m_strPath)->m_bErased = true;
        mctest::addItem(*copy, plain->m_strPath)->m_bGray = true;
        mctest::addItem(*copy, mctest::writeImage(dir, "c.jpg", mctest::solidImage(48, 32, Qt::yellow)))->m_dShearX = 3;
        mctest::addItem(*copy, mctest::writeImage(dir, "d.bmp", mctest::solidImage(20, 20, Qt::cyan)));
        keep("one-picture-twice.mcr", withPictures(*copy));
    }

    Card* cut = mctest::addItem(*doc, mctest::writeImage(dir, "b.png", mctest::solidImage(50, 50, Qt::blue)));
    QPainterPath star;
    star.moveTo(0, -20);
    star.lineTo(12, 16);
    star.lineTo(-18, -6);
    star.lineTo(18, -6);
    star.lineTo(-12, 16);
    star.closeSubpath();
    cut->m_pClipSaved = std::make_unique<mc::Region>(*cut->m_pClip);
    cut->m_pClip = std::make_unique<mc::Region>(mc::Region::fromPath(star));
    cut->m_bCut = true;
    cut->m_bErased = true;
    cut->m_nEraseExtent = 20;
    const QByteArray twoItems = SerializeProject(*doc);
    keep("cut-item.mcr", withPictures(*doc));
    ParseResult parsed = ParseProject(twoItems, screen);
    ASSERT_TRUE(parsed.contents);
    ASSERT_EQ(parsed.contents->items.size(), 2u);
    EXPECT_TRUE(parsed.contents->items.front().cutShape);

    // A newer program's file.
    QByteArray newer = SerializeProject(*mctest::emptyProject());
    ByteWriter version;
    version.writeInt32(3105);
    newer.replace(3, 4, version.bytes());
    keep("newer.mcr", newer);
    EXPECT_FALSE(ParseProject(newer, screen).contents);
}
