#pragma once
// sway: `swaymsg output '*' bg FILE MODE` sets the picture on every output.
// swaymsg hands its arguments to sway as one command line, which sway splits
// itself (quotes, ';' and ',') and whose file name it then expands like a
// shell word, so the path goes quoted for both. sway offers no way to read
// the picture back: the program records what it installed in its key file.
#include "platform/DesktopBackend.h"
#include "platform/WallpaperMode.h"

namespace mc::platform {

class SwayBackend : public DesktopBackend {
public:
    QString name() const override { return QStringLiteral("sway"); }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    // sway's modes: center, tile, stretch.
    static QString backgroundMode(WallpaperMode mode);
    // `path` as one sway command argument that sway turns back into `path`.
    static QString quotePath(const QString& path);
};

} // namespace mc::platform
