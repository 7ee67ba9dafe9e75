// Saving: the project file written whole or not at all, and the companion JPEG.
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "imaging/ImageIO.h"
#include "document/ProjectWriter.h"
#include "canvas/ProjectSave.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using mc::canvas::SaveProject;

namespace {
const QSize kScreen(1024, 768);
} // namespace

TEST(ProjectSave, CompanionPictureNames)
{
    // A project named like its picture must not be overwritten by it.
    const char* cases[][2] = {{"/art/Beach.mcr", "/art/Beach.jpg"},       {"/art/X.MCR", "/art/X.jpg"},
                              {"/art/Sketch", "/art/Sketch.jpg"},         {"/my.art/Sketch", "/my.art/Sketch.jpg"},
                              {"/art/two.dots.mcr", "/art/two.dots.jpg"}, {"/art/x.jpg", "/art/x.jpg.jpg"}};
    for (const auto& c : cases)
        EXPECT_EQ(mc::document::CompanionPicturePath(c[0]), c[1]);
}

TEST(ProjectSave, WritesProjectAndCanvasSizedJpeg)
{
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    doc->m_nCanvasWidth = 500;
    doc->m_nCanvasHeight = 300;
    doc->m_crBkColor = 0x000000FF; // red
    mctest::addItem(*doc, mctest::writeImage(dir, "a.png", mctest::solidImage(40, 40, Qt::blue)));
    doc->SetModifiedFlag(true);
    const QString path = dir + "/Beach.mcr";
    // A picture of that name that the program did not write is kept; the
    // canvas goes to the next free name, the status bar says so, and later
    // saves replace that companion (it carries the project's mark).
    const QString photo = mctest::writeImage(dir, "Beach.jpg", mctest::solidImage(3, 3, Qt::green));
    const QByteArray photoBytes = mctest::readFile(photo);

    mc::canvas::SaveResult saved;
    for (int i = 0; i < 2; ++i) {
        saved = SaveProject(*doc, path, QSize(900, 700));
        ASSERT_TRUE(saved.ok) << saved.message.toStdString();
        EXPECT_TRUE(saved.notice.contains("Beach-1.jpg")) << saved.notice.toStdString();
    }
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_EQ(mctest::readFile(path), mc::document::SerializeProject(*doc));
    EXPECT_EQ(mctest::readFile(photo), photoBytes);
    // The mark survives names that Qt's JPEG comments would fold.
    ASSERT_TRUE(SaveProject(*doc, dir + "/two  spaces.mcr", QSize(900, 700)).notice.isEmpty());
    EXPECT_TRUE(mc::canvas::IsCompanionOf(dir + "/two  spaces.jpg", dir + "/two  spaces.mcr"));

    EXPECT_EQ(mc::imaging::imageFormat(dir + "/Beach-1.jpg"), QByteArray("jpeg"));
    EXPECT_EQ(mc::imaging::imageSize(dir + "/Beach-1.jpg"), QSize(500, 300));
    EXPECT_GT(qRed(mc::imaging::decodeImage(dir + "/Beach-1.jpg").pixel(5, 5)), 230); // the red canvas
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
        EXPECT_FALSE(saved.ok);
        EXPECT_FALSE(saved.message.isEmpty());
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->GetPathName(), dir + "/kept.mcr");
    }
    EXPECT_TRUE(QFileInfo(dir + "/taken.mcr").isDir());

    // The companion picture failing does not fail the save.
    QDir(dir).mkdir("p.jpg");
    EXPECT_TRUE(SaveProject(*doc, dir + "/p.mcr", kScreen).ok);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(mctest::readFile(dir + "/p.mcr").size(), 57);
}

TEST(ProjectSave, PictureTheProjectUsesIsNeverReplaced)
{
    // Item pics/photo1.jpg, Save As pics/photo1.mcr: the photo stays, even
    // once it is an earlier companion that the project now shows.
    const QString dir = mctest::freshDir();
    auto doc = mctest::emptyProject();
    const QString photo = mctest::writeImage(dir, "photo1.jpg", mctest::solidImage(30, 20, Qt::red));
    mctest::addItem(*doc, photo);
    ASSERT_TRUE(SaveProject(*doc, dir + "/photo1.mcr", kScreen).ok);
    const QString companion = dir + "/photo1-1.jpg";
    mctest::addItem(*doc, companion);
    const QByteArray bytes[] = {mctest::readFile(photo), mctest::readFile(companion)};
    ASSERT_TRUE(SaveProject(*doc, dir + "/photo1.mcr", kScreen).ok);
    EXPECT_EQ(mctest::readFile(photo), bytes[0]);
    EXPECT_EQ(mctest::readFile(companion), bytes[1]);
    EXPECT_TRUE(mc::canvas::IsCompanionOf(dir + "/photo1-2.jpg", dir + "/photo1.mcr"));
}
