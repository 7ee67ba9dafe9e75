#pragma once
// Set Wallpaper from start to end: render the picture, write the wallpaper
// file, record the two placement values with the desktop and install the
// file there.
#include "platform/DesktopBackend.h"
#include "wallpaper/WallpaperLayout.h"

#include <QSize>
#include <QString>

class CMyDoc;

namespace mc::wallpaper {

struct SetWallpaperResult {
    bool ok = false;
    QString path;  // the file written (empty when rendering failed)
    QString error; // for the user, when !ok
};

// Renders `doc` for `layout` at `requested` size, writes the file in
// `directory` (the program's data folder) and installs it with `backend`.
// The backend is read first for the desktop colour and the picture it shows.
// A file that cannot be written is reported and nothing is installed.
SetWallpaperResult SetWallpaper(CMyDoc& doc, platform::DesktopBackend& backend, QSize screenSize,
                                QSize clientSize, const QString& directory, QSize requested,
                                WallpaperLayout layout);

} // namespace mc::wallpaper
