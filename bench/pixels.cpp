// The pixel passes of the item effects on a 4000 x 3000 picture, each beside
// a plain read-modify-write pass over the same pixels measured in the same
// iterations: "Erase Background" (the pass plus the outline of the kept
// pixels) should cost at most twice the plain pass, gray at most 1.5 times.
// The erase is also measured on a noisy picture, its slowest case.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "items/Card.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Read from memory on every pass, so the compiler can neither fold the pass
// away nor precompute its result.
volatile QRgb g_step = 0x00010101u;

// The baseline: every pixel read, changed cheaply and written back, scanline
// by scanline as the item effects go.
void plainPass(QImage& image)
{
    const QRgb step = g_step;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = row[x] + step;
    }
}

// The object on white, or with every channel of every pixel off by up to 2
// as in a photo, where no two neighbours need to have the same colour.
QImage picture(bool noisy)
{
    QImage image = benchsupport::objectOnWhite(kWidth, kHeight);
    if (!noisy)
        return image;
    quint32 seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            auto noise = [&](int v, int shift) { return std::clamp(v + int((seed >> shift) % 5) - 2, 0, 255); };
            const QRgb p = row[x];
            row[x] = qRgb(noise(qRed(p), 8), noise(qGreen(p), 16), noise(qBlue(p), 24));
        }
    }
    return image;
}

// The picture loaded the way the program loads an item's picture.
bool loadBig(Card& card, bool noisy)
{
    const QString name = noisy ? QStringLiteral("pixels-noisy.png") : QStringLiteral("pixels.png");
    card.m_strPath = benchsupport::writeOnce(name, picture(noisy));
    return card.LoadImage();
}

// Gives `image` a private copy of `original`'s pixels outside the timing:
// the first write would otherwise copy them inside it.
void freshCopy(QImage& image, const QImage& original)
{
    image = original;
    image.bits();
}

} // namespace

static void BM_EraseBackgroundVsPlainPass(benchmark::State& state)
{
    Card card;
    if (!loadBig(card, state.range(0) != 0)) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    const QImage original = *card.m_pBitmap;
    card.m_nEraseExtent = 10;
    QImage plain;
    benchsupport::Stopwatch erase, base;
    for (auto _ : state) {
        freshCopy(*card.m_pBitmap, original);
        erase.time([&] { card.EraseBackground(); });
        benchmark::DoNotOptimize(card.m_pKeep.get());
        freshCopy(plain, original);
        base.time([&] { plainPass(plain); });
        benchmark::DoNotOptimize(plain.constBits());
    }
    benchsupport::reportPair(state, erase, base, 2.0, "erase", "plain");
}
BENCHMARK(BM_EraseBackgroundVsPlainPass)->ArgName("noisy")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

static void BM_ApplyGrayVsPlainPass(benchmark::State& state)
{
    Card card;
    if (!loadBig(card, false)) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    const QImage original = *card.m_pBitmap;
    card.m_bGray = true;
    QImage plain;
    benchsupport::Stopwatch gray, base;
    for (auto _ : state) {
        freshCopy(*card.m_pBitmap, original);
        gray.time([&] { card.ApplyGray(); });
        benchmark::DoNotOptimize(card.m_pBitmap->constBits());
        freshCopy(plain, original);
        base.time([&] { plainPass(plain); });
        benchmark::DoNotOptimize(plain.constBits());
    }
    benchsupport::reportPair(state, gray, base, 1.5, "gray", "plain");
}
BENCHMARK(BM_ApplyGrayVsPlainPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);

MC_BENCHMARK_MAIN()
