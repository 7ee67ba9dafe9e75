#pragma once
// Saving a project: the project file, then the JPEG of the finished canvas
// beside it. Headless, so that the command line and the tests save exactly as
// the File commands do.
#include <QSize>
#include <QString>

class CMyDoc;

namespace mc::canvas {

// Renders the finished canvas as the view shows it (client area `client`)
// and saves it as JPEG at `path`. False when it could not be written.
bool WriteSnapshot(const CMyDoc& doc, const QString& path, QSize client);

struct SaveResult {
    bool ok = false;
    QString message; // for the user, when !ok
};

// Writes the project file at `path`. On success the companion JPEG follows
// (its failure is not reported: the project itself is saved), the document
// takes the path and its modified flag is cleared. On failure the document
// is untouched, modified flag included.
SaveResult SaveProject(CMyDoc& doc, const QString& path, QSize client);

} // namespace mc::canvas
