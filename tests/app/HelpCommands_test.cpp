// The Help menu as the running program routes it: the Quick Index page,
// About and Visit Website.
#include "app/AppTestUtil.h"
#include "app/CHelpCommands.h"
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "dialogs/CDlgAbout3.h"
#include "dialogs/CDlgHelp.h"
#include "document/CommandIds.h"
#include "platform/Browser.h"

#include <QApplication>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString cellText(const QTextTableCell& cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().trimmed();
}

} // namespace

TEST(HelpCommands, QuickIndexListsEveryMainCommandInOrderAndScrolls)
{
    CDlgHelp dlg;
    QTextTable* table = nullptr;
    for (QTextFrame* frame : dlg.Browser()->document()->rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columns(), 2);
    QStringList names;
    for (int row = 0; row < table->rows(); ++row) {
        names << cellText(table->cellAt(row, 0));
        EXPECT_GT(cellText(table->cellAt(row, 1)).size(), 40) << names.last().toStdString();
    }
    EXPECT_EQ(names, (QStringList{"Add Image", "Delete Image", "Set Wallpaper", "New Project", "Open Project",
                                  "Save Project", "Clone", "Zoom In", "Zoom Out", "Customize Size", "Rotate Clockwise",
                                  "Rotate Counter clockwise", "Rotate Clockwise X", "Rotate Counter Clockwise X",
                                  "Send To Back", "Gray", "Semitransparent", "Set Semitransparency",
                                  "Erase Concolorous Background", "Set Erase Multicolor Background Extent",
                                  "Cut Status", "Cut", "Restore Original Image", "Shape( Rect-Blast)",
                                  "Background From File", "Windows Predefined Picture", "Without Picture",
                                  "Select Color", "Center; Stretch; Tile", "Canvas Size", "Refresh", "Full Screen"}));

    // Resizable and maximisable; at its first size the page scrolls.
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(dlg.minimumSize(), dlg.maximumSize());
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_GT(dlg.Browser()->verticalScrollBar()->maximum(), 0);
}

TEST(HelpCommands, HelpAndAboutOpenAndCloseLeavingTheProjectAsItWas)
{
    apptest::ScriptedDialogs dialogs;
    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", apptest::writeProject(mctest::freshDir(), "p.mcr", 2)}));
    const QByteArray before = mc::document::SerializeProject(*app.Document());

    QStringList seen;
    for (const int id : {ID_HELP_INDEX, ID_APP_ABOUT}) {
        EXPECT_TRUE(app.MainFrame()->QueryCommand(id).enabled);
        // The dialog is modal: it is looked at and closed from the event loop it runs.
        QTimer::singleShot(0, [&seen] {
            QWidget* dlg = QApplication::activeModalWidget();
            if (auto* about = qobject_cast<CDlgAbout3*>(dlg))
                seen << about->Browser()->toPlainText();
            seen << (dlg ? dlg->windowTitle() : QString());
            if (dlg)
                dlg->close();
        });
        EXPECT_TRUE(app.MainFrame()->RouteCommand(id));
    }
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0], "Quick Index");
    EXPECT_EQ(seen[2], "About Muralcrafter");
    for (const char* text : {"Muralcrafter Version 3.1", CHelpCommands::kWebsite, "sales@example.org",
                             "support@example.org", "feedback@example.org"})
        EXPECT_TRUE(seen[1].contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(mc::document::SerializeProject(*app.Document()), before);
    EXPECT_FALSE(app.Document()->IsModified());
}

TEST(HelpCommands, VisitWebsiteHandsExactlyTheAddressToTheDesktopAndReportsAFailure)
{
    apptest::ScriptedDialogs dialogs;
    QList<QUrl> opened;
    bool opens = true;
    mc::platform::SetUrlOpener([&](const QUrl& url) { return opened << url, opens; });
    CHelpCommands help(nullptr);
    EXPECT_TRUE(help.OnCommand(ID_VISIT_WEBSITE));
    opens = false;
    EXPECT_TRUE(help.OnCommand(ID_VISIT_WEBSITE));
    mc::platform::SetUrlOpener({});
    EXPECT_EQ(opened, (QList<QUrl>(2, QUrl(CHelpCommands::kWebsite))));
    EXPECT_EQ(opened[0].toString(), CHelpCommands::kWebsite);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(CHelpCommands::kWebsite)) << dialogs.messages[0].toStdString();
}
