#include "platform/X11Backend.h"

#include "platform/AtomicFile.h"
#include "platform/KeyFileBackend.h"
#include "platform/Process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace mc::platform {

namespace {

// Splits one shell line into words with sh's quoting rules for '...',
// "..." and backslashes; enough for the lines feh writes.
QStringList shellWords(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'\'') {
            inWord = true;
            const qsizetype end = line.indexOf(u'\'', i + 1);
            if (end < 0)
                return {};
            word += line.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'"') {
            inWord = true;
            for (++i; i < line.size() && line[i] != u'"'; ++i) {
                if (line[i] == u'\\' && i + 1 < line.size())
                    ++i;
                word += line[i];
            }
        } else if (c == u'\\' && i + 1 < line.size()) {
            inWord = true;
            word += line[++i];
        } else if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

// A PNG copy of `path` beside it, replaced atomically.
QString writePngCopy(const QString& path)
{
    const QImage image(path);
    if (image.isNull())
        return {};
    const QFileInfo info(path);
    const QString png = info.dir().filePath(info.completeBaseName() + QStringLiteral(".png"));
    if (!SaveImageFile(image, png, "image/png"))
        return {};
    return png;
}

QString failure(const QString& detail)
{
    return QStringLiteral("The wallpaper could not be set on X11: %1").arg(detail);
}

QString detailOf(const ProcessResult& r, const QString& program)
{
    if (!r.started)
        return program + QStringLiteral(" could not be started");
    return r.err.isEmpty() ? program + QStringLiteral(" failed") : r.err;
}

} // namespace

QString X11Backend::fehOption(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Centered:
        return QStringLiteral("--bg-center");
    case WallpaperMode::Tiled:
        return QStringLiteral("--bg-tile");
    case WallpaperMode::Stretched:
        break;
    }
    return QStringLiteral("--bg-scale");
}

QString X11Backend::xwallpaperOption(WallpaperMode mode)
{
    switch (mode) {
    case WallpaperMode::Centered:
        return QStringLiteral("--center");
    case WallpaperMode::Tiled:
        return QStringLiteral("--tile");
    case WallpaperMode::Stretched:
        break;
    }
    return QStringLiteral("--stretch");
}

DesktopSettings X11Backend::parseFehBg(const QString& script)
{
    DesktopSettings result;
    result.desktopColor = kFallbackDesktopColor;
    for (const QString& line : script.split(u'\n')) {
        const QStringList words = shellWords(line.trimmed());
        if (words.isEmpty() || QFileInfo(words.first()).fileName() != u"feh")
            continue;
        for (qsizetype i = 1; i + 1 < words.size(); ++i) {
            const QString& option = words[i];
            if (!option.startsWith(QStringLiteral("--bg-")))
                continue;
            WallpaperMode mode = WallpaperMode::Stretched;
            if (option == u"--bg-center")
                mode = WallpaperMode::Centered;
            else if (option == u"--bg-tile")
                mode = WallpaperMode::Tiled;
            result.wallpaperPath = words.last();
            const PlacementValues v = placementValuesFor(mode);
            result.tileWallpaper = v.tileWallpaper;
            result.wallpaperStyle = v.wallpaperStyle;
            return result;
        }
    }
    return result;
}

DesktopSettings X11Backend::read() const
{
    QFile file(QDir::homePath() + QStringLiteral("/.fehbg"));
    if (file.open(QIODevice::ReadOnly)) {
        const DesktopSettings s = parseFehBg(QString::fromUtf8(file.readAll()));
        if (!s.wallpaperPath.isEmpty())
            return s;
    }
    // xwallpaper keeps no record: the program's own, of what it installed.
    DesktopSettings s = KeyFileBackend().read();
    s.desktopColor = kFallbackDesktopColor;
    return s;
}

InstallResult X11Backend::install(const QString& path, const QString& tileWallpaper,
                                  const QString& wallpaperStyle)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return {false, failure(QStringLiteral("no X display (DISPLAY is not set)"))};
    const WallpaperMode mode = modeFromPlacementValues(tileWallpaper, wallpaperStyle);
    if (haveProgram(QStringLiteral("feh"))) {
        const ProcessResult r = runProcess(QStringLiteral("feh"), {fehOption(mode), path});
        return r.ok() ? InstallResult{true, {}} : InstallResult{false, failure(detailOf(r, QStringLiteral("feh")))};
    }
    if (haveProgram(QStringLiteral("xwallpaper"))) {
        const QString png = writePngCopy(path);
        if (png.isEmpty())
            return {false, failure(QStringLiteral("the picture could not be converted for xwallpaper"))};
        const ProcessResult r = runProcess(QStringLiteral("xwallpaper"), {xwallpaperOption(mode), png});
        if (!r.ok())
            return {false, failure(detailOf(r, QStringLiteral("xwallpaper")))};
        KeyFileBackend().install(path, tileWallpaper, wallpaperStyle);
        return {true, {}};
    }
    return {false, failure(QStringLiteral("neither feh nor xwallpaper is installed"))};
}

} // namespace mc::platform
