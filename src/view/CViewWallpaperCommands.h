#pragma once
// Puts the seven Set Wallpaper commands on a view: the picture is made for
// the view's captured client area, failures are shown in a message box. It
// is a child of the view and lives as long as it (so it never detaches: the
// view's target list is gone by the time its children are destroyed).
#include "wallpaper/WallpaperCommands.h"

#include <QObject>

class CMyView;

class CViewWallpaperCommands : public QObject {
    Q_OBJECT
public:
    // Attaches to `view`, whose document must already be set.
    explicit CViewWallpaperCommands(CMyView* view);

    mc::wallpaper::WallpaperCommands& Commands() { return m_commands; }

private:
    mc::wallpaper::WallpaperCommands m_commands;
};
