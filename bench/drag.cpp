// Dragging an item across a 1920 x 1080 canvas of 50 items, each mouse move
// doing what the view does (CMyView::dragItemTo, then renderInvalid): move
// the item, draw it at its new place, invalidate the uncovered area and an
// erased item's transparent part, repaint that area from the layer and the
// items. Beside it, in the same iterations, the full repaint of the canvas.
// One drag step should cost at most a quarter of the full repaint.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
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

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kItems = 50;
constexpr int kSteps = 100;

// The canvas, its layer and the view's picture of its client area (the
// whole screen, not scrolled).
struct Scene {
    std::unique_ptr<CMyDoc> doc;
    mc::canvas::CanvasLayer layer;
    QImage screen;
    Card* dragged = nullptr;
};

// 300 x 300 pictures of an object on a uniform background, so that erasing
// keeps the object; five colours.
QString itemPicture(int i)
{
    static const QColor colours[] = {{180, 60, 40}, {40, 120, 60}, {30, 90, 160}, {200, 170, 30}, {120, 40, 140}};
    QImage image = benchsupport::objectOnWhite(300, 300);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(colours[i % 5]);
    p.drawRect(QRect(60, 120, 180, 40));
    p.end();
    return benchsupport::writeOnce(QStringLiteral("drag%1.png").arg(i % 5), image);
}

std::unique_ptr<Scene> makeScene()
{
    auto scene = std::make_unique<Scene>();
    mc::platform::DesktopSettings desktop;
    desktop.desktopColor = 0x00804020;
    scene->doc = std::make_unique<CMyDoc>(desktop);
    for (int i = 0; i < kItems; ++i) {
        auto card = Card::CreateFromFile(itemPicture(i));
        if (!card)
            return nullptr;
        card->m_dAngle = (i * 37) % 360;
        if (i % 3 == 0) {
            card->m_nEraseExtent = 10;
            card->m_bErased = true;
            card->EraseBackground();
        }
        if (i % 4 == 1) {
            card->m_bSemi = true;
            card->m_nAlpha = 128;
            card->ApplySemi();
        }
        // Spread over the canvas, 10 columns and 5 rows, a little staggered.
        card->m_ptCenter = QPoint(100 + (i % 10) * 190 + (i / 10) * 20, 110 + (i / 10) * 210);
        card->UpdateRegion();
        scene->doc->m_listCards.AddHead(std::move(card));
    }
    const QSize screen(kScreenWidth, kScreenHeight);
    scene->layer.Rebuild(*scene->doc, screen, screen, mc::canvas::SurroundColor());
    scene->screen = QImage(screen, QImage::Format_RGB32);
    // The dragged item: erased and rotated, raised to the top as a press does.
    scene->dragged = scene->doc->m_listCards.begin()->get();
    for (const auto& card : scene->doc->m_listCards)
        if (card->m_bErased) {
            scene->dragged = card.get();
            break;
        }
    scene->doc->m_listCards.MoveToHead(scene->dragged);
    return scene;
}

void fullRepaint(Scene& scene)
{
    QPainter painter(&scene.screen);
    scene.layer.Paint(painter, *scene.doc);
}

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
