#include "wallpaper/WallpaperCommands.h"

#include "document/CommandIds.h"
#include "imaging/ImageIO.h"
#include "platform/DesktopBackend.h"
#include "platform/KeyFileBackend.h"

#include "WallpaperTestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace mc::wallpaper;
using namespace mc::platform;
using namespace wptest;

namespace {

class FailingBackend : public DesktopBackend {
public:
    QString name() const override { return "failing"; }
    DesktopSettings read() const override { return {}; }
    InstallResult install(const QString&, const QString&, const QString&) override
    {
        return {false, "The desktop said no."};
    }
};

struct Fixture {
    std::unique_ptr<CMyDoc> doc = makeDoc(800, 600);
    QString conf = mctest::freshDir() + "/desktop.conf";
    QStringList errors;
    WallpaperCommands commands{*doc, [] { return kClient; }, [this](const QString& e) { errors << e; },
                               [this] { return std::make_unique<KeyFileBackend>(conf); }};
};

} // namespace

TEST(WallpaperCommandsTest, EachOfTheSevenCommandsInstallsItsLayout)
{
    Fixture f;
    for (int id : {191, 195, 230, 235, int(ID_ADD_IMAGE)})
        EXPECT_FALSE(f.commands.HandlesCommand(id)) << id;
    EXPECT_FALSE(f.commands.OnCommand(ID_ADD_IMAGE));
    CommandState state;
    EXPECT_FALSE(f.commands.OnUpdateCommand(ID_SET_WALLPAPER_TILED, state)); // always enabled

    const QString dataDir = dataDirectory();
    const struct {
        int id;
        QSize size;
        const char* tile;
    } cases[] = {{ID_SET_WALLPAPER_STRETCHED, kScreen, "0"},   {ID_SET_WALLPAPER_CENTERED, {800, 600}, "0"},
                 {ID_SET_WALLPAPER_TILED, {800, 600}, "1"},    {ID_SET_WALLPAPER_LEFT_ALIGN, kScreen, "0"},
                 {ID_SET_WALLPAPER_RIGHT_ALIGN, kScreen, "0"}, {ID_SET_WALLPAPER_TOP_ALIGN, kScreen, "0"},
                 {ID_SET_WALLPAPER_BOTTOM_ALIGN, kScreen, "0"}};
    for (const auto& c : cases) {
        EXPECT_TRUE(f.commands.HandlesCommand(c.id)) << c.id;
        ASSERT_TRUE(f.commands.OnCommand(c.id));
        const DesktopSettings s = KeyFileBackend(f.conf).read();
        EXPECT_EQ(QFileInfo(s.wallpaperPath).absolutePath(), dataDir) << c.id;
        EXPECT_EQ(s.tileWallpaper, c.tile) << c.id;
        EXPECT_EQ(s.wallpaperStyle, c.tile) << c.id;
        EXPECT_EQ(mc::imaging::decodeImage(s.wallpaperPath).size(), c.size) << c.id;
    }
    EXPECT_TRUE(f.errors.isEmpty()) << f.errors.join('\n').toStdString();
}

TEST(WallpaperCommandsTest, FailuresReachTheUser)
{
    auto doc = makeDoc(800, 600);
    QStringList errors;
    WallpaperCommands commands(*doc, [] { return kClient; }, [&](const QString& e) { errors << e; },
                               [] { return std::make_unique<FailingBackend>(); });
    EXPECT_TRUE(commands.OnCommand(ID_SET_WALLPAPER_CENTERED));
    EXPECT_EQ(errors, QStringList{"The desktop said no."});
}
