#pragma once
// Writing a project file: the bytes of the whole project, the file written
// whole or not at all (a failed save never damages an existing file), and
// the name of the companion JPEG beside it.
#include <QByteArray>
#include <QString>

class CMyDoc;

namespace mc::document {

// The complete file contents: header, then one record per item from the
// top of the stack to the bottom.
QByteArray SerializeProject(const CMyDoc& doc);

struct WriteResult {
    bool ok = false;
    QString message; // for the user, when !ok
};

// Writes SerializeProject(doc) to `path`, replacing the file only when every
// byte was written. The document is not changed.
WriteResult WriteProjectFile(const CMyDoc& doc, const QString& path);

// "Beach.mcr" -> "Beach.jpg": ".jpg" takes the place of the file name's
// extension, or follows the name when it has none. Never answers `path`
// itself, so a project named "x.jpg" does not overwrite itself.
QString CompanionPicturePath(const QString& projectPath);

} // namespace mc::document
