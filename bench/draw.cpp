// Drawing one item onto a screen-sized canvas, as every paint does for every
// item: unrotated, rotated, and rotated with a cut shape.
#include "BenchMain.h"
#include "BenchSupport.h"
#include "items/Card.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

static void BM_DrawItem(benchmark::State& state)
{
    auto card = Card::CreateFromFile(benchsupport::writeOnce("draw.png", benchsupport::objectOnWhite(1200, 900)));
    if (!card) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    card->m_dScale = 0.5;
    card->m_dAngle = state.range(0);
    if (state.range(1)) {
        QPainterPath star;
        star.addEllipse(QRectF(-400, -300, 800, 600));
        *card->m_pClip = mc::Region::fromPath(star);
    }
    card->m_ptCenter = QPoint(960, 540);
    QImage canvas(1920, 1080, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&canvas);
        p.setClipRect(QRect(100, 50, 1720, 980));
        card->Draw(p);
    }
}
BENCHMARK(BM_DrawItem)->Args({0, 0})->Args({30, 0})->Args({30, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

MC_BENCHMARK_MAIN()
