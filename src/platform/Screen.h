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

// True when the application runs on a real display (not the offscreen or
// minimal platform, whose screens are made up) that has a screen.
bool hasRealScreen();

// Fixes the size for the rest of the run (the --screen option, tests). Later
// calls of screenSize() answer it. An invalid size is ignored.
void overrideScreenSize(QSize size);

// The largest screen or client side a size given on the command line or in
// MURALCRAFTER_SCREEN may have: beyond it no display exists, a screen-sized
// picture would take gigabytes, and the painting code's pixel coordinates
// would leave the range it handles exactly.
constexpr int kMaxScreenSide = 32768;

// Parses "WxH" (also "W x H", "WXH"); both parts must be positive decimal
// numbers of at most kMaxScreenSide. Anything else gives an invalid QSize.
QSize parseSize(const QString& text);

// How a size given as text must look, for usage messages.
QString sizeUsage();

// The usage message when MURALCRAFTER_SCREEN is set but is no valid size
// (screenSize() would ignore it); empty when it is unset or valid.
QString screenVariableError();

// The size used when no screen can be asked.
constexpr int kFallbackScreenWidth = 1024;
constexpr int kFallbackScreenHeight = 768;

} // namespace mc::platform
