#include "platform/SwayBackend.h"

#include "platform/KeyFileBackend.h"
#include "platform/Process.h"

namespace mc::platform {

QString SwayBackend::backgroundMode(WallpaperMode mode)
{
    return modeWord(mode);
}

QString SwayBackend::quotePath(const QString& path)
{
    // Inner layer, for the shell-like expansion: one single-quoted word; a
    // single quote leaves the quotes as '\'' and a double quote as '\"' (a
    // bare " would end sway's own quoting below).
    QString word = QStringLiteral("'");
    for (const QChar c : path) {
        if (c == u'\'')
            word += QStringLiteral("'\\''");
        else if (c == u'"')
            word += QStringLiteral("'\\\"'");
        else
            word += c;
    }
    word += u'\'';
    // Outer layer, for sway's command splitting: double quotes, which sway
    // strips again; blanks, ';' and ',' inside them stay part of the argument.
    return u'"' + word + u'"';
}

DesktopSettings SwayBackend::read() const
{
    // sway cannot be asked; what this program installed last is recorded in
    // its own key file.
    DesktopSettings s = KeyFileBackend().read();
    s.desktopColor = kFallbackDesktopColor;
    return s;
}

InstallResult SwayBackend::install(const QString& path, const QString& tileWallpaper,
                                   const QString& wallpaperStyle)
{
    const QString mode = backgroundMode(modeFromPlacementValues(tileWallpaper, wallpaperStyle));
    const ProcessResult r = runProcess(QStringLiteral("swaymsg"),
                                       {QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"),
                                        quotePath(path), mode});
    if (r.ok()) {
        KeyFileBackend().install(path, tileWallpaper, wallpaperStyle);
        return {true, {}};
    }
    QString detail = !r.started ? QStringLiteral("swaymsg could not be started") : r.err;
    if (detail.isEmpty())
        detail = r.out.isEmpty() ? QStringLiteral("swaymsg failed") : r.out;
    return {false, QStringLiteral("The wallpaper could not be set on sway: %1").arg(detail)};
}

} // namespace mc::platform
