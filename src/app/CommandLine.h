#pragma once
// The program's command line.
//
//   muralcrafter [--screen WxH] [PROJECT.mcr]          the window
//   muralcrafter --render OUT PROJECT.mcr [--screen WxH] [--client WxH]
//   muralcrafter --wallpaper LAYOUT --output OUT PROJECT.mcr [--screen WxH] [--client WxH]
//   muralcrafter --set-wallpaper LAYOUT PROJECT.mcr [--screen WxH] [--client WxH]
//   muralcrafter --make-sample DIR                    DIR/sample.mcr
//   muralcrafter --help | --version
//
// The headless runs need no display: they use QGuiApplication on the
// display's platform when one is reachable (for its screen size), else on the
// offscreen platform, unless another platform was asked for.
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace mc::app {

// Called from main() before any application object exists: when the
// arguments ask for a headless run, carries it out and answers its exit
// status; otherwise nullopt and the program goes on to its window.
std::optional<int> RunHeadless(int argc, char** argv);

// True when `arguments` (program name first) ask for a headless run.
bool IsHeadlessRequest(const QStringList& arguments);

// The headless run itself, inside an existing QGuiApplication. Messages go
// to `out` and `err`; answers the exit status.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The window's arguments: an optional project file and an optional screen
// size. `error` is set for arguments that are not understood.
struct GuiArguments {
    QString projectPath;
    QSize screen; // invalid: the real screen
    QString error;
};
GuiArguments ParseGuiArguments(const QStringList& arguments);

// Exit statuses of the headless runs.
enum ExitStatus : int {
    kExitOk = 0,
    kExitProjectRejected = 1, // the project could not be read
    kExitUsage = 2,           // arguments not understood
    kExitOutputFailed = 3,    // the picture or sample could not be written, or the wallpaper not installed
};

} // namespace mc::app
