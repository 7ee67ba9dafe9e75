// The desktop tests' own main: the test process becomes a child subreaper
// (every daemon a desktop forks stays below it and is ended with the test),
// and the desktops must be installed (scripts/test.sh --desktops installs
// them). Without them: exit status 77, which ctest counts as skipped, unless
// MURALCRAFTER_DESKTOP_TESTS=required, when it is a failure.
#include "desktops/Session.h"

#include <QGuiApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    mctest::isolateEnvironment();
    QStringList missing;
    for (const char* tool : {"Xvfb", "import", "dbus-launch", "dbus-send", "plasmashell", "xfdesktop", "xfconf-query",
                             "pcmanfm-qt", "sway", "swaymsg", "swaybg", "grim", "gsettings"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    if (!missing.isEmpty()) {
        std::fprintf(stderr, "Not installed: %s (scripts/test.sh --desktops installs them)\n",
                     qPrintable(missing.join(u' ')));
        return qEnvironmentVariable("MURALCRAFTER_DESKTOP_TESTS") == u"required" ? 1 : 77;
    }
    if (::prctl(PR_SET_CHILD_SUBREAPER, 1) != 0)
        return std::perror("PR_SET_CHILD_SUBREAPER"), 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
    desk::endDescendants();
    return status;
}
