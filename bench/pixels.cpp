// The pixel passes of the item effects on a 4000 x 3000 picture, each beside
// a plain read-modify-write pass over the same pixels measured in the same
// iterations: "Erase Background" (the pass plus the outline of the kept
// pixels) should cost at most twice the plain pass, gray at most 1.5 times.
// The erase is also measured on a noisy picture, and on a 4001 x 4001
// one-pixel checkerboard, where every other pixel is a run of its own: there
// the time covers the kept area's pixel region too (at the zoom Add Image
// gives, and at actual size upright and turned by 30 degrees), and the
// process's peak memory is reported beside the picture's own.
#include "BenchClock.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "items/Card.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

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

static void BM_EraseCheckerboardVsPlainPass(benchmark::State& state)
{
    constexpr int kSide = 4001;
    QImage board(kSide, kSide, QImage::Format_ARGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<QRgb*>(board.scanLine(y));
        for (int x = 0; x < kSide; ++x)
            row[x] = (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    Card card;
    card.m_strPath = benchsupport::writeOnce(QStringLiteral("checkerboard.png"), board);
    board = QImage();
    if (!card.LoadImage()) {
        state.SkipWithError("cannot load the picture");
        return;
    }
    card.m_dScale = state.range(0) ? 1.0 : Card::FitScale(card.m_pBitmap->size());
    card.m_dAngle = double(state.range(1));
    card.m_ptCenter = QPoint(960, 540);
    card.m_bErased = true;
    const QImage original = *card.m_pBitmap;
    QImage plain;
    benchsupport::Stopwatch erase, base;
    for (auto _ : state) {
        freshCopy(*card.m_pBitmap, original);
        erase.time([&] {
            card.EraseBackground();
            card.UpdateRegion();
        });
        benchmark::DoNotOptimize(card.m_rgnKept.rectCount());
        freshCopy(plain, original);
        base.time([&] { plainPass(plain); });
        benchmark::DoNotOptimize(plain.constBits());
    }
    benchsupport::reportPair(state, erase, base, 0.0, "erase_and_region", "plain");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["picture_MB"] = double(original.sizeInBytes()) / (1024.0 * 1024.0);
    state.counters["kept_rects"] = double(card.m_rgnKept.rectCount());
}
BENCHMARK(BM_EraseCheckerboardVsPlainPass)
    ->ArgNames({"actual_size", "angle"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 30})
    ->Unit(benchmark::kMillisecond);

MC_BENCHMARK_MAIN()
