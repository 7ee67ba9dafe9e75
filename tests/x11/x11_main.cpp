// The window tests' own main: a private X display with openbox comes first
// (without a window manager, maximise and full screen requests go
// unanswered), then a QApplication on it (xcb); ctest counts exit status 77
// as skipped.
#include "platform/XvfbServer.h"
#include "x11/X11Session.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    mctest::isolateEnvironment();
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return std::fputs("Xvfb is not installed: the X11 window tests are skipped\n", stderr), 77;
    XvfbServer xvfb(QStringLiteral("1024x768x24"));
    qputenv("DISPLAY", xvfb.display().toUtf8());
    QProcess openbox; // killed as it goes
    openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    openbox.waitForStarted(10000); // no event loop yet to move it on
    // The window manager is in charge once it has published its check window.
    const bool managed = !xvfb.display().isEmpty() && x11test::waitFor([&] {
        return openbox.state() == QProcess::Running
            && x11test::runOn("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains(QStringLiteral("window id"));
    });
    if (!managed)
        return std::fputs("No X display with openbox for the window tests\n", stderr), 1;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
