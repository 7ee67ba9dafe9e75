#pragma once
// Opening a file that has to be an ordinary file, such as a project. A named
// pipe would block open() until some writer comes, a device such as
// /dev/zero never ends, and a folder is no file: each is refused at once
// with a message saying what it is. The type is checked before opening, and
// again on the opened descriptor, since the name may change in between.
#include <QFile>
#include <QString>

namespace mc::platform {

// Opens `path` read-only into `file` (which must not be open). False, with
// `error` set for the user ("Cannot open PATH: ..."), otherwise.
bool OpenRegularFile(QFile& file, const QString& path, QString* error);

// The same check without opening: false, with `error` set as above, when
// `path` is missing or not an ordinary file.
bool CheckRegularFile(const QString& path, QString* error);

} // namespace mc::platform
