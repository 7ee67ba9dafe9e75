// The command line: --render, --wallpaper, --set-wallpaper, help, version
// and the exit statuses (the sample project: the install test); and --render against the
// canvas the window shows. (The program itself without a display: the X11
// tests' ProgramCommandLine.)
#include "app/CommandLine.h"

#include "app/AppTestUtil.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "canvas/CanvasLayer.h"
#include "common/EnvGuard.h"
#include "document/ProjectReader.h"
#include "platform/DesktopBackend.h"
#include "platform/KeyFile.h"
#include "platform/KeyFileBackend.h"
#include "platform/Settings.h"
#include "view/CMyView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace mc::app;

namespace {

using apptest::Outcome;
using apptest::run;

const QSize kScreen(1024, 768);
const QStringList kSizes = {"--screen", "1024x768", "--client", "1000x700"};
const QRgb kDesktop = qRgb(16, 32, 48);

// A 600 x 400 canvas with one turned item.
QString writeProject(const QString& dir)
{
    return apptest::writeCanvasProject(dir, "render.mcr", {600, 400}, 0x00336699, {80, 50}, {{300, 200}}, 20);
}

// The key-file desktop with a desktop colour of its own, for one test.
struct FileDesktop {
    FileDesktop()
    {
        env.set("MURALCRAFTER_DESKTOP", "file"), QFile::remove(path());
        mc::platform::KeyFile file;
        file.setValue(mc::platform::KeyFileBackend::kGroup, mc::platform::KeyFileBackend::kColorKey, "16 32 48");
        EXPECT_TRUE(file.save(path()).isEmpty());
    }
    ~FileDesktop() { QFile::remove(path()), QDir(path()).removeRecursively(); }
    static QString path() { return mc::platform::keyFileBackendPath(); }
    static QString installed() { return mc::platform::KeyFileBackend(path()).read().wallpaperPath; }
    EnvGuard env;
};

} // namespace

TEST(CommandLine, HeadlessRequestsWindowArgumentsVersionAndHelp)
{
    const std::pair<QStringList, bool> requests[] = {
        {{"--render", "a.png", "p.mcr"}, true}, {{"--render=a.png", "p.mcr"}, true}, {{"--version"}, true},
        {{"-h"}, true}, {{"--make-sample", "dir"}, true}, {{"--wallpaper", "x"}, true},
        {{"--set-wallpaper=left", "x"}, true}, {{"--output", "x"}, true}, {{}, false}, {{"p.mcr"}, false},
        {{"--screen", "800x600", "p.mcr"}, false}, {{"--", "--render"}, false}}; // the last: a file of that name
    for (const auto& [args, headless] : requests)
        EXPECT_EQ(IsHeadlessRequest(QStringList{"m"} + args), headless) << args.join(' ').toStdString();

    const auto gui = [](const QStringList& args) {
        const GuiArguments a = ParseGuiArguments(QStringList{"m"} + args);
        return std::tuple(a.projectPath, a.screen, a.error.isEmpty());
    };
    EXPECT_EQ(gui({"p.mcr"}), std::tuple(QString("p.mcr"), QSize(), true));
    EXPECT_EQ(gui({"--screen", "800x600"}), std::tuple(QString(), QSize(800, 600), true));
    EXPECT_FALSE(std::get<2>(gui({"a.mcr", "b.mcr"})) || std::get<2>(gui({"--screen", "big"})));
    // A screen size from the environment is held to the same bounds.
    const QByteArray screen = qgetenv("MURALCRAFTER_SCREEN");
    qputenv("MURALCRAFTER_SCREEN", "100000x100000");
    EXPECT_TRUE(run({"--render", "a.png", "p.mcr"}).err.startsWith("Invalid MURALCRAFTER_SCREEN"));
    qputenv("MURALCRAFTER_SCREEN", screen);

    const Outcome version = run({"--version"}), r = run({"--help"});
    EXPECT_EQ(std::tuple(version.status, version.out, r.status), std::tuple(0, QString("Muralcrafter 3.1\n"), 0));
    EXPECT_TRUE(r.out.contains("--render <file>") && r.out.contains("--set-wallpaper <layout>")) << r.out.toStdString();
}

// --render and --wallpaper write the canvas or the layout's picture in the
// format of the extension, at the size the layout asks for.
TEST(CommandLine, RenderAndWallpaperWriteTheirPictures)
{
    const FileDesktop desktop;
    const QString dir = mctest::freshDir(), project = writeProject(dir);
    for (const char* name : {"/out.png", "/out.bmp", "/out.jpg"}) {
        EXPECT_EQ(run(QStringList{"--render", dir + name, project} + kSizes).status, 0) << name;
        EXPECT_EQ(QImage(dir + name).size(), QSize(600, 400)) << name;
    }
    // Each layout's picture the wallpaper tests pin; here the names reach
    // them, in any case, and the desktop colour comes from the desktop.
    const std::pair<const char*, QSize> layouts[] = {
        {"stretched", kScreen}, {"centered", {600, 400}}, {"tiled", {600, 400}}, {"Right", kScreen}, {"bottom", kScreen}};
    for (const auto& [name, size] : layouts) {
        const QString out = dir + '/' + name + ".bmp";
        ASSERT_EQ(run(QStringList{"--wallpaper", name, "--output", out, project} + kSizes).status, kExitOk) << name;
        const QImage written(out);
        EXPECT_EQ(written.size(), size) << name;
        const bool framed = size == kScreen && QLatin1String(name) != QLatin1String("stretched"); // the desktop colour around
        EXPECT_TRUE(!framed || (written.pixel(0, 0) == kDesktop && written.pixel(1023, 767) == kDesktop)) << name;
    }
    EXPECT_EQ(FileDesktop::installed(), ""); // nothing installed
}

TEST(CommandLine, SetWallpaperPrintsTheInstalledFileAndReportsARefusal)
{
    const FileDesktop desktop;
    const QString dir = mctest::freshDir(), project = writeProject(dir);
    const QString data = mc::platform::dataDirectory();
    QFile::remove(data + "/muralcrafter.bmp"), QFile::remove(data + "/muralcraftr.bmp");
    Outcome r = run(QStringList{"--set-wallpaper", "tiled", project} + kSizes);
    ASSERT_EQ(r.status, kExitOk) << r.err.toStdString();
    EXPECT_EQ(std::pair(r.out, FileDesktop::installed()),
              std::pair(data + "/muralcrafter.bmp\n", data + "/muralcrafter.bmp"));

    // A desktop that refuses: its reason on standard error, a failing status.
    QFile::remove(FileDesktop::path());
    ASSERT_TRUE(QDir().mkpath(FileDesktop::path()));
    r = run({"--set-wallpaper", "centered", project});
    EXPECT_EQ(std::pair(r.status, r.out), std::pair(int(kExitOutputFailed), QString()));
    EXPECT_TRUE(r.err.contains(", but this desktop could not be told to show it.\nCannot read ")) << r.err.toStdString();
}

TEST(CommandLine, FailuresHaveTheirExitStatusAndMessage)
{
    const FileDesktop desktop;
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir), out = dir + "/o.png";
    mctest::writeFile(dir + "/cut.mcr", mctest::readFile(project).left(70));
    const QString photo = mctest::writeImage(dir, "photo.png", mctest::solidImage(5, 5, Qt::red));

    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.mcr").constData(), 0600), 0);
    // The arguments, the status and, when given, the whole of standard error.
    const std::tuple<QStringList, int, const char*> failures[] = {
        // Never read: a pipe would block, /dev/zero never end.
        {{"--render", out, dir + "/pipe.mcr"}, kExitProjectRejected, nullptr},
        {{"--render", out, "/dev/zero"}, kExitProjectRejected, nullptr},
        {{"--render", out, "--screen", "32769x100", project}, kExitUsage, nullptr},
        {{"--render", out, photo}, kExitProjectRejected, "Unknown File Format.\n"},
        {{"--render", out, dir + "/cut.mcr"}, kExitProjectRejected, "The project file is damaged or incomplete.\n"},
        {{"--wallpaper", "diagonal", "--output", out, project}, kExitUsage,
         "Unknown wallpaper layout: diagonal (use stretched, centered, tiled, left, right, top or bottom)\n"},
        {{"--render", out}, kExitUsage, nullptr},
        {{"--render", dir + "/o.gifx", project}, kExitUsage, nullptr},
        {{"--render", out, "--bogus", project}, kExitUsage, nullptr},
        {{"--wallpaper", "left", project}, kExitUsage, nullptr}, // no --output
        {{"--set-wallpaper", "left", "--output", out, project}, kExitUsage, nullptr},
        {{"--render", dir + "/missing/o.png", project}, kExitOutputFailed, nullptr},
    };
    for (const auto& [args, status, message] : failures) {
        const Outcome r = run(args);
        EXPECT_EQ(std::pair(r.status, message ? r.err : QString()), std::pair(status, QString(message)))
            << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(FileDesktop::installed(), "");
}

// On a full disk every file keeps its old bytes and the failure is
// reported; once an 832-byte project became 0 bytes with success reported.
TEST(CommandLine, FullDiskKeepsEveryOldFileAndSaysSo)
{
    const QString disk = mctest::smallFileSystem();
    if (disk.isEmpty())
        GTEST_SKIP() << "no file system of its own to fill";
    const QString project = writeProject(disk);
    const QStringList outputs[] = {{"--render", disk + "/out.png"},
                                   {"--wallpaper", "tiled", "--output", disk + "/wall.bmp"}};
    for (const QStringList& args : outputs)
        ASSERT_EQ(run(args + QStringList{project}).status, 0);
    const auto files = [&] { // every name and content but the filler's
        QStringList all;
        for (const QString& name : QDir(disk).entryList(QDir::Files | QDir::Hidden))
            if (name != "filler")
                all << name + ':' + mctest::readFile(disk + '/' + name).toHex();
        return all;
    };
    const QStringList before = files();
    mctest::fillUp(disk);
    for (const QStringList& args : outputs) {
        const Outcome r = run(args + QStringList{project});
        EXPECT_TRUE(r.status == kExitOutputFailed && r.err.contains("No space left")) << r.err.toStdString();
    }
    apptest::ScriptedDialogs dialogs;
    CMyDoc doc(mc::platform::DesktopSettings{});
    CFileCommands commands(&doc, nullptr, {});
    ASSERT_TRUE(commands.OpenDocumentFile(project));
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(commands.OnFileSave());
    EXPECT_TRUE(dialogs.messages.join('|').contains("No space left")) << dialogs.messages.join('|').toStdString();
    EXPECT_EQ(files(), before);
}

// --render draws what the window shows: the same project opened in the
// program's window and rendered from the command line gives the same canvas,
// down to the pixel, with the client area the window last had.
TEST(CommandLine, RenderedCanvasIsTheOneOnTheScreen)
{
    const QString dir = mctest::freshDir();
    // A turned item and one that reaches over the canvas edge (clipped).
    const QString project = apptest::writeCanvasProject(dir, "shown.mcr", {640, 360}, 0x00207050, {120, 70},
                                                        {{512, 384}, {220, 240}}, 25);
    CMyView::ResetFirstUpdate();
    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", project}));
    CMyView* view = app.MainFrame()->GetActiveView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->ClientSize().isValid(); }));
    const QRect canvas = view->Layer().CanvasRect().translated(-view->ScrollPosition());
    ASSERT_EQ(std::pair(view->GetDocument()->m_listCards.GetCount(), canvas.size()), std::pair(2, QSize(640, 360)));
    const QImage shown = view->viewport()->grab().toImage().copy(canvas).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), canvas.size()) << "canvas not inside the client area";
    EXPECT_EQ(view->RenderCanvas().convertToFormat(QImage::Format_RGB32), shown);

    const Outcome r = run({"--render", dir + "/out.png", project});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(dir + "/out.png").convertToFormat(QImage::Format_RGB32), shown);
}
