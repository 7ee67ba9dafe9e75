// Cut of a 4000 x 3000 photo shown at its fitted zoom with the Cloud shape,
// as the view does it (the shape taken into the item's coordinates, the clip
// narrowed, the item's regions recomputed) together with the repaint it
// causes (the item's old area, the outline's area and the new area, painted
// from the layer and the items), beside one full repaint of a 1920 x 1080
// canvas of 20 items, in the same iterations. Goal: a Cut costs at most one
// full repaint.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "canvas/CanvasLayer.h"
#include "canvas/CardCut.h"
#include "canvas/ShapeGeometry.h"
#include "document/CMyDoc.h"
#include "items/Card.h"
#include "platform/Screen.h"

#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kItems = 20;

struct Scene {
    std::unique_ptr<CMyDoc> doc;
    mc::canvas::CanvasLayer layer;
    QImage screen;
    Card* big = nullptr;
};

std::unique_ptr<Scene> makeScene()
{
    auto scene = std::make_unique<Scene>();
    mc::platform::DesktopSettings desktop;
    desktop.desktopColor = 0x00804020;
    scene->doc = std::make_unique<CMyDoc>(desktop);
    const QString small = benchsupport::writeOnce("cut_small.jpg", benchsupport::photoLike(1, 600, 450, 4));
    for (int i = 0; i < kItems - 1; ++i) {
        auto card = Card::CreateFromFile(small);
        if (!card)
            return nullptr;
        card->m_dAngle = (i * 37) % 360;
        card->m_ptCenter = QPoint(150 + (i % 5) * 400, 150 + (i / 5) * 260);
        card->UpdateRegion();
        scene->doc->m_listCards.AddHead(std::move(card));
    }
    auto big = Card::CreateFromFile(benchsupport::writeOnce("cut_big.jpg", benchsupport::photoLike(2, 4000, 3000, 12)));
    if (!big)
        return nullptr;
    big->m_ptCenter = QPoint(960, 540);
    big->UpdateRegion();
    scene->big = scene->doc->m_listCards.AddTail(std::move(big)); // under the others until the cut raises it
    const QSize screen(kScreenWidth, kScreenHeight);
    scene->layer.Rebuild(*scene->doc, screen, screen, mc::canvas::SurroundColor());
    scene->screen = QImage(screen, QImage::Format_RGB32);
    return scene;
}

void paint(Scene& scene, const QRegion& area)
{
    QPainter painter(&scene.screen);
    if (!area.isEmpty())
        painter.setClipRegion(area);
    scene.layer.Paint(painter, *scene.doc);
}

// The view's Cut and the repaint of everything it invalidates.
void cut(Scene& scene, const mc::Region& shape, const QRect& outlineArea)
{
    Card& card = *scene.big;
    const QRegion before = card.m_rgnItem;
    if (!mc::canvas::CutCard(card, shape))
        return;
    scene.doc->m_listCards.MoveToHead(&card);
    paint(scene, (before + QRegion(outlineArea) + card.m_rgnItem) & QRegion(scene.screen.rect()));
}

} // namespace

static void BM_CutVsFullRepaint(benchmark::State& state)
{
    mc::platform::overrideScreenSize(QSize(kScreenWidth, kScreenHeight));
    auto scene = makeScene();
    if (!scene) {
        state.SkipWithError("cannot load the pictures");
        return;
    }
    // A Cloud over most of the 400 x 300 item, dragged as the user would.
    const int x0 = 790, y0 = 420, x1 = 1110, y1 = 650;
    const mc::Region shape = mc::canvas::ShapeRegion(mc::canvas::SHAPE_CLOUD, x0, y0, x1, y1);
    const QRect outlineArea = QRect(QPoint(x0, y0), QPoint(x1, y1)).adjusted(-32, -23, 32, 23);
    paint(*scene, QRegion());
    benchsupport::Stopwatch cutWatch, full;
    for (auto _ : state) {
        state.PauseTiming();
        mc::canvas::RestoreCard(*scene->big);
        scene->doc->m_listCards.MoveToTail(scene->big);
        state.ResumeTiming();
        cutWatch.time([&] { cut(*scene, shape, outlineArea); });
        full.time([&] { paint(*scene, QRegion()); });
        benchmark::DoNotOptimize(scene->screen.constBits());
    }
    benchsupport::reportPair(state, cutWatch, full, 1.0, "cut", "full");
}
BENCHMARK(BM_CutVsFullRepaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

MC_BENCHMARK_MAIN()
