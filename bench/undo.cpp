// Undo and redo as the window does them (the document restores the state,
// the view repaints the area the step reports from the layer and the items),
// beside one full repaint of the canvas in the same iterations:
//  - an erase on a 4000 x 3000 item (shown at its fitted zoom) on the drag
//    scene's canvas;
//  - a drag across the canvas of the 50-item drag scene.
// Goal: each undo and each redo costs at most one full repaint.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "DragScene.h"
#include "platform/Screen.h"

#include <benchmark/benchmark.h>

namespace {

using namespace dragscene;

void paint(Scene& scene, const QRegion& area)
{
    if (area.isEmpty())
        return;
    QPainter painter(&scene.screen);
    painter.setClipRegion(area & QRegion(scene.screen.rect()));
    scene.layer.Paint(painter, *scene.doc);
}

void step(Scene& scene, bool redo)
{
    QRegion area;
    quint64 current = 0;
    if (scene.doc->StepHistory(redo, area, current))
        paint(scene, area);
}

// Runs `change` once as a recorded step, then undoes and redoes it in turns.
template <typename Change> void undoRedo(benchmark::State& state, Scene& scene, Change change)
{
    scene.doc->SetModifiedFlag(false);
    change();
    scene.doc->RecordStep(QStringLiteral("Change"), nullptr);
    fullRepaint(scene);
    benchsupport::Stopwatch undo, redo, full;
    for (auto _ : state) {
        undo.time([&] { step(scene, false); });
        redo.time([&] { step(scene, true); });
        full.time([&] { fullRepaint(scene); });
        benchmark::DoNotOptimize(scene.screen.constBits());
    }
    benchsupport::reportPair(state, undo, full, 1.0, "undo", "full");
    state.counters["redo_ms"] = redo.cpuMsPerCall();
    state.counters["redo_ratio"] = redo.cpuMsPerCall() / full.cpuMsPerCall();
    if (redo.cpuMsPerCall() > full.cpuMsPerCall())
        state.SetLabel("GOAL MISSED (redo)");
}

std::unique_ptr<Scene> scene(benchmark::State& state)
{
    mc::platform::overrideScreenSize(QSize(kScreenWidth, kScreenHeight));
    auto made = makeScene();
    if (!made)
        state.SkipWithError("cannot load the pictures");
    return made;
}

} // namespace

static void BM_UndoEraseVsFullRepaint(benchmark::State& state)
{
    auto s = scene(state);
    if (!s)
        return;
    auto big = Card::CreateFromFile(benchsupport::writeOnce("undo_big.png", benchsupport::objectOnWhite(4000, 3000)));
    if (!big)
        return state.SkipWithError("cannot load the picture");
    big->m_ptCenter = QPoint(960, 540);
    big->UpdateRegion();
    Card* card = s->doc->m_listCards.AddHead(std::move(big));
    undoRedo(state, *s, [card] {
        card->m_bErased = true;
        card->EraseBackground();
        card->UpdateRegion();
    });
}
BENCHMARK(BM_UndoEraseVsFullRepaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

static void BM_UndoDragVsFullRepaint(benchmark::State& state)
{
    auto s = scene(state);
    if (!s)
        return;
    Card* card = s->dragged;
    undoRedo(state, *s, [card] {
        card->BeginDrag(card->m_ptCenter);
        for (int i = 1; i <= 100; ++i)
            card->DragTo(QPoint(150, 150) + (QPoint(1770, 930) - QPoint(150, 150)) * i / 100);
        card->m_bDragging = false;
    });
}
BENCHMARK(BM_UndoDragVsFullRepaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

MC_BENCHMARK_MAIN()
