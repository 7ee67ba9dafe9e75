// The program's window on a real Wayland compositor (headless sway, Qt's
// wayland platform): in grim's screenshot the canvas, its frame and the
// items where they belong, one canvas pixel per device pixel at every scale,
// and a click on an item that selects it (it comes to the top).
#include "desktops/Session.h"
#include "desktops/VirtualPointer.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace desk;
using mctest::rectText;

namespace {

const QSize kOutput(1024, 768); // device pixels at every scale
const QSize kCanvas(400, 300);
const QColor kCanvasColor(37, 118, 201), kTopColor(230, 60, 20), kUnderColor(30, 200, 60);
const QSize kItem(160, 100);
// Item centres in view coordinates: the lower one peeks out at the right
// and at the bottom of the upper one.
const QPoint kTopAt(512, 300), kUnderAt(592, 350);

// What one screenshot shows.
struct Scene {
    QImage shot;
    QRect canvas, top, under;
};

// {sway's scale of its output, Qt's own factor on top}: sway 1.7 has no
// fractional scaling protocol (at a fractional output scale it resamples
// every window), so Qt's factor is how a fractional scale reaches the
// program unresampled.
class WaylandWindow : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

} // namespace

TEST_P(WaylandWindow, CanvasFrameItemsAndClickOneCanvasPixelPerDevicePixel)
{
    const auto [outputScale, qtScale] = GetParam();
    Session s(true);
    ASSERT_TRUE(s.startSway(QStringLiteral("xwayland disable\ndefault_border none\n"
                                           "output HEADLESS-1 resolution %1x%2 scale %3\n")
                                .arg(kOutput.width()).arg(kOutput.height()).arg(outputScale)))
        << "sway did not start:\n" << s.log("sway");
    // The seat needs its pointer before the program binds to it.
    VirtualPointer mouse(s.env.value("XDG_RUNTIME_DIR") + u'/' + s.env.value("WAYLAND_DISPLAY"));
    ASSERT_TRUE(mouse.error().isEmpty()) << mouse.error().toStdString();

    const QString project = writeProject(s.home(), "window", kCanvas, kCanvasColor,
                                         {{mctest::solidImage(kItem.width(), kItem.height(), kTopColor), kTopAt},
                                          {mctest::solidImage(kItem.width(), kItem.height(), kUnderColor), kUnderAt}});
    ASSERT_FALSE(project.isEmpty());
    QProcessEnvironment env = s.env;
    for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", "wayland"}, {"MURALCRAFTER_DESKTOP", "file"},
                                      {"MURALCRAFTER_SCREEN", "1024x768"}, {"QT_SCALE_FACTOR", qtScale ? qtScale : "1"}})
        env.insert(name, value);
    ASSERT_TRUE(s.start(MC_PROGRAM, {project}, "program", &env));

    // The program stores the client area it centres the canvas in; its
    // first paint may come before the window has its final size.
    const QString settings = s.home() + "/.config/Local AppWizard-Generated Applications/Muralcrafter.conf";
    const auto origin = [&] {
        const QSize client = QSettings(settings, QSettings::IniFormat).value("View/ClientSize").toSize();
        return QPoint(std::max(0, (client.width() - kCanvas.width()) / 2), std::max(0, (client.height() - kCanvas.height()) / 2));
    };
    Scene scene;
    const auto look = [&] {
        const QImage shot = s.screenshot();
        scene = {shot, mctest::colourBox(shot, kCanvasColor), mctest::colourBox(shot, kTopColor), mctest::colourBox(shot, kUnderColor)};
        return scene.top.isValid() && scene.canvas.topLeft() - origin() == scene.top.topLeft() - (kTopAt - QPoint(80, 50));
    };
    const bool shown = waitFor(look);
    if (!shown || scene.canvas.size() != kCanvas)
        scene.shot.save(QStringLiteral(MC_SHOT_DIR "/wayland-%1-%2.png").arg(outputScale, qtScale ? qtScale : "1"));
    ASSERT_TRUE(shown) << "canvas at " << rectText(scene.canvas) << ", upper item at " << rectText(scene.top) << "; the program said:\n"
                       << s.log("program");

    // One canvas pixel per device pixel: the canvas and both items at
    // their size in the screenshot, which grim takes in device pixels.
    ASSERT_EQ(scene.canvas.size(), kCanvas) << rectText(scene.canvas);
    EXPECT_EQ(scene.top.size(), kItem) << rectText(scene.top);
    EXPECT_EQ(scene.under, QRect(scene.top.topLeft() + (kUnderAt - kTopAt), kItem)) << rectText(scene.under);
    // The view spans the window, which spans the output.
    EXPECT_EQ(scene.canvas.left(), origin().x());
    // The frame: black and one pixel wide all round.
    const QRect frame = scene.canvas.adjusted(-1, -1, 1, 1);
    const QPoint mid = scene.canvas.center();
    for (const QPoint p : {frame.topLeft(), frame.bottomRight(), QPoint(mid.x(), frame.top()), QPoint(frame.left(), mid.y())})
        EXPECT_EQ(scene.shot.pixel(p), qRgb(0, 0, 0)) << p.x() << ',' << p.y();
    for (const QPoint p : {QPoint(mid.x(), frame.top() - 1), QPoint(frame.right() + 1, mid.y())})
        EXPECT_NE(scene.shot.pixel(p), qRgb(0, 0, 0)) << p.x() << ',' << p.y();

    // A click where only the lower item shows selects it and brings it to
    // the top: the overlap turns its colour.
    const QPoint click = scene.under.bottomRight() - QPoint(10, 10), overlap = scene.top.bottomRight() - QPoint(10, 10);
    ASSERT_TRUE(mouse.click(click.x(), click.y(), kOutput.width(), kOutput.height())) << mouse.error().toStdString();
    EXPECT_TRUE(waitFor([&] { return look(), scene.shot.pixelColor(overlap) == kUnderColor; }))
        << "the click at " << click.x() << ',' << click.y() << " selected nothing";
    // Now the current item, it is outlined along its edge pixels.
    EXPECT_EQ(scene.under.size(), kItem - QSize(2, 2));
}

INSTANTIATE_TEST_SUITE_P(Scales, WaylandWindow,
                         ::testing::Values(std::pair{"1", nullptr}, std::pair{"2", nullptr}, std::pair{"1", "1.5"}));
