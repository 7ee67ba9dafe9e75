#include "platform/ProgramData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mc::platform {

namespace {

// PREFIX/share seen from PREFIX/bin, as the build configured the install.
QString installedShareDir(const QString& programPath)
{
    return QDir::cleanPath(QFileInfo(programPath).absolutePath() + QStringLiteral("/" MC_DATADIR_FROM_BINDIR));
}

} // namespace

QString runningProgramPath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

bool isInstalledProgram(const QString& programPath)
{
    return QFileInfo(installedShareDir(programPath) + QStringLiteral("/applications/" MC_APP_ID ".desktop")).isFile();
}

bool isInstalledProgram()
{
    return isInstalledProgram(runningProgramPath());
}

QString programDataFolder(DataFolder kind, const QString& programPath)
{
    const bool tiles = kind == DataFolder::Tiles;
    if (isInstalledProgram(programPath))
        return installedShareDir(programPath) + (tiles ? QStringLiteral("/muralcrafter/tiles") : QStringLiteral("/muralcrafter/samples"));
    return tiles ? QStringLiteral(MC_SOURCE_DIR "/resources/tiles") : QStringLiteral(MC_SOURCE_DIR "/samples");
}

QString programDataFolder(DataFolder kind)
{
    return programDataFolder(kind, runningProgramPath());
}

} // namespace mc::platform
