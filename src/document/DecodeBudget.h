#pragma once
// How much memory the decoded pictures of one project may take together:
// opening a project and adding pictures stay within it, so no project file
// or pile of pictures can exhaust memory a picture at a time.
#include <QSize>
#include <QString>

class CMyDoc;

namespace mc::document {

// The budget in bytes (see the definition for the figure and its reason).
qint64 ProjectDecodeBudget();

// Bytes a decoded picture of `size` takes (32-bit pixels).
inline qint64 PictureBytes(QSize size) { return qint64(size.width()) * size.height() * 4; }

// Bytes the project's decoded pictures take now: the background and the
// items' pixels, each shared picture counted once.
qint64 ProjectPictureBytes(const CMyDoc& doc);

// False when the picture at `path` would take the project's pictures past
// `budget`; true for anything else (a file that is no picture included).
bool PictureFitsBudget(const CMyDoc& doc, const QString& path, qint64 budget = ProjectDecodeBudget());

} // namespace mc::document
