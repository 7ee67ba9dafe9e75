#pragma once
// The wallpaper file in the program's data folder: "muralcrafter.bmp", or
// "muralcraftr.bmp" when the other name is in use.
//
// A name is in use when the project's background picture is that file (the
// background would otherwise change under the project) or when the desktop
// shows that file now (desktops that cache the picture by its path would
// show nothing new). Only the file name is lower case; the folder stays as
// it is, since on a case-sensitive file system a lower-cased folder is
// another folder. When the background is one file and the desktop shows
// the other, "muralcrafter2.bmp" is written so that neither is harmed.
#include <QImage>
#include <QString>

namespace mc::wallpaper {

struct WallpaperFileNames {
    QString primary;   // dir/muralcrafter.bmp
    QString alternate; // dir/muralcraftr.bmp
    QString spare;     // dir/muralcrafter2.bmp
};

WallpaperFileNames WallpaperFilesIn(const QString& directory);

// True when two paths name the same file, ignoring case.
bool SameWallpaperPath(const QString& a, const QString& b);

// The file to write, given the project's background path and the picture the
// desktop shows now (either may be empty).
QString ChooseWallpaperFile(const WallpaperFileNames& names, const QString& backgroundPath,
                            const QString& shownPath);

// Writes `image` as a BMP file: first to a temporary file in the same
// folder, then renamed over `path`, so that no desktop ever reads half a
// picture. On failure the old file is untouched and `error` says why.
bool WriteWallpaperFile(const QImage& image, const QString& path, QString* error);

} // namespace mc::wallpaper
