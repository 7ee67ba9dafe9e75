#pragma once
// The GNOME family of desktops (GNOME, Unity, Budgie; Cinnamon; MATE): the
// wallpaper settings live in gsettings. Every call goes through the
// `gsettings` tool with an argument list; values are written as quoted
// GVariant literals so that no path can be mistaken for another value.
//
// The two placement strings map onto "picture-options":
//   'wallpaper' <-> TileWallpaper "1" (read as "1" / "0");
//   'centered'  <-> "0" / "0";
//   'stretched', 'scaled', 'zoom', 'spanned' -> "0" / "2" (written:
//   style "6" scaled, "10" zoom, "22" spanned, anything else stretched);
//   'none' means no picture: the path reads as empty.
//
// On GNOME the dark-style picture ("picture-uri-dark") is the one read when
// the interface prefers a dark colour scheme, as that is what the desktop
// shows then; installing sets both pictures.
#include "platform/DesktopBackend.h"

#include <QMap>

#include <optional>
#include <utility>

namespace mc::platform {

// Where one family keeps its wallpaper.
struct GSettingsSchema {
    QString family;        // the backend's name(): "gnome", "cinnamon", "mate"
    QString schema;        // e.g. "org.gnome.desktop.background"
    QString pictureKey;    // "picture-uri" or, for MATE, "picture-filename"
    bool pictureIsUri = true; // false: the key holds a plain path
    QString darkPictureKey;   // empty when the family has none
    QString optionsKey = QStringLiteral("picture-options");
    QString colorKey = QStringLiteral("primary-color");
};

// The schema of "gnome", "cinnamon" or "mate"; nullopt for other names.
std::optional<GSettingsSchema> gsettingsSchemaFor(const QString& family);

class GSettingsBackend : public DesktopBackend {
public:
    explicit GSettingsBackend(GSettingsSchema schema);

    QString name() const override { return m_schema.family; }
    DesktopSettings read() const override;
    InstallResult install(const QString& path, const QString& tileWallpaper,
                          const QString& wallpaperStyle) override;

    const GSettingsSchema& schema() const { return m_schema; }

    // "picture-options" <-> the two placement strings (see above).
    static std::pair<QString, QString> placementFromOptions(const QString& options);
    static QString optionsFromPlacement(const QString& tileWallpaper, const QString& wallpaperStyle);

    // file:// URI <-> local path. A URI of another scheme gives an empty
    // path; a bare absolute path is taken as it is.
    static QString uriToPath(const QString& uri);
    static QString pathToUri(const QString& path);

    // Parses `gsettings list-recursively` output: key -> raw GVariant text,
    // for the lines of `schema` only.
    static QMap<QString, QString> parseListing(const QString& listing, const QString& schema);

private:
    bool hasKey(const QString& key) const;
    bool prefersDark() const;

    GSettingsSchema m_schema;
};

} // namespace mc::platform
