#pragma once
// The project file type on freedesktop desktops: a shared-mime-info package
// (application/x-muralcrafter, *.mcr, magic "MCR"), a desktop entry that
// opens such files with this program, and its icon. The installation puts
// them under share/; every start refreshes the user's own copies under
// $XDG_DATA_HOME so that the entry runs the program actually started, even
// one that was never installed.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace mc::platform {

// The files as shipped.
struct FileTypeFiles {
    QByteArray mimePackage;  // shared-mime-info XML
    QByteArray desktopEntry; // its Exec line is rewritten per user
    // Path under icons/hicolor/ ("48x48/apps/muralcrafter.png") -> content.
    QMap<QString, QByteArray> icons;
    bool isComplete() const { return !mimePackage.isEmpty() && !desktopEntry.isEmpty() && !icons.isEmpty(); }
};

// Reads the shipped files from `dir` (the resources folder, or the
// program's ":/freedesktop"); missing files stay empty.
FileTypeFiles loadFileTypeFiles(const QString& dir);

// One argument of an Exec line: quoted when it holds a reserved character,
// with the escapes of a desktop-entry string value on top.
QString desktopExecArgument(const QString& arg);

// `entry` with its Exec line replaced by `program` and the file field code.
QByteArray desktopEntryForProgram(const QByteArray& entry, const QString& program);

struct FileTypeRegistration {
    QStringList written;         // files created or replaced
    QStringList failed;          // files that could not be written
    bool mimeDatabaseUpdated = false;
    bool desktopDatabaseUpdated = false;
};

// Brings the user's copies under `dataHome` up to date: each file is
// written only when its content differs, and update-mime-database and
// update-desktop-database run only when something changed or their output
// is missing, and only when they are installed. Never throws; problems end
// up in `failed` or leave the databases as they were.
FileTypeRegistration registerFileTypesForUser(const FileTypeFiles& files, const QString& program,
                                              const QString& dataHome);

} // namespace mc::platform
