// The program as `cmake --install` lays it out in a fresh prefix: every file
// in place and accepted by the desktop's own checkers, the project type known
// to the desktop, and the installed program finding its data.
#include "common/TestUtil.h"
#include "platform/ProgramData.h"
#include "view/SampleProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
};

// `program` with `args`; `env` entries ("NAME=value") are added to the test's own.
Outcome run(const QString& program, const QStringList& args, const QStringList& env = {})
{
    QProcess proc;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env)
        environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    proc.setProcessEnvironment(environment);
    proc.setProcessChannelMode(QProcess::MergedChannels);
    proc.start(program, args);
    if (!proc.waitForFinished(120000) || proc.exitStatus() != QProcess::NormalExit)
        return {};
    return {proc.exitCode(), QString::fromUtf8(proc.readAll()).trimmed()};
}

} // namespace

TEST(Install, StagedPrefixHoldsAValidDesktopApplicationThatFindsItsData)
{
    for (const char* tool : {"desktop-file-validate", "appstreamcli", "xdg-mime", "gio"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/setup.sh installs it)";
    }
    const QString prefix = mctest::freshDir();
    const Outcome install = run(QStringLiteral(MC_CMAKE), {"--install", MC_BUILD_DIR, "--prefix", prefix});
    ASSERT_EQ(install.status, 0) << install.out.toStdString();

    const QString share = prefix + "/share/";
    QStringList expected = {prefix + "/bin/muralcrafter", share + "applications/" MC_APP_ID ".desktop",
                            share + "mime/packages/" MC_APP_ID ".xml", share + "metainfo/" MC_APP_ID ".metainfo.xml"};
    for (const QString kind : {"apps/" MC_APP_ID, "mimetypes/" MC_APP_ID "-project"}) {
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            expected << share + QStringLiteral("icons/hicolor/%1x%1/%2.png").arg(size).arg(kind);
        expected << share + "icons/hicolor/scalable/" + kind + ".svg";
    }
    for (const QString& name : mc::view::SamplePictureNames())
        expected << share + "muralcrafter/samples/" + name;
    for (const QString& name : QDir(MC_SOURCE_DIR "/resources/tiles").entryList({"*.bmp"}, QDir::Files))
        expected << share + "muralcrafter/tiles/" + name;
    for (const QString& file : expected)
        EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();

    // The desktop's checkers accept the entry and the metainfo, and the
    // metainfo's launchable is the installed entry.
    for (const auto& [tool, args] : {std::pair{"desktop-file-validate", QStringList{expected[1]}},
                                     std::pair{"appstreamcli", QStringList{"validate", "--no-net", expected[3]}},
                                     std::pair{"appstreamcli", QStringList{"validate-tree", "--no-net", prefix}}}) {
        const Outcome check = run(QString::fromLatin1(tool), args);
        EXPECT_EQ(check.status, 0) << tool << ": " << check.out.toStdString();
    }

    // The installed program takes its data from the prefix and writes the sample there.
    const QString program = expected[0];
    EXPECT_TRUE(mc::platform::isInstalledProgram(program));
    EXPECT_EQ(mc::platform::programDataFolder(mc::platform::DataFolder::Samples, program), share + "muralcrafter/samples");
    EXPECT_EQ(mc::platform::programDataFolder(mc::platform::DataFolder::Tiles, program), share + "muralcrafter/tiles");
    const QString dir = mctest::freshDir() + "/sample";
    const Outcome sample = run(program, {"--make-sample", dir}, {"QT_QPA_PLATFORM=offscreen", "MURALCRAFTER_SCREEN=1024x768"});
    ASSERT_EQ(sample.status, 0) << sample.out.toStdString();

    // With the prefix as the user's data home (as `--prefix ~/.local`
    // installs), the desktop knows a saved project by its name and by its
    // first bytes.
    ASSERT_TRUE(QFile::copy(dir + "/sample.mcr", dir + "/no-extension"));
    const QStringList desktop = {"XDG_DATA_HOME=" + share, "XDG_DATA_DIRS=/usr/share", "XDG_CURRENT_DESKTOP=GNOME"};
    for (const QString& file : {dir + "/sample.mcr", dir + "/no-extension"}) {
        const Outcome query = run(QStringLiteral("xdg-mime"), {"query", "filetype", file}, desktop);
        EXPECT_EQ(query.out, "application/x-muralcrafter") << file.toStdString();
    }
}
