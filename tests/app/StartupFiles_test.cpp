// Projects reaching the running program: the command line and the save
// question when the window closes.
#include "app/CFileCommands.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"

#include "common/TestUtil.h"
#include "dialogs/CMessageBox.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

class StartupFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mc::dialogs::SetMessageHandler([this](const QString& text) { messages << text; });
        CFileCommands::SetSaveQuestionHandler([this](const QString&) {
            ++questions;
            return CFileCommands::SaveAnswer::Cancel;
        });
        dir = mctest::freshDir();
    }
    void TearDown() override
    {
        mc::dialogs::SetMessageHandler({});
        CFileCommands::SetSaveQuestionHandler({});
    }

    QString project(const QString& name, int items)
    {
        CMyDoc doc(mc::platform::DesktopSettings{});
        const QString picture = mctest::writeImage(dir, name + ".png", mctest::solidImage(10, 10, Qt::blue));
        for (int i = 0; i < items; ++i)
            doc.m_listCards.AddHead(Card::CreateFromFile(picture));
        const QString path = dir + '/' + name + ".mcr";
        EXPECT_TRUE(mc::document::WriteProjectFile(doc, path).ok);
        return path;
    }

    QStringList messages;
    int questions = 0;
    QString dir;
};

} // namespace

TEST_F(StartupFilesTest, AFileOfAnotherKindEndsStartUp)
{
    const QString picture = mctest::writeImage(dir, "photo.png", mctest::solidImage(8, 8, Qt::red));
    CMyApp app;
    EXPECT_FALSE(app.InitInstance({"muralcrafter", picture}));
    EXPECT_EQ(messages, QStringList{"Unknown File Format."});
}

TEST_F(StartupFilesTest, CommandLineTitleAndClosing)
{
    const QString first = project("first", 2);
    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", first}));
    EXPECT_TRUE(messages.isEmpty());
    CMainFrame* frame = app.MainFrame();
    CMyDoc* doc = app.Document();
    EXPECT_EQ(doc->m_listCards.GetCount(), 2);
    EXPECT_EQ(frame->windowTitle(), "first.mcr[*] - Muralcrafter");
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_FALSE(doc->IsModified());

    // Another project through the handler dropped files go to.
    const QString second = project("second", 3);
    ASSERT_TRUE(app.OpenDocumentFile(second));
    EXPECT_EQ(doc->m_listCards.GetCount(), 3);
    EXPECT_EQ(doc->GetPathName(), second);
    EXPECT_EQ(frame->windowTitle(), "second.mcr[*] - Muralcrafter");

    // Modified: closing asks, and Cancel keeps the window and the project.
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(frame->isWindowModified());
    QCloseEvent close;
    QCoreApplication::sendEvent(frame, &close);
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(doc->m_listCards.GetCount(), 3);
}
