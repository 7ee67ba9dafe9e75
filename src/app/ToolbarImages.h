#pragma once
// The toolbar's button images, 16 x 15 pixels each, drawn in code so that
// they need no image files.
#include <QImage>

namespace mc::app {

constexpr int kButtonImageWidth = 16;
constexpr int kButtonImageHeight = 15;

// The image of the button for command `id`; a blank image for a command
// without a button.
QImage ToolbarImage(int id);

} // namespace mc::app
