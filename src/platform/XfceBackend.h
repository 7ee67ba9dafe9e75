#pragma once
// Xfce: xfdesktop keeps one picture per monitor and workspace in the
// xfconf channel "xfce4-desktop", under
// /backdrop/screenN/monitorNAME/workspaceN/{last-image,image-style}.
// Installing sets both on every monitor and workspace the channel lists,
// creating the properties a monitor lacks.
#include "platform/DesktopBackend.h"
#include "platform/WallpaperMode.h"

namespace mc::platform {

class XfceBackend : public DesktopBackend {
public:
    QString name() const override { return QStringLiteral("xfce"); }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    // xfdesktop's image-style: 1 centred, 2 tiled, 3 stretched.
    static int imageStyle(WallpaperMode mode);
    static WallpaperMode modeFromImageStyle(int style);

    // The monitor/workspace folders ("/backdrop/screen0/monitorHDMI-1/workspace0")
    // found in a property listing, sorted.
    static QStringList backdropFolders(const QStringList& properties);

    // A colour from `xfconf-query -p .../rgba1` (doubles 0..1) or
    // `.../color1` (integers 0..65535) output.
    static std::optional<COLORREF> parseColorArray(const QString& output);
};

} // namespace mc::platform
