// Background erase of a 1500 x 1000 picture and the pixel region of its kept
// area, the two costs of the "Erase Background" command.
#include "BenchMain.h"
#include "BenchSupport.h"
#include "items/Card.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

static void BM_EraseBackground(benchmark::State& state)
{
    Card card;
    card.m_strPath = benchsupport::writeOnce("erase.png", benchsupport::objectOnWhite());
    if (!card.LoadImage()) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    const QImage original = *card.m_pBitmap;
    card.m_nEraseExtent = 10;
    for (auto _ : state) {
        state.PauseTiming();
        *card.m_pBitmap = original;
        state.ResumeTiming();
        card.EraseBackground();
        benchmark::DoNotOptimize(card.m_pKeep.get());
    }
    state.counters["kept_elements"] = card.m_pKeep->path().elementCount();
}
BENCHMARK(BM_EraseBackground)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_KeptAreaToPixels(benchmark::State& state)
{
    Card card;
    card.m_strPath = benchsupport::writeOnce("erase.png", benchsupport::objectOnWhite());
    if (!card.LoadImage()) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    card.EraseBackground();
    card.m_dAngle = state.range(0);
    const QTransform toView = card.Transform() * QTransform::fromTranslate(800, 600);
    mc::Region kept = *card.m_pKeep;
    kept.transform(toView);
    qint64 rects = 0;
    for (auto _ : state) {
        const QRegion pixels = kept.toPixelRegion();
        rects = pixels.rectCount();
        benchmark::DoNotOptimize(rects);
    }
    state.counters["rects"] = double(rects);
}
BENCHMARK(BM_KeptAreaToPixels)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

MC_BENCHMARK_MAIN()
