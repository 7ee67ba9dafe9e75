#include "platform/LxqtBackend.h"

#include "platform/DesktopColor.h"
#include "platform/Process.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace mc::platform {

QString LxqtBackend::wallpaperMode(WallpaperMode mode)
{
    return modeWord(mode);
}

WallpaperMode LxqtBackend::modeFromWallpaperMode(const QString& mode)
{
    const QString m = mode.trimmed().toLower();
    if (m == u"center")
        return WallpaperMode::Centered;
    if (m == u"tile")
        return WallpaperMode::Tiled;
    return WallpaperMode::Stretched;
}

DesktopSettings LxqtBackend::readSettingsFile(const QString& file)
{
    DesktopSettings result;
    result.desktopColor = kFallbackDesktopColor;
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Desktop"));
    const QString mode = settings.value(QStringLiteral("WallpaperMode")).toString();
    // Mode "color" shows no picture at all.
    if (mode.compare(QStringLiteral("color"), Qt::CaseInsensitive) != 0)
        result.wallpaperPath = settings.value(QStringLiteral("Wallpaper")).toString();
    if (!mode.isEmpty()) {
        const PlacementValues v = placementValuesFor(modeFromWallpaperMode(mode));
        result.tileWallpaper = v.tileWallpaper;
        result.wallpaperStyle = v.wallpaperStyle;
    }
    if (const auto color = parseColorText(settings.value(QStringLiteral("BgColor")).toString()))
        result.desktopColor = *color;
    return result;
}

DesktopSettings LxqtBackend::read() const
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pcmanfm-qt/");
    for (const char* profile : {"lxqt", "default"}) {
        const QString file = base + QString::fromLatin1(profile) + QStringLiteral("/settings.conf");
        if (QFileInfo::exists(file))
            return readSettingsFile(file);
    }
    DesktopSettings none;
    none.desktopColor = kFallbackDesktopColor;
    return none;
}

InstallResult LxqtBackend::install(const QString& path, const QString& tileWallpaper,
                                   const QString& wallpaperStyle)
{
    const QString mode = wallpaperMode(modeFromPlacementValues(tileWallpaper, wallpaperStyle));
    const ProcessResult r = runProcess(QStringLiteral("pcmanfm-qt"),
                                       {QStringLiteral("--set-wallpaper"), path, QStringLiteral("--wallpaper-mode"), mode});
    if (r.ok())
        return {true, {}};
    const QString detail = !r.started ? QStringLiteral("pcmanfm-qt could not be started")
                                      : (r.err.isEmpty() ? QStringLiteral("pcmanfm-qt failed") : r.err);
    return {false, QStringLiteral("The wallpaper could not be set on LXQt: %1").arg(detail)};
}

} // namespace mc::platform
