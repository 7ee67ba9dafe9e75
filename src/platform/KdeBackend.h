#pragma once
// KDE Plasma. Installing asks plasma-apply-wallpaperimage (Plasma 6.2 and
// later know its fill mode) and otherwise plasmashell's scripting interface
// over D-Bus, which sets picture and fill mode on every desktop. Reading
// takes the first image wallpaper of plasmashell's own config file.
#include "platform/DesktopBackend.h"
#include "platform/WallpaperMode.h"

namespace mc::platform {

class KdeBackend : public DesktopBackend {
public:
    QString name() const override { return QStringLiteral("kde"); }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    // Plasma's fill modes (the picture element's fill modes): Stretch 0,
    // Tile 3, Pad (centred) 6, with the names plasma-apply-wallpaperimage takes.
    static int fillModeValue(WallpaperMode mode);
    static QString fillModeName(WallpaperMode mode);
    static WallpaperMode modeFromFillMode(int fillMode);

    // The plasmashell script that sets `path` with `mode` on every desktop.
    static QString plasmaScript(const QString& path, WallpaperMode mode);
    // A JavaScript string literal holding exactly `text`.
    static QString javaScriptString(const QString& text);

    // ~/.config/plasma-org.kde.plasma.desktop-appletsrc
    static QString appletsConfigPath();
    // The first image wallpaper of that file's text.
    static DesktopSettings parseAppletsConfig(const QString& text);
};

} // namespace mc::platform
