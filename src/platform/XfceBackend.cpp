#include "platform/XfceBackend.h"

#include "platform/Process.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace mc::platform {

namespace {

const QString kTool = QStringLiteral("xfconf-query");
const QString kChannel = QStringLiteral("xfce4-desktop");

ProcessResult query(const QStringList& args)
{
    return runProcess(kTool, QStringList{QStringLiteral("-c"), kChannel} + args);
}

QStringList listProperties()
{
    const ProcessResult r = query({QStringLiteral("-l")});
    if (!r.ok())
        return {};
    return r.out.split(u'\n', Qt::SkipEmptyParts);
}

ProcessResult setProperty(const QString& property, const QString& type, const QString& value, bool exists)
{
    QStringList args{QStringLiteral("-p"), property};
    if (!exists)
        args << QStringLiteral("-n") << QStringLiteral("-t") << type;
    args << QStringLiteral("-s") << value;
    return query(args);
}

} // namespace

int XfceBackend::imageStyle(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Centered:
        return 1;
    case WallpaperMode::Tiled:
        return 2;
    case WallpaperMode::Stretched:
        break;
    }
    return 3;
}

WallpaperMode XfceBackend::modeFromImageStyle(int style)
{
    if (style == 1)
        return WallpaperMode::Centered;
    if (style == 2)
        return WallpaperMode::Tiled;
    return WallpaperMode::Stretched; // stretched, scaled, zoomed, spanning
}

QStringList XfceBackend::backdropFolders(const QStringList& properties)
{
    static const QRegularExpression folder(QStringLiteral("^(/backdrop/screen\\d+/monitor[^/]+/workspace\\d+)/"));
    QSet<QString> found;
    for (const QString& p : properties) {
        const QRegularExpressionMatch m = folder.match(p.trimmed());
        if (m.hasMatch())
            found.insert(m.captured(1));
    }
    QStringList out(found.begin(), found.end());
    out.sort();
    return out;
}

std::optional<COLORREF> XfceBackend::parseColorArray(const QString& output)
{
    QList<double> values;
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = line.trimmed().toDouble(&ok);
        if (ok)
            values << v;
    }
    if (values.size() < 3)
        return std::nullopt;
    // rgba1 holds fractions; the older color1 holds 16-bit integers.
    const bool fractions = values[0] <= 1.0 && values[1] <= 1.0 && values[2] <= 1.0
        && output.contains(u'.');
    const auto channel = [&](double v) {
        const double scaled = fractions ? v * 255.0 : v / 257.0;
        return COLORREF(std::clamp(int(scaled + 0.5), 0, 255));
    };
    return channel(values[0]) | (channel(values[1]) << 8) | (channel(values[2]) << 16);
}

DesktopSettings XfceBackend::read() const
{
    DesktopSettings result;
    result.desktopColor = kFallbackDesktopColor;
    const QStringList properties = listProperties();
    const QStringList folders = backdropFolders(properties);
    if (folders.isEmpty())
        return result;
    const QString folder = folders.first();
    const ProcessResult image = query({QStringLiteral("-p"), folder + QStringLiteral("/last-image")});
    if (image.ok())
        result.wallpaperPath = image.out;
    const ProcessResult style = query({QStringLiteral("-p"), folder + QStringLiteral("/image-style")});
    if (style.ok()) {
        const PlacementValues v = placementValuesFor(modeFromImageStyle(style.out.toInt()));
        result.tileWallpaper = v.tileWallpaper;
        result.wallpaperStyle = v.wallpaperStyle;
    }
    for (const char* key : {"/rgba1", "/color1"}) {
        if (!properties.contains(folder + QString::fromLatin1(key)))
            continue;
        const ProcessResult c = query({QStringLiteral("-p"), folder + QString::fromLatin1(key)});
        if (const auto color = c.ok() ? parseColorArray(c.out) : std::nullopt) {
            result.desktopColor = *color;
            break;
        }
    }
    return result;
}

InstallResult XfceBackend::install(const QString& path, const QString& tileWallpaper,
                                   const QString& wallpaperStyle)
{
    if (!haveProgram(kTool))
        return {false, QStringLiteral("The wallpaper could not be set on Xfce: xfconf-query was not found.")};
    const QStringList properties = listProperties();
    QStringList folders = backdropFolders(properties);
    // A fresh session may list nothing yet: xfdesktop's first monitor.
    if (folders.isEmpty())
        folders << QStringLiteral("/backdrop/screen0/monitor0/workspace0");
    const QString style = QString::number(imageStyle(modeFromPlacementValues(tileWallpaper, wallpaperStyle)));
    for (const QString& folder : folders) {
        const QString styleKey = folder + QStringLiteral("/image-style");
        const QString imageKey = folder + QStringLiteral("/last-image");
        // The style first, so the desktop lays the new picture out by it.
        const ProcessResult s = setProperty(styleKey, QStringLiteral("int"), style, properties.contains(styleKey));
        const ProcessResult i = s.ok()
            ? setProperty(imageKey, QStringLiteral("string"), path, properties.contains(imageKey))
            : s;
        if (!i.ok()) {
            const QString detail = i.err.isEmpty() ? QStringLiteral("xfconf-query failed") : i.err;
            return {false, QStringLiteral("The wallpaper could not be set on Xfce: %1").arg(detail)};
        }
    }
    return {true, {}};
}

} // namespace mc::platform
