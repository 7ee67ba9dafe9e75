// Saving: the project file through QSaveFile and the companion JPEG.
#include "document/ProjectFileTestUtil.h"

#include "common/TestUtil.h"
#include "document/ProjectReader.h"
#include "document/ProjectWriter.h"
#include "canvas/CanvasLayer.h"
#include "canvas/ProjectSave.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdlib>

using mc::canvas::SaveProject;

namespace {
const QSize kScreen(1024, 768);

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
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
    // An older picture of that name is replaced without a question.
    mctest::writeImage(dir, "Beach.jpg", mctest::solidImage(3, 3, Qt::green));

    const mc::canvas::SaveResult saved = SaveProject(*doc, path, QSize(900, 700));
    ASSERT_TRUE(saved.ok) << saved.message.toStdString();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_EQ(readAll(path), mc::document::SerializeProject(*doc));

    QImageReader reader(dir + "/Beach.jpg");
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage jpeg = reader.read();
    const QImage expected = mc::canvas::RenderCanvas(*doc, QSize(900, 700));
    ASSERT_EQ(jpeg.size(), QSize(500, 300));
    ASSERT_EQ(expected.size(), jpeg.size());
    // JPEG is lossy: compare a few pixels loosely.
    for (QPoint p : {QPoint(5, 5), QPoint(495, 295), QPoint(250, 150)}) {
        const QColor a = jpeg.pixelColor(p), b = expected.pixelColor(p);
        EXPECT_LE(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()), 30)
            << p.x() << ',' << p.y();
    }
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
    EXPECT_EQ(readAll(dir + "/p.mcr").size(), 57);
}
