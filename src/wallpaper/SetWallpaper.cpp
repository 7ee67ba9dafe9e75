#include "wallpaper/SetWallpaper.h"

#include "document/CMyDoc.h"
#include "wallpaper/WallpaperFile.h"
#include "wallpaper/WallpaperRender.h"

namespace mc::wallpaper {

SetWallpaperResult SetWallpaper(CMyDoc& doc, platform::DesktopBackend& backend, QSize screenSize,
                                QSize clientSize, const QString& directory, QSize requested,
                                WallpaperLayout layout)
{
    SetWallpaperResult result;
    const platform::DesktopSettings desktop = backend.read();

    const WallpaperContext context{screenSize, clientSize, desktop.desktopColor};
    const QImage picture = RenderWallpaper(doc, context, requested, layout);
    if (picture.isNull()) {
        result.error = QStringLiteral("The wallpaper picture could not be made (%1 x %2).")
                           .arg(requested.width())
                           .arg(requested.height());
        return result;
    }

    if (directory.isEmpty()) {
        result.error = QStringLiteral("The program's data folder could not be created.");
        return result;
    }
    result.path = ChooseWallpaperFile(WallpaperFilesIn(directory), doc.m_strBkPath, desktop.wallpaperPath);
    if (!WriteWallpaperFile(picture, result.path, &result.error))
        return result;

    const platform::InstallResult installed
        = backend.install(result.path, TileWallpaperValue(layout), WallpaperStyleValue(layout));
    result.ok = installed.ok;
    if (!installed.ok) {
        // The file is there; only the desktop does not show it.
        result.error = QStringLiteral("The wallpaper picture was written to %1, but this desktop could not be told "
                                      "to show it.")
                           .arg(result.path);
        if (!installed.error.isEmpty())
            result.error += u'\n' + installed.error;
    }
    return result;
}

} // namespace mc::wallpaper
