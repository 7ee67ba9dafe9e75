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

// The shipped tile patterns where ProgramData.h finds them (beside the
// installed program, else the source tree's resources/tiles); empty when
// that folder does not exist.
QString tileFolder();

} // namespace mc::platform
