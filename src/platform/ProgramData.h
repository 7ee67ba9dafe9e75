#pragma once
// Where the program's own files are: the data it ships (sample pictures,
// tile patterns) and whether the running program is an installed one.
//
// `cmake --install` puts the program in PREFIX/bin and its data in
// PREFIX/share/muralcrafter; the installed program finds them relative to
// its own executable, so a staged or relocated prefix works as well as /usr.
// A program run from a build tree (or a test) uses the source checkout's
// folders instead.
#include <QString>

namespace mc::platform {

enum class DataFolder {
    Samples, // the pictures of the sample project
    Tiles,   // the tile patterns offered as predefined pictures
};

// The folder holding `kind`: PREFIX/share/muralcrafter/{samples,tiles}
// beside an installed program, else the checkout's samples/ and
// resources/tiles/. The folder may not exist (nothing of that kind shipped).
QString programDataFolder(DataFolder kind);

// True when the running program was installed: its prefix holds the
// program's desktop entry under share/applications.
bool isInstalledProgram();

// The running program's own file, also before a QCoreApplication exists.
QString runningProgramPath();

// The same rules for a program at `programPath` (tests).
QString programDataFolder(DataFolder kind, const QString& programPath);
bool isInstalledProgram(const QString& programPath);

} // namespace mc::platform
