#include "wallpaper/WallpaperFile.h"

#include "platform/AtomicFile.h"

#include <QDir>

namespace mc::wallpaper {

WallpaperFileNames WallpaperFilesIn(const QString& directory)
{
    const QDir dir(directory);
    return {dir.filePath(QStringLiteral("muralcrafter.bmp")), dir.filePath(QStringLiteral("muralcraftr.bmp")),
            dir.filePath(QStringLiteral("muralcrafter2.bmp"))};
}

bool SameWallpaperPath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return QDir::cleanPath(a).compare(QDir::cleanPath(b), Qt::CaseInsensitive) == 0;
}

QString ChooseWallpaperFile(const WallpaperFileNames& names, const QString& backgroundPath,
                            const QString& shownPath)
{
    const auto inUse = [&](const QString& name) {
        return SameWallpaperPath(name, backgroundPath) || SameWallpaperPath(name, shownPath);
    };
    if (!inUse(names.primary))
        return names.primary;
    if (!inUse(names.alternate))
        return names.alternate;
    return names.spare;
}

bool WriteWallpaperFile(const QImage& image, const QString& path, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("The wallpaper file %1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    QString why;
    if (!mc::platform::SaveImageFile(image, path, "image/bmp", &why))
        return fail(why);
    return true;
}

} // namespace mc::wallpaper
