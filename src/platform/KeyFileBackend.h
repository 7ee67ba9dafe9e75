#pragma once
// The desktop backend used when no desktop is recognised (or
// MURALCRAFTER_DESKTOP=file): the values live in the group
// "Control Panel/Desktop" of the program's own key file, under the names
// "Wallpaper", "TileWallpaper", "WallpaperStyle" and "Background" (the
// desktop colour as "R G B"; "#rrggbb" is read too). Nothing on screen
// changes; whatever shows the desktop can read the file. Chosen by name the
// file is all that is asked for; standing in for a desktop that was not
// recognised, an install writes the file and still reports that the desktop
// was not told.
#include "platform/DesktopBackend.h"

namespace mc::platform {

class KeyFileBackend : public DesktopBackend {
public:
    enum class Role { Chosen, StandIn };
    // `path` empty: keyFileBackendPath().
    explicit KeyFileBackend(QString path = {}, Role role = Role::Chosen);

    QString name() const override { return QStringLiteral("file"); }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    const QString& filePath() const { return m_path; }

    static constexpr char kGroup[] = "Control Panel/Desktop";
    static constexpr char kWallpaperKey[] = "Wallpaper";
    static constexpr char kTileKey[] = "TileWallpaper";
    static constexpr char kStyleKey[] = "WallpaperStyle";
    static constexpr char kColorKey[] = "Background";

private:
    QString m_path;
    Role m_role;
};

} // namespace mc::platform
