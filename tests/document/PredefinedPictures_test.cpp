#include "document/PredefinedPictures.h"

#include "common/TestUtil.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace mc::document;

namespace {

// Makes each entry below a fresh `folder` and lists it as "title=path below
// the folder" per picture. "name" makes a text file; "name WxH" a picture of
// that size (PNG content, or BMP for .bmp/.BMP names, whatever the name says).
QStringList listed(const QString& folder, const QStringList& entries,
                   std::vector<PredefinedPicture> (*list)(const QString&) = ListWallpaperPictures)
{
    const QString dir = mctest::freshDir() + '/' + folder;
    for (const QString& entry : entries) {
        const QString path = dir + '/' + entry.section(' ', 0, 0);
        QDir().mkpath(QFileInfo(path).absolutePath());
        const QStringList size = entry.section(' ', 1).split('x');
        const bool bmp = path.endsWith(".bmp", Qt::CaseInsensitive);
        EXPECT_TRUE(size.size() < 2 ? !mctest::writeFile(path, "not a picture").isEmpty()
                                    : mctest::solidImage(size[0].toInt(), size[1].toInt(), Qt::darkCyan)
                                          .save(path, bmp ? "BMP" : "PNG"));
    }
    QStringList out;
    for (const PredefinedPicture& p : list(dir))
        out << p.title + '=' + QDir(dir).relativeFilePath(p.path);
    return out;
}

} // namespace

TEST(PredefinedPictures, WallpaperFolderListing)
{
    // rule, the listed folder, its files, the listing
    const std::tuple<const char*, QString, QStringList, QStringList> rows[] = {
        {"extensions in lower case", "w", {"a.JPG 8x8", "b.Png 8x8", "c.txt", "d.jpe 8x8"}, {"a=a.JPG", "b=b.Png"}},
        {"dotted folder, no extension", "w.png", {"photo 8x8", "e.gif 8x8"}, {"e=e.gif"}},
        {"sorted by name", "w", {"c.png 8x8", "B.png 8x8", "a.png 8x8", "b.png 8x8"},
         {"a=a.png", "B=B.png", "b=b.png", "c=c.png"}},
        {"one level down", "w", {"top.png 8x8", "sub/in.bmp 8x8", "sub/deeper/deep.png 8x8"},
         {"in=sub/in.bmp", "top=top.png"}},
        {"package: its largest picture", "w",
         {"Pkg/metadata.json", "Pkg/contents/images/640x480.png 64x48", "Pkg/contents/images/1920x1080.png 192x108",
          "Pkg/contents/images/3840x2160.png", "Pkg/contents/screenshot.png 300x300"},
         {"Pkg=Pkg/contents/images/1920x1080.png"}},
    };
    for (const auto& [rule, folder, files, expected] : rows)
        EXPECT_EQ(listed(folder, files), expected) << rule;
    EXPECT_TRUE(ListWallpaperPictures(mctest::freshDir() + "/missing").empty());
}

TEST(PredefinedPictures, TileFolderHoldsSquareBitmaps)
{
    EXPECT_EQ(listed("t", {"wide.bmp 32x16", "b.bmp 16x16", "A.BMP 64x64", "sq.png 16x16", "broken.bmp"},
                     ListTilePictures),
              QStringList({"A=A.BMP", "b=b.bmp"}));
}

TEST(PredefinedPictures, CanvasSizePresetsEndAtTheScreenWidth)
{
    const std::pair<QSize, std::vector<QSize>> rows[] = {
        {{1024, 768}, {{640, 480}, {800, 600}, {1024, 768}}},
        {{1600, 1200}, {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}}},
        // Only widths count: a taller preset than the screen is offered.
        {{1000, 500}, {{640, 480}, {800, 600}, {1000, 500}}},
    };
    for (const auto& [screen, expected] : rows)
        EXPECT_EQ(CanvasSizePresets(screen), expected) << screen.width();
}
