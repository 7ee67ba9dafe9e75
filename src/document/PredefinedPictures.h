#pragma once
// Which pictures of the two predefined folders are offered, and which
// canvas-size presets suit a screen. Pictures are judged by their headers
// only, so that listing a folder of large photos costs next to nothing.
#include <QSize>
#include <QString>

#include <vector>

namespace mc::document {

struct PredefinedPicture {
    QString path;  // full path of the picture file
    QString title; // its menu text
};

// True when the text after the last "." of `fullPath`, in lower case, is
// bmp, jpg, jpeg, gif, png, tif or dib. The whole path counts, so a file
// without extension in a folder with a dot in its name is judged by the
// text after that dot.
bool HasPictureExtension(const QString& fullPath);

// The readable pictures of the wallpaper folder, sorted by file name (a
// stored index must find the same picture on the next run), titled by file
// name without extension. A subfolder adds its own pictures, one level
// deep; a wallpaper package (a subfolder with contents/images) adds only
// its largest picture, titled by the package's name.
std::vector<PredefinedPicture> ListWallpaperPictures(const QString& dir);

// The square .bmp pictures (any case of the extension) of the tile folder,
// sorted by file name; unreadable files are left out.
std::vector<PredefinedPicture> ListTilePictures(const QString& dir);

// The canvas sizes offered for `screen`: 640 x 480, 800 x 600, 1024 x 768
// and 1280 x 1024 while narrower than the screen; the first preset at least
// as wide as the screen is replaced by the screen size and ends the list.
// Only widths are compared.
std::vector<QSize> CanvasSizePresets(QSize screen);

} // namespace mc::document
