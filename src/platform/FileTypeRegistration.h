#pragma once
// The project file type on freedesktop desktops: a shared-mime-info package
// (application/x-muralcrafter, *.mcr, magic "MCR"), a desktop entry that
// opens such files with this program, and the application and document
// icons, all named by the program's id (MC_APP_ID). The installation puts
// them under share/; every start of an installed program refreshes the
// user's own copies under $XDG_DATA_HOME so that the entry runs the program
// actually started. A program that is not installed (a build tree, a test)
// writes them only where no registration exists yet, so that it never
// takes the file type away from an installed program.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace mc::platform {

// The files as shipped.
struct FileTypeFiles {
    QByteArray mimePackage;  // shared-mime-info XML
    QByteArray desktopEntry; // its Exec line is rewritten per user
    // Path under icons/hicolor/ ("48x48/apps/ID.png") -> content.
    QMap<QString, QByteArray> icons;
    bool isComplete() const { return !mimePackage.isEmpty() && !desktopEntry.isEmpty() && !icons.isEmpty(); }
};

// Reads the shipped files from `dir` (the resources folder, or the
// program's ":/freedesktop"): ID.xml, ID.desktop and icons/hicolor/...;
// missing files stay empty.
FileTypeFiles loadFileTypeFiles(const QString& dir);

// One argument of an Exec line: quoted when it holds a reserved character,
// with the escapes of a desktop-entry string value on top.
QString desktopExecArgument(const QString& arg);

// `entry` with its Exec line replaced by `program` and the file field code.
QByteArray desktopEntryForProgram(const QByteArray& entry, const QString& program);

// The program an entry's Exec line runs (its first argument, unquoted);
// empty without an Exec line.
QString desktopEntryProgram(const QByteArray& entry);

struct FileTypeRegistration {
    QStringList written;         // files created or replaced
    QStringList failed;          // files that could not be written
    bool mimeDatabaseUpdated = false;
    bool desktopDatabaseUpdated = false;
    bool keptExisting = false;   // a program that is not installed left a registration alone
};

// Brings the user's copies under `dataHome` up to date: each file is
// written only when its content differs, and update-mime-database and
// update-desktop-database run only when something changed or their output
// is missing, and only when they are installed. When `installed` is false,
// nothing is written if `dataDirs` (the system's XDG data folders) hold the
// desktop entry or the user's entry runs a program that exists. Files of
// the earlier registration under the plain name "muralcrafter" are removed.
// Never throws; problems end up in `failed` or leave the databases as they
// were.
FileTypeRegistration registerFileTypesForUser(const FileTypeFiles& files, const QString& program,
                                              const QString& dataHome, bool installed = true,
                                              const QStringList& dataDirs = {});

} // namespace mc::platform
