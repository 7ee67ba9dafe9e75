#pragma once
// Saving a project: the project file, then the JPEG of the finished canvas
// beside it. Headless, so that the command line and the tests save exactly as
// the File commands do.
//
// The JPEG carries a mark naming its project file, and only a JPEG so marked
// for a project of that name is ever replaced: a photo that merely has the
// companion's name (even one the project shows) is kept, and the companion
// goes to the next free name instead ("Beach-1.jpg", ...).
#include <QSize>
#include <QString>

class CMyDoc;

namespace mc::canvas {

// True when the file at `picturePath` is a companion JPEG this program wrote
// for a project file named like `projectPath` (the folder may have moved).
bool IsCompanionOf(const QString& picturePath, const QString& projectPath);

// Where the companion of `projectPath` goes: CompanionPicturePath, or the
// first of "NAME-1.jpg", "NAME-2.jpg" ... that is free or such a companion.
// A picture that `doc` uses is never chosen. Empty when no name is left.
QString ChooseCompanionPath(const CMyDoc& doc, const QString& projectPath);

// Renders the finished canvas as the view shows it (client area `client`)
// and saves it as JPEG at `path`, marked as the companion of `projectPath`.
// False, with `error` set, when it could not be written.
bool WriteSnapshot(const CMyDoc& doc, const QString& path, QSize client, const QString& projectPath,
                   QString* error = nullptr);

struct SaveResult {
    bool ok = false;
    QString message; // for the user, when !ok
    // After a save, for the status bar: where the companion went when not
    // under its usual name, or why it is missing.
    QString notice;
};

// Writes the project file at `path`. On success the companion JPEG follows
// (its failure only gives a notice: the project itself is saved), the
// document takes the path and its modified flag is cleared. On failure the
// document is untouched, modified flag included, and so is the old file.
SaveResult SaveProject(CMyDoc& doc, const QString& path, QSize client);

} // namespace mc::canvas
