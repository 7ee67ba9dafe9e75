#include "platform/KdeBackend.h"

#include "platform/DesktopColor.h"
#include "platform/Process.h"

#include <QFile>
#include <QStandardPaths>
#include <QUrl>

namespace mc::platform {

namespace {

const QString kImagePlugin = QStringLiteral("org.kde.image");

// KConfig escapes in values: \\ \s \t \n \r.
QString unescapeKConfig(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value[++i];
        if (n == u's')
            out += u' ';
        else if (n == u't')
            out += u'\t';
        else if (n == u'n')
            out += u'\n';
        else if (n == u'r')
            out += u'\r';
        else
            out += n;
    }
    return out;
}

QString localPathOf(const QString& image)
{
    if (image.startsWith(u'/'))
        return image;
    const QUrl url(image);
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

QString failure(const QString& detail)
{
    return QStringLiteral("The wallpaper could not be set on KDE Plasma: %1").arg(detail);
}

} // namespace

int KdeBackend::fillModeValue(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Tiled:
        return 3;
    case WallpaperMode::Centered:
        return 6;
    case WallpaperMode::Stretched:
        break;
    }
    return 0;
}

QString KdeBackend::fillModeName(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Tiled:
        return QStringLiteral("tile");
    case WallpaperMode::Centered:
        return QStringLiteral("pad");
    case WallpaperMode::Stretched:
        break;
    }
    return QStringLiteral("stretch");
}

WallpaperMode KdeBackend::modeFromFillMode(int fillMode)
{
    if (fillMode >= 3 && fillMode <= 5)
        return WallpaperMode::Tiled;
    if (fillMode == 6)
        return WallpaperMode::Centered;
    return WallpaperMode::Stretched;
}

QString KdeBackend::javaScriptString(const QString& text)
{
    // Everything outside printable ASCII goes as \uXXXX so that no
    // transport on the way can alter it.
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += u'\\';
            out += c;
        } else if (u < 0x20 || u > 0x7E) {
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += u'"';
    return out;
}

QString KdeBackend::plasmaScript(const QString& path, WallpaperMode mode)
{
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    return QStringLiteral("var all = desktops();"
                          "for (var i = 0; i < all.length; i++) {"
                          "var d = all[i];"
                          "d.wallpaperPlugin = \"%1\";"
                          "d.currentConfigGroup = [\"Wallpaper\", \"%1\", \"General\"];"
                          "d.writeConfig(\"FillMode\", %2);"
                          "d.writeConfig(\"Image\", %3);"
                          "}")
        .arg(kImagePlugin)
        .arg(fillModeValue(mode))
        .arg(javaScriptString(url));
}

QString KdeBackend::appletsConfigPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/plasma-org.kde.plasma.desktop-appletsrc");
}

DesktopSettings KdeBackend::parseAppletsConfig(const QString& text)
{
    // Groups look like [Containments][7][Wallpaper][org.kde.image][General].
    const QString wanted = QStringLiteral("[Wallpaper][%1][General]").arg(kImagePlugin);
    DesktopSettings result;
    result.desktopColor = kFallbackDesktopColor;
    bool inGroup = false;
    bool found = false;
    QString image;
    int fillMode = 2; // Plasma's default: scaled and cropped
    // Plain fields: GCC cannot follow an optional through the lambda.
    bool hasColor = false;
    COLORREF color = 0;
    const auto finishGroup = [&] {
        if (inGroup && !image.isEmpty() && !found) {
            found = true;
            result.wallpaperPath = localPathOf(image);
            const PlacementValues v = placementValuesFor(modeFromFillMode(fillMode));
            result.tileWallpaper = v.tileWallpaper;
            result.wallpaperStyle = v.wallpaperStyle;
            if (hasColor)
                result.desktopColor = color;
        }
    };
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            finishGroup();
            inGroup = line.startsWith(QStringLiteral("[Containments]")) && line.endsWith(wanted);
            image.clear();
            fillMode = 2;
            hasColor = false;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeKConfig(line.mid(eq + 1).trimmed());
        if (key == u"Image")
            image = value;
        else if (key == u"FillMode")
            fillMode = value.toInt();
        else if (key == u"Color") {
            const auto parsed = parseColorText(value);
            hasColor = parsed.has_value();
            color = parsed.value_or(0);
        }
    }
    finishGroup();
    return result;
}

DesktopSettings KdeBackend::read() const
{
    QFile file(appletsConfigPath());
    if (!file.open(QIODevice::ReadOnly)) {
        DesktopSettings none;
        none.desktopColor = kFallbackDesktopColor;
        return none;
    }
    return parseAppletsConfig(QString::fromUtf8(file.readAll()));
}

InstallResult KdeBackend::install(const QString& path, const QString& tileWallpaper,
                                  const QString& wallpaperStyle)
{
    const WallpaperMode mode = modeFromPlacementValues(tileWallpaper, wallpaperStyle);
    QString lastError = QStringLiteral("neither plasma-apply-wallpaperimage nor a D-Bus tool was found");

    if (haveProgram(QStringLiteral("plasma-apply-wallpaperimage"))) {
        const ProcessResult r = runProcess(QStringLiteral("plasma-apply-wallpaperimage"),
                                           {QStringLiteral("--fill-mode"), fillModeName(mode), path});
        if (r.ok())
            return {true, {}};
        // Before 6.2 the tool has no fill mode: the script below sets both.
        lastError = r.err.isEmpty() ? QStringLiteral("plasma-apply-wallpaperimage failed") : r.err;
    }

    const QString script = plasmaScript(path, mode);
    for (const char* tool : {"qdbus6", "qdbus-qt6", "qdbus", "qdbus-qt5"}) {
        const QString program = QString::fromLatin1(tool);
        if (!haveProgram(program))
            continue;
        const ProcessResult r = runProcess(program, {QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                                                     QStringLiteral("org.kde.PlasmaShell.evaluateScript"), script});
        if (r.ok())
            return {true, {}};
        lastError = r.err.isEmpty() ? program + QStringLiteral(" failed") : r.err;
        break;
    }
    if (haveProgram(QStringLiteral("dbus-send"))) {
        const ProcessResult r = runProcess(
            QStringLiteral("dbus-send"),
            {QStringLiteral("--session"), QStringLiteral("--dest=org.kde.plasmashell"), QStringLiteral("--type=method_call"),
             QStringLiteral("--print-reply"), QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell.evaluateScript"),
             QStringLiteral("string:") + script});
        if (r.ok())
            return {true, {}};
        lastError = r.err.isEmpty() ? QStringLiteral("dbus-send failed") : r.err;
    }
    return {false, failure(lastError)};
}

} // namespace mc::platform
