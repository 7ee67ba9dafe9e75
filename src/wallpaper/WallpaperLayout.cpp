#include "wallpaper/WallpaperLayout.h"

#include "document/CommandIds.h"

namespace mc::wallpaper {

std::optional<WallpaperLayout> LayoutForCommand(int id)
{
    switch (id) {
    case ID_SET_WALLPAPER_STRETCHED:
        return WallpaperLayout::Stretched;
    case ID_SET_WALLPAPER_CENTERED:
        return WallpaperLayout::Centered;
    case ID_SET_WALLPAPER_TILED:
        return WallpaperLayout::Tiled;
    case ID_SET_WALLPAPER_LEFT_ALIGN:
        return WallpaperLayout::LeftAlign;
    case ID_SET_WALLPAPER_RIGHT_ALIGN:
        return WallpaperLayout::RightAlign;
    case ID_SET_WALLPAPER_TOP_ALIGN:
        return WallpaperLayout::TopAlign;
    case ID_SET_WALLPAPER_BOTTOM_ALIGN:
        return WallpaperLayout::BottomAlign;
    default:
        return std::nullopt;
    }
}

QString TileWallpaperValue(WallpaperLayout layout)
{
    return layout == WallpaperLayout::Tiled ? QStringLiteral("1") : QStringLiteral("0");
}

QString WallpaperStyleValue(WallpaperLayout layout)
{
    return layout == WallpaperLayout::Tiled ? QStringLiteral("1") : QStringLiteral("0");
}

QSize RequestedWallpaperSize(WallpaperLayout layout, QSize screen, QSize canvas)
{
    return layout == WallpaperLayout::Stretched ? screen : canvas;
}

} // namespace mc::wallpaper
