#include "wallpaper/WallpaperFile.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>

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
    if (image.isNull())
        return fail(QStringLiteral("there is no picture"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image)) {
        file.cancelWriting();
        return fail(writer.errorString());
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace mc::wallpaper
