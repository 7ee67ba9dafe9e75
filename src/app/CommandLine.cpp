#include "app/CommandLine.h"

#include "document/CMyDoc.h"
#include "document/ProjectFormat.h"
#include "document/ProjectReader.h"
#include "imaging/ImageIO.h"
#include "platform/AtomicFile.h"
#include "platform/DesktopBackend.h"
#include "platform/ProgramData.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "canvas/CanvasLayer.h"
#include "canvas/SampleProject.h"
#include "wallpaper/WallpaperCommands.h"
#include "wallpaper/WallpaperRender.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>

namespace mc::app {

namespace {

const QString kRender = QStringLiteral("render");
const QString kScreen = QStringLiteral("screen");
const QString kClient = QStringLiteral("client");
const QString kMakeSample = QStringLiteral("make-sample");
const QString kWallpaper = QStringLiteral("wallpaper");
const QString kSetWallpaper = QStringLiteral("set-wallpaper");
const QString kOutput = QStringLiteral("output");

using mc::wallpaper::WallpaperLayout;

// The screen of a run with neither a display nor a screen the window recorded.
constexpr int kNoDisplayScreenWidth = 1920;
constexpr int kNoDisplayScreenHeight = 1080;

// The layout names of --wallpaper and --set-wallpaper, in menu order.
struct LayoutName {
    const char* name;
    WallpaperLayout layout;
};
constexpr LayoutName kLayoutNames[] = {
    {"stretched", WallpaperLayout::Stretched}, {"centered", WallpaperLayout::Centered},
    {"tiled", WallpaperLayout::Tiled},         {"left", WallpaperLayout::LeftAlign},
    {"right", WallpaperLayout::RightAlign},    {"top", WallpaperLayout::TopAlign},
    {"bottom", WallpaperLayout::BottomAlign}};

// "stretched, centered, ... or bottom"
QString layoutNameList()
{
    QString list;
    for (std::size_t i = 0; i < std::size(kLayoutNames); ++i) {
        if (i > 0)
            list += i + 1 == std::size(kLayoutNames) ? QStringLiteral(" or ") : QStringLiteral(", ");
        list += QLatin1String(kLayoutNames[i].name);
    }
    return list;
}

void addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Composes a desktop wallpaper from pictures."));
    parser.addOption({kRender, QStringLiteral("Render the project's finished canvas to <file> (png, jpg or bmp) without a window."),
                      QStringLiteral("file")});
    parser.addOption({kScreen, QStringLiteral("Screen size for this run."), QStringLiteral("WxH")});
    parser.addOption({kClient,
                      QStringLiteral("Client area the canvas is centred in (--render, --wallpaper, --set-wallpaper)."),
                      QStringLiteral("WxH")});
    parser.addOption({kWallpaper,
                      QStringLiteral("Render the project's wallpaper picture for <layout> (%1) to the --output file "
                                     "without installing it.")
                          .arg(layoutNameList()),
                      QStringLiteral("layout")});
    parser.addOption({kOutput, QStringLiteral("Picture file (png, jpg or bmp) that --wallpaper writes."),
                      QStringLiteral("file")});
    parser.addOption({kSetWallpaper,
                      QStringLiteral("Render the project's wallpaper picture for <layout> and install it as the "
                                     "desktop wallpaper, as Set Wallpaper does."),
                      QStringLiteral("layout")});
    parser.addOption({kMakeSample, QStringLiteral("Write the sample project <dir>/sample.mcr from the program's sample pictures."),
                      QStringLiteral("dir")});
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file (.mcr) to open or render."),
                                 QStringLiteral("[PROJECT.mcr]"));
}

// The screen of a run without a window, in this order: --screen,
// MURALCRAFTER_SCREEN, the display the run is connected to, the screen the
// window last recorded on this machine, else 1920 x 1080 with a note (the
// platform's made-up screen is never taken). False for a bad --screen.
bool applyScreen(const QCommandLineParser& parser, QTextStream& err)
{
    if (parser.isSet(kScreen)) {
        const QSize size = mc::platform::parseSize(parser.value(kScreen));
        if (!size.isValid()) {
            err << "Invalid screen size: " << parser.value(kScreen) << " (" << mc::platform::sizeUsage() << ")\n";
            return false;
        }
        mc::platform::overrideScreenSize(size);
        return true;
    }
    if (const QString badVariable = mc::platform::screenVariableError(); !badVariable.isEmpty()) {
        err << badVariable << '\n';
        return false;
    }
    const QSize fromEnv = mc::platform::parseSize(qEnvironmentVariable("MURALCRAFTER_SCREEN"));
    if (fromEnv.isValid()) {
        mc::platform::overrideScreenSize(fromEnv);
        return true;
    }
    if (mc::platform::hasRealScreen())
        return true; // screenSize() reads it
    QSize size = mc::platform::lastScreenSize();
    if (!size.isValid()) {
        size = QSize(kNoDisplayScreenWidth, kNoDisplayScreenHeight);
        err << "No display to read the screen size from: using " << size.width() << 'x' << size.height()
            << " (--screen WxH sets it).\n";
    }
    mc::platform::overrideScreenSize(size);
    return true;
}

// The sizes a project is rendered for: the screen (after --screen) and the
// client area (--client, else the one last captured, else the screen).
struct RunSizes {
    QSize screen;
    QSize client;
};

// nullopt, with the message written, for a size that is not understood.
std::optional<RunSizes> runSizes(const QCommandLineParser& parser, QTextStream& err)
{
    if (!applyScreen(parser, err))
        return std::nullopt;
    RunSizes sizes{mc::platform::screenSize(), {}};
    if (parser.isSet(kClient)) {
        sizes.client = mc::platform::parseSize(parser.value(kClient));
        if (!sizes.client.isValid()) {
            err << "Invalid client size: " << parser.value(kClient) << " (" << mc::platform::sizeUsage() << ")\n";
            return std::nullopt;
        }
    } else {
        sizes.client = mc::platform::lastClientSize();
        if (!sizes.client.isValid())
            sizes.client = sizes.screen;
    }
    return sizes;
}

// The one project file the run names; empty, with the message written, when
// there is not exactly one.
QString projectArgument(const QCommandLineParser& parser, const QString& option, QTextStream& err)
{
    const QStringList projects = parser.positionalArguments();
    if (projects.size() != 1) {
        err << "--" << option << " needs exactly one project file.\n";
        return {};
    }
    return projects.front();
}

// The picture type for `file`; empty, with the message written, when the
// extension is not one that can be written.
QByteArray pictureType(const QString& file, QTextStream& err)
{
    const QByteArray mime = mc::imaging::mimeTypeForFileName(file);
    if (mime.isEmpty())
        err << "Unknown picture type for " << file << ": use .png, .jpg or .bmp\n";
    return mime;
}

// Reads the project; false, with the program's own message written, when it
// is rejected. The project replaces every stored field, so no desktop is
// consulted.
bool openProject(CMyDoc& doc, const QString& path, QSize screen, QTextStream& err)
{
    QString message;
    const bool opened = mc::document::OpenProject(doc, path, screen, &message);
    // Once opened, the message names pictures that are not drawn.
    if (!message.isEmpty())
        err << message << '\n';
    return opened;
}

std::optional<WallpaperLayout> layoutArgument(const QCommandLineParser& parser, const QString& option,
                                              QTextStream& err)
{
    const QString name = parser.value(option);
    for (const LayoutName& known : kLayoutNames) {
        if (name.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
            return known.layout;
    }
    err << "Unknown wallpaper layout: " << name << " (use " << layoutNameList() << ")\n";
    return std::nullopt;
}

QSize canvasSize(const CMyDoc& doc) { return QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight); }

// The steps --render and --wallpaper share: read the project, let `draw`
// make the picture for this run's sizes and write it to `out`.
int writePicture(const QCommandLineParser& parser, const QString& option, const QString& out, QTextStream& err,
                 const std::function<QImage(CMyDoc&, const RunSizes&)>& draw)
{
    const QString project = projectArgument(parser, option, err);
    if (project.isEmpty())
        return kExitUsage;
    const QByteArray mime = pictureType(out, err);
    if (mime.isEmpty())
        return kExitUsage;
    const std::optional<RunSizes> sizes = runSizes(parser, err);
    if (!sizes)
        return kExitUsage;

    CMyDoc doc(mc::platform::DesktopSettings{});
    if (!openProject(doc, project, sizes->screen, err))
        return kExitProjectRejected;
    const QImage picture = draw(doc, *sizes);
    // Written whole or not at all: a full disk or a second run writing the
    // same file never leaves a damaged picture in place of the old one.
    QString why;
    if (!mc::platform::SaveImageFile(picture, out, mime, &why)) {
        err << "Cannot write the picture " << out << ": " << why << '\n';
        return kExitOutputFailed;
    }
    return kExitOk;
}

int render(const QCommandLineParser& parser, QTextStream& err)
{
    return writePicture(parser, kRender, parser.value(kRender), err, [](CMyDoc& doc, const RunSizes& sizes) {
        return mc::canvas::RenderCanvas(doc, sizes.client);
    });
}

// The picture Set Wallpaper would install, written to --output instead.
int wallpaper(const QCommandLineParser& parser, QTextStream& err)
{
    const std::optional<WallpaperLayout> layout = layoutArgument(parser, kWallpaper, err);
    if (!layout)
        return kExitUsage;
    if (!parser.isSet(kOutput)) {
        err << "--wallpaper needs --output <file>.\n";
        return kExitUsage;
    }
    return writePicture(parser, kWallpaper, parser.value(kOutput), err, [&](CMyDoc& doc, const RunSizes& sizes) {
        // The desktop colour around an aligned canvas comes from the desktop,
        // as when the picture is installed; reading it changes nothing there.
        const std::unique_ptr<mc::platform::DesktopBackend> backend = mc::platform::detectDesktopBackend();
        const mc::COLORREF desktopColor =
            backend ? backend->read().desktopColor : mc::platform::kFallbackDesktopColor;
        const mc::wallpaper::WallpaperContext context{sizes.screen, sizes.client, desktopColor};
        return mc::wallpaper::RenderWallpaper(
            doc, context, mc::wallpaper::RequestedWallpaperSize(*layout, sizes.screen, canvasSize(doc)), *layout);
    });
}

// Set Wallpaper itself: the file in the data folder, installed on the
// session's desktop (MURALCRAFTER_DESKTOP chooses another). The path written
// goes to `out`.
int setWallpaper(const QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    const std::optional<WallpaperLayout> layout = layoutArgument(parser, kSetWallpaper, err);
    if (!layout)
        return kExitUsage;
    if (parser.isSet(kOutput)) {
        err << "--output goes with --wallpaper; --set-wallpaper writes the wallpaper file itself.\n";
        return kExitUsage;
    }
    const QString project = projectArgument(parser, kSetWallpaper, err);
    if (project.isEmpty())
        return kExitUsage;
    const std::optional<RunSizes> sizes = runSizes(parser, err);
    if (!sizes)
        return kExitUsage;

    CMyDoc doc(mc::platform::DesktopSettings{});
    if (!openProject(doc, project, sizes->screen, err))
        return kExitProjectRejected;
    const QSize client = sizes->client;
    mc::wallpaper::WallpaperCommands commands(
        doc, [client] { return client; }, [&err](const QString& error) { err << error << '\n'; });
    const mc::wallpaper::SetWallpaperResult result = commands.SetWallpaper(
        mc::wallpaper::RequestedWallpaperSize(*layout, sizes->screen, canvasSize(doc)), *layout);
    if (!result.ok)
        return kExitOutputFailed; // the reason was reported
    out << result.path << '\n';
    return kExitOk;
}

// The program's own sample pictures: installed beside it, else the checkout's.
QString samplePictureFolder()
{
    return mc::platform::programDataFolder(mc::platform::DataFolder::Samples);
}

int makeSample(const QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    if (!applyScreen(parser, err))
        return kExitUsage;
    const QSize screen = mc::platform::screenSize();
    QSize client = mc::platform::lastClientSize();
    if (!client.isValid())
        client = screen;
    const mc::canvas::SampleResult result =
        mc::canvas::WriteSampleProject(parser.value(kMakeSample), client, screen, samplePictureFolder());
    if (!result.ok) {
        err << result.message << '\n';
        return kExitOutputFailed;
    }
    out << result.projectPath << '\n';
    return kExitOk;
}

bool isHeadlessOption(const QString& arg)
{
    // --output too: without --wallpaper it is a mistake to report, not a window.
    static const QStringList names = {QStringLiteral("--render"), QStringLiteral("--make-sample"),
                                      QStringLiteral("--wallpaper"), QStringLiteral("--set-wallpaper"),
                                      QStringLiteral("--output"),
                                      QStringLiteral("--help"),   QStringLiteral("-h"),
                                      QStringLiteral("-?"),       QStringLiteral("--help-all"),
                                      QStringLiteral("--version"), QStringLiteral("-v")};
    for (const QString& name : names) {
        if (arg == name || (name.startsWith(QStringLiteral("--")) && arg.startsWith(name + QLatin1Char('='))))
            return true;
    }
    return false;
}

} // namespace

bool IsHeadlessRequest(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--"))
            break;
        if (isHeadlessOption(arguments[i]))
            return true;
    }
    return false;
}

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    addOptions(parser);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(arguments)) {
        err << parser.errorText() << '\n';
        return kExitUsage;
    }
    if (parser.isSet(help)) {
        out << parser.helpText();
        return kExitOk;
    }
    if (parser.isSet(version)) {
        out << mc::document::ProgramVersionText() << '\n';
        return kExitOk;
    }
    int tasks = 0;
    for (const QString& task : {kRender, kMakeSample, kWallpaper, kSetWallpaper})
        tasks += parser.isSet(task);
    if (tasks > 1) {
        err << "Only one of --render, --make-sample, --wallpaper and --set-wallpaper can be given.\n";
        return kExitUsage;
    }
    if (parser.isSet(kOutput) && !parser.isSet(kWallpaper) && !parser.isSet(kSetWallpaper)) {
        err << "--output goes with --wallpaper.\n";
        return kExitUsage;
    }
    if (parser.isSet(kRender))
        return render(parser, err);
    if (parser.isSet(kMakeSample))
        return makeSample(parser, out, err);
    if (parser.isSet(kWallpaper))
        return wallpaper(parser, err);
    if (parser.isSet(kSetWallpaper))
        return setWallpaper(parser, out, err);
    err << "Nothing to do without a window.\n";
    return kExitUsage;
}

std::optional<int> RunHeadless(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!IsHeadlessRequest(arguments))
        return std::nullopt;
    // No display is needed, but one that is reachable tells the screen size
    // as the window would read it: its platform is tried first, offscreen
    // takes over when it cannot connect. A platform the caller chose is kept.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QByteArray platforms;
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            platforms += "wayland;";
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            platforms += "xcb;";
        qputenv("QT_QPA_PLATFORM", platforms + "offscreen");
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Muralcrafter"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCommandLine(QGuiApplication::arguments(), out, err);
}

GuiArguments ParseGuiArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    GuiArguments result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(kScreen)) {
        result.screen = mc::platform::parseSize(parser.value(kScreen));
        if (!result.screen.isValid())
            result.error =
                QStringLiteral("Invalid screen size: %1 (%2)").arg(parser.value(kScreen), mc::platform::sizeUsage());
    } else {
        result.error = mc::platform::screenVariableError();
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        result.error = QStringLiteral("Only one project file can be opened.");
    else if (!positional.isEmpty())
        result.projectPath = positional.front();
    return result;
}

} // namespace mc::app
