#pragma once
// LXQt: pcmanfm-qt draws the desktop. Installing goes through
// `pcmanfm-qt --set-wallpaper FILE --wallpaper-mode MODE`; reading takes
// pcmanfm-qt's settings file of the "lxqt" profile (else "default").
#include "platform/DesktopBackend.h"
#include "platform/WallpaperMode.h"

namespace mc::platform {

class LxqtBackend : public DesktopBackend {
public:
    QString name() const override { return QStringLiteral("lxqt"); }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    // pcmanfm-qt's modes: center, tile, stretch (fit and zoom read as stretch).
    static QString wallpaperMode(WallpaperMode mode);
    static WallpaperMode modeFromWallpaperMode(const QString& mode);

    // Reads one pcmanfm-qt settings.conf.
    static DesktopSettings readSettingsFile(const QString& file);
};

} // namespace mc::platform
