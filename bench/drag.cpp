// Dragging an item across a 1920 x 1080 canvas of 50 items, each mouse move
// doing what the view does (CMyView::dragItemTo, then renderInvalid): move
// the item, draw it at its new place, invalidate the uncovered area and an
// erased item's transparent part, repaint that area from the layer and the
// items. Beside it, in the same iterations, the full repaint of the canvas.
// One drag step should cost at most a quarter of the full repaint.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "DragScene.h"
#include "document/CMyDoc.h"
#include "items/Card.h"
#include "platform/Screen.h"
#include "canvas/CanvasLayer.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

using namespace dragscene;
constexpr int kSteps = 100;

// One mouse move to `mouse`, as the view handles it with no scrolling.
void dragStep(Scene& scene, QPoint mouse)
{
    Card& card = *scene.dragged;
    const QRect client = scene.screen.rect();
    QRegion old = card.m_rgnItem;
    card.DragTo(mouse);
    {
        QPainter painter(&scene.screen);
        painter.setClipRect(scene.layer.CanvasRect());
        mc::canvas::DrawItem(painter, card);
    }
    QRegion invalid;
    old -= card.m_rgnItem;
    if (card.m_bErased)
        invalid += (card.m_rgnItem - card.m_rgnKept) & QRegion(client);
    invalid += old & QRegion(client);
    if (invalid.isEmpty())
        return;
    QPainter painter(&scene.screen);
    painter.setClipRegion(invalid);
    scene.layer.Paint(painter, *scene.doc);
}

} // namespace

static void BM_DragStepVsFullRepaint(benchmark::State& state)
{
    mc::platform::overrideScreenSize(QSize(kScreenWidth, kScreenHeight));
    auto scene = makeScene();
    if (!scene) {
        state.SkipWithError("cannot load the pictures");
        return;
    }
    fullRepaint(*scene);
    // Across the canvas and back, over the other items.
    const QPoint from(150, 150), to(1770, 930);
    benchsupport::Stopwatch drag, full;
    double slowestStep = 0.0;
    bool forward = true;
    for (auto _ : state) {
        scene->dragged->BeginDrag(scene->dragged->m_ptCenter);
        for (int i = 1; i <= kSteps; ++i) {
            const QPoint a = forward ? from : to;
            const QPoint b = forward ? to : from;
            const QPoint mouse = a + (b - a) * i / kSteps;
            const double before = drag.cpu;
            drag.time([&] { dragStep(*scene, mouse); });
            slowestStep = std::max(slowestStep, drag.cpu - before);
        }
        scene->dragged->m_bDragging = false;
        forward = !forward;
        full.time([&] { fullRepaint(*scene); });
        benchmark::DoNotOptimize(scene->screen.constBits());
    }
    benchsupport::reportPair(state, drag, full, 0.25, "step", "full");
    state.counters["slowest_step_ms"] = slowestStep * 1e3;
}
BENCHMARK(BM_DragStepVsFullRepaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

MC_BENCHMARK_MAIN()
