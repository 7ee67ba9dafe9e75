// The user's file-type registration against the shipped files and the real
// update-mime-database and update-desktop-database.
#include "platform/FileTypeRegistration.h"
#include "platform/Process.h"

#include "common/EnvGuard.h"
#include "common/TestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

bool haveTools()
{
    return haveProgram(QStringLiteral("update-mime-database")) && haveProgram(QStringLiteral("update-desktop-database"));
}

// One run as "written W failed F mime M desktop D kept K" (M, D: the
// databases were rebuilt).
QString runSummary(const FileTypeRegistration& r)
{
    return QStringLiteral("written %1 failed %2 mime %3 desktop %4 kept %5")
        .arg(r.written.size()).arg(r.failed.size())
        .arg(r.mimeDatabaseUpdated).arg(r.desktopDatabaseUpdated).arg(r.keptExisting);
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    QString run(const QString& program = QStringLiteral("/usr/bin/muralcrafter"), bool installed = true)
    {
        return runSummary(registerFileTypesForUser(m_files, program, m_home, installed, {m_system}));
    }
    QString file(const char* path) const { return m_home + QLatin1Char('/') + QLatin1String(path); }

    const FileTypeFiles m_files = loadFileTypeFiles(QStringLiteral(MC_SOURCE_DIR "/resources/freedesktop"));
    QString m_home = mctest::freshDir();
    QString m_system = mctest::freshDir(); // a system data folder
};

} // namespace

TEST_F(FileTypeRegistrationTest, ShippedFilesAreCompleteAndDescribeTheProjectType)
{
    ASSERT_TRUE(m_files.isComplete());
    for (const char* text : {"type=\"application/x-muralcrafter\"", "<glob pattern=\"*.mcr\"/>", "offset=\"0\" value=\"MCR\"",
                             "<icon name=\"" MC_APP_ID "-project\"/>"})
        EXPECT_TRUE(m_files.mimePackage.contains(text)) << text;
    for (const char* line : {"\nName=Muralcrafter\n", "\nMimeType=application/x-muralcrafter;\n", "\nIcon=" MC_APP_ID "\n",
                             "\nCategories=Graphics;"})
        EXPECT_TRUE(m_files.desktopEntry.contains(line)) << line;
    // The application and the document icon at every size (the installed
    // files are listed by Install_test), and scalable.
    EXPECT_EQ(m_files.icons.size(), 16);
    for (const auto& [key, bytes] : m_files.icons.asKeyValueRange()) {
        const QImage icon = QImage::fromData(bytes, "PNG");
        const int size = key.section(u'x', 0, 0).toInt(); // "NxN/..."; 0 for "scalable/..."
        EXPECT_TRUE(size ? icon.size() == QSize(size, size) && icon.hasAlphaChannel() : key.endsWith(".svg")) << key.toStdString();
    }
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
        {u"/it's/x", u"\"/it's/x\""},
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
    const int files = 2 + int(m_files.icons.size());
    const QString program = QStringLiteral("/opt/mural crafter/bin/muralcrafter");
    m_home += QStringLiteral("/not/yet/there");
    {
        EnvGuard env;
        env.set("PATH", mctest::freshDir().toUtf8()); // no tools at all
        EXPECT_EQ(run(program), QStringLiteral("written %1 failed 0 mime 0 desktop 0 kept 0").arg(files));
    }
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
    const QString us = QStringLiteral("/build/src/muralcrafter");
    const QString entry = QStringLiteral("/applications/" MC_APP_ID ".desktop");
    const struct {
        const char* userEntryRuns; // null: the user has no entry
        bool systemEntry;
        QString outcome;
    } rows[] = {
        {nullptr, false, QStringLiteral("written %1 failed 0 mime 1 desktop 1 kept 0").arg(2 + m_files.icons.size())},
        {"/bin/sh", false, "written 0 failed 0 mime 1 desktop 1 kept 1"},
        {"/gone/muralcrafter", false, "written 1 failed 0 mime 1 desktop 1 kept 0"},
        {nullptr, true, "written 0 failed 0 mime 0 desktop 0 kept 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.userEntryRuns ? row.userEntryRuns : "no user entry");
        m_home = mctest::freshDir();
        if (row.userEntryRuns) {
            run(QString::fromLatin1(row.userEntryRuns));
            // What an earlier version left under the plain name goes in any case.
            mctest::writeFile(file("applications/muralcrafter.desktop"), "MimeType=application/x-muralcrafter;\n");
            mctest::writeFile(file("mime/packages/muralcrafter.xml"), m_files.mimePackage);
        }
        if (row.systemEntry) // the last row
            mctest::writeFile(m_system + entry, m_files.desktopEntry);
        const QByteArray before = mctest::readFile(m_home + entry);
        EXPECT_EQ(run(us, false), row.outcome);
        const bool kept = row.outcome.endsWith(u'1');
        EXPECT_EQ(mctest::readFile(m_home + entry), kept ? before : desktopEntryForProgram(m_files.desktopEntry, us));
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
