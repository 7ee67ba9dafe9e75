#pragma once
// Pictures that go through the clipboard: an item as the canvas shows it,
// and pasted pictures kept as files, since items always refer to a file.
#include <QImage>
#include <QString>

class Card;

namespace mc::canvas {

// The item as the canvas shows it (zoom, rotation, mirrors, shear, effects
// and cut) on a transparent ground, as large as the bounding rectangle of
// its area. Null when the item has no area or the picture would be larger
// than the program reads (imaging::kMaxImagePixels).
QImage ItemPicture(const Card& card);

// Where pasted pictures are kept: $XDG_DATA_HOME/muralcrafter/pictures.
QString PastedPictureFolder();

// Stores `image` in `folder` (created when needed) as a PNG file named by a
// hash of its bytes, so that the same picture pasted twice is one file: a
// file of that name with the same bytes is used as it is, one with other
// bytes is kept and the next free name ("<hash>-1.png" ...) is taken. The
// path of the file, or empty when it cannot be written (`error` says why).
QString StorePastedPicture(const QImage& image, const QString& folder, QString* error = nullptr);

} // namespace mc::canvas
