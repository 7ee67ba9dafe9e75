// The user's file-type registration against the shipped files and the real
// update-mime-database and update-desktop-database.
#include "platform/FileTypeRegistration.h"
#include "platform/Process.h"

#include "common/EnvGuard.h"
#include "common/TestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <memory>
#include <tuple>

#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

bool haveTools()
{
    return haveProgram(QStringLiteral("update-mime-database")) && haveProgram(QStringLiteral("update-desktop-database"));
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    // One run as "written W failed F mime M desktop D kept K" (M, D: the
    // databases were rebuilt).
    QString run(const QString& program = QStringLiteral("/usr/bin/muralcrafter"), bool installed = true)
    {
        const FileTypeRegistration r = registerFileTypesForUser(m_files, program, m_home, installed, {m_system});
        return QStringLiteral("written %1 failed %2 mime %3 desktop %4 kept %5")
            .arg(r.written.size()).arg(r.failed.size()).arg(r.mimeDatabaseUpdated).arg(r.desktopDatabaseUpdated).arg(r.keptExisting);
    }
    QString file(const char* path) const { return m_home + QLatin1Char('/') + QLatin1String(path); }

    const FileTypeFiles m_files = loadFileTypeFiles(QStringLiteral(MC_SOURCE_DIR "/resources/freedesktop"));
    QString m_home = mctest::freshDir();
    QString m_system = mctest::freshDir(); // a system data folder
};

} // namespace

TEST_F(FileTypeRegistrationTest, ShippedFilesAreCompleteAndDescribeTheProjectType)
{
    // The installed files, the mime type by name and content and the
    // validators' word on them: Install_test.
    ASSERT_TRUE(m_files.isComplete());
    EXPECT_TRUE(m_files.mimePackage.contains("<icon name=\"" MC_APP_ID "-project\"/>"));
    for (const char* line : {"\nName=Muralcrafter\n", "\nMimeType=application/x-muralcrafter;\n", "\nIcon=" MC_APP_ID "\n",
                             "\nCategories=Graphics;"})
        EXPECT_TRUE(m_files.desktopEntry.contains(line)) << line;
    EXPECT_EQ(m_files.icons.size(), 16);
}

TEST_F(FileTypeRegistrationTest, DesktopEntryRunsTheGivenProgramQuotedOnlyWhenNeeded)
{
    // Inside quotes " ` $ and \ get a backslash, which the key file doubles;
    // a percent sign is never a field code. Reading the entry back gives the
    // program again.
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"/usr/bin/muralcrafter", u"/usr/bin/muralcrafter"},
        {u"/opt/My Apps/muralcrafter", u"\"/opt/My Apps/muralcrafter\""},
        {u"/a\"b`c$d\\e", u"\"/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e\""},
        {u"/100%/x", u"/100%%/x"},
        {u"/a\nb", u"\"/a\\nb\""},
        {u"/b\u00e4r/x", u"/b\u00e4r/x"},
    };
    for (const auto& [program, exec] : cases) {
        EXPECT_EQ(desktopExecArgument(QString::fromUtf16(program)), QString::fromUtf16(exec));
        EXPECT_EQ(desktopEntryProgram(desktopEntryForProgram(m_files.desktopEntry, QString::fromUtf16(program))),
                  QString::fromUtf16(program));
    }
    // Only the Exec line differs from the shipped entry.
    const QByteArray entry = desktopEntryForProgram(m_files.desktopEntry, QStringLiteral("/opt/My Apps/muralcrafter"));
    EXPECT_EQ(QByteArray(entry).replace("Exec=\"/opt/My Apps/muralcrafter\" %f", "Exec=muralcrafter %f"),
              m_files.desktopEntry);
    EXPECT_TRUE(desktopEntryForProgram("[Desktop Entry]\nName=X\n", QStringLiteral("/p"))
                    .startsWith("[Desktop Entry]\nExec=/p %f\nName=X"));
}

TEST_F(FileTypeRegistrationTest, RunsWriteOnlyWhatDiffersAndBuildTheDatabasesWhenNeeded)
{
    const QString program = QStringLiteral("/opt/mural crafter/bin/muralcrafter");
    m_home += QStringLiteral("/not/yet/there");
    auto noTools = std::make_unique<EnvGuard>();
    noTools->set("PATH", mctest::freshDir().toUtf8());
    EXPECT_EQ(run(program), QStringLiteral("written %1 failed 0 mime 0 desktop 0 kept 0").arg(2 + m_files.icons.size()));
    noTools.reset();
    EXPECT_EQ(mctest::readFile(file("mime/packages/" MC_APP_ID ".xml")), m_files.mimePackage);
    EXPECT_EQ(mctest::readFile(file("applications/" MC_APP_ID ".desktop")), desktopEntryForProgram(m_files.desktopEntry, program));

    // The files are current but the databases were never built; then
    // nothing at all is left to do.
    if (!haveTools())
        GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
    EXPECT_EQ(run(program), "written 0 failed 0 mime 1 desktop 1 kept 0");
    EXPECT_EQ(run(program), "written 0 failed 0 mime 0 desktop 0 kept 0");
    EXPECT_TRUE(mctest::readFile(file("applications/mimeinfo.cache")).contains("application/x-muralcrafter=" MC_APP_ID ".desktop;"));
    // The program moved: only the entry and its database; damaged files are put back.
    EXPECT_EQ(run(), "written 1 failed 0 mime 0 desktop 1 kept 0");
    EXPECT_TRUE(mctest::readFile(file("applications/" MC_APP_ID ".desktop")).contains("\nExec=/usr/bin/muralcrafter %f\n"));
    mctest::writeFile(file("icons/hicolor/16x16/apps/" MC_APP_ID ".png"), "broken");
    mctest::writeFile(file("mime/packages/" MC_APP_ID ".xml"), QByteArray(m_files.mimePackage).replace("*.mcr", "*.xyz"));
    EXPECT_EQ(run(), "written 2 failed 0 mime 1 desktop 0 kept 0");
    EXPECT_EQ(mctest::readFile(file("mime/packages/" MC_APP_ID ".xml")), m_files.mimePackage);
}

TEST_F(FileTypeRegistrationTest, AProgramNotInstalledRegistersOnlyWhereNothingIsRegistered)
{
    if (!haveTools())
        GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
    QDir().mkpath(m_system + "/applications");
    const QString us = QStringLiteral("/build/src/muralcrafter"), entry = QStringLiteral("/applications/" MC_APP_ID ".desktop");
    // The user's entry runs (null: there is none); a system entry; the outcome.
    const std::tuple<const char*, bool, QString> rows[] = {
        {"/bin/sh", false, "written 0 failed 0 mime 1 desktop 1 kept 1"},
        {"/gone/muralcrafter", false, "written 1 failed 0 mime 1 desktop 1 kept 0"},
        {nullptr, true, "written 0 failed 0 mime 0 desktop 0 kept 1"},
    };
    for (const auto& [userEntryRuns, systemEntry, outcome] : rows) {
        SCOPED_TRACE(userEntryRuns ? userEntryRuns : "no user entry");
        m_home = mctest::freshDir();
        if (userEntryRuns) {
            run(QString::fromLatin1(userEntryRuns));
            // What an earlier version left under the plain name goes in any case.
            mctest::writeFile(file("applications/muralcrafter.desktop"), "MimeType=application/x-muralcrafter;\n");
            mctest::writeFile(file("mime/packages/muralcrafter.xml"), m_files.mimePackage);
        }
        if (systemEntry) // the last row
            mctest::writeFile(m_system + entry, m_files.desktopEntry);
        const QByteArray before = mctest::readFile(m_home + entry);
        EXPECT_EQ(run(us, false), outcome);
        EXPECT_EQ(mctest::readFile(m_home + entry), outcome.endsWith(u'1') ? before : desktopEntryForProgram(m_files.desktopEntry, us));
        EXPECT_FALSE(QFileInfo::exists(file("applications/muralcrafter.desktop")) ||
                     QFileInfo::exists(file("mime/packages/muralcrafter.xml")));
    }
}

TEST_F(FileTypeRegistrationTest, UnwritableDataFolderFailsQuietly)
{
    // A file where the data folder should be: nothing can be created in it.
    m_home += QStringLiteral("/blocked");
    mctest::writeFile(m_home, "not a folder");
    EXPECT_EQ(run(), QStringLiteral("written 0 failed %1 mime 0 desktop 0 kept 0").arg(2 + m_files.icons.size()));
    EXPECT_EQ(mctest::readFile(m_home), QByteArray("not a folder"));
    EXPECT_FALSE(loadFileTypeFiles(mctest::freshDir()).isComplete());
}
