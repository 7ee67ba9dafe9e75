// The GNOME-family backend against the real gsettings tool, with the
// key-file GSettings backend in a folder of the test's own.
#include "platform/GSettingsBackend.h"

#include "platform/GVariantText.h"
#include "platform/Process.h"

#include "FakeTools.h"

#include <tuple>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace mc::platform;

namespace {

const QString kGnome = QStringLiteral("org.gnome.desktop.background");

bool haveSchema(const QString& schema)
{
    const auto r = runProcess(QStringLiteral("gsettings"), {QStringLiteral("list-schemas")});
    return r.ok() && r.out.split(u'\n').contains(schema);
}

class GSettingsBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Never the user's dconf database: a fresh key file per test.
        m_env.set("GSETTINGS_BACKEND", "keyfile");
        m_env.set("XDG_CONFIG_HOME", mctest::freshDir().toUtf8());
        if (!haveProgram(QStringLiteral("gsettings")))
            GTEST_SKIP() << "gsettings is not installed";
        if (!haveSchema(kGnome))
            GTEST_SKIP() << "gsettings-desktop-schemas is not installed";
    }

    static void set(const QString& schema, const QString& key, const QString& value)
    {
        const auto r = runProcess(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, key, quoteGVariantString(value)});
        ASSERT_TRUE(r.ok()) << r.err.toStdString();
    }

    static QString get(const QString& schema, const QString& key)
    {
        const auto r = runProcess(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key}, 10000,
                                  {QStringLiteral("LC_ALL=C.UTF-8")});
        return parseGVariantString(r.out).value_or(QStringLiteral("<unparsable: %1>").arg(r.out));
    }

    static GSettingsBackend gnome() { return GSettingsBackend(*gsettingsSchemaFor(QStringLiteral("gnome"))); }

    EnvGuard m_env;
};

} // namespace

TEST_F(GSettingsBackendTest, ReadsPictureOptionsUriAndColour)
{
    set(kGnome, "picture-uri", "file:///tmp/my%20pics/caf%C3%A9%2C%27x%27.png");
    set(kGnome, "primary-color", "#102030");
    for (const auto& [option, placement] :
         {std::pair{"wallpaper", "1 0"}, {"centered", "0 0"}, {"stretched", "0 2"}, {"zoom", "0 2"}}) {
        set(kGnome, "picture-options", QString::fromLatin1(option));
        EXPECT_EQ(settingsText(gnome().read()),
                  QStringLiteral("/tmp/my pics/caf\u00e9,'x'.png | %1 | #102030").arg(placement).toStdString());
    }
    set(kGnome, "picture-options", "none");
    EXPECT_TRUE(gnome().read().wallpaperPath.isEmpty());
}

TEST_F(GSettingsBackendTest, UnreadableValuesReadAsEmpty)
{
    set(kGnome, "picture-uri", "https://example.org/remote.png");
    set(kGnome, "primary-color", "no colour");
    EXPECT_EQ(settingsText(gnome().read()), " | 0 2 | #204080"); // the default: zoom

    GSettingsSchema missing = *gsettingsSchemaFor(QStringLiteral("gnome"));
    missing.schema = QStringLiteral("org.muralcrafter.no-such-schema");
    EXPECT_EQ(settingsText(GSettingsBackend(missing).read()), " |   | #204080");
}

TEST_F(GSettingsBackendTest, InstallWritesOptionsAndBothUris)
{
    const QString wall = mctest::freshDir() + "/it's \"my\" wall 100%\\\u00e9#1.bmp";
    GSettingsBackend backend = gnome();
    for (const auto& [tile, style, option] :
         {std::tuple{"1", "1", "wallpaper"}, {"0", "0", "centered"}, {"0", "2", "stretched"}}) {
        ASSERT_TRUE(backend.install(wall, tile, style).ok) << option;
        EXPECT_EQ(get(kGnome, "picture-options"), QString::fromLatin1(option));
        const QString uri = get(kGnome, "picture-uri");
        EXPECT_TRUE(uri.startsWith("file:///") && !uri.contains(u' ') && get(kGnome, "picture-uri-dark") == uri) << uri.toStdString();
        EXPECT_EQ(backend.read().wallpaperPath, wall);
    }
    // Every gsettings started has been reaped: no child is left a zombie.
    const QByteArray children = mctest::readFile(QStringLiteral("/proc/self/task/%1/children").arg(gettid()));
    for (const QByteArray& pid : children.split(' '))
        EXPECT_FALSE(mctest::readFile("/proc/" + pid.trimmed() + "/stat").contains(") Z ")) << pid.toStdString();
}

// GNOME before 42 has no picture-uri-dark: a schema like it, compiled into
// the test's own schema folder (the real Cinnamon and MATE schemas are
// tested with the desktops).
TEST_F(GSettingsBackendTest, GnomeWithoutDarkPicture)
{
    const QString schemaDir = mctest::freshDir();
    GSettingsSchema oldGnome = *gsettingsSchemaFor(QStringLiteral("gnome"));
    oldGnome.schema = QStringLiteral("org.muralcrafter.test.gnome41");
    QString xml = QStringLiteral("<schemalist><schema id='%1' path='/org/muralcrafter/test/gnome41/'>").arg(oldGnome.schema);
    for (const QString& key : {oldGnome.pictureKey, oldGnome.optionsKey, oldGnome.colorKey})
        xml += QStringLiteral("<key name='%1' type='s'><default>''</default></key>").arg(key);
    mctest::writeFile(schemaDir + "/muralcrafter-test.gschema.xml", (xml + "</schema></schemalist>").toUtf8());
    if (!runProcess(QStringLiteral("glib-compile-schemas"), {schemaDir}).ok())
        GTEST_SKIP() << "glib-compile-schemas is not available";
    m_env.set("GSETTINGS_SCHEMA_DIR", schemaDir.toUtf8());

    EXPECT_TRUE(GSettingsBackend(oldGnome).install("/w/old.bmp", "0", "2").ok);
    EXPECT_EQ(get(oldGnome.schema, oldGnome.pictureKey), QStringLiteral("file:///w/old.bmp"));
}

TEST(GSettingsTranslationTest, ListingOfOneSchemaOnly)
{
    const auto values = GSettingsBackend::parseListing("org.x a 'one'\norg.x.child a 'no'\norg.x b 2\norg.xy a 'no'", "org.x");
    EXPECT_EQ((QStringList{values.keys().join(u' '), values.value("a"), values.value("b")}), (QStringList{"a b", "'one'", "2"}));
    EXPECT_EQ(GSettingsBackend::uriToPath("resource:///org/x.png"), QString());
}
