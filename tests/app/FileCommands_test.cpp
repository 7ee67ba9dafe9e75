// The File commands: save question, Save / Save As, Open, recent files.
#include "app/CFileCommands.h"

#include "common/TestUtil.h"
#include "dialogs/CMessageBox.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "document/ProjectWriter.h"
#include "platform/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

// Answers every dialog of a test and records the messages shown.
class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mc::platform::openSettings()->remove(QStringLiteral("Recent File List"));
        dir = mctest::freshDir();
        doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{});
        commands = std::make_unique<CFileCommands>(doc.get(), nullptr, [] { return QSize(1024, 768); });
        mc::dialogs::SetMessageHandler([this](const QString& text) { messages << text; });
        CFileCommands::SetSaveQuestionHandler([this](const QString& text) {
            questions << text;
            return answer;
        });
        CFileCommands::SetSaveFileHandler([this](const QString&) { return savePath; });
        mc::dialogs::SetOpenFileHandler([this](const QString& filter) {
            openFilter = filter;
            return openPath;
        });
    }
    void TearDown() override
    {
        mc::dialogs::SetMessageHandler({});
        CFileCommands::SetSaveQuestionHandler({});
        CFileCommands::SetSaveFileHandler({});
        mc::dialogs::SetOpenFileHandler({});
    }

    Card* addItem()
    {
        const QString picture = mctest::writeImage(dir, "a.png", mctest::solidImage(20, 20, Qt::red));
        Card* card = doc->m_listCards.AddHead(Card::CreateFromFile(picture));
        doc->SetModifiedFlag(true);
        return card;
    }

    QString writeProject(const QString& name, int items)
    {
        CMyDoc other(mc::platform::DesktopSettings{});
        const QString picture = mctest::writeImage(dir, "p.png", mctest::solidImage(10, 10, Qt::blue));
        for (int i = 0; i < items; ++i)
            other.m_listCards.AddHead(Card::CreateFromFile(picture));
        const QString path = dir + '/' + name;
        EXPECT_TRUE(mc::document::WriteProjectFile(other, path).ok);
        return path;
    }

    QString dir;
    std::unique_ptr<CMyDoc> doc;
    std::unique_ptr<CFileCommands> commands;
    QStringList messages, questions;
    CFileCommands::SaveAnswer answer = CFileCommands::SaveAnswer::Cancel;
    QString savePath, openPath, openFilter;
};

} // namespace

TEST_F(FileCommandsTest, NewProjectAsksFirstWhenModified)
{
    addItem();
    answer = CFileCommands::SaveAnswer::Cancel;
    EXPECT_TRUE(commands->OnCommand(ID_FILE_NEW));
    EXPECT_EQ(questions, QStringList{"Save changes to Untitled?"});
    EXPECT_EQ(doc->m_listCards.GetCount(), 1);
    EXPECT_TRUE(doc->IsModified());

    answer = CFileCommands::SaveAnswer::DontSave;
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(doc->m_listCards.GetCount(), 0);
    EXPECT_FALSE(doc->IsModified());

    // Unmodified: no question.
    questions.clear();
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(FileCommandsTest, SaveAnswerSavesBeforeNew)
{
    addItem();
    answer = CFileCommands::SaveAnswer::Save;
    savePath = dir + "/Answer"; // the dialog adds the extension
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_TRUE(QFileInfo(dir + "/Answer.mcr").isFile());
    EXPECT_TRUE(QFileInfo(dir + "/Answer.jpg").isFile());
    EXPECT_EQ(doc->m_listCards.GetCount(), 0);

    // A save that is cancelled in its dialog cancels the New as well.
    addItem();
    savePath.clear();
    commands->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(doc->m_listCards.GetCount(), 1);
}

TEST_F(FileCommandsTest, SaveAsksForAPathOnlyTheFirstTime)
{
    addItem();
    savePath = dir + "/First.mcr";
    EXPECT_TRUE(commands->OnFileSave());
    EXPECT_EQ(doc->GetPathName(), savePath);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(CFileCommands::WindowTitle(*doc), "First.mcr[*] - Muralcrafter");

    addItem();
    savePath = dir + "/Elsewhere.mcr";
    EXPECT_TRUE(commands->OnFileSave());
    EXPECT_FALSE(QFileInfo::exists(dir + "/Elsewhere.mcr"));
    EXPECT_EQ(doc->GetPathName(), dir + "/First.mcr");

    EXPECT_TRUE(commands->OnFileSaveAs());
    EXPECT_EQ(doc->GetPathName(), dir + "/Elsewhere.mcr");
}

TEST_F(FileCommandsTest, FailedSaveIsReportedAndStaysModified)
{
    addItem();
    savePath = dir + "/missing/folder/x.mcr";
    EXPECT_FALSE(commands->OnFileSave());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains("x.mcr"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(commands->RecentFiles().isEmpty());
}

TEST_F(FileCommandsTest, OpenReadsTheChosenFileOrReportsWhyNot)
{
    openPath = writeProject("three.mcr", 3);
    EXPECT_TRUE(commands->OnCommand(ID_FILE_OPEN));
    EXPECT_TRUE(openFilter.startsWith("Muralcrafter Files (*.mcr)|*.mcr"));
    EXPECT_EQ(doc->m_listCards.GetCount(), 3);
    EXPECT_EQ(doc->GetPathName(), openPath);
    EXPECT_EQ(commands->RecentFiles(), QStringList{openPath});

    const QString text = mctest::writeImage(dir, "not-a-project.png", mctest::solidImage(4, 4, Qt::red));
    EXPECT_FALSE(commands->OpenDocumentFile(text));
    EXPECT_EQ(messages, QStringList{"Unknown File Format."});
    EXPECT_EQ(doc->m_listCards.GetCount(), 3);
    EXPECT_EQ(doc->GetPathName(), openPath);

    // Cancelling the save question keeps the project.
    addItem();
    answer = CFileCommands::SaveAnswer::Cancel;
    EXPECT_FALSE(commands->OpenDocumentFile(writeProject("other.mcr", 1)));
    EXPECT_EQ(doc->m_listCards.GetCount(), 4);
}

TEST_F(FileCommandsTest, RecentFilesKeepFourLatestFirstAcrossRuns)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << writeProject(QStringLiteral("p%1.mcr").arg(i), 1);
    for (const QString& p : paths)
        ASSERT_TRUE(commands->OpenDocumentFile(p));
    const QStringList expected = {paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(commands->RecentFiles(), expected);

    // Opening a listed file moves it up.
    ASSERT_TRUE(commands->OpenDocumentFile(paths[2]));
    EXPECT_EQ(commands->RecentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

    CFileCommands next(doc.get(), nullptr, {});
    EXPECT_EQ(next.RecentFiles(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    EXPECT_TRUE(next.HandlesCommand(ID_FILE_MRU_FILE1 + 3));
    EXPECT_FALSE(next.HandlesCommand(ID_FILE_MRU_FILE1 + 4));

    // A recent entry opens its file; one that is gone leaves the list.
    EXPECT_TRUE(next.OnCommand(ID_FILE_MRU_FILE1 + 2));
    EXPECT_EQ(doc->GetPathName(), paths[3]);
    QFile::remove(paths[4]);
    EXPECT_TRUE(next.OnCommand(ID_FILE_MRU_FILE1 + 2));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_FALSE(next.RecentFiles().contains(paths[4]));
    EXPECT_EQ(next.RecentFiles().size(), 3);
}
