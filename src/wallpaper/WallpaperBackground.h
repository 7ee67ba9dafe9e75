#pragma once
// The project's background drawn afresh into one rectangle of a wallpaper
// picture, for the layouts that do not copy the view's background layer.
#include <QRect>

class CMyDoc;
class QPainter;

namespace mc::wallpaper {

// Draws the background into `rect`: no picture, the background colour;
// Stretch, the picture filling the rectangle; Tile, the picture at its own
// size with a tile starting at the rectangle's top-left corner; Center, the
// colour and then the picture scaled by (rx, ry) and centred. An unknown
// placement draws nothing. The caller clips to `rect`.
void DrawWallpaperBackground(QPainter& painter, const CMyDoc& doc, const QRect& rect, double rx = 1.0,
                             double ry = 1.0);

} // namespace mc::wallpaper
