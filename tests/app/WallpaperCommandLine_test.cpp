// --wallpaper and --set-wallpaper: the same picture the Set Wallpaper
// commands make, written to a chosen file or installed on the desktop.
#include "app/CommandLine.h"

#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"
#include "platform/DesktopBackend.h"
#include "platform/KeyFile.h"
#include "platform/KeyFileBackend.h"
#include "wallpaper/WallpaperRender.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "AppTestUtil.h"

#include <gtest/gtest.h>

using namespace mc::app;
using mc::platform::KeyFileBackend;
using mc::wallpaper::WallpaperLayout;

namespace {

const QSize kScreen(1024, 768);
const QSize kClient(1000, 700);
const QColor kDesktop(16, 32, 48);
const QStringList kSizes = {"--screen", "1024x768", "--client", "1000x700"};

using apptest::Outcome;
using apptest::run;

// The key-file desktop for one test, with a desktop colour of its own; the
// file and the variable are gone again afterwards.
class FileDesktop {
public:
    FileDesktop() : m_previous(qgetenv("MURALCRAFTER_DESKTOP"))
    {
        qputenv("MURALCRAFTER_DESKTOP", "file");
        QFile::remove(path());
        mc::platform::KeyFile file;
        file.setValue(KeyFileBackend::kGroup, KeyFileBackend::kColorKey, "16 32 48");
        EXPECT_TRUE(file.save(path()).isEmpty());
    }
    ~FileDesktop()
    {
        QFile::remove(path());
        QDir(path()).removeRecursively();
        if (m_previous.isNull())
            qunsetenv("MURALCRAFTER_DESKTOP");
        else
            qputenv("MURALCRAFTER_DESKTOP", m_previous);
    }
    FileDesktop(const FileDesktop&) = delete;
    FileDesktop& operator=(const FileDesktop&) = delete;

    static QString path() { return mc::platform::keyFileBackendPath(); }
    static mc::platform::DesktopSettings read() { return KeyFileBackend(path()).read(); }

private:
    QByteArray m_previous;
};

// An 800 x 600 canvas with one item in its middle.
QString writeProject(const QString& dir)
{
    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.m_nCanvasWidth = 800;
    doc.m_nCanvasHeight = 600;
    doc.m_crBkColor = 0x00336699;
    auto card = Card::CreateFromFile(mctest::writeImage(dir, "item.png", mctest::solidImage(120, 90, Qt::yellow)));
    card->m_ptCenter = QPoint(500, 350); // the canvas centre in a 1000 x 700 client area
    card->UpdateRegion();
    doc.m_listCards.AddHead(std::move(card));
    const QString path = dir + "/wall.mcr";
    EXPECT_TRUE(mc::document::WriteProjectFile(doc, path).ok);
    return path;
}

QImage expectedWallpaper(const QString& project, WallpaperLayout layout)
{
    CMyDoc doc(mc::platform::DesktopSettings{});
    QString message;
    EXPECT_TRUE(mc::document::OpenProject(doc, project, kScreen, &message));
    const mc::wallpaper::WallpaperContext context{kScreen, kClient, mc::argbToColorref(kDesktop.rgb())};
    const QSize canvas(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    return mc::wallpaper::RenderWallpaper(doc, context, mc::wallpaper::RequestedWallpaperSize(layout, kScreen, canvas),
                                          layout)
        .convertToFormat(QImage::Format_RGB32);
}

QImage readBack(const QString& path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

} // namespace

TEST(WallpaperCommandLine, WritesEachLayoutsPictureWithoutInstalling)
{
    const FileDesktop desktop;
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir);

    const std::tuple<const char*, WallpaperLayout, QSize> layouts[] = {
        {"stretched", WallpaperLayout::Stretched, kScreen}, {"centered", WallpaperLayout::Centered, {800, 600}},
        {"tiled", WallpaperLayout::Tiled, {800, 600}},      {"left", WallpaperLayout::LeftAlign, kScreen},
        {"Right", WallpaperLayout::RightAlign, kScreen},    {"top", WallpaperLayout::TopAlign, kScreen},
        {"bottom", WallpaperLayout::BottomAlign, kScreen}};
    for (const auto& [name, layout, size] : layouts) {
        const QString out = dir + '/' + name + (layout == WallpaperLayout::LeftAlign ? ".png" : ".bmp");
        const Outcome r = run(QStringList{"--wallpaper", name, "--output", out, project} + kSizes);
        ASSERT_EQ(r.status, kExitOk) << name << ": " << r.err.toStdString();
        const QImage written = readBack(out);
        EXPECT_EQ(written.size(), size) << name;
        EXPECT_EQ(written, expectedWallpaper(project, layout)) << name;
    }
    EXPECT_EQ(FileDesktop::read().wallpaperPath, ""); // nothing installed

    // Left: the canvas at x 0..799, y 84..683, the desktop colour around it.
    const QImage left = readBack(dir + "/left.png");
    const QRgb canvas = QColor(0x99, 0x66, 0x33).rgb();
    for (const QPoint p : {QPoint(0, 84), QPoint(799, 84), QPoint(0, 683), QPoint(799, 683)})
        EXPECT_EQ(left.pixel(p), canvas) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(0, 83), QPoint(800, 84), QPoint(0, 684), QPoint(1023, 767)})
        EXPECT_EQ(left.pixel(p), kDesktop.rgb()) << p.x() << "," << p.y();
    EXPECT_EQ(left.pixel(400, 384), QColor(Qt::yellow).rgb()); // the item at the canvas centre

    const QString jpg = dir + "/left.jpg";
    EXPECT_EQ(run(QStringList{"--wallpaper", "left", "--output", jpg, project} + kSizes).status, kExitOk);
    EXPECT_EQ(QImage(jpg).size(), kScreen);
}

TEST(WallpaperCommandLine, SetWallpaperInstallsTheFileWithTheLayoutsValues)
{
    const FileDesktop desktop;
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir);
    const QString data = mc::platform::dataDirectory();
    QFile::remove(data + "/muralcrafter.bmp");
    QFile::remove(data + "/muralcraftr.bmp");

    Outcome r = run(QStringList{"--set-wallpaper", "tiled", project} + kSizes);
    ASSERT_EQ(r.status, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.out, data + "/muralcrafter.bmp\n");
    mc::platform::DesktopSettings installed = FileDesktop::read();
    EXPECT_EQ(installed.wallpaperPath, data + "/muralcrafter.bmp");
    EXPECT_EQ(installed.tileWallpaper, "1");
    EXPECT_EQ(installed.wallpaperStyle, "1");
    EXPECT_EQ(readBack(installed.wallpaperPath), expectedWallpaper(project, WallpaperLayout::Tiled));

    // The desktop now shows that file, so the next one is written beside it.
    r = run(QStringList{"--set-wallpaper", "left", project} + kSizes);
    ASSERT_EQ(r.status, kExitOk) << r.err.toStdString();
    installed = FileDesktop::read();
    EXPECT_EQ(installed.wallpaperPath, data + "/muralcraftr.bmp");
    EXPECT_EQ(installed.tileWallpaper, "0");
    EXPECT_EQ(installed.wallpaperStyle, "0");
    EXPECT_EQ(readBack(installed.wallpaperPath), expectedWallpaper(project, WallpaperLayout::LeftAlign));

    // A desktop that refuses: its reason on standard error, a failing status.
    QFile::remove(FileDesktop::path());
    ASSERT_TRUE(QDir().mkpath(FileDesktop::path()));
    r = run({"--set-wallpaper", "centered", project});
    EXPECT_EQ(r.status, kExitOutputFailed);
    EXPECT_TRUE(r.err.startsWith("Cannot read ")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(WallpaperCommandLine, UsageErrorsAndRejectedProjects)
{
    const FileDesktop desktop;
    const QString dir = mctest::freshDir();
    const QString project = writeProject(dir);
    const QString out = dir + "/o.png";

    for (const char* option : {"--wallpaper", "--set-wallpaper", "--set-wallpaper=left", "--output"})
        EXPECT_TRUE(IsHeadlessRequest({"m", option, "x"})) << option;
    const QString help = run({"--help"}).out;
    EXPECT_TRUE(help.contains("--wallpaper <layout>") && help.contains("--set-wallpaper <layout>")
                && help.contains("--output <file>"));

    Outcome r = run({"--wallpaper", "diagonal", "--output", out, project});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_EQ(r.err, "Unknown wallpaper layout: diagonal (use stretched, centered, tiled, left, right, top or "
                     "bottom)\n");
    const QString photo = mctest::writeImage(dir, "photo.png", mctest::solidImage(5, 5, Qt::red));
    for (const QStringList& args : {QStringList{"--wallpaper", "left", "--output", out, photo},
                                    QStringList{"--set-wallpaper", "left", photo}}) {
        r = run(args);
        EXPECT_EQ(r.status, kExitProjectRejected) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, "Unknown File Format.\n");
    }

    const std::pair<QStringList, int> failures[] = {
        {{"--set-wallpaper", "sideways", project}, kExitUsage},
        {{"--wallpaper", "left", project}, kExitUsage},                          // no --output
        {{"--wallpaper", "left", "--output", dir + "/o.gifx", project}, kExitUsage},
        {{"--wallpaper", "left", "--output", out}, kExitUsage},                  // no project
        {{"--wallpaper", "left", "--output", out, "--client", "12", project}, kExitUsage},
        {{"--set-wallpaper", "left", "--output", out, project}, kExitUsage},
        {{"--set-wallpaper", "left", "--render", out, project}, kExitUsage},
        {{"--output", out, project}, kExitUsage},
        {{"--wallpaper", "left", "--output", dir + "/missing/o.png", project}, kExitOutputFailed}};
    for (const auto& [args, status] : failures)
        EXPECT_EQ(run(args).status, status) << args.join(' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(FileDesktop::read().wallpaperPath, "");
}
