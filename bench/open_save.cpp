// Open and Save of a project with 20 large photos (3000 x 2000 JPEG each) on
// a 3840 x 2160 screen, beside what they cannot avoid: decoding the 20 files
// (open) and encoding the canvas as JPEG (save). The open and save figures
// also carry the counters "vs_plain" and "vs_plain_cpu": their wall and
// processor time over that of the plain work, measured in the same
// iterations so that a loaded machine shifts both.
#include "BenchMain.h"
#include "BenchSupport.h"
#include "document/CMyDoc.h"
#include "document/ProjectReader.h"
#include "imaging/ImageIO.h"
#include "platform/AtomicFile.h"
#include "items/Card.h"
#include "platform/Screen.h"
#include "canvas/CanvasLayer.h"
#include "canvas/ProjectSave.h"

#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kItems = 20;
const QSize kScreen(3840, 2160);
const QSize kClient(3840, 2000); // a maximised view below the menu and tool bars

// The 20 JPEGs and a saved project naming them, made once per run.
struct Fixture {
    QTemporaryDir dir;
    std::vector<QString> photos;
    QString project;
    std::unique_ptr<CMyDoc> doc;

    Fixture()
    {
        mc::platform::overrideScreenSize(kScreen);
        doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{});
        for (int i = 0; i < kItems; ++i) {
            const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            benchsupport::photoLike(i, 3000, 2000, 12).save(path, "JPEG");
            photos.push_back(path);
            auto card = Card::CreateFromFile(path);
            if (!card)
                continue;
            // Spread over the canvas as a finished wallpaper would have them.
            card->m_dScale = 0.2 + 0.01 * i;
            card->m_dAngle = (i % 3) * 12.0;
            card->m_ptCenter = QPoint(300 + (i % 5) * 800, 300 + (i / 5) * 500);
            card->m_bGray = i == 7;
            if (card->m_bGray)
                card->ApplyGray();
            card->UpdateRegion();
            doc->m_listCards.AddTail(std::move(card));
        }
        project = dir.filePath(QStringLiteral("bench.mcr"));
        mc::canvas::SaveProject(*doc, project, kClient);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Decodes every file one after the other. With `keep` the pictures stay in
// memory until all are read, as a project holds them; without it each one is
// freed at once and the next reuses its memory.
int decodePlain(const std::vector<QString>& paths, bool keep = false)
{
    std::vector<QImage> kept;
    int decoded = 0;
    for (const QString& path : paths) {
        QImageReader reader(path);
        QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        decoded += image.isNull() ? 0 : 1;
        benchmark::DoNotOptimize(image.constBits());
        if (keep)
            kept.push_back(std::move(image));
    }
    return decoded;
}

// Wall and processor time since a start, both in seconds. Processor time is
// that of the whole process, all threads: on a loaded machine it shows the
// work alone, while only wall time shows work spread over the cores.
struct Clock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
};
struct Spent {
    double wall = 0, cpu = 0;
    void add(const Clock& since)
    {
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - since.wall).count();
        cpu += double(std::clock() - since.cpu) / CLOCKS_PER_SEC;
    }
    void report(benchmark::State& state, const Spent& plain) const
    {
        state.counters["vs_plain"] = plain.wall > 0 ? wall / plain.wall : 0;
        state.counters["vs_plain_cpu"] = plain.cpu > 0 ? cpu / plain.cpu : 0;
    }
};

void BM_DecodePlain(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state)
        if (decodePlain(f.photos, state.range(0) != 0) != kItems)
            state.SkipWithError("a photo did not decode");
}
BENCHMARK(BM_DecodePlain)->ArgName("keep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The program's own decoder over the same files (checks and format change).
void BM_DecodeImageIO(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state)
        for (const QString& path : f.photos)
            benchmark::DoNotOptimize(mc::imaging::decodeImage(path).constBits());
}
BENCHMARK(BM_DecodeImageIO)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenProject(benchmark::State& state)
{
    Fixture& f = fixture();
    CMyDoc doc{mc::platform::DesktopSettings{}};
    Spent open, plain;
    for (auto _ : state) {
        const Clock start;
        QString message;
        if (!mc::document::OpenProject(doc, f.project, kScreen, &message) || doc.m_listCards.GetCount() != kItems)
            state.SkipWithError("the project did not open whole");
        open.add(start);
        state.PauseTiming();
        const Clock plainStart;
        decodePlain(f.photos);
        plain.add(plainStart);
        state.ResumeTiming();
    }
    open.report(state, plain);
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeCanvasJpeg(benchmark::State& state)
{
    Fixture& f = fixture();
    const QImage canvas = mc::canvas::RenderCanvas(*f.doc, kClient);
    const QString path = f.dir.filePath(QStringLiteral("plain.jpg"));
    for (auto _ : state)
        if (!mc::platform::SaveImageFile(canvas, path, "image/jpeg"))
            state.SkipWithError("cannot write the JPEG");
}
BENCHMARK(BM_EncodeCanvasJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveProject(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString path = f.dir.filePath(QStringLiteral("saved.mcr"));
    const QString plainPath = f.dir.filePath(QStringLiteral("plain.jpg"));
    Spent save, plain;
    for (auto _ : state) {
        const Clock start;
        if (!mc::canvas::SaveProject(*f.doc, path, kClient).ok)
            state.SkipWithError("the project was not saved");
        save.add(start);
        state.PauseTiming();
        // The plain encode of the same canvas, rendered outside the clock.
        const QImage canvas = mc::canvas::RenderCanvas(*f.doc, kClient);
        const Clock plainStart;
        mc::platform::SaveImageFile(canvas, plainPath, "image/jpeg");
        plain.add(plainStart);
        state.ResumeTiming();
    }
    save.report(state, plain);
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

MC_BENCHMARK_MAIN()
