// Where the program keeps its own desktop files.
#include "platform/DesktopBackend.h"

#include <QDir>
#include <QStandardPaths>

namespace mc::platform {

namespace {
QString programFolder(QStandardPaths::StandardLocation base)
{
    const QString dir = QStandardPaths::writableLocation(base) + QStringLiteral("/muralcrafter");
    QDir().mkpath(dir); // failure shows later as a file that cannot be written
    return dir;
}
} // namespace

QString dataDirectory()
{
    return programFolder(QStandardPaths::GenericDataLocation);
}

QString keyFileBackendPath()
{
    return programFolder(QStandardPaths::GenericConfigLocation) + QStringLiteral("/desktop.conf");
}

} // namespace mc::platform
