// Listing the predefined pictures at start-up: a wallpaper folder of 200
// large photos (4000 x 3000 JPEG) is judged from the pictures' headers, so
// it costs about as much as reading the folder itself, and far less than
// decoding even one of the photos.
#include "BenchMain.h"
#include "BenchSupport.h"
#include "document/PredefinedPictures.h"
#include "imaging/ImageIO.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

constexpr int kPictures = 200;

// One photo written once; the other names are hard links to it, so that the
// folder holds 200 large pictures without 200 encodings or their disk space.
struct Folder {
    QTemporaryDir dir;
    QString first;
    Folder()
    {
        first = dir.filePath(QStringLiteral("photo000.jpg"));
        benchsupport::photoLike(0, 4000, 3000, 12).save(first, "JPEG");
        for (int i = 1; i < kPictures; ++i) {
            const QString name = dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
            if (::link(QFile::encodeName(first).constData(), QFile::encodeName(name).constData()) != 0)
                QFile::copy(first, name);
        }
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_ListWallpaperFolder(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    for (auto _ : state) {
        const auto list = mc::document::ListWallpaperPictures(dir);
        if (list.size() != kPictures)
            state.SkipWithError("not every picture was listed");
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_ListWallpaperFolder)->Unit(benchmark::kMillisecond);

// Baseline: reading the folder's entries, nothing else.
void BM_ReadFolderOnly(benchmark::State& state)
{
    const QString dir = folder().dir.path();
    for (auto _ : state)
        benchmark::DoNotOptimize(QDir(dir).entryInfoList(QDir::Files, QDir::Name).size());
}
BENCHMARK(BM_ReadFolderOnly)->Unit(benchmark::kMillisecond);

// What one full decode would cost instead.
void BM_DecodeOnePhoto(benchmark::State& state)
{
    const QString path = folder().first;
    for (auto _ : state)
        benchmark::DoNotOptimize(mc::imaging::decodeImage(path).width());
}
BENCHMARK(BM_DecodeOnePhoto)->Unit(benchmark::kMillisecond);

} // namespace

MC_BENCHMARK_MAIN();
