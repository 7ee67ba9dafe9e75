#pragma once
// The seven Set Wallpaper layouts, their commands and the two desktop
// values each one writes.
#include <QSize>
#include <QString>

#include <optional>

namespace mc::wallpaper {

enum class WallpaperLayout : int {
    Stretched = 0,
    Centered = 1,
    Tiled = 2,
    LeftAlign = 3,
    RightAlign = 4,
    TopAlign = 5,
    BottomAlign = 6,
};

// The layout a Set Wallpaper command ID (192..194, 231..234) stands for.
std::optional<WallpaperLayout> LayoutForCommand(int id);

// "TileWallpaper" and "WallpaperStyle": "1" / "1" for Tiled, "0" / "0" for
// every other layout (the picture of those is screen-sized or centred).
QString TileWallpaperValue(WallpaperLayout layout);
QString WallpaperStyleValue(WallpaperLayout layout);

// The size a layout's picture is asked for: the screen for Stretched, the
// canvas for every other layout.
QSize RequestedWallpaperSize(WallpaperLayout layout, QSize screen, QSize canvas);

} // namespace mc::wallpaper
