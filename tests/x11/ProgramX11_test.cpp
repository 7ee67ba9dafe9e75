// The main window under a real window manager: maximised at start, full
// screen on and off (command 137, double click, Escape) as the window
// manager itself reports it, and the program started for real.
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "common/TestUtil.h"
#include "document/CommandIds.h"
#include "x11/X11Session.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QMenuBar>
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
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
    EXPECT_TRUE(m_frame->ToolBar()->isVisible());
    EXPECT_EQ(m_frame->toolBarArea(m_frame->ToolBar()), Qt::TopToolBarArea);
    EXPECT_FALSE(m_frame->statusBar()->isVisible());


    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] {
        return m_frame->isFullScreen() && fullScreenByWm(m_wid) && m_frame->geometry() == kScreen;
    })) << stateOf(m_wid);
    EXPECT_TRUE(m_frame->m_bFullScreen);
    EXPECT_TRUE(m_frame->QueryCommand(ID_FULL_SCREEN).checked);
    EXPECT_FALSE(m_frame->menuBar()->isVisible());
    EXPECT_FALSE(m_frame->ToolBar()->isVisible());
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
    EXPECT_FALSE(m_frame->m_bFullScreen);
    EXPECT_FALSE(m_frame->QueryCommand(ID_FULL_SCREEN).checked);
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
    EXPECT_TRUE(m_frame->ToolBar()->isVisible());
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
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
}

TEST(ProgramX11, StartsMaximisedAndRegistersItsFileType)
{
    const QString data = mctest::freshDir();
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment(); // DISPLAY is the test display
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), mctest::freshDir());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(MC_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    const auto end = qScopeGuard([&] {
        program.terminate();
        if (!program.waitForFinished(10000))
            program.kill();
        program.waitForFinished(5000);
    });

    // Its visible window, once mapped. Asked again until it is there: a
    // search can fail outright when a window vanishes while it looks.
    QString found;
    ASSERT_TRUE(waitFor([&] {
        found = runOn(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(program.processId())});
        return !found.isEmpty();
    })) << "no window of the program";
    const unsigned long wid = found.split(u'\n').constLast().toULong();
    ASSERT_TRUE(waitFor([&] { return maximisedByWm(wid); })) << stateOf(wid);
    const QString title = runOn(QStringLiteral("xprop"), {"-id", QString::number(wid), "_NET_WM_NAME"});
    EXPECT_TRUE(title.endsWith(QStringLiteral(" = \"Untitled - Muralcrafter\""))) << title.toStdString();

    // The start registered the project file type for this user, pointing
    // at this very program, and built the desktop's databases.
    QFile entry(data + QStringLiteral("/applications/muralcrafter.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nExec=" MC_PROGRAM " %f\n"));
    for (const char* file : {"/mime/packages/muralcrafter.xml", "/mime/application/x-muralcrafter.xml",
                             "/icons/hicolor/48x48/apps/muralcrafter.png"})
        EXPECT_TRUE(QFile::exists(data + file)) << file;
}
