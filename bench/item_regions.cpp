// The pixel regions of an item: recomputing them for a rotated, erased
// 1000 x 1000 item (after every transform command) beside drawing it once on
// a screen-sized picture, and the pixel region of an erased item's kept area
// alone.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "items/Card.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// A rotated, erased item in the middle of a 1920 x 1080 screen.
bool loadErased(Card& card, int size, double angle)
{
    card.m_strPath = benchsupport::writeOnce(QStringLiteral("regions%1.png").arg(size),
                                             benchsupport::objectOnWhite(size, size));
    card.m_nEraseExtent = 10;
    card.m_bErased = true;
    if (!card.LoadImage())
        return false;
    card.m_dAngle = angle;
    card.m_ptCenter = QPoint(960, 540);
    card.UpdateRegion();
    return true;
}

} // namespace

static void BM_UpdateRegionVsDraw(benchmark::State& state)
{
    Card card;
    if (!loadErased(card, 1000, 30)) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    QImage screen(1920, 1080, QImage::Format_RGB32);
    screen.fill(Qt::white);
    benchsupport::Stopwatch update, draw;
    for (auto _ : state) {
        update.time([&] { card.UpdateRegion(); });
        benchmark::DoNotOptimize(card.m_rgnKept.rectCount());
        draw.time([&] {
            QPainter painter(&screen);
            card.Draw(painter);
        });
        benchmark::DoNotOptimize(screen.constBits());
    }
    benchsupport::reportPair(state, update, draw, 0.0, "update_region", "draw");
    state.counters["item_rects"] = double(card.m_rgnItem.rectCount());
    state.counters["kept_rects"] = double(card.m_rgnKept.rectCount());
}
BENCHMARK(BM_UpdateRegionVsDraw)->Unit(benchmark::kMillisecond)->MinTime(1.0);

static void BM_KeptAreaToPixels(benchmark::State& state)
{
    Card card;
    if (!loadErased(card, 1000, double(state.range(0)))) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    const QTransform toView = card.Transform() * QTransform::fromTranslate(960, 540);
    const QRect limit = card.m_rgnItem.boundingRect();
    qint64 rects = 0;
    for (auto _ : state) {
        const QRegion pixels = card.m_pKeep->mapped(toView, limit);
        rects = pixels.rectCount();
        benchmark::DoNotOptimize(rects);
    }
    state.counters["rects"] = double(rects);
}
BENCHMARK(BM_KeptAreaToPixels)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

MC_BENCHMARK_MAIN()
