// The user's file-type registration against the shipped files and the real
// update-mime-database and update-desktop-database.
#include "platform/FileTypeRegistration.h"

#include "common/TestUtil.h"
#include "platform/EnvGuard.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

const QString kShipped = QStringLiteral(MC_SOURCE_DIR "/resources/freedesktop");

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

bool haveTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty();
}

} // namespace

TEST(FileTypeRegistration, ShippedFilesAreCompleteAndDescribeTheProjectType)
{
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    ASSERT_TRUE(files.isComplete());
    EXPECT_TRUE(files.mimePackage.contains("type=\"application/x-muralcrafter\""));
    EXPECT_TRUE(files.mimePackage.contains("<glob pattern=\"*.mcr\"/>"));
    EXPECT_TRUE(files.mimePackage.contains("offset=\"0\" value=\"MCR\""));
    EXPECT_TRUE(files.desktopEntry.contains("\nName=Muralcrafter\n"));
    EXPECT_TRUE(files.desktopEntry.contains("\nMimeType=application/x-muralcrafter;\n"));
    EXPECT_TRUE(files.desktopEntry.contains("\nIcon=muralcrafter\n"));
    EXPECT_TRUE(files.desktopEntry.contains("\nCategories=Graphics;\n"));
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString key = QStringLiteral("%1x%1/apps/muralcrafter.png").arg(size);
        ASSERT_TRUE(files.icons.contains(key)) << key.toStdString();
        const QImage icon = QImage::fromData(files.icons.value(key), "PNG");
        EXPECT_EQ(icon.size(), QSize(size, size)) << key.toStdString();
        EXPECT_TRUE(icon.hasAlphaChannel());
    }
    EXPECT_TRUE(files.icons.contains(QStringLiteral("scalable/apps/muralcrafter.svg")));
    EXPECT_EQ(files.icons.size(), 7);
}

TEST(FileTypeRegistration, ExecArgumentsAreQuotedOnlyWhenNeeded)
{
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/usr/bin/muralcrafter")), QStringLiteral("/usr/bin/muralcrafter"));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/opt/My Apps/muralcrafter")),
              QStringLiteral("\"/opt/My Apps/muralcrafter\""));
    // Inside quotes " ` $ and \ get a backslash; the key file then doubles
    // every backslash.
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/a\"b`c$d\\e")), QStringLiteral("\"/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e\""));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/it's/x")), QStringLiteral("\"/it's/x\""));
    // A percent sign is never a field code.
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/100%/x")), QStringLiteral("/100%%/x"));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/a\nb")), QStringLiteral("\"/a\\nb\""));
    EXPECT_EQ(desktopExecArgument(QStringLiteral("/b\u00e4r/x")), QStringLiteral("/b\u00e4r/x"));
}

TEST(FileTypeRegistration, DesktopEntryRunsTheGivenProgram)
{
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    const QByteArray entry = desktopEntryForProgram(files.desktopEntry, QStringLiteral("/opt/My Apps/muralcrafter"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/My Apps/muralcrafter\" %f\n"));
    EXPECT_EQ(entry.count("Exec="), 1);
    // Everything else is the shipped entry.
    EXPECT_EQ(QByteArray(entry).replace("Exec=\"/opt/My Apps/muralcrafter\" %f", "Exec=muralcrafter %f"),
              files.desktopEntry);
    EXPECT_TRUE(desktopEntryForProgram("[Desktop Entry]\nName=X\n", QStringLiteral("/p"))
                    .startsWith("[Desktop Entry]\nExec=/p %f\nName=X"));

    // The desktop's own checker accepts it, odd path and all.
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const QString path = mctest::freshDir() + QStringLiteral("/muralcrafter.desktop");
    writeAll(path, desktopEntryForProgram(files.desktopEntry, QStringLiteral("/o'dd $dir/100%/mural\"crafter")));
    QProcess proc;
    proc.start(validate, {path});
    ASSERT_TRUE(proc.waitForFinished(30000));
    EXPECT_EQ(proc.exitCode(), 0) << proc.readAllStandardOutput().toStdString();
}

TEST(FileTypeRegistration, FirstRunWritesEverythingAndBuildsTheDatabases)
{
    const QString home = mctest::freshDir() + QStringLiteral("/not/yet/there");
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    const QString program = QStringLiteral("/opt/mural crafter/bin/muralcrafter");
    const FileTypeRegistration first = registerFileTypesForUser(files, program, home);

    EXPECT_TRUE(first.failed.isEmpty());
    EXPECT_EQ(first.written.size(), 2 + files.icons.size());
    EXPECT_EQ(readAll(home + QStringLiteral("/mime/packages/muralcrafter.xml")), files.mimePackage);
    EXPECT_EQ(readAll(home + QStringLiteral("/applications/muralcrafter.desktop")),
              desktopEntryForProgram(files.desktopEntry, program));
    EXPECT_EQ(readAll(home + QStringLiteral("/icons/hicolor/48x48/apps/muralcrafter.png")),
              files.icons.value(QStringLiteral("48x48/apps/muralcrafter.png")));
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/icons/hicolor/scalable/apps/muralcrafter.svg")));

    if (!haveTools())
        GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
    EXPECT_TRUE(first.mimeDatabaseUpdated);
    EXPECT_TRUE(first.desktopDatabaseUpdated);
    // The built databases know the name pattern, the magic and the handler.
    EXPECT_TRUE(readAll(home + QStringLiteral("/mime/globs2")).contains("application/x-muralcrafter:*.mcr"));
    EXPECT_TRUE(readAll(home + QStringLiteral("/mime/magic")).contains("[50:application/x-muralcrafter]"));
    EXPECT_TRUE(readAll(home + QStringLiteral("/applications/mimeinfo.cache"))
                    .contains("application/x-muralcrafter=muralcrafter.desktop;"));
}

TEST(FileTypeRegistration, SecondRunChangesNothing)
{
    const QString home = mctest::freshDir();
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    const QString program = QStringLiteral("/usr/bin/muralcrafter");
    registerFileTypesForUser(files, program, home);
    const QString desktop = home + QStringLiteral("/applications/muralcrafter.desktop");
    const QDateTime stamp = QFileInfo(desktop).lastModified();
    const QByteArray cache = readAll(home + QStringLiteral("/mime/mime.cache"));

    const FileTypeRegistration second = registerFileTypesForUser(files, program, home);
    EXPECT_TRUE(second.written.isEmpty());
    EXPECT_TRUE(second.failed.isEmpty());
    // With the databases already built the tools do not run again.
    if (haveTools()) {
        EXPECT_FALSE(second.mimeDatabaseUpdated);
        EXPECT_FALSE(second.desktopDatabaseUpdated);
    }
    EXPECT_EQ(QFileInfo(desktop).lastModified(), stamp);
    EXPECT_EQ(readAll(home + QStringLiteral("/mime/mime.cache")), cache);
}

TEST(FileTypeRegistration, OnlyWhatDiffersIsRewritten)
{
    const QString home = mctest::freshDir();
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    registerFileTypesForUser(files, QStringLiteral("/usr/bin/muralcrafter"), home);

    // The program moved: only the desktop entry changes, and only its
    // database is rebuilt.
    const FileTypeRegistration moved = registerFileTypesForUser(files, QStringLiteral("/home/u/bin/muralcrafter"), home);
    EXPECT_EQ(moved.written, QStringList{home + QStringLiteral("/applications/muralcrafter.desktop")});
    EXPECT_FALSE(moved.mimeDatabaseUpdated);
    EXPECT_TRUE(readAll(moved.written.value(0)).contains("\nExec=/home/u/bin/muralcrafter %f\n"));
    if (haveTools()) {
        EXPECT_TRUE(moved.desktopDatabaseUpdated);
    }

    // A damaged icon and MIME package are put back.
    const QString icon = home + QStringLiteral("/icons/hicolor/16x16/apps/muralcrafter.png");
    const QString mime = home + QStringLiteral("/mime/packages/muralcrafter.xml");
    writeAll(icon, "broken");
    writeAll(mime, QByteArray(files.mimePackage).replace("*.mcr", "*.xyz"));
    const FileTypeRegistration repaired =
        registerFileTypesForUser(files, QStringLiteral("/home/u/bin/muralcrafter"), home);
    EXPECT_EQ(repaired.written.size(), 2);
    EXPECT_TRUE(repaired.written.contains(icon));
    EXPECT_TRUE(repaired.written.contains(mime));
    EXPECT_EQ(readAll(mime), files.mimePackage);
    if (haveTools()) {
        EXPECT_TRUE(repaired.mimeDatabaseUpdated);
        EXPECT_FALSE(repaired.desktopDatabaseUpdated);
    }
}

TEST(FileTypeRegistration, MissingToolsLeaveTheFilesAndAreMadeUpForLater)
{
    const QString home = mctest::freshDir();
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    {
        EnvGuard env;
        env.set("PATH", mctest::freshDir().toUtf8()); // no tools at all
        const FileTypeRegistration r = registerFileTypesForUser(files, QStringLiteral("/usr/bin/muralcrafter"), home);
        EXPECT_TRUE(r.failed.isEmpty());
        EXPECT_FALSE(r.mimeDatabaseUpdated);
        EXPECT_FALSE(r.desktopDatabaseUpdated);
        EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/mime/packages/muralcrafter.xml")));
    }
    if (!haveTools())
        GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
    // The files are current but the databases were never built.
    const FileTypeRegistration later = registerFileTypesForUser(files, QStringLiteral("/usr/bin/muralcrafter"), home);
    EXPECT_TRUE(later.written.isEmpty());
    EXPECT_TRUE(later.mimeDatabaseUpdated);
    EXPECT_TRUE(later.desktopDatabaseUpdated);
}

TEST(FileTypeRegistration, UnwritableDataFolderFailsQuietly)
{
    // A file where the data folder should be: nothing can be created in it.
    const QString home = mctest::freshDir() + QStringLiteral("/blocked");
    writeAll(home, "not a folder");
    const FileTypeFiles files = loadFileTypeFiles(kShipped);
    const FileTypeRegistration r = registerFileTypesForUser(files, QStringLiteral("/usr/bin/muralcrafter"), home);
    EXPECT_TRUE(r.written.isEmpty());
    EXPECT_EQ(r.failed.size(), 2 + files.icons.size());
    EXPECT_FALSE(r.mimeDatabaseUpdated);
    EXPECT_FALSE(r.desktopDatabaseUpdated);
    EXPECT_EQ(readAll(home), QByteArray("not a folder"));

    // Files that were not shipped (or an unknown data folder) write nothing.
    EXPECT_TRUE(registerFileTypesForUser(FileTypeFiles{}, QStringLiteral("/p"), mctest::freshDir()).written.isEmpty());
    EXPECT_TRUE(registerFileTypesForUser(files, QStringLiteral("/p"), QString()).written.isEmpty());
    EXPECT_FALSE(loadFileTypeFiles(mctest::freshDir()).isComplete());
}
