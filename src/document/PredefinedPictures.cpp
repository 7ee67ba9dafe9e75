#include "document/PredefinedPictures.h"

#include "imaging/ImageIO.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>

namespace mc::document {

namespace {

// Case-insensitive, with a case-sensitive tie-break: the same order on
// every run and in every locale.
bool byName(const QFileInfo& a, const QFileInfo& b)
{
    const int folded = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.fileName() < b.fileName();
}

QFileInfoList sortedEntries(const QString& dir, QDir::Filters filters)
{
    QFileInfoList entries = QDir(dir).entryInfoList(filters | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(entries.begin(), entries.end(), byName);
    return entries;
}

// The size from the picture's header; nullopt when it cannot be read.
std::optional<QSize> listedSize(const QFileInfo& file)
{
    if (!HasPictureExtension(file.absoluteFilePath()))
        return std::nullopt;
    return mc::imaging::imageSize(file.absoluteFilePath());
}

PredefinedPicture entry(const QFileInfo& file, const QString& title)
{
    return {file.absoluteFilePath(), title};
}

// The largest picture of a package's image folder (the first of equals).
std::optional<QFileInfo> largestPicture(const QString& imagesDir)
{
    std::optional<QFileInfo> best;
    qint64 bestArea = 0;
    for (const QFileInfo& file : sortedEntries(imagesDir, QDir::Files)) {
        const std::optional<QSize> size = listedSize(file);
        const qint64 area = size ? qint64(size->width()) * size->height() : 0;
        if (size && area > bestArea) {
            best = file;
            bestArea = area;
        }
    }
    return best;
}

void addFolderPictures(const QString& dir, std::vector<PredefinedPicture>& out)
{
    for (const QFileInfo& file : sortedEntries(dir, QDir::Files))
        if (listedSize(file))
            out.push_back(entry(file, file.completeBaseName()));
}

} // namespace

bool HasPictureExtension(const QString& fullPath)
{
    static const std::array<QString, 7> kExtensions = {
        QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("gif"),
        QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("dib"),
    };
    const qsizetype dot = fullPath.lastIndexOf(QLatin1Char('.'));
    const QString extension = (dot < 0 ? fullPath : fullPath.mid(dot + 1)).toLower();
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

std::vector<PredefinedPicture> ListWallpaperPictures(const QString& dir)
{
    std::vector<PredefinedPicture> out;
    if (dir.isEmpty())
        return out;
    for (const QFileInfo& info : sortedEntries(dir, QDir::Files | QDir::Dirs)) {
        if (!info.isDir()) {
            if (listedSize(info))
                out.push_back(entry(info, info.completeBaseName()));
            continue;
        }
        const QString images = info.absoluteFilePath() + QStringLiteral("/contents/images");
        if (QFileInfo(images).isDir()) {
            if (const std::optional<QFileInfo> best = largestPicture(images))
                out.push_back(entry(*best, info.fileName()));
        } else {
            addFolderPictures(info.absoluteFilePath(), out);
        }
    }
    return out;
}

std::vector<PredefinedPicture> ListTilePictures(const QString& dir)
{
    std::vector<PredefinedPicture> out;
    if (dir.isEmpty())
        return out;
    for (const QFileInfo& file : sortedEntries(dir, QDir::Files)) {
        if (file.suffix().toLower() != u"bmp")
            continue;
        const std::optional<QSize> size = mc::imaging::imageSize(file.absoluteFilePath());
        if (size && size->width() == size->height())
            out.push_back(entry(file, file.completeBaseName()));
    }
    return out;
}

std::vector<QSize> CanvasSizePresets(QSize screen)
{
    static constexpr std::array<QSize, 4> kPresets = {QSize(640, 480), QSize(800, 600), QSize(1024, 768),
                                                      QSize(1280, 1024)};
    std::vector<QSize> out;
    for (const QSize preset : kPresets) {
        if (preset.width() >= screen.width()) {
            out.push_back(screen);
            break;
        }
        out.push_back(preset);
    }
    return out;
}

} // namespace mc::document
