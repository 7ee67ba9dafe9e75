// Set Wallpaper for each of the seven layouts on a 3840 x 2160 screen with 20
// items over a stretched background photo: the picture rendered and written
// as the BMP file, everything the command does but installing it. Beside it
// the two things a layout cannot avoid: one full paint of the view and one
// plain BMP encode of a screen-sized picture. Each layout also reports
// "vs_ref", its time over the sum of those two measured in the same
// iterations, so that a loaded machine shifts both, and "vs_ref_cpu", the
// same for processor time (writing the file waits for the disk as well).
//
// The second argument is the canvas: 0 the screen size (every layout then
// copies the painted canvas), 1 a smaller canvas of 3200 x 1800, on which
// Stretched scales, Centered and Tiled take the canvas and the Align
// layouts place it on the desktop colour.
#include "BenchMain.h"
#include "BenchSupport.h"
#include "document/CMyDoc.h"
#include "imaging/ImageIO.h"
#include "platform/AtomicFile.h"
#include "items/Card.h"
#include "platform/Screen.h"
#include "canvas/CanvasLayer.h"
#include "wallpaper/WallpaperFile.h"
#include "wallpaper/WallpaperLayout.h"
#include "wallpaper/WallpaperRender.h"

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
const QSize kSmallCanvas(3200, 1800);
constexpr mc::COLORREF kDesktopColor = 0x00604020;

// Two projects (screen-sized and smaller canvas) with the same background
// and items, made once per run from files as the program makes them.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<CMyDoc> docs[2];

    Fixture()
    {
        mc::platform::overrideScreenSize(kScreen);
        const QString background = dir.filePath(QStringLiteral("background.jpg"));
        benchsupport::photoLike(99, kScreen.width(), kScreen.height(), 8).save(background, "JPEG");
        for (int kind = 0; kind < 2; ++kind) {
            mc::platform::DesktopSettings desktop;
            desktop.wallpaperPath = background;
            desktop.tileWallpaper = QStringLiteral("0");
            desktop.wallpaperStyle = QStringLiteral("2"); // stretched
            desktop.desktopColor = kDesktopColor;
            docs[kind] = std::make_unique<CMyDoc>(desktop);
        }
        docs[1]->SetCanvasSize(kSmallCanvas.width(), kSmallCanvas.height());

        for (int i = 0; i < kItems; ++i) {
            const QString path = dir.filePath(QStringLiteral("item%1.jpg").arg(i));
            benchsupport::photoLike(i, 1200 + 40 * i, 900, 8).save(path, "JPEG");
            for (auto& doc : docs) {
                auto card = Card::CreateFromFile(path);
                if (!card)
                    continue;
                card->m_dScale = 0.45 + 0.01 * i;
                card->m_dAngle = (i % 3) * 12.0;
                card->m_ptCenter = QPoint(350 + (i % 5) * 700, 300 + (i / 5) * 420);
                card->UpdateRegion();
                doc->m_listCards.AddTail(std::move(card));
            }
        }
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Wall and processor time since a start, both in seconds: on a loaded
// machine the processor time of the whole process shows the work alone.
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
};

// The view's paint of the whole canvas from its prebuilt layer.
struct ViewPaint {
    mc::canvas::CanvasLayer layer;
    QImage target{kScreen, QImage::Format_RGB32};

    explicit ViewPaint(const CMyDoc& doc) { layer.Rebuild(doc, kClient, kScreen, mc::canvas::SurroundColor()); }
    void paint(const CMyDoc& doc)
    {
        QPainter painter(&target);
        layer.Paint(painter, doc);
    }
};

void BM_PaintView(benchmark::State& state)
{
    const CMyDoc& doc = *fixture().docs[state.range(0)];
    ViewPaint view(doc);
    for (auto _ : state)
        view.paint(doc);
}
BENCHMARK(BM_PaintView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeBmp(benchmark::State& state)
{
    Fixture& f = fixture();
    const QImage picture = mc::canvas::RenderCanvas(*f.docs[0], kClient);
    const QString path = f.dir.filePath(QStringLiteral("plain.bmp"));
    for (auto _ : state)
        if (!mc::platform::SaveImageFile(picture, path, "image/bmp"))
            state.SkipWithError("cannot write the BMP");
}
BENCHMARK(BM_EncodeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

// The view's finished canvas built the view's way (its screen-sized layer,
// then the paint): what the layouts that take the canvas as it is used to do
// before drawing it straight into a canvas-sized picture.
void BM_ViewRenderCanvas(benchmark::State& state)
{
    const CMyDoc& doc = *fixture().docs[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(mc::canvas::RenderCanvas(doc, kClient).constBits());
}
BENCHMARK(BM_ViewRenderCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The picture alone for a layout, without the file.
void BM_RenderWallpaper(benchmark::State& state)
{
    using namespace mc::wallpaper;
    CMyDoc& doc = *fixture().docs[state.range(1)];
    const auto layout = WallpaperLayout(state.range(0));
    const QSize requested
        = layout == WallpaperLayout::Stretched ? kScreen : QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    const WallpaperContext context{kScreen, kClient, kDesktopColor};
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderWallpaper(doc, context, requested, layout).constBits());
}
BENCHMARK(BM_RenderWallpaper)
    ->ArgsProduct({{0, 1, 3}, {0, 1}})
    ->ArgNames({"layout", "small_canvas"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SetWallpaper(benchmark::State& state)
{
    using namespace mc::wallpaper;
    Fixture& f = fixture();
    const auto layout = WallpaperLayout(state.range(0));
    CMyDoc& doc = *f.docs[state.range(1)];
    // As the command asks: the screen size for Stretched, the canvas size else.
    const QSize requested
        = layout == WallpaperLayout::Stretched ? kScreen : QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    const WallpaperContext context{kScreen, kClient, kDesktopColor};
    const QString path = ChooseWallpaperFile(WallpaperFilesIn(f.dir.path()), doc.m_strBkPath, {});

    ViewPaint view(doc);
    const QImage plain = mc::canvas::RenderCanvas(*f.docs[0], kClient);
    const QString plainPath = f.dir.filePath(QStringLiteral("plain.bmp"));
    Spent total, reference;
    for (auto _ : state) {
        const Clock start;
        const QImage picture = RenderWallpaper(doc, context, requested, layout);
        QString error;
        if (!WriteWallpaperFile(picture, path, &error))
            state.SkipWithError(error.toStdString().c_str());
        total.add(start);
        state.PauseTiming();
        const Clock refStart;
        view.paint(doc);
        mc::platform::SaveImageFile(plain, plainPath, "image/bmp");
        reference.add(refStart);
        state.ResumeTiming();
    }
    state.counters["vs_ref"] = reference.wall > 0 ? total.wall / reference.wall : 0;
    state.counters["vs_ref_cpu"] = reference.cpu > 0 ? total.cpu / reference.cpu : 0;
}
BENCHMARK(BM_SetWallpaper)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0, 1}})
    ->ArgNames({"layout", "small_canvas"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

MC_BENCHMARK_MAIN()
