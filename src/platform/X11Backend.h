#pragma once
// Plain X11 without a desktop of its own: the root window's picture is set
// by feh or, without it, by xwallpaper. feh records what it did in ~/.fehbg,
// which is also where the current picture is read back from. xwallpaper
// reads no BMP files, so it gets a PNG copy written beside the wallpaper, and
// keeps no record, so the program records what it installed in its key file.
#include "platform/DesktopBackend.h"
#include "platform/WallpaperMode.h"

namespace mc::platform {

class X11Backend : public DesktopBackend {
public:
    QString name() const override { return QStringLiteral("x11"); }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    // The tool's option for a mode: feh --bg-center/--bg-tile/--bg-scale,
    // xwallpaper --center/--tile/--stretch.
    static QString fehOption(WallpaperMode mode);
    static QString xwallpaperOption(WallpaperMode mode);

    // The picture and mode of a ~/.fehbg script; an empty path when none.
    static DesktopSettings parseFehBg(const QString& script);
};

} // namespace mc::platform
