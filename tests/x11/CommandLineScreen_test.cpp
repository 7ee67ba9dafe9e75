// The program's command line takes the screen from the display it reaches,
// else the screen the window recorded, else 1920 x 1080 with a note.
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "platform/Settings.h"
#include "platform/XvfbServer.h"
#include "x11/X11Session.h"

#include <QSettings>

#include <gtest/gtest.h>

TEST(ProgramCommandLine, ScreenFromTheDisplayElseTheRecordedScreenElseFullHd)
{
    XvfbServer xvfb(QStringLiteral("1152x864x24"));
    ASSERT_FALSE(xvfb.display().isEmpty());
    const QString dir = mctest::freshDir(), project = dir + "/p.mcr", out = dir + "/w.png";
    ASSERT_TRUE(mc::document::WriteProjectFile(CMyDoc(mc::platform::DesktopSettings{}), project).ok);
    const struct {
        const char *display, *screenEnv;
        QSize recorded, expected;
        bool note;
    } cases[] = {{"xvfb", nullptr, {}, {1152, 864}, false}, {"xvfb", "1280x720", {}, {1280, 720}, false},
                 {nullptr, nullptr, {1366, 768}, {1366, 768}, false}, {nullptr, nullptr, {}, {1920, 1080}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.width());
        // "NAME=" unsets.
        const QStringList env{"QT_QPA_PLATFORM=", "WAYLAND_DISPLAY=", c.display ? "DISPLAY=" + xvfb.display() : "DISPLAY=",
                              c.screenEnv ? QStringLiteral("MURALCRAFTER_SCREEN=") + c.screenEnv : "MURALCRAFTER_SCREEN="};
        c.recorded.isValid() ? mc::platform::storeScreenSize(c.recorded) : mc::platform::openSettings()->remove("View/ScreenSize");
        const x11test::Program program = x11test::startProgram({"--wallpaper", "stretched", "--output", out, project}, env);
        ASSERT_TRUE(program && program->waitForFinished(60000));
        const QString err = program->readAllStandardError();
        EXPECT_TRUE(program->exitCode() == 0 && QImage(out).size() == c.expected && err.contains("(--screen WxH sets it)") == c.note)
            << QImage(out).width() << 'x' << QImage(out).height() << ": " << err.toStdString();
    }
}
