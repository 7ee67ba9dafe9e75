#pragma once
// The desktop the program runs on: where its wallpaper settings are read
// from and how a wallpaper is installed. Every desktop family has a backend;
// the values "TileWallpaper" and "WallpaperStyle" keep their meaning ("1" /
// "1" tiles, "0" / "0" centres, "0" / "2" stretches) and each backend
// translates them to its own options.
#include "imaging/Colors.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace mc::platform {

// What a new project takes from the desktop. Reading never fails: values
// that cannot be read are empty strings.
struct DesktopSettings {
    QString wallpaperPath;
    QString tileWallpaper;
    QString wallpaperStyle;
    COLORREF desktopColor = 0;
};

// The colour used when a desktop offers none (a dark slate blue).
constexpr COLORREF kFallbackDesktopColor = 0x00804020;

struct InstallResult {
    bool ok = false;
    QString error; // for the user, when !ok
};

class DesktopBackend {
public:
    virtual ~DesktopBackend() = default;

    // The name MURALCRAFTER_DESKTOP accepts for it: gnome, cinnamon, mate,
    // kde, xfce, lxqt, sway, x11 or file.
    virtual QString name() const = 0;

    virtual DesktopSettings read() const = 0;

    // Records the two placement values, then installs `path` as the wallpaper.
    virtual InstallResult install(const QString& path, const QString& tileWallpaper,
                                  const QString& wallpaperStyle) = 0;
};

// The backend for this session: MURALCRAFTER_DESKTOP when set, else
// XDG_CURRENT_DESKTOP and the tools present, else a bare sway or X11 session
// (SWAYSOCK, DISPLAY) with its tools, else the key-file backend standing in
// for a desktop it cannot tell (its installs fail after writing the file).
std::unique_ptr<DesktopBackend> detectDesktopBackend();

// A backend by its name (case-insensitive); null for an unknown name.
std::unique_ptr<DesktopBackend> createDesktopBackend(const QString& name);

// The family name for an XDG_CURRENT_DESKTOP value (colon-separated,
// case-insensitive, first recognised entry wins): "gnome" for GNOME, Unity,
// Budgie and ubuntu; "cinnamon", "mate", "kde", "xfce", "lxqt", "sway";
// empty when nothing is recognised.
QString desktopFamilyFromXdg(const QString& xdgCurrentDesktop);

// True for the families whose settings live in gsettings.
bool isGSettingsFamily(const QString& family);

// The program's own data folder ($XDG_DATA_HOME/muralcrafter), created when
// needed.
QString dataDirectory();

// The config file of the key-file backend ($XDG_CONFIG_HOME/muralcrafter/desktop.conf).
QString keyFileBackendPath();

} // namespace mc::platform
