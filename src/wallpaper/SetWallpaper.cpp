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
    result.error = installed.error;
    return result;
}

} // namespace mc::wallpaper
