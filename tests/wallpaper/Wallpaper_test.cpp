// The wallpaper pictures of the seven layouts, the file they are written to
// and the seven Set Wallpaper commands.
#include "wallpaper/WallpaperCommands.h"
#include "wallpaper/WallpaperFile.h"
#include "wallpaper/WallpaperRender.h"

#include "canvas/CardCut.h"
#include "canvas/ShapeGeometry.h"
#include "document/CommandIds.h"
#include "imaging/ImageIO.h"
#include "platform/DesktopBackend.h"
#include "platform/KeyFileBackend.h"

#include "WallpaperTestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace mc::wallpaper;
using namespace mc::platform;
using namespace wptest;

namespace {

const WallpaperContext kContext{kScreen, kClient, kDesktopColor};
constexpr WallpaperLayout kAligned[] = {WallpaperLayout::LeftAlign, WallpaperLayout::RightAlign,
                                        WallpaperLayout::TopAlign, WallpaperLayout::BottomAlign};

QImage render(CMyDoc& doc, WallpaperLayout layout)
{
    const QSize size = layout == WallpaperLayout::Stretched ? kScreen : QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    return RenderWallpaper(doc, kContext, size, layout);
}

// Gradients and edges, so that any resampling difference shows.
QImage patterned(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, ((x / 7 + y / 5) % 2) * 200));
    return img;
}

// The canvas cut out of the view's own background layer and paint.
QImage viewCanvas(const CMyDoc& doc, QSize client, QSize screen)
{
    const QPoint origin = mc::canvas::CanvasOrigin(client, doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    const QSize surface(std::max(screen.width(), origin.x() + doc.m_nCanvasWidth),
                        std::max(screen.height(), origin.y() + doc.m_nCanvasHeight));
    mc::canvas::CanvasLayer layer;
    layer.Rebuild(doc, client, surface, mc::canvas::SurroundColor());
    QImage shown(surface + QSize(2, 2), QImage::Format_RGB32);
    QPainter painter(&shown);
    layer.Paint(painter, doc);
    painter.end();
    return shown.copy(layer.CanvasRect());
}

class FailingBackend : public DesktopBackend {
public:
    QString name() const override { return "failing"; }
    DesktopSettings read() const override { return {}; }
    InstallResult install(const QString&, const QString&, const QString&) override
    {
        return {false, "The desktop said no."};
    }
};

} // namespace

TEST(WallpaperRenderTest, PlacementShiftFollowsTheView)
{
    // The shift carries the canvas origin onto the rectangle's corner, to
    // within one pixel for odd differences.
    for (const QSize client : {kClient, QSize(1001, 701), QSize(900, 650)}) {
        const QPoint origin = mc::canvas::CanvasOrigin(client, 800, 600);
        for (auto l : kAligned) {
            const CanvasPlacement p = PlaceCanvas(l, kScreen, client, QSize(800, 600));
            EXPECT_EQ(p.pictureSize, kScreen);
            EXPECT_LE(std::abs(origin.x() + p.shift.x() - p.target.x()), 1) << int(l);
            EXPECT_LE(std::abs(origin.y() + p.shift.y() - p.target.y()), 1) << int(l);
        }
    }
    // The formula, not the difference of truncated values: far shift with
    // client 1001 is 1024 - 1001 + 100 = 123 while the corner is at 224.
    EXPECT_EQ(PlaceCanvas(WallpaperLayout::RightAlign, kScreen, QSize(1001, 700), QSize(800, 600)).shift.x(), 123);
    // Canvas wider and taller than the client area: it starts at view (0,0).
    const CanvasPlacement p = PlaceCanvas(WallpaperLayout::BottomAlign, kScreen, kClient, QSize(1010, 720));
    EXPECT_EQ(p.target, QRect(7, 48, 1010, 720));
    EXPECT_EQ(p.shift, QPoint(7, 48));
}

TEST(WallpaperRenderTest, AlignLayoutsPlaceTheCanvasOnTheDesktopColour)
{
    auto doc = makeDoc(800, 600);
    addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 100));
    addItem(*doc, Qt::blue, QSize(40, 40), QPoint(0, 300)); // half outside the canvas
    const QRect expected[] = {QRect(0, 84, 800, 600), QRect(224, 84, 800, 600), QRect(112, 0, 800, 600),
                              QRect(112, 168, 800, 600)};
    for (int i = 0; i < 4; ++i) {
        const QRect r = expected[i];
        EXPECT_EQ(PlaceCanvas(kAligned[i], kScreen, kClient, QSize(800, 600)).target, r) << i;
        const QImage img = render(*doc, kAligned[i]);
        ASSERT_EQ(img.size(), kScreen);
        EXPECT_EQ(img.pixelColor(r.topLeft() + QPoint(30, 30)), canvasColor()) << i;
        EXPECT_EQ(img.pixelColor(r.bottomRight() - QPoint(1, 1)), canvasColor()) << i;
        for (const QPoint out : {r.topLeft() - QPoint(1, 1), r.bottomRight() + QPoint(1, 1)})
            EXPECT_TRUE(!img.rect().contains(out) || img.pixelColor(out) == desktopColor()) << i;
        EXPECT_EQ(img.pixelColor(r.topLeft() + QPoint(100, 100)), QColor(Qt::green)) << i;
        // The overhanging item is cut at the canvas rectangle.
        EXPECT_EQ(img.pixelColor(r.topLeft() + QPoint(5, 300)), QColor(Qt::blue)) << i;
        EXPECT_TRUE(r.left() == 0 || img.pixelColor(r.topLeft() + QPoint(-5, 300)) == desktopColor()) << i;
    }
    EXPECT_TRUE(RenderWallpaper(*doc, kContext, QSize(0, 600), WallpaperLayout::Centered).isNull());
}

TEST(WallpaperRenderTest, CanvasTallerThanTheScreenIsKeptWhole)
{
    const CanvasPlacement p = PlaceCanvas(WallpaperLayout::LeftAlign, kScreen, kClient, QSize(800, 900));
    EXPECT_EQ(p.pictureSize, QSize(1024, 900));
    EXPECT_EQ(p.target, QRect(0, 0, 800, 900));
    EXPECT_EQ(p.shift, QPoint(-100, 0));

    auto doc = makeDoc(800, 900);
    addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 880));
    const QImage left = render(*doc, WallpaperLayout::LeftAlign);
    ASSERT_EQ(left.size(), QSize(1024, 900));
    EXPECT_EQ(left.pixelColor(5, 899), canvasColor());
    EXPECT_EQ(left.pixelColor(100, 880), QColor(Qt::green));
    EXPECT_EQ(left.pixelColor(900, 450), desktopColor());
    // Centered: the whole canvas, also the part below the screen's height.
    const QImage centred = render(*doc, WallpaperLayout::Centered);
    ASSERT_EQ(centred.size(), QSize(800, 900));
    EXPECT_EQ(centred.pixelColor(799, 899), canvasColor());
    EXPECT_EQ(centred.pixelColor(100, 880), QColor(Qt::green));
}

TEST(WallpaperRenderTest, ScreenSizedCanvasGivesTheCanvasForEveryLayout)
{
    auto doc = makeDoc(1024, 768);
    addItem(*doc, Qt::green, QSize(40, 40), QPoint(1010, 300), kClient); // hangs over the right edge
    for (int l = 0; l <= 6; ++l) {
        const QImage img = render(*doc, WallpaperLayout(l));
        ASSERT_EQ(img.size(), kScreen) << l;
        EXPECT_EQ(img.pixelColor(0, 0), canvasColor()) << l;
        EXPECT_EQ(img.pixelColor(1023, 767), canvasColor()) << l;
        EXPECT_EQ(img.pixelColor(1020, 300), QColor(Qt::green)) << l;
    }
}

TEST(WallpaperRenderTest, StretchedScalesPositionsByBothRatiosAndZoomByTheHorizontalOne)
{
    auto doc = makeDoc(800, 600); // rx = ry = 1.28
    Card* card = addItem(*doc, Qt::green, QSize(20, 20), QPoint(100, 100));
    const QPoint center = card->m_ptCenter;
    const QImage img = render(*doc, WallpaperLayout::Stretched);
    ASSERT_EQ(img.size(), kScreen);
    EXPECT_EQ(img.pixelColor(128 + 11, 128), QColor(Qt::green)); // 20 x 1.28 = 25.6 wide
    EXPECT_EQ(img.pixelColor(128 + 14, 128), canvasColor());
    EXPECT_EQ(img.pixelColor(1023, 767), canvasColor());
    // The project is as it was.
    EXPECT_EQ(card->m_ptCenter, center);
    EXPECT_EQ(card->m_dScale, 1.0);
    EXPECT_FALSE(doc->IsModified());

    auto narrow = makeDoc(512, 768); // rx = 2, ry = 1
    addItem(*narrow, Qt::green, QSize(20, 20), QPoint(100, 100));
    const QImage wide = render(*narrow, WallpaperLayout::Stretched);
    // Centre (200, 100); the item 40 x 40: its own aspect ratio.
    EXPECT_EQ(wide.pixelColor(200 + 18, 100), QColor(Qt::green));
    EXPECT_EQ(wide.pixelColor(200, 100 + 18), QColor(Qt::green));
    EXPECT_EQ(wide.pixelColor(200 + 22, 100), canvasColor());
    EXPECT_EQ(wide.pixelColor(200, 100 + 22), canvasColor());
}

TEST(WallpaperRenderTest, StretchedBackgroundPlacements)
{
    auto doc = makeDoc(512, 768); // rx = 2, ry = 1
    setBackground(*doc, mctest::solidImage(100, 50, Qt::blue), PLACEMENT_CENTER);
    QImage img = render(*doc, WallpaperLayout::Stretched);
    // Scaled to 200 x 50 and centred at (412, 359).
    EXPECT_EQ(img.pixelColor(500, 380), QColor(Qt::blue));
    for (QPoint p : {QPoint(408, 380), QPoint(616, 380), QPoint(500, 355)})
        EXPECT_EQ(img.pixelColor(p), canvasColor()) << p.x() << "," << p.y();

    doc->m_nPlacement = PLACEMENT_STRETCH;
    img = render(*doc, WallpaperLayout::Stretched);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(1023, 767), QColor(Qt::blue));

    // Tiles keep their own size: a 16 x 16 tile with a blue first column.
    QImage tile = mctest::solidImage(16, 16, Qt::red);
    for (int y = 0; y < 16; ++y)
        tile.setPixelColor(0, y, Qt::blue);
    setBackground(*doc, tile, PLACEMENT_TILE);
    img = render(*doc, WallpaperLayout::Stretched);
    for (int x : {0, 1, 16, 17})
        EXPECT_EQ(img.pixelColor(x, 5), QColor(x % 16 == 0 ? Qt::blue : Qt::red)) << x;

    // The widest screen on a 1-pixel canvas: a far item's position and the
    // scaled picture's width pass int's range and are clamped (the sanitizer
    // build checks that no conversion overflows).
    auto tiny = makeDoc(1, 1);
    setBackground(*tiny, mctest::solidImage(70000, 1, Qt::blue), PLACEMENT_CENTER);
    addItem(*tiny, Qt::green, QSize(2, 2), QPoint(70000, 0), QSize(1, 1));
    const QSize widest(32768, 1);
    img = RenderWallpaper(*tiny, {widest, QSize(1, 1), kDesktopColor}, widest, WallpaperLayout::Stretched);
    EXPECT_EQ(img.size(), widest);
}

TEST(PaintedCanvasTest, IsTheViewsCanvasForEveryBackgroundAndPlace)
{
    struct Case {
        QSize canvas;
        QSize client;
    };
    // Centred in a larger client, at 0 in a smaller one, larger than the
    // screen on one axis, and the screen-sized canvas.
    const Case cases[] = {{{700, 500}, kClient}, {{700, 500}, {600, 400}}, {{900, 1000}, kClient}, {kScreen, kClient}};
    for (const Case& c : cases) {
        auto doc = makeDoc(c.canvas.width(), c.canvas.height());
        Card* turned = addItem(*doc, Qt::green, QSize(120, 80), QPoint(200, 150), c.client);
        turned->m_dAngle = 33;
        turned->m_dScale = 1.7;
        turned->m_dShearX = 0.2;
        turned->UpdateRegion();
        // Cut into a Heart, which the canvas picture shows as the view does.
        const QPoint at = turned->m_ptCenter;
        ASSERT_TRUE(mc::canvas::CutCard(
            *turned, mc::canvas::ShapeRegion(mc::canvas::SHAPE_HEART, at.x() - 60, at.y() - 50, at.x() + 60, at.y() + 50)));
        Card* edge = addItem(*doc, Qt::blue, QSize(60, 60), QPoint(c.canvas.width() - 10, 40), c.client);
        edge->m_dAngle = -12;
        edge->UpdateRegion();

        for (int placement : {-1, int(PLACEMENT_CENTER), int(PLACEMENT_TILE), int(PLACEMENT_STRETCH), 7}) {
            if (placement == -1)
                doc->m_pBkImage.reset();
            else
                setBackground(*doc, patterned(333, 221), placement);
            const WallpaperContext context{kScreen, c.client, kDesktopColor};
            const QImage expected = viewCanvas(*doc, c.client, kScreen);
            for (WallpaperLayout layout : {WallpaperLayout::Centered, WallpaperLayout::Tiled}) {
                const QImage picture = RenderWallpaper(*doc, context, c.canvas, layout);
                EXPECT_EQ(picture, expected) << c.canvas.width() << "x" << c.canvas.height() << " in "
                                             << c.client.width() << "x" << c.client.height() << ", placement "
                                             << placement;
            }
        }
    }
}

TEST(WallpaperCommandsTest, EachOfTheSevenCommandsInstallsItsLayout)
{
    struct {
        std::unique_ptr<CMyDoc> doc = makeDoc(800, 600);
        QString conf = mctest::freshDir() + "/desktop.conf";
        QStringList errors;
    } f;
    WallpaperCommands commands{*f.doc, [] { return kClient; }, [&f](const QString& e) { f.errors << e; },
                               [&f] { return std::make_unique<KeyFileBackend>(f.conf); }};
    for (int id : {191, 195, 230, 235, int(ID_ADD_IMAGE)})
        EXPECT_FALSE(commands.HandlesCommand(id)) << id;
    EXPECT_FALSE(commands.OnCommand(ID_ADD_IMAGE));
    CommandState state;
    EXPECT_FALSE(commands.OnUpdateCommand(ID_SET_WALLPAPER_TILED, state)); // always enabled

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
        EXPECT_TRUE(commands.HandlesCommand(c.id)) << c.id;
        ASSERT_TRUE(commands.OnCommand(c.id));
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
    // Where the picture went, that the desktop was not told, and why.
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("The wallpaper picture was written to ")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].endsWith(", but this desktop could not be told to show it.\nThe desktop said no."));
}

TEST(WallpaperFileTest, NamesAlternateAndAreNeverTheBackgroundNorThePictureShownNow)
{
    // Only the file name is lower case.
    const WallpaperFileNames n = WallpaperFilesIn("/data/MuralCrafter");
    EXPECT_EQ(n.primary, "/data/MuralCrafter/muralcrafter.bmp");
    EXPECT_EQ(n.alternate, "/data/MuralCrafter/muralcraftr.bmp");
    const QString other = "/usr/share/backgrounds/sea.jpg";
    const QString cases[][3] = {
        // background, shown now, chosen
        {"", "", n.primary},
        {other, other, n.primary},
        {"/DATA/MuralCrafter/MURALCRAFTER.BMP", other, n.alternate}, // case does not matter
        {n.alternate, other, n.primary},
        {other, n.primary, n.alternate}, // the desktop must see a new path
        {other, n.alternate, n.primary},
        {n.primary, "/data/MuralCrafter/./muralcrafter.bmp", n.alternate},
        {n.primary, n.alternate, n.spare}, // both taken: a third name harms neither
        {n.alternate, n.primary, n.spare},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseWallpaperFile(n, c[0], c[1]), c[2]) << c[0].toStdString() << " | " << c[1].toStdString();
}

TEST(WallpaperFileTest, WritesA24BitBmpAndReplacesTheOldFile)
{
    const QString dir = mctest::freshDir();
    const QString path = dir + "/muralcrafter.bmp";
    QString error;
    ASSERT_TRUE(WriteWallpaperFile(mctest::solidImage(64, 32, Qt::red), path, &error)) << error.toStdString();
    QImage second(30, 20, QImage::Format_RGB32);
    second.fill(QColor(10, 200, 30));
    ASSERT_TRUE(WriteWallpaperFile(second, path, &error)) << error.toStdString();

    const QImage back = mc::imaging::decodeImage(path);
    ASSERT_EQ(back.size(), QSize(30, 20));
    EXPECT_EQ(back.pixelColor(29, 19), QColor(10, 200, 30));
    const auto format = mc::imaging::bmpPixelFormat(path);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->bitsPerPixel, 24);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"muralcrafter.bmp"});
}

TEST(WallpaperFileTest, UnwritableFolderIsReportedAndTheOldFileKept)
{
    const QString dir = mctest::freshDir();
    // A folder that cannot exist, even for root: its parent is a file.
    QFile blocker(dir + "/data");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(WriteWallpaperFile(mctest::solidImage(4, 4, Qt::red), dir + "/data/muralcrafter.bmp", &error));
    EXPECT_TRUE(error.contains("muralcrafter.bmp"));
    EXPECT_FALSE(WriteWallpaperFile(QImage(), dir + "/w.bmp", &error));
    EXPECT_FALSE(QFile::exists(dir + "/w.bmp"));
}
