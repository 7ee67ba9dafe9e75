#pragma once
// Shared by the project file tests: projects with real picture files, a
// fingerprint of everything a project holds so that "left untouched" can be
// checked in one comparison, and the fuzzer's seed corpus.
#include "document/CMyDoc.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace mctest {

// A project on an empty desktop: black, Stretch, screen-sized, no picture.
std::unique_ptr<CMyDoc> emptyProject();

// Adds an item made from `path` on top of the stack; null when unreadable.
Card* addItem(CMyDoc& doc, const QString& path);

// Everything stored in a project, the path and modified flag, and with
// `identities` the item objects' addresses, as text to compare.
QString fingerprint(const CMyDoc& doc, bool identities = true);

// Writes `bytes` to a fresh file and returns its path.
QString writeBytes(const QByteArray& bytes, const QString& name = QStringLiteral("p.mcr"));

// A saved project with a background path and two items, the top one cut
// into an ellipse, and where its parts sit.
struct SavedProject {
    QByteArray bytes, shape; // the file; the top item's shape blob
    QString top, bottom;     // the items' paths
    qsizetype countAt = 0;   // the item count
    qsizetype fieldsAt = 0;  // the top record's fields after its path
    qsizetype shapeAt = 0;   // the top record's shape size
};
SavedProject savedProject();

// With MC_FUZZ_SEED_DIR set, keeps `bytes` there as seed `name` of the
// fuzzer's corpus (scripts/fuzz.sh).
void keepSeed(const QString& name, const QByteArray& bytes);
// The project's bytes followed by its items' pictures in stack order, each
// behind the fuzz target's marker; the items are pointed at "0", "1", ... in
// a folder that does not exist, so the reader finds them beside the project.
QByteArray withPictures(CMyDoc& doc);

} // namespace mctest
