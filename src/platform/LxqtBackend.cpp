#include "platform/LxqtBackend.h"

#include "platform/DesktopColor.h"
#include "platform/KeyFile.h"
#include "platform/Process.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace mc::platform {

namespace {

QStringList profileFiles()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/pcmanfm-qt/");
    QStringList files;
    for (const char* profile : {"lxqt", "default"})
        files << base + QString::fromLatin1(profile) + QStringLiteral("/settings.conf");
    return files;
}

// pcmanfm-qt 1.2 shows a picture in the mode it is given but records the
// mode it had before, so that its next start shows another placement (or,
// with "none", no picture at all). The profile that has just recorded the
// picture gets the mode put right.
void recordMode(const QString& path, const QString& mode)
{
    const QString group = QStringLiteral("Desktop");
    for (const QString& file : profileFiles()) {
        QSettings settings(file, QSettings::IniFormat);
        if (settings.value(group + QStringLiteral("/Wallpaper")).toString() != path
            || settings.value(group + QStringLiteral("/WallpaperMode")).toString() == mode)
            continue;
        KeyFile keys;
        if (keys.load(file)) {
            keys.setValue(group, QStringLiteral("WallpaperMode"), mode);
            keys.save(file);
        }
    }
}

} // namespace

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
    // Mode "none" shows the colour only.
    if (mode.compare(QStringLiteral("none"), Qt::CaseInsensitive) != 0)
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
    for (const QString& file : profileFiles())
        if (QFileInfo::exists(file))
            return readSettingsFile(file);
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
    if (r.ok()) {
        recordMode(path, mode);
        return {true, {}};
    }
    const QString detail = !r.started ? QStringLiteral("pcmanfm-qt could not be started")
                                      : (r.err.isEmpty() ? QStringLiteral("pcmanfm-qt failed") : r.err);
    return {false, QStringLiteral("The wallpaper could not be set on LXQt: %1").arg(detail)};
}

} // namespace mc::platform
