// The files written beside the user's: the JPEG copy Add Image makes of a
// picture the project cannot keep as it is, and on save the project file,
// written whole or not at all, with its companion JPEG.
#include "canvas/AddImagePlan.h"
#include "canvas/ProjectSave.h"

#include "common/TestUtil.h"
#include "document/ProjectFileTestUtil.h"
#include "document/ProjectWriter.h"
#include "imaging/ImageIO.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using mc::canvas::PrepareAddImageFile;
using mc::canvas::SaveProject;

const QSize kScreen(1024, 768); // const: local to this file

// Which chosen files are copied: the extension compared case-sensitively,
// BMP only when its pixels are neither 24-bit nor 32-bit with alpha; an
// undecodable file is left to the item. A copy is a JPEG beside the file.
TEST(AddImagePlan, WhichFilesAreCopied)
{
    const QString dir = mctest::freshDir();
    const QImage green = mctest::solidImage(8, 8, Qt::green);
    QImage clear = mctest::solidImage(8, 8, QColor(0, 0, 255, 0)); // transparent blue: white in the copy
    clear.setPixelColor(7, 0, Qt::green);
    const std::pair<QString, bool> cases[] = { // chosen, copied
        {mctest::writeImage(dir, "clear.png", clear), true},
        {mctest::writeImage(dir, "LOUD.PNG", green), false},
        {mctest::writeImage(dir, "plain.jpg", green), false},
        {mctest::writeImage(dir, "true.bmp", green.convertToFormat(QImage::Format_RGB888)), false},
        {mctest::writeImage(dir, "palette.bmp", green.convertToFormat(QImage::Format_Indexed8)), true},
        {mctest::writeFile(dir + "/alpha.bmp", mctest::bmpFile(108, 32, 3, 0xFF000000u)), false},
        {mctest::writeFile(dir + "/plain32.bmp", mctest::bmpFile(40, 32, 0, 0)), true},
        {mctest::writeFile(dir + "/broken.png", "not a picture"), false},
        // An 8 x 8 green GIF87a written byte by byte (the image writer has no
        // GIF encoder): two-colour table, one image, its LZW codes, trailer.
        {mctest::writeFile(dir + "/anim.gif", QByteArray::fromHex("474946383761" "08000800800000" "008000" "000000"
                                                                  "2c00000000080008000002" "07848fa9cbed5d00" "00" "3b")),
         true},
    };
    for (const auto& [chosen, copied] : cases) {
        SCOPED_TRACE(chosen.toStdString());
        const QString copy = chosen.left(chosen.lastIndexOf('.')) + ".jpg";
        EXPECT_EQ(PrepareAddImageFile(chosen).path, copied ? copy : chosen);
        EXPECT_EQ(mc::imaging::imageFormat(copy), copied || chosen.endsWith(".jpg") ? QByteArray("jpeg") : QByteArray());
    }
    EXPECT_GT(qGray(mc::imaging::decodeImage(dir + "/clear.jpg").pixel(0, 7)), 245);
}

// An unrelated file or folder that holds the copy's name is never overwritten;
// adding the same picture again finds its own copy instead of a third.
TEST(AddImagePlan, ExistingDifferentFileGetsAFreeName)
{
    const QString dir = mctest::freshDir();
    const QString png = mctest::writeImage(dir, "photo.png", mctest::solidImage(16, 16, Qt::red));
    const QString mine = mctest::writeImage(dir, "photo.jpg", mctest::solidImage(16, 16, Qt::blue));
    const QByteArray before = mctest::readFile(mine);
    EXPECT_EQ(PrepareAddImageFile(png).path, dir + "/photo-1.jpg");
    EXPECT_EQ(mctest::readFile(mine), before);
    EXPECT_EQ(PrepareAddImageFile(png).path, dir + "/photo-1.jpg");
    EXPECT_FALSE(QFileInfo::exists(dir + "/photo-2.jpg"));

    const QString png2 = mctest::writeImage(dir, "two.png", mctest::solidImage(16, 16, Qt::red));
    ASSERT_TRUE(QDir(dir).mkdir("two.jpg"));
    EXPECT_EQ(PrepareAddImageFile(png2).path, dir + "/two-1.jpg");
}

TEST(AddImagePlan, UnwritableCopyFallsBackToTheChosenFile)
{
    const QString png = mctest::writeImage(mctest::freshDir(), "photo.png", mctest::solidImage(16, 16, Qt::red));
    int attempts = 0;
    const auto file = PrepareAddImageFile(png, [&](const QString&, const QByteArray&) { return ++attempts, false; });
    EXPECT_EQ(std::tuple(attempts, file.copied, file.path), std::tuple(1, false, png));
}

TEST(ProjectSave, CompanionPictureNames)
{
    // A project named like its picture must not be overwritten by it.
    const char* cases[][2] = {{"/art/Beach.mcr", "/art/Beach.jpg"},       {"/art/X.MCR", "/art/X.jpg"},
                              {"/art/Sketch", "/art/Sketch.jpg"},         {"/my.art/Sketch", "/my.art/Sketch.jpg"},
                              {"/art/two.dots.mcr", "/art/two.dots.jpg"}, {"/art/x.jpg", "/art/x.jpg.jpg"}};
    for (const auto& c : cases)
        EXPECT_EQ(mc::document::CompanionPicturePath(c[0]), c[1]);
}

// A picture of the companion's name that the program did not write is kept;
// the canvas goes to the next free name, the status bar says so, and later
// saves replace that companion (it carries the project's mark).
TEST(ProjectSave, WritesProjectAndCanvasSizedJpeg)
{
    const QString dir = mctest::freshDir(), path = dir + "/Beach.mcr";
    auto doc = mctest::canvasDoc(500, 300, 0x000000FF); // a red canvas
    mctest::addItem(*doc, mctest::writeImage(dir, "a.png", mctest::solidImage(40, 40, Qt::blue)));
    doc->SetModifiedFlag(true);
    const QString photo = mctest::writeImage(dir, "Beach.jpg", mctest::solidImage(3, 3, Qt::green));
    const QByteArray photoBytes = mctest::readFile(photo);
    for (int i = 0; i < 2; ++i) {
        const mc::canvas::SaveResult saved = SaveProject(*doc, path, QSize(900, 700));
        ASSERT_TRUE(saved.ok) << saved.message.toStdString();
        EXPECT_TRUE(saved.notice.contains("Beach-1.jpg")) << saved.notice.toStdString();
    }
    EXPECT_EQ(std::pair(doc->IsModified(), doc->GetPathName()), std::pair(false, path));
    EXPECT_EQ(mctest::readFile(path), mc::document::SerializeProject(*doc));
    EXPECT_EQ(mctest::readFile(photo), photoBytes);
    EXPECT_EQ(std::pair(mc::imaging::imageFormat(dir + "/Beach-1.jpg"), mc::imaging::imageSize(dir + "/Beach-1.jpg")),
              std::pair(QByteArray("jpeg"), std::optional(QSize(500, 300))));
    EXPECT_GT(qRed(mc::imaging::decodeImage(dir + "/Beach-1.jpg").pixel(5, 5)), 230);
    // The mark survives names that Qt's JPEG comments would fold.
    ASSERT_TRUE(SaveProject(*doc, dir + "/two  spaces.mcr", QSize(900, 700)).notice.isEmpty());
    EXPECT_TRUE(mc::canvas::IsCompanionOf(dir + "/two  spaces.jpg", dir + "/two  spaces.mcr"));
}

TEST(ProjectSave, FailedSaveIsReportedAndKeepsModifiedFlagAndOldFile)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->SetPathName(dir + "/kept.mcr");
    doc->SetModifiedFlag(true);
    QDir(dir).mkdir("taken.mcr"); // a folder in the way of the file
    for (const QString& path : {dir + "/no/such/folder/p.mcr", dir + "/taken.mcr"}) {
        const mc::canvas::SaveResult saved = SaveProject(*doc, path, kScreen);
        EXPECT_TRUE(!saved.ok && !saved.message.isEmpty() && doc->IsModified()) << path.toStdString();
        EXPECT_EQ(doc->GetPathName(), dir + "/kept.mcr");
    }
    EXPECT_TRUE(QFileInfo(dir + "/taken.mcr").isDir());

    // The companion picture failing does not fail the save.
    QDir(dir).mkdir("p.jpg");
    EXPECT_TRUE(SaveProject(*doc, dir + "/p.mcr", kScreen).ok);
    EXPECT_EQ(std::pair(doc->IsModified(), mctest::readFile(dir + "/p.mcr").size()), std::pair(false, qsizetype(57)));
}

// Item pics/photo1.jpg, Save As pics/photo1.mcr: the photo stays, even once
// it is an earlier companion that the project now shows.
TEST(ProjectSave, PictureTheProjectUsesIsNeverReplaced)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    const QString photo = mctest::writeImage(dir, "photo1.jpg", mctest::solidImage(30, 20, Qt::red));
    mctest::addItem(*doc, photo);
    ASSERT_TRUE(SaveProject(*doc, dir + "/photo1.mcr", kScreen).ok);
    const QString companion = dir + "/photo1-1.jpg";
    mctest::addItem(*doc, companion);
    const QByteArray bytes[] = {mctest::readFile(photo), mctest::readFile(companion)};
    ASSERT_TRUE(SaveProject(*doc, dir + "/photo1.mcr", kScreen).ok);
    EXPECT_EQ(std::pair(mctest::readFile(photo), mctest::readFile(companion)), std::pair(bytes[0], bytes[1]));
    EXPECT_TRUE(mc::canvas::IsCompanionOf(dir + "/photo1-2.jpg", dir + "/photo1.mcr"));
}
