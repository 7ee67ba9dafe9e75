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
#include <QImage>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

using x11test::g_display;
using x11test::runOn;
using x11test::waitFor;
using x11test::wmState;

namespace {

const QRect kScreen(0, 0, 1024, 768);

bool maximisedByWm(unsigned long wid)
{
    const QStringList s = wmState(g_display, wid);
    return s.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT")) &&
           s.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ")) &&
           !s.contains(QStringLiteral("_NET_WM_STATE_FULLSCREEN"));
}

bool fullScreenByWm(unsigned long wid)
{
    return wmState(g_display, wid).contains(QStringLiteral("_NET_WM_STATE_FULLSCREEN"));
}

bool plainByWm(unsigned long wid)
{
    const QStringList s = wmState(g_display, wid);
    return !s.contains(QStringLiteral("_NET_WM_STATE_FULLSCREEN")) &&
           !s.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT"));
}

// Real input through the X server (XTEST), as a user's mouse would give it.
void doubleClickAt(QPoint global)
{
    runOn(g_display, QStringLiteral("xdotool"),
          {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(global.x()), QString::number(global.y()),
           QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
           QStringLiteral("60"), QStringLiteral("1")});
}

void pressEscape()
{
    runOn(g_display, QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
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
            return m_frame->isMaximized() && maximisedByWm(m_wid) && m_frame->frameGeometry().width() == kScreen.width();
        }))
            << "window state: " << wmState(g_display, m_wid).join(u' ').toStdString();
    }
    void TearDown() override { m_app.reset(); }

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

    // What the screen shows, kept next to the tests for a look.
    QApplication::processEvents();
    const QString shot = QStringLiteral(MC_SHOT_DIR "/x11-main-window.png");
    QFile::remove(shot);
    runOn(g_display, QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot}, 30000);
    EXPECT_EQ(QImage(shot).size(), kScreen.size());

    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] {
        return m_frame->isFullScreen() && fullScreenByWm(m_wid) && m_frame->geometry() == kScreen;
    })) << "window state: " << wmState(g_display, m_wid).join(u' ').toStdString();
    EXPECT_TRUE(m_frame->m_bFullScreen);
    EXPECT_TRUE(m_frame->QueryCommand(ID_FULL_SCREEN).checked);
    EXPECT_FALSE(m_frame->menuBar()->isVisible());
    EXPECT_FALSE(m_frame->ToolBar()->isVisible());
    // Only the view is left on the screen, at its top left corner.
    EXPECT_EQ(m_frame->centralWidget()->mapToGlobal(QPoint(0, 0)), kScreen.topLeft());
    EXPECT_EQ(m_frame->centralWidget()->size(), kScreen.size());

    // Escape, typed on the X server's keyboard, leaves it.
    ASSERT_TRUE(waitFor([&] { return viewHasFocus(); }));
    pressEscape();
    ASSERT_TRUE(waitFor([&] {
        return !m_frame->isFullScreen() && m_frame->isMaximized() && maximisedByWm(m_wid) &&
               m_frame->frameGeometry().width() == kScreen.width();
    }))
        << "window state: " << wmState(g_display, m_wid).join(u' ').toStdString();
    EXPECT_FALSE(m_frame->m_bFullScreen);
    EXPECT_FALSE(m_frame->QueryCommand(ID_FULL_SCREEN).checked);
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
    EXPECT_TRUE(m_frame->ToolBar()->isVisible());
}

TEST_F(MainWindowX11, NormalWindowGetsItsRectangleBack)
{
    m_frame->showNormal();
    ASSERT_TRUE(waitFor([&] { return !m_frame->isMaximized() && plainByWm(m_wid); }))
        << "window state: " << wmState(g_display, m_wid).join(u' ').toStdString() << " maximised "
        << m_frame->isMaximized();
    const QRect normal(140, 110, 640, 480);
    m_frame->setGeometry(normal);
    ASSERT_TRUE(waitFor([&] { return m_frame->geometry() == normal; }))
        << "geometry " << m_frame->geometry().x() << "," << m_frame->geometry().y();

    // A double click in the view, given by the X server's pointer.
    CMyView* view = m_frame->GetActiveView();
    doubleClickAt(view->mapToGlobal(view->rect().center()));
    ASSERT_TRUE(waitFor([&] {
        return m_frame->isFullScreen() && fullScreenByWm(m_wid) && m_frame->geometry() == kScreen;
    })) << "window state: " << wmState(g_display, m_wid).join(u' ').toStdString();

    // Command 137 again: the normal window where it was.
    m_frame->RouteCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(waitFor([&] { return !m_frame->isFullScreen() && plainByWm(m_wid) && m_frame->geometry() == normal; }))
        << "geometry " << m_frame->geometry().x() << "," << m_frame->geometry().y() << " "
        << m_frame->geometry().width() << "x" << m_frame->geometry().height();
    EXPECT_FALSE(m_frame->isMaximized());
    EXPECT_TRUE(m_frame->menuBar()->isVisible());
}

TEST(ProgramX11, StartsMaximisedRegistersItsFileTypeAndTogglesFullScreen)
{
    const QString data = mctest::freshDir();
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), g_display);
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), mctest::freshDir());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(MC_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    struct Ender {
        QProcess& p;
        ~Ender()
        {
            p.terminate();
            if (!p.waitForFinished(10000))
                p.kill();
            p.waitForFinished(5000);
        }
    } ender{program};

    // Its visible window, once mapped (xdotool waits for it, bounded here).
    const QString found = runOn(g_display, QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--pid"), QString::number(program.processId())},
                                30000);
    ASSERT_FALSE(found.isEmpty()) << "no window of the program";
    const unsigned long wid = found.split(u'\n').constLast().toULong();
    ASSERT_TRUE(waitFor([&] { return maximisedByWm(wid); }))
        << "window state: " << wmState(g_display, wid).join(u' ').toStdString();
    const QString title = runOn(g_display, QStringLiteral("xprop"),
                                {QStringLiteral("-id"), QString::number(wid), QStringLiteral("_NET_WM_NAME")});
    EXPECT_TRUE(title.endsWith(QStringLiteral(" = \"Untitled - Muralcrafter\""))) << title.toStdString();

    // The start registered the project file type for this user, pointing
    // at this very program, and built the desktop's databases.
    QFile entry(data + QStringLiteral("/applications/muralcrafter.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nExec=" MC_PROGRAM " %f\n"));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/mime/packages/muralcrafter.xml")));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/mime/application/x-muralcrafter.xml")));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/icons/hicolor/48x48/apps/muralcrafter.png")));

    // Double click in the middle of the screen (the view), then Escape.
    doubleClickAt(kScreen.center());
    ASSERT_TRUE(waitFor([&] { return fullScreenByWm(wid); }))
        << "window state: " << wmState(g_display, wid).join(u' ').toStdString();
    pressEscape();
    ASSERT_TRUE(waitFor([&] { return maximisedByWm(wid); }))
        << "window state: " << wmState(g_display, wid).join(u' ').toStdString();
}
