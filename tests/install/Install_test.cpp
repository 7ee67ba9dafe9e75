// The program as `cmake --install` lays it out in a fresh prefix: every file
// in place and accepted by the desktop's own checkers, the project type known
// to the desktop, and the installed program finding its data.
#include "common/TestUtil.h"
#include "platform/Process.h"
#include "platform/ProgramData.h"
#include "canvas/SampleProject.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using mc::platform::runProcess;

TEST(Install, StagedPrefixHoldsAValidDesktopApplicationThatFindsItsData)
{
    if (!mc::platform::haveProgram("appstreamcli") || !mc::platform::haveProgram("xdg-mime"))
        GTEST_SKIP() << "appstreamcli or xdg-mime is not installed (scripts/setup.sh installs them)";
    const QString prefix = mctest::freshDir(), share = prefix + "/share/", program = prefix + "/bin/muralcrafter";
    const auto install = runProcess(MC_CMAKE, {"--install", MC_BUILD_DIR, "--prefix", prefix}, 120000);
    ASSERT_TRUE(install.ok()) << install.err.toStdString();

    const QString entry = share + "applications/" MC_APP_ID ".desktop", metainfo = share + "metainfo/" MC_APP_ID ".metainfo.xml";
    QStringList expected = {program, entry, metainfo, share + "mime/packages/" MC_APP_ID ".xml"};
    for (const QString kind : {"apps/" MC_APP_ID, "mimetypes/" MC_APP_ID "-project"}) {
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            expected << share + QStringLiteral("icons/hicolor/%1x%1/%2.png").arg(size).arg(kind);
        expected << share + "icons/hicolor/scalable/" + kind + ".svg";
    }
    for (const QString& name : mc::canvas::SamplePictureNames())
        expected << share + "muralcrafter/samples/" + name;
    for (const QString& name : QDir(MC_SOURCE_DIR "/resources/tiles").entryList({"*.bmp"}, QDir::Files))
        expected << share + "muralcrafter/tiles/" + name;
    for (const QString& file : expected)
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();

    // The desktop's checkers; validate-tree also finds the launchable entry.
    for (const QStringList& check : {QStringList{"desktop-file-validate", entry},
                                     QStringList{"appstreamcli", "validate", "--no-net", metainfo},
                                     QStringList{"appstreamcli", "validate-tree", "--no-net", prefix}}) {
        const auto r = runProcess(check[0], check.mid(1), 60000);
        EXPECT_TRUE(r.ok()) << check.join(' ').toStdString() << ": " << r.out.toStdString();
    }

    // The installed program takes its data from the prefix.
    EXPECT_EQ(mc::platform::programDataFolder(mc::platform::DataFolder::Samples, program), share + "muralcrafter/samples");
    EXPECT_EQ(mc::platform::programDataFolder(mc::platform::DataFolder::Tiles, program), share + "muralcrafter/tiles");
    const QString dir = mctest::freshDir() + "/sample";
    const auto sample = runProcess(program, {"--make-sample", dir}, 60000, {"QT_QPA_PLATFORM=offscreen", "MURALCRAFTER_SCREEN=1024x768"});
    EXPECT_EQ(sample.out, dir + "/sample.mcr") << sample.err.toStdString();
    const QString item = share + "muralcrafter/samples/sunset.jpg"; // item paths are stored as UTF-16
    EXPECT_TRUE(mctest::readFile(sample.out).contains(QByteArray(reinterpret_cast<const char*>(item.utf16()), item.size() * 2)));

    // With the prefix as the user's data home (as `--prefix ~/.local`
    // installs), the desktop knows a project by its name and by its content.
    ASSERT_TRUE(QFile::copy(dir + "/sample.mcr", dir + "/no-extension"));
    for (const QString& file : {dir + "/sample.mcr", dir + "/no-extension"})
        EXPECT_EQ(runProcess("xdg-mime", {"query", "filetype", file}, 60000,
                             {"XDG_DATA_HOME=" + share, "XDG_DATA_DIRS=/usr/share", "XDG_CURRENT_DESKTOP=GNOME"}).out,
                  "application/x-muralcrafter");
}
