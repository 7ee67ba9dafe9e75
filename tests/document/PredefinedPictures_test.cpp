#include "document/PredefinedPictures.h"

#include "common/TestUtil.h"
#include "platform/PredefinedFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace mc::document;

namespace {

// "name" makes a text file; "name WxH" a picture of that size (PNG content,
// or BMP for .bmp/.BMP names, whatever the name says).
void makeFile(const QString& dir, const QString& entry)
{
    const QString path = dir + '/' + entry.section(' ', 0, 0);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QStringList size = entry.section(' ', 1).split('x');
    if (size.size() < 2)
        return void(mctest::writeFile(path, "not a picture"));
    const bool bmp = path.endsWith(".bmp", Qt::CaseInsensitive);
    ASSERT_TRUE(mctest::solidImage(size[0].toInt(), size[1].toInt(), Qt::darkCyan).save(path, bmp ? "BMP" : "PNG"));
}

// "title=path below dir" per picture.
QStringList listed(const std::vector<PredefinedPicture>& list, const QString& dir)
{
    QStringList out;
    for (const PredefinedPicture& p : list)
        out << p.title + '=' + QDir(dir).relativeFilePath(p.path);
    return out;
}

} // namespace

TEST(PredefinedPictures, WallpaperFolderListing)
{
    struct Row {
        const char* rule;
        QString folder; // the listed folder below a fresh directory
        QStringList files;
        QStringList expected;
    };
    const Row rows[] = {
        {"extensions in lower case", "w", {"a.JPG 8x8", "b.Png 8x8", "c.txt", "d.jpe 8x8"}, {"a=a.JPG", "b=b.Png"}},
        {"dotted folder, no extension", "w.png", {"photo 8x8", "e.gif 8x8"}, {"e=e.gif"}},
        {"sorted by name", "w", {"c.png 8x8", "B.png 8x8", "a.png 8x8", "b.png 8x8"},
         {"a=a.png", "B=B.png", "b=b.png", "c=c.png"}},
        {"one level down", "w", {"top.png 8x8", "sub/in.bmp 8x8", "sub/deeper/deep.png 8x8"},
         {"in=sub/in.bmp", "top=top.png"}},
        {"package: its largest picture",
         "w",
         {"Pkg/metadata.json", "Pkg/contents/images/640x480.png 64x48", "Pkg/contents/images/1920x1080.png 192x108",
          "Pkg/contents/images/3840x2160.png", "Pkg/contents/screenshot.png 300x300"},
         {"Pkg=Pkg/contents/images/1920x1080.png"}},
        {"undecodable skipped", "w", {"broken.png", "good.tif 8x8"}, {"good=good.tif"}},
    };
    for (const Row& row : rows) {
        const QString dir = mctest::freshDir() + '/' + row.folder;
        for (const QString& file : row.files)
            makeFile(dir, file);
        EXPECT_EQ(listed(ListWallpaperPictures(dir), dir), row.expected) << row.rule;
    }
    EXPECT_TRUE(ListWallpaperPictures(mctest::freshDir() + "/missing").empty());
}

TEST(PredefinedPictures, TileFolderHoldsSquareBitmaps)
{
    const QString dir = mctest::freshDir();
    for (const char* file : {"wide.bmp 32x16", "b.bmp 16x16", "A.BMP 64x64", "sq.png 16x16", "broken.bmp"})
        makeFile(dir, file);
    EXPECT_EQ(listed(ListTilePictures(dir), dir), QStringList({"A=A.BMP", "b=b.bmp"}));

    // The shipped patterns: at least eight square tiles of 16 to 128 pixels.
    const std::vector<PredefinedPicture> shipped = ListTilePictures(mc::platform::tileFolder());
    EXPECT_GE(shipped.size(), 8u);
    for (const PredefinedPicture& tile : shipped) {
        const QSize size = QImageReader(tile.path).size();
        EXPECT_TRUE(size.width() >= 16 && size.width() <= 128) << tile.path.toStdString();
    }
}

TEST(PredefinedPictures, CanvasSizePresetsEndAtTheScreenWidth)
{
    const std::pair<QSize, std::vector<QSize>> rows[] = {
        {{1024, 768}, {{640, 480}, {800, 600}, {1024, 768}}},
        {{1152, 864}, {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}}},
        {{800, 600}, {{640, 480}, {800, 600}}},
        {{1600, 1200}, {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}}},
        // Only widths count: a taller preset than the screen is offered.
        {{1000, 500}, {{640, 480}, {800, 600}, {1000, 500}}},
    };
    for (const auto& [screen, expected] : rows)
        EXPECT_EQ(CanvasSizePresets(screen), expected) << screen.width();
}
