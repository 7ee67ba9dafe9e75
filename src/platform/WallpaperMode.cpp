#include "platform/WallpaperMode.h"

namespace mc::platform {

WallpaperMode modeFromPlacementValues(const QString& tileWallpaper, const QString& wallpaperStyle)
{
    if (tileWallpaper == u"1")
        return WallpaperMode::Tiled;
    if (tileWallpaper != u"0")
        return WallpaperMode::Stretched;
    return wallpaperStyle == u"0" ? WallpaperMode::Centered : WallpaperMode::Stretched;
}

PlacementValues placementValuesFor(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Tiled:
        return {QStringLiteral("1"), QStringLiteral("1")};
    case WallpaperMode::Centered:
        return {QStringLiteral("0"), QStringLiteral("0")};
    case WallpaperMode::Stretched:
        break;
    }
    return {QStringLiteral("0"), QStringLiteral("2")};
}

QString modeWord(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Centered:
        return QStringLiteral("center");
    case WallpaperMode::Tiled:
        return QStringLiteral("tile");
    case WallpaperMode::Stretched:
        break;
    }
    return QStringLiteral("stretch");
}

} // namespace mc::platform
