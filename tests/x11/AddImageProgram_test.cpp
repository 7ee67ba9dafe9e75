// The real program on the test display: a project with a canvas smaller
// than the window, Ctrl+I, a path typed into the open dialog, and the new
// item seen on the screen over the canvas, read back from a screenshot of
// the whole display.
#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "imaging/Colors.h"
#include "x11/X11Session.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace x11test;

namespace {

// The program's screen: as wide as the test display but lower than the
// window's client area, so the view needs no scroll bars and fills the
// window below its bars.
const QSize kScreen(1024, 600);
const QSize kCanvas(700, 500);   // smaller than the window, so its frame shows
const QColor kCanvasColor(37, 118, 201);
const QColor kItemColor(230, 60, 20);
const QSize kItem(200, 100);

bool near(QRgb a, QColor b, int tolerance)
{
    return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) + std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// Bounding box of the pixels within `tolerance` of `color`.
QRect boxOf(const QImage& shot, QColor color, int tolerance)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x)
            if (near(line[x], color, tolerance))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

QString rectText(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Window `wid`'s area on the screen, from xwininfo.
QRect windowRect(unsigned long wid)
{
    const QString info = runOn(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(wid)});
    auto field = [&](const QString& name) {
        const qsizetype at = info.indexOf(name + u':');
        return at < 0 ? -1 : info.mid(at + name.size() + 1).section(u'\n', 0, 0).trimmed().toInt();
    };
    return QRect(field(QStringLiteral("Absolute upper-left X")), field(QStringLiteral("Absolute upper-left Y")),
                 field(QStringLiteral("Width")), field(QStringLiteral("Height")));
}

QStringList visibleWindows(qint64 pid)
{
    return runOn(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(pid)})
        .split(u'\n', Qt::SkipEmptyParts);
}

// What one screenshot shows: where the canvas and the item are.
struct Scene {
    QImage shot;
    QRect canvas, item;
};

Scene look(const QString& file)
{
    Scene s;
    QFile::remove(file);
    runOn(QStringLiteral("import"), {"-window", "root", file});
    s.shot = QImage(file).convertToFormat(QImage::Format_RGB32);
    if (!s.shot.isNull()) {
        s.canvas = boxOf(s.shot, kCanvasColor, 0);
        // The item comes from a JPEG copy of the picture: nearly its colour.
        s.item = boxOf(s.shot, kItemColor, 24);
    }
    return s;
}

} // namespace

TEST(ProgramX11, AddImageWithCtrlIShowsTheItemOnTheCanvas)
{
    // An empty project: a plain canvas of a known colour, no picture.
    const QString dir = mctest::freshDir();
    const QString project = dir + "/canvas.mcr";
    {
        CMyDoc doc(mc::platform::DesktopSettings{});
        doc.m_nCanvasWidth = kCanvas.width();
        doc.m_nCanvasHeight = kCanvas.height();
        doc.m_crBkColor = mc::argbToColorref(kCanvasColor.rgb());
        ASSERT_TRUE(mc::document::WriteProjectFile(doc, project).ok);
    }
    const QString picture = mctest::writeImage(dir, "item.png", mctest::solidImage(kItem.width(), kItem.height(), kItemColor));

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment(); // DISPLAY is the test display
    const QString config = mctest::freshDir();
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_DATA_HOME", mctest::freshDir());
    env.insert("MURALCRAFTER_DESKTOP", "file");
    env.insert("MURALCRAFTER_SCREEN", QStringLiteral("%1x%2").arg(kScreen.width()).arg(kScreen.height()));
    env.insert("QT_QPA_PLATFORM", "xcb");
    // Qt's own file dialog, whatever desktop the machine would suggest.
    env.remove("XDG_CURRENT_DESKTOP");
    env.remove("QT_QPA_PLATFORMTHEME");
    program.setProcessEnvironment(env);
    program.setStandardInputFile(QProcess::nullDevice());
    program.start(QStringLiteral(MC_PROGRAM), {project});
    ASSERT_TRUE(program.waitForStarted(10000));
    const auto end = qScopeGuard([&] {
        program.kill(); // it would ask to save the modified project
        program.waitForFinished(5000);
    });
    const qint64 pid = program.processId();

    QString main;
    ASSERT_TRUE(waitFor([&] {
        const QStringList found = visibleWindows(pid);
        main = found.isEmpty() ? QString() : found.constLast();
        return !main.isEmpty() && runOn("xprop", {"-id", main, "_NET_WM_STATE"}).contains("MAXIMIZED_HORZ");
    })) << "no maximised window of the program";

    // The canvas on the screen before anything is added: its colour inside
    // a one-pixel black frame, centred across the window.
    const QString shotFile = QStringLiteral(MC_SHOT_DIR "/add-image-shot.png");
    Scene scene;
    ASSERT_TRUE(waitFor([&] { return (scene = look(shotFile)).canvas.size() == kCanvas; }))
        << "canvas not on the screen; found " << rectText(scene.canvas).toStdString() << ", see " << shotFile.toStdString();
    const QRect canvas = scene.canvas;

    // Ctrl+I on the main window opens the file dialog, a second window.
    runOn("xdotool", {"windowactivate", "--sync", main});
    runOn("xdotool", {"key", "--clearmodifiers", "ctrl+i"});
    QString dialog;
    ASSERT_TRUE(waitFor([&] {
        const QStringList found = visibleWindows(pid);
        for (const QString& w : found)
            if (w != main)
                dialog = w;
        return !dialog.isEmpty();
    })) << "Ctrl+I opened no dialog";
    runOn("xdotool", {"windowactivate", "--sync", dialog});
    runOn("xdotool", {"type", "--delay", "15", picture});
    // Return accepts; a first one may only close the name completion list.
    ASSERT_TRUE(waitFor([&] {
        if (visibleWindows(pid) == QStringList{main})
            return true;
        runOn("xdotool", {"key", "Return"});
        return waitFor([&] { return visibleWindows(pid) == QStringList{main}; }, 2000);
    }, 15000)) << "the file dialog did not take " << picture.toStdString();

    ASSERT_TRUE(waitFor([&] { return (scene = look(shotFile)).item.size() == kItem; }))
        << "item not on the screen; found " << rectText(scene.item).toStdString() << ", see " << shotFile.toStdString();
    EXPECT_TRUE(QFileInfo(dir + "/item.jpg").isFile()); // the PNG went in as a JPEG copy

    // Canvas: the same place, its colour inside and at its corners, the
    // frame black just outside and one pixel wide.
    EXPECT_EQ(scene.canvas, canvas);
    const QImage& shot = scene.shot;
    const QRect frame = canvas.adjusted(-1, -1, 1, 1);
    const QPoint mid = canvas.center();
    for (const QPoint p : {canvas.topLeft(), canvas.bottomRight(), QPoint(canvas.left() + 20, mid.y())})
        EXPECT_EQ(shot.pixel(p), kCanvasColor.rgb()) << p.x() << ',' << p.y();
    for (const QPoint p : {frame.topLeft(), frame.bottomRight(), QPoint(mid.x(), frame.top()), QPoint(mid.x(), frame.bottom()),
                           QPoint(frame.left(), mid.y()), QPoint(frame.right(), mid.y())})
        EXPECT_EQ(shot.pixel(p), qRgb(0, 0, 0)) << p.x() << ',' << p.y();
    for (const QPoint p : {QPoint(mid.x(), frame.top() - 1), QPoint(frame.left() - 1, mid.y()),
                           QPoint(frame.right() + 1, mid.y()), QPoint(mid.x(), frame.bottom() + 1)})
        EXPECT_NE(shot.pixel(p), qRgb(0, 0, 0)) << p.x() << ',' << p.y();

    // The canvas is centred in the client area the program captured (and
    // stored): its first paint may come before the window manager has
    // maximised the window, so that area is read back rather than guessed.
    // The view spans the window's width.
    const QSize client = QSettings(config + "/Local AppWizard-Generated Applications/Muralcrafter.conf",
                                   QSettings::IniFormat)
                             .value("View/ClientSize")
                             .toSize();
    ASSERT_TRUE(client.isValid()) << "no client area stored";
    const QPoint origin(client.width() > kCanvas.width() ? (client.width() - kCanvas.width()) / 2 : 0,
                        client.height() > kCanvas.height() ? (client.height() - kCanvas.height()) / 2 : 0);
    const QRect window = windowRect(main.toULong());
    EXPECT_EQ(canvas.left() - origin.x(), window.left()) << "window " << rectText(window).toStdString();
    // The item's centre lies at the screen's centre in view coordinates,
    // (512, 300) from the view's corner.
    const QPoint itemAt = scene.item.topLeft() - canvas.topLeft();
    EXPECT_EQ(itemAt, QPoint(kScreen.width() / 2 - kItem.width() / 2, kScreen.height() / 2 - kItem.height() / 2) - origin)
        << "client " << client.width() << 'x' << client.height();
    EXPECT_TRUE(near(shot.pixel(scene.item.center()), kItemColor, 12));
}
