#pragma once
// Builds the run-time menus and their command tables (DynamicCommands.h)
// once, at the main window's first activation: the "&Windows Predefined
// Picture" submenu, the "Canvas Size: WxH" items of the "&Background" menu,
// and the placement and shape tables.
#include <QSize>
#include <QString>

class CMainFrame;

// From the system's wallpaper folder, the program's tile folder and the
// screen size of this run.
void BuildDynamicMenus(CMainFrame& frame);

// The same from the given folders (either may be empty: none) and screen.
void BuildDynamicMenus(CMainFrame& frame, const QString& wallpaperDir, const QString& tileDir, QSize screen);
