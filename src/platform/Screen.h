#pragma once
// The screen size, read once per run: the default canvas, the bound of the
// canvas-size dialog and of canvases read from files, the scrollable area and
// the size of screen-sized wallpaper pictures.
#include <QSize>
#include <QString>

namespace mc::platform {

// The primary screen in device pixels, read on the first call and never
// refreshed. MURALCRAFTER_SCREEN=WxH overrides it; without a screen (no
// QGuiApplication or no display) it falls back to 1024 x 768.
QSize screenSize();

// Fixes the size for the rest of the run (the --screen option, tests). Later
// calls of screenSize() answer it.
void overrideScreenSize(QSize size);

// Parses "WxH" with both parts positive; nullopt-like invalid QSize otherwise.
QSize parseSize(const QString& text);

} // namespace mc::platform
