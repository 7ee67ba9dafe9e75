#pragma once
// The two folders the predefined pictures come from: the system's wallpaper
// folder and the program's own folder of square tile patterns. Either may be
// missing (an empty string).
#include <QString>

namespace mc::platform {

// MURALCRAFTER_WALLPAPER_DIR when set (set but empty: none), else the first
// existing "backgrounds" folder of $XDG_DATA_DIRS (/usr/local/share and
// /usr/share when unset).
QString systemWallpaperDirectory();

// MURALCRAFTER_TILE_DIR when set (set but empty: none), else tileFolder().
QString tileDirectory();

// The shipped tile patterns: share/muralcrafter/tiles beside the installed
// program (<prefix>/bin/../share/...), else the source tree's
// resources/tiles when run from the build tree; empty when neither exists.
QString tileFolder();

} // namespace mc::platform
