// The wallpaper pictures of the seven layouts, the file they are written to
// and the seven Set Wallpaper commands.
#include "wallpaper/WallpaperCommands.h"
#include "wallpaper/WallpaperFile.h"
#include "wallpaper/WallpaperRender.h"

#include "canvas/CanvasLayer.h"
#include "canvas/CardCut.h"
#include "canvas/ShapeGeometry.h"
#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "imaging/ImageIO.h"
#include "items/Card.h"
#include "platform/KeyFileBackend.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace mc::wallpaper;
using namespace mc::platform;

namespace {

constexpr mc::COLORREF kCanvasColor = 0x00336699;  // shows as #996633
constexpr mc::COLORREF kDesktopColor = 0x00102030; // shows as #302010
const QColor kCanvas = mc::colorrefToColor(kCanvasColor), kDesktop = mc::colorrefToColor(kDesktopColor);
const QColor kGreen(Qt::green), kBlue(Qt::blue);
const QSize kScreen(1024, 768), kClient(1000, 700);

std::unique_ptr<CMyDoc> makeDoc(QSize canvas) { return mctest::canvasDoc(canvas.width(), canvas.height(), kCanvasColor); }

// An item of `size` in `color`, centred at canvas point `at` (the view puts
// the canvas at its origin in the client area).
Card* addItem(CMyDoc& doc, QColor color, QSize size, QPoint at, QSize client = kClient)
{
    auto card = Card::CreateFromFile(
        mctest::writeImage(mctest::freshDir(), "item.png", mctest::solidImage(size.width(), size.height(), color)));
    EXPECT_TRUE(card);
    card->m_ptCenter = mc::canvas::CanvasOrigin(client, doc.m_nCanvasWidth, doc.m_nCanvasHeight) + at;
    card->UpdateRegion();
    return doc.m_listCards.AddHead(std::move(card));
}

void setBackground(CMyDoc& doc, const QImage& picture, int placement)
{
    doc.m_pBkImage = std::make_unique<QImage>(picture), doc.m_nPlacement = placement;
}

QImage render(CMyDoc& doc, WallpaperLayout layout, QSize client = kClient)
{
    const QSize size = layout == WallpaperLayout::Stretched ? kScreen : QSize(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    return RenderWallpaper(doc, {kScreen, client, kDesktopColor}, size, layout);
}

// The canvas cut out of the view's own background layer and paint.
QImage viewCanvas(const CMyDoc& doc, QSize client)
{
    const QPoint origin = mc::canvas::CanvasOrigin(client, doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    const QSize surface = kScreen.expandedTo(QSize(origin.x() + doc.m_nCanvasWidth, origin.y() + doc.m_nCanvasHeight));
    mc::canvas::CanvasLayer layer;
    layer.Rebuild(doc, client, surface, mc::canvas::SurroundColor());
    QImage shown(surface + QSize(2, 2), QImage::Format_RGB32);
    QPainter painter(&shown);
    layer.Paint(painter, doc);
    painter.end();
    return shown.copy(layer.CanvasRect());
}

} // namespace

// Where the aligned layouts put the canvas on the desktop colour, and the
// shift that carries the view's canvas origin onto that corner (to within a
// pixel for odd differences), with a green item and a blue one cut at the
// canvas's left edge.
TEST(WallpaperRenderTest, AlignedLayoutsPlaceTheCanvas)
{
    using L = WallpaperLayout;
    // layout, client, canvas, picture size, where the canvas lands, shift of the items
    const std::tuple<L, QSize, QSize, QSize, QRect, QPoint> rows[] = {
        {L::LeftAlign, kClient, {800, 600}, kScreen, {0, 84, 800, 600}, {-100, 34}},
        {L::RightAlign, kClient, {800, 600}, kScreen, {224, 84, 800, 600}, {124, 34}},
        {L::TopAlign, kClient, {800, 600}, kScreen, {112, 0, 800, 600}, {12, -50}},
        {L::BottomAlign, kClient, {800, 600}, kScreen, {112, 168, 800, 600}, {12, 118}},
        // The formula, not the difference of truncated values: 1024 - 1001 + 100
        // and (768 - 701) / 2.
        {L::RightAlign, {1001, 701}, {800, 600}, kScreen, {224, 84, 800, 600}, {123, 33}},
        {L::TopAlign, {900, 650}, {800, 600}, kScreen, {112, 0, 800, 600}, {62, -25}},
        // Wider and taller than the client area: the canvas starts at view (0, 0).
        {L::BottomAlign, kClient, {1010, 720}, kScreen, {7, 48, 1010, 720}, {7, 48}},
        // Taller than the screen: kept whole.
        {L::LeftAlign, kClient, {800, 900}, {1024, 900}, {0, 0, 800, 900}, {-100, 0}},
    };
    for (const auto& [layout, client, canvas, picture, r, shift] : rows) {
        SCOPED_TRACE(testing::Message() << int(layout) << " " << canvas.width() << "x" << canvas.height() << " in " << client.width());
        const CanvasPlacement p = PlaceCanvas(layout, kScreen, client, canvas);
        EXPECT_EQ(std::tuple(p.pictureSize, p.target, p.shift), std::tuple(picture, r, shift));

        auto doc = makeDoc(canvas);
        addItem(*doc, kGreen, QSize(20, 20), QPoint(100, 100), client);
        addItem(*doc, kBlue, QSize(40, 40), QPoint(0, 300), client); // half outside the canvas
        const QImage img = render(*doc, layout, client);
        ASSERT_EQ(img.size(), picture);
        const QPoint at = r.topLeft();
        EXPECT_EQ(QList<QColor>({img.pixelColor(at + QPoint(30, 30)), img.pixelColor(r.bottomRight() - QPoint(1, 1)),
                                 img.pixelColor(at + QPoint(100, 100)), img.pixelColor(at + QPoint(5, 300))}),
                  QList<QColor>({kCanvas, kCanvas, kGreen, kBlue}));
        for (const QPoint out : {at - QPoint(1, 1), r.bottomRight() + QPoint(1, 1), QPoint(1023, 450), at + QPoint(-5, 300)})
            EXPECT_TRUE(!img.rect().contains(out) || r.contains(out) || img.pixelColor(out) == kDesktop) << out.x();
    }
    EXPECT_TRUE(RenderWallpaper(*makeDoc({800, 600}), {kScreen, kClient, kDesktopColor}, QSize(0, 600), WallpaperLayout::Centered).isNull());
}

// Stretched scales positions by both ratios and an item's zoom by the
// horizontal one; background pictures follow their placement.
TEST(WallpaperRenderTest, StretchedProbes)
{
    // what, canvas, background picture, placement, probes
    const std::tuple<const char*, QSize, std::optional<QImage>, int, std::vector<std::pair<QPoint, QColor>>> rows[] = {
        // Ratios 1.28 and 1.28: the item is 25.6 wide around (128, 128).
        {"item, 800 x 600", {800, 600}, {}, 0, {{{139, 128}, kGreen}, {{142, 128}, kCanvas}, {{1023, 767}, kCanvas}}},
        // Ratios 2 and 1: centre (200, 100), 40 x 40 (its own aspect ratio).
        {"item, 512 x 768", {512, 768}, {}, 0,
         {{{218, 100}, kGreen}, {{200, 118}, kGreen}, {{222, 100}, kCanvas}, {{200, 122}, kCanvas}}},
        // Scaled to 200 x 50 and centred at (412, 359).
        {"centred picture", {512, 768}, mctest::solidImage(100, 50, kBlue), PLACEMENT_CENTER,
         {{{500, 380}, kBlue}, {{408, 380}, kCanvas}, {{616, 380}, kCanvas}, {{500, 355}, kCanvas}}},
    };
    for (const auto& [what, canvas, background, placement, probes] : rows) {
        SCOPED_TRACE(what);
        auto doc = makeDoc(canvas);
        if (background)
            setBackground(*doc, *background, placement);
        Card* card = background ? nullptr : addItem(*doc, kGreen, QSize(20, 20), QPoint(100, 100));
        const QPoint centre = card ? card->m_ptCenter : QPoint();
        const QImage img = render(*doc, WallpaperLayout::Stretched);
        ASSERT_EQ(img.size(), kScreen);
        for (const auto& [at, colour] : probes)
            EXPECT_EQ(img.pixelColor(at), colour) << at.x() << "," << at.y();
        // The project is as it was.
        EXPECT_TRUE(!doc->IsModified() && (!card || (card->m_ptCenter == centre && card->m_dScale == 1.0)));
    }

    // The widest screen on a 1-pixel canvas: a far item's position and the
    // scaled picture's width pass int's range and are clamped (the sanitizer
    // build checks that no conversion overflows).
    auto tiny = makeDoc({1, 1});
    setBackground(*tiny, mctest::solidImage(70000, 1, kBlue), PLACEMENT_CENTER);
    addItem(*tiny, kGreen, QSize(2, 2), QPoint(70000, 0), QSize(1, 1));
    const QSize widest(32768, 1);
    EXPECT_EQ(RenderWallpaper(*tiny, {widest, QSize(1, 1), kDesktopColor}, widest, WallpaperLayout::Stretched).size(), widest);
}

TEST(PaintedCanvasTest, IsTheViewsCanvasForEveryBackgroundAndPlace)
{
    // Centred in a larger client, at 0 in a smaller one, larger than the
    // screen on one axis, and the screen-sized canvas.
    const std::pair<QSize, QSize> cases[] = {
        {{700, 500}, kClient}, {{700, 500}, {600, 400}}, {{900, 1000}, kClient}, {kScreen, kClient}};
    // Gradients and edges, so that any resampling difference shows.
    QImage patterned(333, 221, QImage::Format_ARGB32);
    for (int y = 0; y < 221; ++y)
        for (int x = 0; x < 333; ++x)
            patterned.setPixel(x, y, qRgb((x * 255) / 333, (y * 255) / 221, ((x / 7 + y / 5) % 2) * 200));
    for (const auto& [canvas, client] : cases) {
        auto doc = makeDoc(canvas);
        Card* turned = addItem(*doc, kGreen, QSize(120, 80), QPoint(200, 150), client);
        turned->m_dAngle = 33, turned->m_dScale = 1.7, turned->m_dShearX = 0.2;
        // Cut into a Heart, which the canvas picture shows as the view does.
        const QPoint at = turned->m_ptCenter;
        ASSERT_TRUE(mc::canvas::CutCard(
            *turned, mc::canvas::ShapeRegion(mc::canvas::SHAPE_HEART, at.x() - 60, at.y() - 50, at.x() + 60, at.y() + 50)));
        for (int placement : {-1, int(PLACEMENT_CENTER), int(PLACEMENT_TILE), int(PLACEMENT_STRETCH), 7}) {
            placement < 0 ? doc->m_pBkImage.reset() : setBackground(*doc, patterned, placement);
            const QImage expected = viewCanvas(*doc, client);
            for (WallpaperLayout layout : {WallpaperLayout::Centered, WallpaperLayout::Tiled})
                EXPECT_EQ(RenderWallpaper(*doc, {kScreen, client, kDesktopColor}, canvas, layout), expected)
                    << canvas.width() << "x" << canvas.height() << " in " << client.width() << ", placement " << placement;
        }
    }
}

// Each install takes the file name the desktop does not show; a desktop
// that cannot be told is reported with where the picture went.
TEST(WallpaperCommandsTest, EachOfTheSevenCommandsInstallsItsLayout)
{
    auto doc = makeDoc({800, 600});
    const QString conf = mctest::freshDir() + "/desktop.conf";
    QStringList errors;
    WallpaperCommands commands{*doc, [] { return kClient; }, [&](const QString& e) { errors << e; },
                               [&] { return std::make_unique<KeyFileBackend>(conf); }};
    CommandState state; // the commands are always enabled; others are not theirs
    EXPECT_FALSE(commands.HandlesCommand(ID_ADD_IMAGE) || commands.OnCommand(ID_ADD_IMAGE) ||
                 commands.OnUpdateCommand(ID_SET_WALLPAPER_TILED, state));

    const std::tuple<int, QSize, const char*> cases[] = { // command, picture size, tile and style
        {ID_SET_WALLPAPER_STRETCHED, kScreen, "0"}, {ID_SET_WALLPAPER_CENTERED, {800, 600}, "0"},
        {ID_SET_WALLPAPER_TILED, {800, 600}, "1"},  {ID_SET_WALLPAPER_LEFT_ALIGN, kScreen, "0"},
        {ID_SET_WALLPAPER_RIGHT_ALIGN, kScreen, "0"}, {ID_SET_WALLPAPER_TOP_ALIGN, kScreen, "0"},
        {ID_SET_WALLPAPER_BOTTOM_ALIGN, kScreen, "0"}};
    QString shown;
    for (const auto& [id, size, tile] : cases) {
        ASSERT_TRUE(commands.HandlesCommand(id) && commands.OnCommand(id)) << id;
        const DesktopSettings s = KeyFileBackend(conf).read();
        EXPECT_NE(std::exchange(shown, s.wallpaperPath), s.wallpaperPath) << id;
        EXPECT_EQ(std::tuple(QFileInfo(s.wallpaperPath).absolutePath(), s.tileWallpaper, s.wallpaperStyle,
                             mc::imaging::decodeImage(s.wallpaperPath).size()),
                  std::tuple(dataDirectory(), QString(tile), QString(tile), size)) << id;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST(WallpaperFileTest, NamesAlternateAndAreNeverTheBackgroundNorThePictureShownNow)
{
    // Only the file name is lower case.
    const WallpaperFileNames n = WallpaperFilesIn("/data/MuralCrafter");
    EXPECT_EQ(std::pair(n.primary, n.alternate),
              std::pair(QString("/data/MuralCrafter/muralcrafter.bmp"), QString("/data/MuralCrafter/muralcraftr.bmp")));
    const QString other = "/usr/share/backgrounds/sea.jpg";
    const QString cases[][3] = {
        // background, shown now, chosen: case does not matter, the desktop
        // must see a new path, and with both taken a third name harms neither
        {"", "", n.primary}, {other, other, n.primary}, {"/DATA/MuralCrafter/MURALCRAFTER.BMP", other, n.alternate},
        {n.alternate, other, n.primary}, {other, n.primary, n.alternate}, {other, n.alternate, n.primary},
        {n.primary, "/data/MuralCrafter/./muralcrafter.bmp", n.alternate},
        {n.primary, n.alternate, n.spare}, {n.alternate, n.primary, n.spare},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseWallpaperFile(n, c[0], c[1]), c[2]) << c[0].toStdString() << " | " << c[1].toStdString();
}

TEST(WallpaperFileTest, WritesA24BitBmpReplacingTheOldFileOrReportsAndKeepsIt)
{
    const QString dir = mctest::freshDir(), path = dir + "/muralcrafter.bmp";
    QString error;
    ASSERT_TRUE(WriteWallpaperFile(mctest::solidImage(64, 32, Qt::red), path, &error) &&
                WriteWallpaperFile(mctest::solidImage(30, 20, QColor(10, 200, 30)), path, &error)) << error.toStdString();
    const QImage back = mc::imaging::decodeImage(path);
    EXPECT_EQ(std::tuple(back.size(), back.pixelColor(29, 19), mc::imaging::bmpPixelFormat(path).value_or(mc::imaging::BmpPixelFormat{}).bitsPerPixel),
              std::tuple(QSize(30, 20), QColor(10, 200, 30), 24));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"muralcrafter.bmp"});

    // A folder that cannot exist, even for root: its parent is a file.
    EXPECT_TRUE(!WriteWallpaperFile(back, path + "/muralcrafter.bmp", &error) && error.contains("muralcrafter.bmp"));
    EXPECT_TRUE(!WriteWallpaperFile(QImage(), dir + "/w.bmp", &error) && !QFile::exists(dir + "/w.bmp"));
}
