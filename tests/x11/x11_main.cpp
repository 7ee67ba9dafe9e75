// The window tests' own main: a private X display with openbox comes first,
// then a QApplication on it (xcb); ctest counts exit status 77 as skipped.
#include "common/TestUtil.h"
#include "x11/X11Session.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdio>

namespace x11test {
QString g_display;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    mctest::isolateEnvironment();
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        std::fputs("Xvfb is not installed: the X11 window tests are skipped\n", stderr);
        return 77;
    }
    x11test::X11Session session(QStringLiteral("1024x768x24"));
    if (session.display().isEmpty()) {
        std::fprintf(stderr, "No X display for the window tests: %s\n", qPrintable(session.error()));
        return 1;
    }
    x11test::g_display = session.display();
    qputenv("DISPLAY", session.display().toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 0;
    {
        QApplication app(argc, argv);
        status = RUN_ALL_TESTS();
    }
    return status;
}
