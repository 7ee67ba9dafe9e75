#include "platform/PredefinedFolders.h"

#include "platform/ProgramData.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace mc::platform {

namespace {
bool isDir(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// The override when the variable is set, whether or not it names a folder.
std::optional<QString> overrideFrom(const char* variable)
{
    if (!qEnvironmentVariableIsSet(variable))
        return std::nullopt;
    return qEnvironmentVariable(variable);
}
} // namespace

QString systemWallpaperDirectory()
{
    if (const auto dir = overrideFrom("MURALCRAFTER_WALLPAPER_DIR"))
        return *dir;
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& base : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString dir = QDir::cleanPath(base + QStringLiteral("/backgrounds"));
        if (isDir(dir))
            return dir;
    }
    return {};
}

QString tileDirectory()
{
    if (const auto dir = overrideFrom("MURALCRAFTER_TILE_DIR"))
        return *dir;
    return tileFolder();
}

QString tileFolder()
{
    const QString dir = programDataFolder(DataFolder::Tiles);
    return isDir(dir) ? dir : QString();
}

} // namespace mc::platform
