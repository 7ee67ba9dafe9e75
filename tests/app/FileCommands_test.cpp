// The File commands: save question, Save / Save As, Open, recent files; and
// projects reaching the running program from its command line.
#include "app/CFileCommands.h"

#include "app/AppTestUtil.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "document/CommandIds.h"
#include "platform/Settings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

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

    void addItem() { doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, "a.png", mctest::solidImage(20, 20, Qt::red)))), doc->SetModifiedFlag(true); }
    QString project(const QString& name, int items) { return apptest::writeProject(dir, name, items); }
    // The project as the commands leave it: items, path and modified flag.
    std::tuple<int, QString, bool> State() const { return {doc->m_listCards.GetCount(), doc->GetPathName(), doc->IsModified()}; }

    apptest::ScriptedDialogs dialogs;
    QString dir = mctest::freshDir();
    std::unique_ptr<CMyDoc> doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{});
    std::unique_ptr<CFileCommands> commands;
};

} // namespace

// New on a modified project asks first; a save cancelled in its dialog
// cancels the New as well; an unmodified project is not asked about.
TEST_F(FileCommandsTest, NewProjectAsksFirstWhenModified)
{
    // The answer, the save dialog's path (it adds the extension), modified, items left.
    const std::tuple<Answer, const char*, bool, int> rows[] = {{Answer::Cancel, "", true, 1}, {Answer::DontSave, "", true, 0},
        {Answer::Save, "/Answer", true, 0}, {Answer::Save, "", true, 1}, {Answer::Cancel, "", false, 0}};
    for (const auto& [answer, savePath, modified, itemsLeft] : rows) {
        doc->m_listCards.RemoveAll(), doc->SetPathName({}), addItem();
        doc->SetModifiedFlag(modified), dialogs.questions.clear(), dialogs.answer = answer;
        dialogs.savePath = *savePath ? dir + savePath : QString();
        EXPECT_TRUE(commands->OnCommand(ID_FILE_NEW));
        // A new project has no path: Save must not write over the old file.
        EXPECT_EQ(std::tuple(doc->m_listCards.GetCount(), dialogs.questions.join('|'), doc->IsModified(), doc->GetPathName()),
                  std::tuple(itemsLeft, modified ? "Save changes to Untitled?" : "", itemsLeft > 0, QString()))
            << int(answer) * 10 + itemsLeft;
    }
    EXPECT_TRUE(QFileInfo(dir + "/Answer.mcr").isFile() && QFileInfo(dir + "/Answer.jpg").isFile());
}

TEST_F(FileCommandsTest, SaveAsksForAPathOnlyTheFirstTimeAndReportsFailure)
{
    addItem();
    dialogs.savePath = dir + "/missing/folder/x.mcr";
    EXPECT_FALSE(commands->OnFileSave());
    EXPECT_EQ(State(), std::tuple(1, QString(), true));
    EXPECT_TRUE(dialogs.messages.size() == 1 && dialogs.messages[0].contains("x.mcr") && commands->RecentFiles().isEmpty());

    dialogs.savePath = dir + "/First.mcr";
    EXPECT_TRUE(commands->OnFileSave());
    EXPECT_EQ(State(), std::tuple(1, dir + "/First.mcr", false));
    EXPECT_EQ(CFileCommands::WindowTitle(*doc), "First.mcr[*] - Muralcrafter");

    addItem();
    dialogs.savePath = dir + "/Elsewhere.mcr";
    EXPECT_TRUE(commands->OnFileSave());
    EXPECT_EQ(std::tuple_cat(State(), std::tuple(QFileInfo::exists(dir + "/Elsewhere.mcr"))),
              std::tuple(2, dir + "/First.mcr", false, false));
    EXPECT_TRUE(commands->OnFileSaveAs());
    EXPECT_EQ(doc->GetPathName(), dir + "/Elsewhere.mcr");
}

TEST_F(FileCommandsTest, OpenReadsTheChosenFileOrReportsWhyNot)
{
    dialogs.openPath = project("three.mcr", 3);
    EXPECT_TRUE(commands->OnCommand(ID_FILE_OPEN));
    EXPECT_TRUE(dialogs.openFilter.startsWith("Muralcrafter Files (*.mcr)|*.mcr"));
    EXPECT_EQ(commands->RecentFiles(), QStringList{dialogs.openPath});
    EXPECT_FALSE(commands->OpenDocumentFile(mctest::writeImage(dir, "not-a-project.png", mctest::solidImage(4, 4, Qt::red))));
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown File Format."});
    EXPECT_EQ(State(), std::tuple(3, dialogs.openPath, false));

    // Cancelling the save question keeps the project.
    addItem();
    EXPECT_FALSE(commands->OpenDocumentFile(project("other.mcr", 1)));
    EXPECT_EQ(State(), std::tuple(4, dialogs.openPath, true));

    // A pipe (open() would wait for a writer) is refused at once, without
    // the question (the command-line tests try a device too).
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.mcr").constData(), 0600), 0);
    EXPECT_FALSE(commands->OpenDocumentFile(dir + "/pipe.mcr"));
    EXPECT_TRUE(dialogs.messages.back().endsWith("a named pipe, not a file") && dialogs.questions.size() == 1);
}

TEST_F(FileCommandsTest, RecentFilesKeepFourLatestFirstAcrossRuns)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE((paths << project(QStringLiteral("p%1.mcr").arg(i), 1), commands->OpenDocumentFile(paths.last())));
    EXPECT_EQ(commands->RecentFiles(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    // Opening a listed file moves it up, and the list outlives the commands.
    ASSERT_TRUE(commands->OpenDocumentFile(paths[2]));
    CFileCommands next(doc.get(), nullptr, {});
    EXPECT_EQ(next.RecentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    EXPECT_TRUE(next.HandlesCommand(ID_FILE_MRU_FILE1 + 3) && !next.HandlesCommand(ID_FILE_MRU_FILE1 + 4));

    // A recent entry opens its file; one that is gone leaves the list.
    EXPECT_TRUE(next.OnCommand(ID_FILE_MRU_FILE1 + 2));
    EXPECT_EQ(doc->GetPathName(), paths[3]);
    QFile::remove(paths[4]);
    EXPECT_TRUE(next.OnCommand(ID_FILE_MRU_FILE1 + 2));
    EXPECT_EQ(std::pair(dialogs.messages.size(), next.RecentFiles()),
              std::pair(qsizetype(1), QStringList{paths[3], paths[2], paths[1]}));
}

TEST_F(FileCommandsTest, ProgramStartsWithTheProjectOnItsCommandLineAndAsksBeforeClosing)
{
    const QString picture = mctest::writeImage(dir, "photo.png", mctest::solidImage(8, 8, Qt::red));
    EXPECT_FALSE(CMyApp().InitInstance({"muralcrafter", picture}));
    EXPECT_EQ(dialogs.messages, QStringList{"Unknown File Format."});
    // Started with a project (its title: the X11 program test), then another
    // through the handler dropped files go to.
    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", project("first.mcr", 2)}));
    CMainFrame* frame = app.MainFrame();
    CMyDoc* appDoc = app.Document();
    const QString second = project("second.mcr", 3);
    ASSERT_TRUE(app.OpenDocumentFile(second));
    EXPECT_EQ(std::tuple(appDoc->GetPathName(), frame->windowTitle(), frame->isWindowModified()),
              std::tuple(second, QString("second.mcr[*] - Muralcrafter"), false));
    // Modified: closing asks, and Cancel keeps the window and the project.
    appDoc->SetModifiedFlag(true);
    QCloseEvent close;
    QCoreApplication::sendEvent(frame, &close);
    EXPECT_EQ(std::tuple(dialogs.questions.size(), close.isAccepted(), appDoc->m_listCards.GetCount()),
              std::tuple(1, false, 3));
}
