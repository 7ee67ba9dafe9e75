#include "app/CommandLine.h"

#include "document/CMyDoc.h"
#include "document/ProjectFormat.h"
#include "document/ProjectReader.h"
#include "imaging/ImageIO.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "view/CanvasLayer.h"
#include "view/SampleProject.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace mc::app {

namespace {

const QString kRender = QStringLiteral("render");
const QString kScreen = QStringLiteral("screen");
const QString kClient = QStringLiteral("client");
const QString kMakeSample = QStringLiteral("make-sample");

void addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Composes a desktop wallpaper from pictures."));
    parser.addOption({kRender, QStringLiteral("Render the project's finished canvas to <file> (png, jpg or bmp) without a window."),
                      QStringLiteral("file")});
    parser.addOption({kScreen, QStringLiteral("Screen size for this run."), QStringLiteral("WxH")});
    parser.addOption({kClient, QStringLiteral("Client area the canvas is centred in (--render)."),
                      QStringLiteral("WxH")});
    parser.addOption({kMakeSample, QStringLiteral("Write the sample project <dir>/sample.mcr from the pictures in <dir>."),
                      QStringLiteral("dir")});
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file (.mcr) to open or render."),
                                 QStringLiteral("[PROJECT.mcr]"));
}

// Sets the screen for this run when --screen is given; false for a bad size.
bool applyScreen(const QCommandLineParser& parser, QTextStream& err)
{
    if (!parser.isSet(kScreen))
        return true;
    const QSize size = mc::platform::parseSize(parser.value(kScreen));
    if (!size.isValid()) {
        err << "Invalid screen size: " << parser.value(kScreen) << " (expected WxH)\n";
        return false;
    }
    mc::platform::overrideScreenSize(size);
    return true;
}

int render(const QCommandLineParser& parser, QTextStream& err)
{
    const QString out = parser.value(kRender);
    const QStringList projects = parser.positionalArguments();
    if (projects.size() != 1) {
        err << "--render needs exactly one project file.\n";
        return kExitUsage;
    }
    const QByteArray mime = mc::imaging::mimeTypeForFileName(out);
    if (mime.isEmpty()) {
        err << "Unknown picture type for " << out << ": use .png, .jpg or .bmp\n";
        return kExitUsage;
    }
    if (!applyScreen(parser, err))
        return kExitUsage;
    const QSize screen = mc::platform::screenSize();

    QSize client;
    if (parser.isSet(kClient)) {
        client = mc::platform::parseSize(parser.value(kClient));
        if (!client.isValid()) {
            err << "Invalid client size: " << parser.value(kClient) << " (expected WxH)\n";
            return kExitUsage;
        }
    } else {
        client = mc::platform::lastClientSize();
        if (!client.isValid())
            client = screen;
    }

    // The project replaces every stored field, so no desktop is consulted.
    CMyDoc doc(mc::platform::DesktopSettings{});
    QString message;
    if (!mc::document::OpenProject(doc, projects.front(), screen, &message)) {
        err << message << '\n';
        return kExitProjectRejected;
    }
    const QImage canvas = mc::view::RenderCanvas(doc, client, screen, mc::view::SurroundColor());
    if (canvas.isNull() || !mc::imaging::encodeImage(canvas, out, mime)) {
        err << "Cannot write the picture " << out << '\n';
        return kExitOutputFailed;
    }
    return kExitOk;
}

int makeSample(const QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    if (!applyScreen(parser, err))
        return kExitUsage;
    const QSize screen = mc::platform::screenSize();
    QSize client = mc::platform::lastClientSize();
    if (!client.isValid())
        client = screen;
    const mc::view::SampleResult result = mc::view::WriteSampleProject(parser.value(kMakeSample), client, screen);
    if (!result.ok) {
        err << result.message << '\n';
        return kExitOutputFailed;
    }
    out << result.projectPath << '\n';
    return kExitOk;
}

bool isHeadlessOption(const QString& arg)
{
    static const QStringList names = {QStringLiteral("--render"), QStringLiteral("--make-sample"),
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
    if (parser.isSet(kRender) && parser.isSet(kMakeSample)) {
        err << "--render and --make-sample cannot be combined.\n";
        return kExitUsage;
    }
    if (parser.isSet(kRender))
        return render(parser, err);
    if (parser.isSet(kMakeSample))
        return makeSample(parser, out, err);
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
    // No display is needed; a platform the caller chose is kept.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
            result.error = QStringLiteral("Invalid screen size: %1 (expected WxH)").arg(parser.value(kScreen));
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        result.error = QStringLiteral("Only one project file can be opened.");
    else if (!positional.isEmpty())
        result.projectPath = positional.front();
    return result;
}

} // namespace mc::app
