// The main window under a real window manager: maximised at start, full
// screen on and off (command 137, double click, Escape) as the window
// manager itself reports it; and the program started for real: its file
// type registered, and Ctrl+I adding a picture seen on the screen.
#include "app/AppTestUtil.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "common/TestUtil.h"
#include "document/CommandIds.h"
#include "imaging/Colors.h"
#include "x11/X11Session.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace x11test;

namespace {

const QRect kScreen(0, 0, 1024, 768);
const QString kFull = QStringLiteral("_NET_WM_STATE_FULLSCREEN");
const QString kVert = QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT");
const QString kHorz = QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ");

bool maximisedByWm(unsigned long wid)
{
    const QStringList s = wmState(wid);
    return s.contains(kVert) && s.contains(kHorz) && !s.contains(kFull);
}

bool fullScreenByWm(unsigned long wid) { return wmState(wid).contains(kFull); }

bool plainByWm(unsigned long wid)
{
    const QStringList s = wmState(wid);
    return !s.contains(kFull) && !s.contains(kVert);
}

std::string stateOf(unsigned long wid) { return "window state: " + wmState(wid).join(u' ').toStdString(); }

// Maximised across the screen. Qt's idea of the frame can stay a pixel or
// two wider after leaving full screen (stale frame extents); the window
// manager's state above is what decides.
bool spansScreen(const QWidget& frame)
{
    return std::abs(frame.frameGeometry().width() - kScreen.width()) <= 2;
}

class MainWindowX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app = std::make_unique<CMyApp>();
        ASSERT_TRUE(m_app->InitInstance({QStringLiteral("muralcrafter")}));
        m_frame = m_app->MainFrame();
        m_wid = m_frame->winId();
        // Qt learns the new size from the server a little after the state.
        ASSERT_TRUE(waitFor([&] {
            return m_frame->isMaximized() && maximisedByWm(m_wid) && spansScreen(*m_frame);
        })) << stateOf(m_wid);
    }
    void TearDown() override { m_app.reset(); }

    std::string geometry() const
    {
        const QRect g = m_frame->geometry();
        return QStringLiteral("geometry %1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()).toStdString();
    }

    // Which bars show, with the toolbar's place.
    std::string bars() const
    {
        std::string text = m_frame->menuBar()->isVisible() ? "menu " : "";
        if (m_frame->ToolBar()->isVisible())
            text += m_frame->toolBarArea(m_frame->ToolBar()) == Qt::TopToolBarArea ? "toolbar-top " : "toolbar ";
        return text + (m_frame->statusBar()->isVisible() ? "status" : "");
    }

    bool viewHasFocus()
    {
        m_frame->activateWindow();
        return QApplication::focusWidget() == m_frame->GetActiveView();
    }

    std::unique_ptr<CMyApp> m_app;
    CMainFrame* m_frame = nullptr;
    unsigned long m_wid = 0;
};

} // namespace

TEST_F(MainWindowX11, StartsMaximisedAndFullScreenGoesBackToMaximised)
{
    // Maximised (the window spans the screen's width), bars as at start.
    EXPECT_EQ(bars(), "menu toolbar-top ");

    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] {
        return m_frame->isFullScreen() && fullScreenByWm(m_wid) && m_frame->geometry() == kScreen;
    })) << stateOf(m_wid);
    EXPECT_TRUE(m_frame->m_bFullScreen && m_frame->QueryCommand(ID_FULL_SCREEN).checked);
    EXPECT_EQ(bars(), "");
    // Only the view is left on the screen, at its top left corner.
    EXPECT_EQ(m_frame->centralWidget()->mapToGlobal(QPoint(0, 0)), kScreen.topLeft());
    EXPECT_EQ(m_frame->centralWidget()->size(), kScreen.size());

    // Escape, typed on the X server's keyboard (XTEST), leaves it.
    ASSERT_TRUE(waitFor([&] { return viewHasFocus(); }));
    runOn(QStringLiteral("xdotool"), {"key", "Escape"});
    ASSERT_TRUE(waitFor([&] {
        return !m_frame->isFullScreen() && m_frame->isMaximized() && maximisedByWm(m_wid) &&
               spansScreen(*m_frame);
    })) << stateOf(m_wid) << "; Qt: state " << int(m_frame->windowState()) << ", frame width "
        << m_frame->frameGeometry().width();
    EXPECT_FALSE(m_frame->m_bFullScreen || m_frame->QueryCommand(ID_FULL_SCREEN).checked);
    EXPECT_EQ(bars(), "menu toolbar-top ");
}

TEST_F(MainWindowX11, NormalWindowGetsItsRectangleBack)
{
    m_frame->showNormal();
    ASSERT_TRUE(waitFor([&] { return !m_frame->isMaximized() && plainByWm(m_wid); })) << stateOf(m_wid);
    const QRect normal(140, 110, 640, 480);
    m_frame->setGeometry(normal);
    ASSERT_TRUE(waitFor([&] { return m_frame->geometry() == normal; })) << geometry();

    // A double click in the view, given by the X server's pointer.
    CMyView* view = m_frame->GetActiveView();
    const QPoint at = view->mapToGlobal(view->rect().center());
    runOn(QStringLiteral("xdotool"), {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click",
                                      "--repeat", "2", "--delay", "60", "1"});
    ASSERT_TRUE(waitFor([&] {
        return m_frame->isFullScreen() && fullScreenByWm(m_wid) && m_frame->geometry() == kScreen;
    })) << stateOf(m_wid);

    // Command 137 again: the normal window where it was.
    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] { return !m_frame->isFullScreen() && plainByWm(m_wid) && m_frame->geometry() == normal; }))
        << geometry();
    EXPECT_FALSE(m_frame->isMaximized());
    EXPECT_EQ(bars(), "menu toolbar-top ");
}

TEST(ProgramX11, StartsMaximisedAndRegistersItsFileType)
{
    const QString data = mctest::freshDir();
    const Program program = startProgram({}, {"XDG_DATA_HOME=" + data, "XDG_CONFIG_HOME=" + mctest::freshDir()});
    ASSERT_TRUE(program);

    // Its visible window, once mapped.
    QStringList found;
    ASSERT_TRUE(waitFor([&] { return !(found = programWindows(program->processId())).isEmpty(); }))
        << "no window of the program";
    const unsigned long wid = found.constLast().toULong();
    ASSERT_TRUE(waitFor([&] { return maximisedByWm(wid); })) << stateOf(wid);
    const QString title = runOn(QStringLiteral("xprop"), {"-id", QString::number(wid), "_NET_WM_NAME"});
    EXPECT_TRUE(title.endsWith(QStringLiteral(" = \"Untitled - Muralcrafter\""))) << title.toStdString();

    // The start registered the project file type for this user, pointing
    // at this very program, and built the desktop's databases.
    QFile entry(data + QStringLiteral("/applications/" MC_APP_ID ".desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nExec=" MC_PROGRAM " %f\n"));
    for (const char* file : {"/mime/packages/" MC_APP_ID ".xml", "/mime/application/x-muralcrafter.xml",
                             "/icons/hicolor/48x48/apps/" MC_APP_ID ".png"})
        EXPECT_TRUE(QFile::exists(data + file)) << file;
}

namespace {

// The program's screen: as wide as the test display but lower than the
// window's client area, so the view needs no scroll bars and fills the
// window below its bars.
const QSize kProgramScreen(1024, 600);
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

// The real program on the test display: a project with a canvas smaller
// than the window, Ctrl+I, a path typed into the open dialog, and the new
// item seen on the screen over the canvas, read back from a screenshot of
// the whole display.
TEST(ProgramX11, AddImageWithCtrlIShowsTheItemOnTheCanvas)
{
    // An empty project: a plain canvas of a known colour, no picture.
    const QString dir = mctest::freshDir();
    const QString project =
        apptest::writeCanvasProject(dir, "canvas.mcr", kCanvas, mc::argbToColorref(kCanvasColor.rgb()), {1, 1}, {});
    const QString picture = mctest::writeImage(dir, "item.png", mctest::solidImage(kItem.width(), kItem.height(), kItemColor));
    const QString config = mctest::freshDir();
    const Program program = startProgram(
        {project}, {"XDG_CONFIG_HOME=" + config, "XDG_DATA_HOME=" + mctest::freshDir(), "MURALCRAFTER_DESKTOP=file",
                    QStringLiteral("MURALCRAFTER_SCREEN=%1x%2").arg(kProgramScreen.width()).arg(kProgramScreen.height()),
                    // Qt's own file dialog, whatever desktop the machine would suggest.
                    "QT_QPA_PLATFORM=xcb", "XDG_CURRENT_DESKTOP=", "QT_QPA_PLATFORMTHEME="});
    ASSERT_TRUE(program);
    const qint64 pid = program->processId();

    QString main;
    ASSERT_TRUE(waitFor([&] {
        const QStringList found = programWindows(pid);
        return !found.isEmpty() && maximisedByWm((main = found.constLast()).toULong());
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
        for (const QString& w : programWindows(pid))
            if (w != main)
                dialog = w;
        return !dialog.isEmpty();
    })) << "Ctrl+I opened no dialog";
    runOn("xdotool", {"windowactivate", "--sync", dialog});
    runOn("xdotool", {"type", "--delay", "15", picture});
    // Return accepts; a first one may only close the name completion list.
    ASSERT_TRUE(waitFor([&] {
        if (programWindows(pid) == QStringList{main})
            return true;
        runOn("xdotool", {"key", "Return"});
        return waitFor([&] { return programWindows(pid) == QStringList{main}; }, 2000);
    }, 15000)) << "the file dialog did not take " << picture.toStdString();

    ASSERT_TRUE(waitFor([&] { return (scene = look(shotFile)).item.size() == kItem; }))
        << "item not on the screen; found " << rectText(scene.item).toStdString() << ", see " << shotFile.toStdString();
    EXPECT_TRUE(QFileInfo(dir + "/item.jpg").isFile()); // the PNG went in as a JPEG copy

    // Canvas: the same place, its colour at its corners inside a black
    // frame (CanvasLayer_test pins the frame to the pixel).
    EXPECT_EQ(scene.canvas, canvas);
    const QImage& shot = scene.shot;
    for (const QPoint p : {canvas.topLeft(), canvas.bottomRight()})
        EXPECT_EQ(shot.pixel(p), kCanvasColor.rgb()) << p.x() << ',' << p.y();
    for (const QPoint p : {canvas.topLeft() - QPoint(1, 1), canvas.bottomRight() + QPoint(1, 1)})
        EXPECT_EQ(shot.pixel(p), qRgb(0, 0, 0)) << p.x() << ',' << p.y();

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
    EXPECT_EQ(itemAt, QPoint(kProgramScreen.width() / 2 - kItem.width() / 2, kProgramScreen.height() / 2 - kItem.height() / 2) - origin)
        << "client " << client.width() << 'x' << client.height();
    EXPECT_TRUE(near(shot.pixel(scene.item.center()), kItemColor, 12));
}
