#include "platform/GSettingsBackend.h"

#include "platform/DesktopColor.h"
#include "platform/GVariantText.h"
#include "platform/Process.h"

#include <QFileInfo>
#include <QUrl>

namespace mc::platform {

namespace {

const QString kGSettings = QStringLiteral("gsettings");

// gsettings prints in the locale's charset; outside a UTF-8 locale every
// non-ASCII character of a path would come back as '?'.
const QStringList kUtf8Env = {QStringLiteral("LC_ALL=C.UTF-8")};

ProcessResult gsettings(const QStringList& args)
{
    return runProcess(kGSettings, args, 10000, kUtf8Env);
}

QString stringValue(const QMap<QString, QString>& values, const QString& key)
{
    if (key.isEmpty())
        return {};
    return parseGVariantString(values.value(key)).value_or(QString());
}

} // namespace

std::optional<GSettingsSchema> gsettingsSchemaFor(const QString& family)
{
    const QString f = family.toLower();
    GSettingsSchema s;
    s.family = f;
    if (f == u"gnome") {
        s.schema = QStringLiteral("org.gnome.desktop.background");
        s.pictureKey = QStringLiteral("picture-uri");
        s.darkPictureKey = QStringLiteral("picture-uri-dark");
    } else if (f == u"cinnamon") {
        s.schema = QStringLiteral("org.cinnamon.desktop.background");
        s.pictureKey = QStringLiteral("picture-uri");
    } else if (f == u"mate") {
        s.schema = QStringLiteral("org.mate.background");
        s.pictureKey = QStringLiteral("picture-filename");
        s.pictureIsUri = false;
    } else {
        return std::nullopt;
    }
    return s;
}

GSettingsBackend::GSettingsBackend(GSettingsSchema schema)
    : m_schema(std::move(schema))
{
}

QMap<QString, QString> GSettingsBackend::parseListing(const QString& listing, const QString& schema)
{
    QMap<QString, QString> values;
    const QString prefix = schema + u' ';
    for (const QString& line : listing.split(u'\n')) {
        if (!line.startsWith(prefix))
            continue;
        const qsizetype keyEnd = line.indexOf(u' ', prefix.size());
        if (keyEnd < 0)
            continue;
        values.insert(line.mid(prefix.size(), keyEnd - prefix.size()), line.mid(keyEnd + 1));
    }
    return values;
}

bool GSettingsBackend::prefersDark() const
{
    const ProcessResult r =
        gsettings({QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme")});
    return r.ok() && parseGVariantString(r.out).value_or(QString()) == u"prefer-dark";
}

bool GSettingsBackend::hasKey(const QString& key) const
{
    const ProcessResult r = gsettings({QStringLiteral("list-keys"), m_schema.schema});
    return r.ok() && r.out.split(u'\n').contains(key);
}

DesktopSettings GSettingsBackend::read() const
{
    DesktopSettings s;
    s.desktopColor = kFallbackDesktopColor;
    // One call for all keys; a missing schema or tool leaves everything empty.
    const ProcessResult r = gsettings({QStringLiteral("list-recursively"), m_schema.schema});
    if (!r.ok())
        return s;
    const QMap<QString, QString> values = parseListing(r.out, m_schema.schema);

    QString picture = stringValue(values, m_schema.pictureKey);
    if (!m_schema.darkPictureKey.isEmpty() && values.contains(m_schema.darkPictureKey) && prefersDark()) {
        const QString dark = stringValue(values, m_schema.darkPictureKey);
        if (!dark.isEmpty())
            picture = dark;
    }
    const QString options = stringValue(values, m_schema.optionsKey);
    if (options != u"none")
        s.wallpaperPath = m_schema.pictureIsUri ? uriToPath(picture) : picture;
    std::tie(s.tileWallpaper, s.wallpaperStyle) = placementFromOptions(options);
    s.desktopColor = parseColorText(stringValue(values, m_schema.colorKey)).value_or(kFallbackDesktopColor);
    return s;
}

InstallResult GSettingsBackend::install(const QString& path, const QString& tileWallpaper,
                                        const QString& wallpaperStyle)
{
    if (path.isEmpty())
        return {false, QStringLiteral("No wallpaper file was given.")};
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString picture = m_schema.pictureIsUri ? pathToUri(absolute) : absolute;

    // The placement first, so that the desktop lays the new picture out by it.
    QList<std::pair<QString, QString>> steps = {
        {m_schema.optionsKey, optionsFromPlacement(tileWallpaper, wallpaperStyle)},
        {m_schema.pictureKey, picture},
    };
    // GNOME before 42 has no dark picture; the keys that exist are enough.
    if (!m_schema.darkPictureKey.isEmpty() && hasKey(m_schema.darkPictureKey))
        steps.append({m_schema.darkPictureKey, picture});

    for (const auto& [key, value] : steps) {
        const ProcessResult r =
            gsettings({QStringLiteral("set"), m_schema.schema, key, quoteGVariantString(value)});
        if (!r.started)
            return {false, QStringLiteral("Cannot run gsettings: %1").arg(r.err)};
        if (!r.ok())
            return {false, QStringLiteral("gsettings could not set %1 %2: %3").arg(m_schema.schema, key, r.err)};
    }
    return {true, {}};
}

std::pair<QString, QString> GSettingsBackend::placementFromOptions(const QString& options)
{
    if (options == u"wallpaper")
        return {QStringLiteral("1"), QStringLiteral("0")};
    if (options == u"centered")
        return {QStringLiteral("0"), QStringLiteral("0")};
    if (options == u"stretched" || options == u"scaled" || options == u"zoom" || options == u"spanned")
        return {QStringLiteral("0"), QStringLiteral("2")};
    return {}; // 'none', unknown or unreadable
}

QString GSettingsBackend::optionsFromPlacement(const QString& tileWallpaper, const QString& wallpaperStyle)
{
    if (tileWallpaper == u"1")
        return QStringLiteral("wallpaper");
    if (wallpaperStyle == u"0")
        return QStringLiteral("centered");
    if (wallpaperStyle == u"6")
        return QStringLiteral("scaled");
    if (wallpaperStyle == u"10")
        return QStringLiteral("zoom");
    if (wallpaperStyle == u"22")
        return QStringLiteral("spanned");
    return QStringLiteral("stretched");
}

QString GSettingsBackend::uriToPath(const QString& uri)
{
    if (uri.startsWith(u'/'))
        return uri;
    const QUrl url(uri, QUrl::TolerantMode);
    if (!url.isValid() || !url.isLocalFile())
        return {};
    return url.toLocalFile();
}

QString GSettingsBackend::pathToUri(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

} // namespace mc::platform
