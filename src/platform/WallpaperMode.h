#pragma once
// The three ways a desktop can lay out one picture, and their link to the
// program's two placement strings "TileWallpaper" / "WallpaperStyle":
// "1" tiles whatever the style; "0" with style "0" centres; anything else
// stretches (an unreadable tile value included, as a new project does).
#include <QString>

namespace mc::platform {

enum class WallpaperMode { Centered, Tiled, Stretched };

WallpaperMode modeFromPlacementValues(const QString& tileWallpaper, const QString& wallpaperStyle);

// The two strings that read back as `mode`: "0"/"0", "1"/"1", "0"/"2".
struct PlacementValues {
    QString tileWallpaper;
    QString wallpaperStyle;
};
PlacementValues placementValuesFor(WallpaperMode mode);

// "center", "tile" or "stretch": the words pcmanfm-qt and sway share.
QString modeWord(WallpaperMode mode);

} // namespace mc::platform
