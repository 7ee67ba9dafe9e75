// The command line: headless rendering, the sample project, help, version
// and the exit statuses.
#include "app/CommandLine.h"

#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"
#include "canvas/CanvasLayer.h"
#include "canvas/SampleProject.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include "AppTestUtil.h"

#include <gtest/gtest.h>

using namespace mc::app;

namespace {

using apptest::Outcome;
using apptest::run;

// A project with a coloured canvas smaller than the screen and one item.
QString writeProject(const QString& dir)
{
    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.m_nCanvasWidth = 600;
    doc.m_nCanvasHeight = 400;
    doc.m_crBkColor = 0x00336699;
    auto card = Card::CreateFromFile(mctest::writeImage(dir, "item.png", mctest::solidImage(80, 50, Qt::yellow)));
    card->m_dAngle = 20;
    card->m_ptCenter = QPoint(300, 200);
    card->UpdateRegion();
    doc.m_listCards.AddHead(std::move(card));
    const QString path = dir + "/render.mcr";
    EXPECT_TRUE(mc::document::WriteProjectFile(doc, path).ok);
    return path;
}

QImage expectedCanvas(const QString& project, QSize client)
{
    CMyDoc doc(mc::platform::DesktopSettings{});
    QString message;
    EXPECT_TRUE(mc::document::OpenProject(doc, project, QSize(1024, 768), &message));
    return mc::canvas::RenderCanvas(doc, client);
}

} // namespace

TEST(CommandLine, HeadlessRequestsWindowArgumentsVersionAndHelp)
{
    const std::pair<QStringList, bool> requests[] = {
        {{"--render", "a.png", "p.mcr"}, true}, {{"--render=a.png", "p.mcr"}, true}, {{"--version"}, true},
        {{"-h"}, true}, {{"--make-sample", "dir"}, true}, {{}, false}, {{"p.mcr"}, false},
        {{"--screen", "800x600", "p.mcr"}, false}, {{"--", "--render"}, false}}; // the last: a file of that name
    for (const auto& [args, headless] : requests)
        EXPECT_EQ(IsHeadlessRequest(QStringList{"m"} + args), headless) << args.join(' ').toStdString();

    GuiArguments a = ParseGuiArguments({"m", "p.mcr"});
    EXPECT_EQ(a.projectPath, "p.mcr");
    EXPECT_TRUE(a.error.isEmpty());
    a = ParseGuiArguments({"m", "--screen", "800x600"});
    EXPECT_EQ(a.screen, QSize(800, 600));
    EXPECT_TRUE(a.projectPath.isEmpty());
    EXPECT_FALSE(ParseGuiArguments({"m", "a.mcr", "b.mcr"}).error.isEmpty());
    EXPECT_FALSE(ParseGuiArguments({"m", "--screen", "big"}).error.isEmpty());

    Outcome r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Muralcrafter 3.1\n");
    r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("--render <file>"));
    EXPECT_TRUE(r.out.contains("--client <WxH>"));
}

TEST(CommandLine, RenderWritesExactlyTheFinishedCanvas)
{
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir);
    const Outcome r = run({"--render", dir + "/out.png", "--screen", "1024x768", "--client", "1000x700", project});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QImage written(dir + "/out.png");
    const QImage expected = expectedCanvas(project, QSize(1000, 700));
    ASSERT_EQ(written.size(), QSize(600, 400));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));

    // Other formats by the extension.
    for (const char* name : {"/out.bmp", "/out.jpg"}) {
        EXPECT_EQ(run({"--render", dir + name, project}).status, 0) << name;
        EXPECT_EQ(QImage(dir + name).size(), QSize(600, 400)) << name;
    }
}

TEST(CommandLine, FailuresHaveTheirExitStatusAndMessage)
{
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir);

    const QString other = mctest::writeImage(dir, "photo.png", mctest::solidImage(5, 5, Qt::red));
    Outcome r = run({"--render", dir + "/o.png", other});
    EXPECT_EQ(r.status, kExitProjectRejected);
    EXPECT_EQ(r.err, "Unknown File Format.\n");
    EXPECT_FALSE(QFileInfo::exists(dir + "/o.png"));

    QFile cut(dir + "/cut.mcr");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    QFile whole(project);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    cut.write(whole.readAll().left(70));
    cut.close();
    r = run({"--render", dir + "/o.png", dir + "/cut.mcr"});
    EXPECT_EQ(r.status, kExitProjectRejected);
    EXPECT_EQ(r.err, "The project file is damaged or incomplete.\n");

    const std::pair<QStringList, int> failures[] = {
        {{"--render", dir + "/o.png"}, kExitUsage},
        {{"--render", dir + "/o.gifx", project}, kExitUsage},
        {{"--render", dir + "/o.png", "--client", "12", project}, kExitUsage},
        {{"--render", dir + "/o.png", "--bogus", project}, kExitUsage},
        {{"--render", dir + "/missing/o.png", project}, kExitOutputFailed}};
    for (const auto& [args, status] : failures)
        EXPECT_EQ(run(args).status, status) << args.join(' ').toStdString();
}

TEST(CommandLine, SampleProjectIsWrittenAndRenders)
{
    const QString dir = mctest::freshDir();
    for (const QString& name : mc::canvas::SamplePictureNames())
        ASSERT_TRUE(QFile::copy(QStringLiteral(MC_SOURCE_DIR "/samples/") + name, dir + '/' + name));
    Outcome r = run({"--make-sample", dir});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), dir + "/sample.mcr");
    EXPECT_TRUE(QFileInfo(dir + "/sample.jpg").isFile());

    CMyDoc doc(mc::platform::DesktopSettings{});
    QString message;
    ASSERT_TRUE(mc::document::OpenProject(doc, dir + "/sample.mcr", QSize(1024, 768), &message));
    EXPECT_EQ(doc.m_listCards.GetCount(), 4);
    EXPECT_EQ(doc.m_nPlacement, 1); // the small square picture tiles
    int cut = 0;
    for (const auto& card : doc.m_listCards)
        cut += card->m_bCut;
    EXPECT_EQ(cut, 1);

    EXPECT_EQ(run({"--render", dir + "/s.png", dir + "/sample.mcr"}).status, 0);
    QFile::remove(dir + "/leaf.jpg");
    EXPECT_EQ(run({"--make-sample", dir}).status, kExitOutputFailed);
}

// The program itself, without any display.
TEST(CommandLine, ProgramRendersWithoutDisplay)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../src/muralcrafter";
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "the program is not built";
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(env);
    process.start(program, {"--render", dir + "/p.png", "--screen", "1024x768", "--client", "1024x768", project});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(dir + "/p.png").size(), QSize(600, 400));

    process.start(program, {"--render", dir + "/q.png", dir + "/item.png"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("Unknown File Format."));
}
