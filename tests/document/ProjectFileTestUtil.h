#pragma once
// Shared by the project file tests: projects with real picture files, and a
// fingerprint of everything a project holds so that "left untouched" can be
// checked field for field.
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

// Everything stored in a project (and the item objects' identities, path
// and modified flag), as text to compare.
QString fingerprint(const CMyDoc& doc);

// Writes `bytes` to a fresh file and returns its path.
QString writeBytes(const QByteArray& bytes, const QString& name = QStringLiteral("p.mcr"));

} // namespace mctest
