// The File commands: save question, Save / Save As, Open, recent files; and
// projects reaching the running program from its command line.
#include "app/CFileCommands.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "app/AppTestUtil.h"

#include "document/CommandIds.h"
#include "platform/Settings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Answer = CFileCommands::SaveAnswer;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mc::platform::openSettings()->remove(QStringLiteral("Recent File List"));
        commands = std::make_unique<CFileCommands>(doc.get(), nullptr, [] { return QSize(1024, 768); });
    }

    void addItem()
    {
        doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, "a.png", mctest::solidImage(20, 20, Qt::red))));
        doc->SetModifiedFlag(true);
    }
    QString project(const QString& name, int items) { return apptest::writeProject(dir, name, items); }

    apptest::ScriptedDialogs dialogs;
    QString dir = mctest::freshDir();
    std::unique_ptr<CMyDoc> doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{});
    std::unique_ptr<CFileCommands> commands;
};

} // namespace

TEST_F(FileCommandsTest, NewProjectAsksFirstWhenModified)
{
    addItem();
    EXPECT_TRUE(commands->OnCommand(ID_FILE_NEW)); // Cancel
    EXPECT_EQ(dialogs.questions, QStringList{"Save changes to Untitled?"});
    EXPECT_EQ(doc->m_listCards.GetCount(), 1);
    EXPECT_TRUE(doc->IsModified());

    dialogs.answer = Answer::DontSave;
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(doc->m_listCards.GetCount(), 0);
    EXPECT_FALSE(doc->IsModified());
    commands->OnCommand(ID_FILE_NEW); // unmodified: no question
    EXPECT_EQ(dialogs.questions.size(), 2);

    dialogs.answer = Answer::Save;
    addItem();
    dialogs.savePath = dir + "/Answer"; // the dialog adds the extension
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_TRUE(QFileInfo(dir + "/Answer.mcr").isFile());
    EXPECT_TRUE(QFileInfo(dir + "/Answer.jpg").isFile());
    EXPECT_EQ(doc->m_listCards.GetCount(), 0);
    // A save that is cancelled in its dialog cancels the New as well.
    addItem();
    dialogs.savePath.clear();
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(doc->m_listCards.GetCount(), 1);
}

TEST_F(FileCommandsTest, SaveAsksForAPathOnlyTheFirstTimeAndReportsFailure)
{
    addItem();
    dialogs.savePath = dir + "/missing/folder/x.mcr";
    EXPECT_FALSE(commands->OnFileSave());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains("x.mcr"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(commands->RecentFiles().isEmpty());

    dialogs.savePath = dir + "/First.mcr";
    EXPECT_TRUE(commands->OnFileSave());
    EXPECT_EQ(doc->GetPathName(), dialogs.savePath);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(CFileCommands::WindowTitle(*doc), "First.mcr[*] - Muralcrafter");

    addItem();
    dialogs.savePath = dir + "/Elsewhere.mcr";
    EXPECT_TRUE(commands->OnFileSave());
    EXPECT_FALSE(QFileInfo::exists(dir + "/Elsewhere.mcr"));
    EXPECT_EQ(doc->GetPathName(), dir + "/First.mcr");
    EXPECT_TRUE(commands->OnFileSaveAs());
    EXPECT_EQ(doc->GetPathName(), dir + "/Elsewhere.mcr");
}

TEST_F(FileCommandsTest, OpenReadsTheChosenFileOrReportsWhyNot)
{
    dialogs.openPath = project("three.mcr", 3);
    EXPECT_TRUE(commands->OnCommand(ID_FILE_OPEN));
    EXPECT_TRUE(dialogs.openFilter.startsWith("Muralcrafter Files (*.mcr)|*.mcr"));
    EXPECT_EQ(doc->m_listCards.GetCount(), 3);
    EXPECT_EQ(doc->GetPathName(), dialogs.openPath);
    EXPECT_EQ(commands->RecentFiles(), QStringList{dialogs.openPath});

    const QString picture = mctest::writeImage(dir, "not-a-project.png", mctest::solidImage(4, 4, Qt::red));
    EXPECT_FALSE(commands->OpenDocumentFile(picture));
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown File Format."});
    EXPECT_EQ(doc->GetPathName(), dialogs.openPath);

    // Cancelling the save question keeps the project.
    addItem();
    EXPECT_FALSE(commands->OpenDocumentFile(project("other.mcr", 1)));
    EXPECT_EQ(doc->m_listCards.GetCount(), 4);

    // A pipe (open() would wait for a writer) is refused at once, without
    // the question (the command-line tests try a device too).
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.mcr").constData(), 0600), 0);
    EXPECT_FALSE(commands->OpenDocumentFile(dir + "/pipe.mcr"));
    EXPECT_TRUE(dialogs.messages.back().endsWith("a named pipe, not a file"));
    EXPECT_EQ(dialogs.questions.size(), 1);
}

TEST_F(FileCommandsTest, RecentFilesKeepFourLatestFirstAcrossRuns)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << project(QStringLiteral("p%1.mcr").arg(i), 1);
    for (const QString& p : paths)
        ASSERT_TRUE(commands->OpenDocumentFile(p));
    EXPECT_EQ(commands->RecentFiles(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    // Opening a listed file moves it up, and the list outlives the commands.
    ASSERT_TRUE(commands->OpenDocumentFile(paths[2]));
    CFileCommands next(doc.get(), nullptr, {});
    EXPECT_EQ(next.RecentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    EXPECT_TRUE(next.HandlesCommand(ID_FILE_MRU_FILE1 + 3));
    EXPECT_FALSE(next.HandlesCommand(ID_FILE_MRU_FILE1 + 4));

    // A recent entry opens its file; one that is gone leaves the list.
    EXPECT_TRUE(next.OnCommand(ID_FILE_MRU_FILE1 + 2));
    EXPECT_EQ(doc->GetPathName(), paths[3]);
    QFile::remove(paths[4]);
    EXPECT_TRUE(next.OnCommand(ID_FILE_MRU_FILE1 + 2));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(next.RecentFiles(), (QStringList{paths[3], paths[2], paths[1]}));
}

TEST_F(FileCommandsTest, ProgramStartsWithTheProjectOnItsCommandLineAndAsksBeforeClosing)
{
    const QString picture = mctest::writeImage(dir, "photo.png", mctest::solidImage(8, 8, Qt::red));
    EXPECT_FALSE(CMyApp().InitInstance({"muralcrafter", picture}));
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown File Format."});

    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", project("first.mcr", 2)}));
    CMainFrame* frame = app.MainFrame();
    CMyDoc* appDoc = app.Document();
    EXPECT_EQ(appDoc->m_listCards.GetCount(), 2);
    EXPECT_EQ(frame->windowTitle(), "first.mcr[*] - Muralcrafter");
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_FALSE(appDoc->IsModified());

    // Another project through the handler dropped files go to.
    const QString second = project("second.mcr", 3);
    ASSERT_TRUE(app.OpenDocumentFile(second));
    EXPECT_EQ(appDoc->GetPathName(), second);
    EXPECT_EQ(frame->windowTitle(), "second.mcr[*] - Muralcrafter");

    // Modified: closing asks, and Cancel keeps the window and the project.
    appDoc->SetModifiedFlag(true);
    EXPECT_TRUE(frame->isWindowModified());
    QCloseEvent close;
    QCoreApplication::sendEvent(frame, &close);
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(appDoc->m_listCards.GetCount(), 3);
}
