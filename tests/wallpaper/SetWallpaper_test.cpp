#include "wallpaper/SetWallpaper.h"

#include "platform/GSettingsBackend.h"
#include "platform/GVariantText.h"
#include "platform/Process.h"
#include "imaging/ImageIO.h"

#include "WallpaperTestUtil.h"
#include "platform/EnvGuard.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

using namespace mc::wallpaper;
using namespace mc::platform;
using namespace wptest;

namespace {

// A backend that records what it was asked and shows what it installed.
class RecordingBackend : public DesktopBackend {
public:
    QString name() const override { return "recording"; }
    DesktopSettings read() const override
    {
        DesktopSettings s;
        s.wallpaperPath = shown;
        s.desktopColor = kDesktopColor;
        return s;
    }
    InstallResult install(const QString& path, const QString& tile, const QString& style) override
    {
        calls << QStringList{path, tile, style};
        shown = path;
        return {true, {}};
    }
    QString shown;
    QList<QStringList> calls;
};

SetWallpaperResult set(CMyDoc& doc, DesktopBackend& backend, const QString& dir, WallpaperLayout layout)
{
    const QSize size = layout == WallpaperLayout::Stretched ? kScreen : QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    return SetWallpaper(doc, backend, kScreen, kClient, dir, size, layout);
}

} // namespace

TEST(SetWallpaperTest, WritesTheFileThenInstallsItWithTheLayoutValues)
{
    auto doc = makeDoc(800, 600);
    addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 100));
    RecordingBackend backend;
    const QString dir = mctest::freshDir();

    SetWallpaperResult r = set(*doc, backend, dir, WallpaperLayout::Tiled);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.path, dir + "/muralcrafter.bmp");
    ASSERT_EQ(backend.calls.size(), 1);
    EXPECT_EQ(backend.calls[0], (QStringList{r.path, "1", "1"}));
    EXPECT_EQ(mc::imaging::decodeImage(r.path).size(), QSize(800, 600));

    // Every other layout writes "0" / "0"; the names alternate because the
    // desktop now shows the file just written.
    const WallpaperLayout others[] = {WallpaperLayout::Stretched, WallpaperLayout::Centered, WallpaperLayout::LeftAlign,
                                      WallpaperLayout::RightAlign, WallpaperLayout::TopAlign, WallpaperLayout::BottomAlign};
    for (const WallpaperLayout l : others) {
        const QString before = backend.shown;
        r = set(*doc, backend, dir, l);
        ASSERT_TRUE(r.ok);
        EXPECT_NE(r.path, before);
        EXPECT_EQ(backend.calls.last(), (QStringList{r.path, "0", "0"}));
        const QSize expected = (l == WallpaperLayout::Centered) ? QSize(800, 600) : kScreen;
        EXPECT_EQ(mc::imaging::decodeImage(r.path).size(), expected) << int(l);
    }
    EXPECT_FALSE(doc->IsModified());
}

TEST(SetWallpaperTest, BackgroundFileIsNeverOverwritten)
{
    const QString dir = mctest::freshDir();
    const QString primary = dir + "/muralcrafter.bmp";
    ASSERT_TRUE(mc::imaging::encodeImage(mctest::solidImage(16, 16, Qt::yellow), primary, "image/bmp"));
    auto doc = makeDoc(800, 600);
    doc->LoadBackground(primary.toUpper().replace(dir.toUpper(), dir)); // same file, other case
    doc->SetModifiedFlag(false);
    RecordingBackend backend;
    backend.shown = primary; // the first project of a run after an earlier Set Wallpaper

    SetWallpaperResult r = set(*doc, backend, dir, WallpaperLayout::Centered);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.path, dir + "/muralcraftr.bmp");
    // Again: the desktop shows the alternate, the project still uses the
    // primary; neither is touched.
    r = set(*doc, backend, dir, WallpaperLayout::Centered);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.path, dir + "/muralcrafter2.bmp");
    EXPECT_EQ(mc::imaging::decodeImage(primary).size(), QSize(16, 16));
    EXPECT_FALSE(doc->IsModified());
}

TEST(SetWallpaperTest, UnwritableFolderIsReportedAndNothingInstalled)
{
    const QString dir = mctest::freshDir() + "/blocked";
    QFile blocker(dir);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto doc = makeDoc(800, 600);
    RecordingBackend backend;
    const SetWallpaperResult r = set(*doc, backend, dir + "/muralcrafter", WallpaperLayout::Centered);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(backend.calls.isEmpty());
}

TEST(SetWallpaperTest, GnomeGetsBothUrisAndTheOptionsThroughRealGsettings)
{
    EnvGuard env;
    env.set("GSETTINGS_BACKEND", "keyfile");
    env.set("XDG_CONFIG_HOME", mctest::freshDir().toUtf8());
    if (!haveProgram("gsettings"))
        GTEST_SKIP() << "gsettings is not installed";
    const auto schemas = runProcess("gsettings", {"list-schemas"});
    if (!schemas.out.split('\n').contains("org.gnome.desktop.background"))
        GTEST_SKIP() << "no GNOME background schema";
    const auto get = [](const QString& key) {
        const auto r = runProcess("gsettings", {"get", "org.gnome.desktop.background", key}, 10000, {"LC_ALL=C.UTF-8"});
        return parseGVariantString(r.out).value_or(r.out);
    };

    GSettingsBackend gnome(*gsettingsSchemaFor("gnome"));
    const QString dir = mctest::freshDir() + QString::fromUtf8("/Ann's \"data\" d\xc3\xa9j\xc3\xa0 vu");
    ASSERT_TRUE(QDir().mkpath(dir));
    auto doc = makeDoc(800, 600);

    SetWallpaperResult r = set(*doc, gnome, dir, WallpaperLayout::LeftAlign);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(QUrl(get("picture-uri")).toLocalFile(), dir + "/muralcrafter.bmp");
    EXPECT_EQ(QUrl(get("picture-uri-dark")).toLocalFile(), dir + "/muralcrafter.bmp");
    EXPECT_EQ(get("picture-options"), "centered");

    // A second Set Wallpaper must reach the desktop under a new path.
    r = set(*doc, gnome, dir, WallpaperLayout::Tiled);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(QUrl(get("picture-uri")).toLocalFile(), dir + "/muralcraftr.bmp");
    EXPECT_EQ(get("picture-options"), "wallpaper");
    r = set(*doc, gnome, dir, WallpaperLayout::Stretched);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(QUrl(get("picture-uri")).toLocalFile(), dir + "/muralcrafter.bmp");
    EXPECT_EQ(get("picture-options"), "centered"); // a screen-sized picture, shown 1:1
}
