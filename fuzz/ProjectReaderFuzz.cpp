// Feeds arbitrary bytes to the project reader: parsing, the cut shapes'
// byte form, and loading the pictures with their effects and regions.
// Nothing may crash, hang or allocate without bound.
//
// An input is the project file's bytes, optionally followed by up to
// kPictures picture files, each introduced by kPictureMarker. The pictures
// are written as "0", "1", ... to a folder that stands for the project's
// own: items whose path ends in such a name are loaded from them, so the
// fuzzer mutates the pictures as well as the project.
#include "document/ProjectReader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

constexpr char kPictureMarker[] = "\n--mc-picture--\n";
constexpr int kPictures = 4;
// Small enough that pictures announcing huge sizes are refused cheaply,
// large enough for the seeds' pictures and their effects.
constexpr qint64 kBudget = qint64(256) << 20;

const QString& pictureFolder()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

// The project bytes; the pictures go to their files (absent ones removed,
// so that no earlier input's picture is met).
QByteArray splitInput(const QByteArray& input)
{
    const QByteArray marker(kPictureMarker);
    qsizetype at = input.indexOf(marker);
    const QByteArray project = at < 0 ? input : input.left(at);
    const QDir dir(pictureFolder());
    for (int i = 0; i < kPictures; ++i) {
        const QString file = dir.filePath(QString::number(i));
        if (at < 0) {
            QFile::remove(file);
            continue;
        }
        const qsizetype begin = at + marker.size();
        at = input.indexOf(marker, begin);
        QFile out(file);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(input.mid(begin, at < 0 ? -1 : at - begin));
    }
    return project;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray bytes = splitInput(input);
    mc::document::ParseResult parsed = mc::document::ParseProject(bytes, QSize(1024, 768));
    if (!parsed.contents)
        return 0;
    // Every parsed item's shape must also rasterise (the view does this for
    // the item's canvas area).
    for (const mc::document::ItemRecord& record : parsed.contents->items) {
        if (record.cutShape)
            (void)record.cutShape->toPixelRegion(QRect(-4096, -4096, 8192, 8192));
    }
    const mc::document::LoadedProject loaded =
        mc::document::LoadPictures(std::move(*parsed.contents), pictureFolder(), kBudget);
    (void)mc::document::LoadNotice(loaded);
    return 0;
}
