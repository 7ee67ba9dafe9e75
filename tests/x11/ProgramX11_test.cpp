// The main window under a real window manager: maximised at start, full
// screen on and off (command 137, double click, Escape) as the window
// manager itself reports it; and the program started for real: its file
// type registered, and Ctrl+I adding a picture seen on the screen.
#include "app/AppTestUtil.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "document/CommandIds.h"
#include "imaging/Colors.h"
#include "x11/X11Session.h"

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace x11test;
using mctest::rectText;

namespace {

const QRect kScreen(0, 0, 1024, 768);

// The window manager's word on window `wid`: "maximised", "full" or "plain".
bool wmSays(unsigned long wid, const char* state)
{
    const QString s = wmState(wid).join(u' ');
    return s.contains("FULLSCREEN") ? qstrcmp(state, "full") == 0
        : s.contains("MAXIMIZED") ? s.contains("MAXIMIZED_VERT") && s.contains("MAXIMIZED_HORZ") && qstrcmp(state, "maximised") == 0
                                  : qstrcmp(state, "plain") == 0;
}

std::string stateOf(unsigned long wid) { return "window state: " + wmState(wid).join(u' ').toStdString(); }

class MainWindowX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app->InitInstance({QStringLiteral("muralcrafter")}));
        m_frame = m_app->MainFrame();
        m_wid = m_frame->winId();
        ASSERT_TRUE(waitFor([&] { return maximised(); })) << stateOf(m_wid);
    }

    // Maximised across the screen: Qt learns the new size from the server a
    // little after the state, and its idea of the frame can stay a pixel or
    // two wider after leaving full screen (stale frame extents); the window
    // manager's state is what decides.
    bool maximised() const
    {
        return !m_frame->isFullScreen() && m_frame->isMaximized() && wmSays(m_wid, "maximised")
            && std::abs(m_frame->frameGeometry().width() - kScreen.width()) <= 2;
    }
    bool fullScreen() const { return m_frame->isFullScreen() && wmSays(m_wid, "full") && m_frame->geometry() == kScreen; }

    // Which bars show, with the toolbar's place, and the full screen flag
    // with its menu check.
    std::string bars() const
    {
        const bool toolbar = m_frame->ToolBar()->isVisible(), top = m_frame->toolBarArea(m_frame->ToolBar()) == Qt::TopToolBarArea;
        return std::string(m_frame->menuBar()->isVisible() ? "menu " : "") + (toolbar ? top ? "toolbar-top " : "toolbar " : "")
            + (m_frame->statusBar()->isVisible() ? "status " : "") + (m_frame->m_bFullScreen ? "full" : "")
            + (m_frame->QueryCommand(ID_FULL_SCREEN).checked ? "+" : "");
    }

    std::unique_ptr<CMyApp> m_app = std::make_unique<CMyApp>();
    CMainFrame* m_frame = nullptr;
    unsigned long m_wid = 0;
};

} // namespace

TEST_F(MainWindowX11, StartsMaximisedAndFullScreenGoesBackToMaximised)
{
    EXPECT_EQ(bars(), "menu toolbar-top ");
    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] { return fullScreen(); })) << stateOf(m_wid);
    EXPECT_EQ(bars(), "full+");
    // Only the view is left on the screen, at its top left corner.
    EXPECT_EQ(QRect(m_frame->centralWidget()->mapToGlobal(QPoint(0, 0)), m_frame->centralWidget()->size()), kScreen);

    // Escape, typed on the X server's keyboard (XTEST), leaves it.
    ASSERT_TRUE(waitFor([&] { return m_frame->activateWindow(), QApplication::focusWidget() == m_frame->GetActiveView(); }));
    runOn(QStringLiteral("xdotool"), {"key", "Escape"});
    ASSERT_TRUE(waitFor([&] { return maximised(); }))
        << stateOf(m_wid) << "; Qt: state " << int(m_frame->windowState()) << ", frame width " << m_frame->frameGeometry().width();
    EXPECT_EQ(bars(), "menu toolbar-top ");
}

TEST_F(MainWindowX11, NormalWindowGetsItsRectangleBack)
{
    m_frame->showNormal();
    ASSERT_TRUE(waitFor([&] { return !m_frame->isMaximized() && wmSays(m_wid, "plain"); })) << stateOf(m_wid);
    const QRect normal(140, 110, 640, 480);
    m_frame->setGeometry(normal);
    ASSERT_TRUE(waitFor([&] { return m_frame->geometry() == normal; })) << rectText(m_frame->geometry());

    // A double click in the view, given by the X server's pointer.
    const QPoint at = m_frame->GetActiveView()->mapToGlobal(m_frame->GetActiveView()->rect().center());
    runOn(QStringLiteral("xdotool"), {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click",
                                      "--repeat", "2", "--delay", "60", "1"});
    ASSERT_TRUE(waitFor([&] { return fullScreen(); })) << stateOf(m_wid);

    // Command 137 again: the normal window where it was.
    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] { return !m_frame->isFullScreen() && wmSays(m_wid, "plain") && m_frame->geometry() == normal; }))
        << rectText(m_frame->geometry());
    EXPECT_FALSE(m_frame->isMaximized());
    EXPECT_EQ(bars(), "menu toolbar-top ");
}

namespace {

// The program's screen: as wide as the test display but lower than the
// window's client area, so the view needs no scroll bars and fills the
// window below its bars.
const QSize kProgramScreen(1024, 600);
const QSize kCanvas(700, 500); // smaller than the window, so its frame shows
const QColor kCanvasColor(37, 118, 201), kItemColor(230, 60, 20);
const QSize kItem(200, 100);

// Where the canvas and the item are on the screen.
struct Scene { QRect canvas, item; };

Scene look(const QString& file)
{
    QFile::remove(file);
    runOn(QStringLiteral("import"), {"-window", "root", file});
    const QImage shot = QImage(file).convertToFormat(QImage::Format_RGB32);
    // The item comes from a JPEG copy of the picture: nearly its colour.
    return {mctest::colourBox(shot, kCanvasColor), mctest::colourBox(shot, kItemColor, 24)};
}

} // namespace

// The real program on the test display: started, its window maximised and
// its file type registered; then a project with a canvas smaller than the
// window, Ctrl+I, a path typed into the open dialog, and the new item seen
// on the screen over the canvas, read back from a screenshot of the whole
// display.
TEST(ProgramX11, RegistersItsFileTypeAndCtrlIShowsTheItemOnTheCanvas)
{
    const QString dir = mctest::freshDir(), config = mctest::freshDir(), data = mctest::freshDir();
    const QString project = apptest::writeCanvasProject(dir, "canvas.mcr", kCanvas, mc::argbToColorref(kCanvasColor.rgb()), {1, 1}, {});
    const QString picture = mctest::writeImage(dir, "item.png", mctest::solidImage(kItem.width(), kItem.height(), kItemColor));
    // Qt's own file dialog, whatever desktop the machine would suggest.
    const Program program = startProgram({project}, {"XDG_CONFIG_HOME=" + config, "XDG_DATA_HOME=" + data, "MURALCRAFTER_DESKTOP=file",
                                                     "MURALCRAFTER_SCREEN=1024x600", "QT_QPA_PLATFORM=xcb", "XDG_CURRENT_DESKTOP=",
                                                     "QT_QPA_PLATFORMTHEME="});
    ASSERT_TRUE(program);
    const qint64 pid = program->processId();
    QString main;
    ASSERT_TRUE(waitFor([&] {
        const QStringList found = programWindows(pid);
        return !found.isEmpty() && wmSays((main = found.constLast()).toULong(), "maximised");
    })) << "no maximised window of the program";

    // The start registered the project file type for this user, pointing
    // at this very program, and built the desktop's databases.
    EXPECT_TRUE(mctest::readFile(data + "/applications/" MC_APP_ID ".desktop").contains("\nExec=" MC_PROGRAM " %f\n"));
    EXPECT_TRUE(QFile::exists(data + "/mime/application/x-muralcrafter.xml") && QFile::exists(data + "/icons/hicolor/48x48/apps/" MC_APP_ID ".png"));

    // The canvas on the screen before anything is added.
    const QString shotFile = QStringLiteral(MC_SHOT_DIR "/add-image-shot.png");
    Scene scene;
    ASSERT_TRUE(waitFor([&] { return (scene = look(shotFile)).canvas.size() == kCanvas; }))
        << "canvas not on the screen; found " << rectText(scene.canvas) << ", see " << shotFile.toStdString();
    const QRect canvas = scene.canvas;

    // Ctrl+I on the main window opens the file dialog, a second window.
    runOn("xdotool", {"windowactivate", "--sync", main});
    runOn("xdotool", {"key", "--clearmodifiers", "ctrl+i"});
    QString dialog;
    ASSERT_TRUE(waitFor([&] {
        QStringList windows = programWindows(pid);
        return windows.removeAll(main), !(dialog = windows.value(0)).isEmpty();
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

    // The new item is the current one: its outline covers its edge pixels.
    ASSERT_TRUE(waitFor([&] { return (scene = look(shotFile)).item.size() == kItem - QSize(2, 2); }))
        << "item not on the screen; found " << rectText(scene.item) << ", see " << shotFile.toStdString();
    // The canvas stays in place (CanvasLayer_test pins its frame to the pixel).
    EXPECT_EQ(scene.canvas, canvas);

    // The canvas is centred in the client area the program captured (and
    // stored): its first paint may come before the window manager has
    // maximised the window, so that area is read back rather than guessed.
    // The view spans the window's width.
    const QString settings = config + "/Local AppWizard-Generated Applications/Muralcrafter.conf";
    const QSize client = QSettings(settings, QSettings::IniFormat).value("View/ClientSize").toSize();
    ASSERT_TRUE(client.isValid()) << "no client area stored";
    const QPoint origin(std::max(0, (client.width() - kCanvas.width()) / 2), std::max(0, (client.height() - kCanvas.height()) / 2));
    const QString info = runOn(QStringLiteral("xwininfo"), {"-id", main});
    EXPECT_EQ(canvas.left() - origin.x(), info.section("Absolute upper-left X:", 1).section(u'\n', 0, 0).trimmed().toInt());
    // The item's centre lies at the screen's centre in view coordinates,
    // (512, 300) from the view's corner.
    EXPECT_EQ(scene.item.topLeft() - QPoint(1, 1) - canvas.topLeft(),
              QPoint(kProgramScreen.width() - kItem.width(), kProgramScreen.height() - kItem.height()) / 2 - origin)
        << "client " << client.width() << 'x' << client.height();
}
