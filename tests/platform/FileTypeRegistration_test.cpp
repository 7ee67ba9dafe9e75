// The user's file-type registration against the shipped files and the real
// update-mime-database and update-desktop-database.
#include "platform/FileTypeRegistration.h"

#include "common/TestUtil.h"
#include "common/EnvGuard.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <utility>

using namespace mc::platform;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    static bool haveTools()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty();
    }
    FileTypeRegistration run(const QString& program = QStringLiteral("/usr/bin/muralcrafter"))
    {
        return registerFileTypesForUser(m_files, program, m_home);
    }

    const FileTypeFiles m_files = loadFileTypeFiles(QStringLiteral(MC_SOURCE_DIR "/resources/freedesktop"));
    QString m_home = mctest::freshDir();
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
    // The application and the document icon at every size, and scalable.
    for (const char* kind : {"apps/" MC_APP_ID, "mimetypes/" MC_APP_ID "-project"}) {
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString key = QStringLiteral("%1x%1/%2.png").arg(size).arg(kind);
            const QImage icon = QImage::fromData(m_files.icons.value(key), "PNG");
            EXPECT_EQ(icon.size(), QSize(size, size)) << key.toStdString();
            EXPECT_TRUE(icon.hasAlphaChannel());
        }
        EXPECT_TRUE(m_files.icons.contains(QStringLiteral("scalable/%1.svg").arg(kind)));
    }
    EXPECT_EQ(m_files.icons.size(), 16);
}

TEST_F(FileTypeRegistrationTest, DesktopEntryRunsTheGivenProgramQuotedOnlyWhenNeeded)
{
    // Inside quotes " ` $ and \ get a backslash, which the key file doubles;
    // a percent sign is never a field code.
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

    const QByteArray entry = desktopEntryForProgram(m_files.desktopEntry, QStringLiteral("/opt/My Apps/muralcrafter"));
    // Only the Exec line differs from the shipped entry.
    EXPECT_EQ(entry.count("Exec="), 1);
    EXPECT_EQ(QByteArray(entry).replace("Exec=\"/opt/My Apps/muralcrafter\" %f", "Exec=muralcrafter %f"),
              m_files.desktopEntry);
    EXPECT_TRUE(desktopEntryForProgram("[Desktop Entry]\nName=X\n", QStringLiteral("/p"))
                    .startsWith("[Desktop Entry]\nExec=/p %f\nName=X"));

    // The desktop's own checker accepts it, odd path and all.
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const QString path = m_home + QStringLiteral("/" MC_APP_ID ".desktop");
    writeAll(path, desktopEntryForProgram(m_files.desktopEntry, QStringLiteral("/o'dd $dir/100%/mural\"crafter")));
    QProcess proc;
    proc.start(validate, {path});
    ASSERT_TRUE(proc.waitForFinished(30000));
    EXPECT_EQ(proc.exitCode(), 0) << proc.readAllStandardOutput().toStdString();
}

TEST_F(FileTypeRegistrationTest, FirstRunWritesEverythingAndTheDatabasesFollowTheTools)
{
    m_home += QStringLiteral("/not/yet/there");
    const QString program = QStringLiteral("/opt/mural crafter/bin/muralcrafter");
    {
        EnvGuard env;
        env.set("PATH", mctest::freshDir().toUtf8()); // no tools at all
        const auto first = run(program);
        EXPECT_TRUE(first.failed.isEmpty());
        EXPECT_EQ(first.written.size(), 2 + m_files.icons.size());
        EXPECT_FALSE(first.mimeDatabaseUpdated || first.desktopDatabaseUpdated);
    }
    EXPECT_EQ(readAll(m_home + "/mime/packages/" MC_APP_ID ".xml"), m_files.mimePackage);
    EXPECT_EQ(readAll(m_home + "/applications/" MC_APP_ID ".desktop"), desktopEntryForProgram(m_files.desktopEntry, program));
    EXPECT_EQ(readAll(m_home + "/icons/hicolor/48x48/apps/" MC_APP_ID ".png"),
              m_files.icons.value(QStringLiteral("48x48/apps/" MC_APP_ID ".png")));
    EXPECT_TRUE(QFileInfo::exists(m_home + "/icons/hicolor/scalable/mimetypes/" MC_APP_ID "-project.svg"));

    if (!haveTools())
        GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
    // The files are current but the databases were never built.
    const auto later = run(program);
    EXPECT_TRUE(later.written.isEmpty());
    EXPECT_TRUE(later.mimeDatabaseUpdated && later.desktopDatabaseUpdated);
    // The built databases know the name pattern, the magic and the handler.
    EXPECT_TRUE(readAll(m_home + "/mime/globs2").contains("application/x-muralcrafter:*.mcr"));
    EXPECT_TRUE(readAll(m_home + "/mime/magic").contains("[50:application/x-muralcrafter]"));
    EXPECT_TRUE(readAll(m_home + "/applications/mimeinfo.cache").contains("application/x-muralcrafter=" MC_APP_ID ".desktop;"));
}

TEST_F(FileTypeRegistrationTest, LaterRunsRewriteOnlyWhatDiffers)
{
    run();
    const QString desktop = m_home + "/applications/" MC_APP_ID ".desktop";
    const QDateTime stamp = QFileInfo(desktop).lastModified();
    const QByteArray cache = readAll(m_home + "/mime/mime.cache");
    const auto second = run();
    EXPECT_TRUE(second.written.isEmpty());
    EXPECT_TRUE(second.failed.isEmpty());
    EXPECT_FALSE(second.mimeDatabaseUpdated); // the databases are already built
    EXPECT_FALSE(second.desktopDatabaseUpdated);
    EXPECT_EQ(QFileInfo(desktop).lastModified(), stamp);
    EXPECT_EQ(readAll(m_home + "/mime/mime.cache"), cache);

    // The program moved: only the desktop entry changes, and only its
    // database is rebuilt.
    const auto moved = run(QStringLiteral("/home/u/bin/muralcrafter"));
    EXPECT_EQ(moved.written, QStringList{desktop});
    EXPECT_TRUE(readAll(desktop).contains("\nExec=/home/u/bin/muralcrafter %f\n"));
    EXPECT_FALSE(moved.mimeDatabaseUpdated);
    EXPECT_EQ(moved.desktopDatabaseUpdated, haveTools());

    // A damaged icon and MIME package are put back.
    const QString icon = m_home + "/icons/hicolor/16x16/apps/" MC_APP_ID ".png";
    const QString mime = m_home + "/mime/packages/" MC_APP_ID ".xml";
    writeAll(icon, "broken");
    writeAll(mime, QByteArray(m_files.mimePackage).replace("*.mcr", "*.xyz"));
    const auto repaired = run(QStringLiteral("/home/u/bin/muralcrafter"));
    EXPECT_EQ(repaired.written.size(), 2);
    EXPECT_TRUE(repaired.written.contains(icon) && repaired.written.contains(mime));
    EXPECT_EQ(readAll(mime), m_files.mimePackage);
    EXPECT_EQ(repaired.mimeDatabaseUpdated, haveTools());
    EXPECT_FALSE(repaired.desktopDatabaseUpdated);
}

TEST_F(FileTypeRegistrationTest, AProgramNotInstalledRegistersOnlyWhereNothingIsRegistered)
{
    const QString systemDir = mctest::freshDir();
    QDir().mkpath(systemDir + "/applications");
    const QString us = QStringLiteral("/build/src/muralcrafter");
    struct Row {
        const char* what;
        QString userEntryRuns; // empty: no entry of the user's
        bool systemEntry;
        bool kept;
    };
    const Row rows[] = {
        {"nothing registered", {}, false, false},
        {"an entry for a program that is there", QStringLiteral("/bin/sh"), false, true},
        {"an entry for a program that is gone", QStringLiteral("/gone/muralcrafter"), false, false},
        {"a system-wide entry", {}, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        m_home = mctest::freshDir();
        const QString userEntry = m_home + "/applications/" MC_APP_ID ".desktop";
        if (!row.userEntryRuns.isEmpty()) {
            run(row.userEntryRuns);
            // What an earlier version left under the plain name goes in any case.
            writeAll(m_home + "/applications/muralcrafter.desktop", "[Desktop Entry]\nMimeType=application/x-muralcrafter;\n");
            writeAll(m_home + "/mime/packages/muralcrafter.xml", m_files.mimePackage);
        }
        const QByteArray before = readAll(userEntry);
        if (row.systemEntry)
            writeAll(systemDir + "/applications/" MC_APP_ID ".desktop", m_files.desktopEntry);
        const auto r = registerFileTypesForUser(m_files, us, m_home, false, {systemDir});
        EXPECT_EQ(r.keptExisting, row.kept);
        EXPECT_EQ(r.written.isEmpty(), row.kept);
        EXPECT_EQ(readAll(userEntry), row.kept ? before : desktopEntryForProgram(m_files.desktopEntry, us));
        EXPECT_FALSE(QFileInfo::exists(m_home + "/applications/muralcrafter.desktop"));
        EXPECT_FALSE(QFileInfo::exists(m_home + "/mime/packages/muralcrafter.xml"));
        QFile::remove(systemDir + "/applications/" MC_APP_ID ".desktop");
    }
}

TEST_F(FileTypeRegistrationTest, UnwritableDataFolderFailsQuietly)
{
    // A file where the data folder should be: nothing can be created in it.
    m_home += QStringLiteral("/blocked");
    writeAll(m_home, "not a folder");
    const auto r = run();
    EXPECT_TRUE(r.written.isEmpty());
    EXPECT_EQ(r.failed.size(), 2 + m_files.icons.size());
    EXPECT_FALSE(r.mimeDatabaseUpdated || r.desktopDatabaseUpdated);
    EXPECT_EQ(readAll(m_home), QByteArray("not a folder"));

    // Files that were not shipped (or an unknown data folder) write nothing.
    EXPECT_TRUE(registerFileTypesForUser(FileTypeFiles{}, QStringLiteral("/p"), mctest::freshDir()).written.isEmpty());
    EXPECT_TRUE(registerFileTypesForUser(m_files, QStringLiteral("/p"), QString()).written.isEmpty());
    EXPECT_FALSE(loadFileTypeFiles(mctest::freshDir()).isComplete());
}
