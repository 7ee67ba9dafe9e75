// The key-file format and the backend that keeps the desktop values in one;
// the atomic writing all files share.
#include "platform/AtomicFile.h"
#include "platform/KeyFile.h"
#include "platform/KeyFileBackend.h"

#include "FakeTools.h"

#include <QDir>
#include <QFileInfo>

#include <tuple>

#include <gtest/gtest.h>

using namespace mc::platform;

TEST(KeyFileTest, ReadsAndWritesGroupsKeysAndEscapes)
{
    const QString dir = mctest::freshDir();
    mctest::writeFile(dir + "/a.conf", "# comment\n[Other]\nWallpaper=/wrong\n\n[Control Panel/Desktop]\n"
                                       "Wallpaper = /a b/c\\\\d\\nx.png\nEmpty=\nLead=\\sx\\s\n");
    KeyFile kf;
    ASSERT_TRUE(kf.load(dir + "/a.conf"));
    const QString g = QStringLiteral("Control Panel/Desktop");
    QStringList values;
    for (const auto& [group, key] : {std::pair{g, "Wallpaper"}, {g, "Empty"}, {g, "Lead"}, {g, "Missing"},
                                     {QStringLiteral("Nope"), "Wallpaper"}, {QStringLiteral("Other"), "Wallpaper"}})
        values << kf.value(group, QString::fromLatin1(key)).value_or(QStringLiteral("(none)"));
    EXPECT_EQ(values, (QStringList{"/a b/c\\d\nx.png", "", " x ", "(none)", "(none)", "/wrong"}));

    KeyFile out;
    EXPECT_FALSE(out.load(dir + "/sub/b.conf"));
    // C goes into G, not after H; B is replaced in place.
    for (const auto& [group, key, value] : {std::tuple{"G", "A", " lead\nand\\trail "}, {"G", "B", "2"}, {"H", "A", "other"},
                                            {"G", "C", "3"}, {"G", "B", "22"}})
        out.setValue(group, key, value);
    ASSERT_EQ(out.save(dir + "/sub/b.conf"), QString()); // the folder is created
    KeyFile back;
    ASSERT_TRUE(back.load(dir + "/sub/b.conf"));
    EXPECT_EQ(back.value("G", "A"), QStringLiteral(" lead\nand\\trail "));
    EXPECT_EQ(back.toText(), QStringLiteral("[G]\nA=\\slead\\nand\\\\trail\\s\nB=22\nC=3\n\n[H]\nA=other\n"));
}

TEST(KeyFileBackendTest, RoundTripKeepsTheRestOfTheFileAndBadFilesFail)
{
    const QString dir = mctest::freshDir(), path = dir + "/desktop.conf";
    mctest::writeFile(path, "# mine\n[Control Panel/Desktop]\nBackground=58 110 165\nWallpaper=/pics/my wall.jpg\n"
                            "TileWallpaper=0\nWallpaperStyle=2\n[Else]\nk=v\n");
    KeyFileBackend backend(path);
    EXPECT_EQ(settingsText(backend.read()), "/pics/my wall.jpg | 0 2 | #3a6ea5");

    const QString wall = dir + "/it's a\nwall \u00e9.bmp";
    ASSERT_TRUE(backend.install(wall, "1", "1").ok);
    EXPECT_EQ(settingsText(KeyFileBackend(path).read()), settingsText({wall, "1", "1", 0x00a56e3au}));
    const QByteArray text = mctest::readFile(path);
    EXPECT_TRUE(text.startsWith("# mine\n") && text.contains("\n[Else]\nk=v\n")) << text.toStdString();

    // Missing, damaged and unwritable files.
    EXPECT_EQ(settingsText(KeyFileBackend(dir + "/absent.conf").read()), " |   | #204080");
    mctest::writeFile(dir + "/bad.conf", "[Control Panel/Desktop]\nBackground=not a colour\n");
    EXPECT_EQ(KeyFileBackend(dir + "/bad.conf").read().desktopColor, kFallbackDesktopColor);

    mctest::writeFile(dir + "/blocker", ""); // a file where a folder should be
    const InstallResult r = KeyFileBackend(dir + "/blocker/desktop.conf").install(dir + "/w.bmp", "0", "0");
    EXPECT_TRUE(!r.ok && !r.error.isEmpty());
}

TEST(KeyFileBackendTest, DefaultPathsAreInTheUsersFolders)
{
    EnvGuard env;
    const QString config = mctest::freshDir(), data = mctest::freshDir();
    env.set("XDG_CONFIG_HOME", config.toUtf8());
    env.set("XDG_DATA_HOME", data.toUtf8());
    EXPECT_EQ(KeyFileBackend().filePath(), config + "/muralcrafter/desktop.conf");
    EXPECT_EQ(dataDirectory(), data + "/muralcrafter");
    EXPECT_TRUE(QFileInfo(config + "/muralcrafter").isDir() && QFileInfo(data + "/muralcrafter").isDir());
}

TEST(AtomicFile, ReplacesWholeOrLeavesTheOldFile)
{
    // Two writers of one file (two runs of the program) leave one of them
    // whole, never a mix; the old bytes stay until a commit.
    const QString dir = mctest::freshDir(), path = dir + "/f";
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    AtomicFile a(path), b(path);
    ASSERT_TRUE(a.open() && b.open());
    a.device()->write("aaaa");
    b.device()->write("bbbbbbbb");
    a.device()->write("aaaa");
    EXPECT_EQ(mctest::readFile(path), "old");
    ASSERT_TRUE(b.commit() && a.commit());
    EXPECT_EQ(mctest::readFile(path), "aaaaaaaa");
    EXPECT_FALSE(WriteFileAtomically(path, "k", nullptr, AtomicFile::Existing::Keep));

    // A link is followed: its file changes, the link stays.
    ASSERT_TRUE(QFile::link(path, dir + "/link"));
    ASSERT_TRUE(WriteFileAtomically(dir + "/link", "via link"));
    EXPECT_TRUE(QFileInfo(dir + "/link").isSymLink());
    EXPECT_EQ(mctest::readFile(path), "via link");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System), (QStringList{"f", "link"}));
}
