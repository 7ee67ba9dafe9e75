// Writing files whole or not at all (the full disk is tested where the
// program's files are written: project, wallpaper, --render).
#include "platform/AtomicFile.h"

#include "common/TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using mc::platform::AtomicFile;
using mc::platform::WriteFileAtomically;

TEST(AtomicFile, ReplacesWholeOrLeavesTheOldFile)
{
    const QString dir = mctest::freshDir();
    const QString path = dir + "/f";
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);

    // Two writers of one file (two runs of the program) leave one of them
    // whole, never a mix; the old bytes stay until a commit.
    AtomicFile a(path), b(path);
    ASSERT_TRUE(a.open());
    ASSERT_TRUE(b.open());
    a.device()->write("aaaa");
    b.device()->write("bbbbbbbb");
    a.device()->write("aaaa");
    EXPECT_EQ(mctest::readFile(path), "old");
    ASSERT_TRUE(b.commit());
    ASSERT_TRUE(a.commit());
    EXPECT_EQ(mctest::readFile(path), "aaaaaaaa");
    EXPECT_EQ(QFileInfo(path).permissions() & 0x0777, 0x0640); // the old file's, in Qt's digits
    EXPECT_FALSE(WriteFileAtomically(path, "k", nullptr, AtomicFile::Existing::Keep));

    // A link is followed: its file changes, the link stays.
    ASSERT_TRUE(QFile::link(path, dir + "/link"));
    ASSERT_TRUE(WriteFileAtomically(dir + "/link", "via link"));
    EXPECT_TRUE(QFileInfo(dir + "/link").isSymLink());
    EXPECT_EQ(mctest::readFile(path), "via link");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System), (QStringList{"f", "link"}));
}
