// Real project files of every kind the reader meets. Each is checked here;
// with MC_FUZZ_SEED_DIR set they are also written there as the fuzzer's seed
// corpus (scripts/fuzz.sh), and their pictures go to a folder beside it that
// outlives the test, so that the fuzzer reaches picture loading, effects and
// region computation too.
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

// Where the seeds' pictures live.
QString pictureDir()
{
    const QString seeds = qEnvironmentVariable("MC_FUZZ_SEED_DIR");
    if (seeds.isEmpty())
        return mctest::freshDir();
    const QString dir = QDir(seeds).absoluteFilePath("../pictures");
    QDir().mkpath(dir);
    return dir;
}

} // namespace

TEST(FuzzSeeds, RealProjectsParse)
{
    const QSize screen(1024, 768);
    const QString dir = pictureDir();
    auto doc = mctest::emptyProject();
    keep("empty.mcr", SerializeProject(*doc));
    EXPECT_TRUE(ParseProject(SerializeProject(*doc), screen).contents);

    doc->LoadBackground(mctest::writeImage(dir, "bk.png", mctest::solidImage(64, 64, Qt::darkGreen)));
    Card* plain = mctest::addItem(*doc, mctest::writeImage(dir, "a.png", mctest::solidImage(40, 30, Qt::red)));
    plain->m_dAngle = 33;
    plain->m_bGray = true;
    plain->m_bSemi = true;
    plain->m_nAlpha = 100;
    keep("one-item.mcr", SerializeProject(*doc));

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
    keep("cut-item.mcr", twoItems);
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
