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
#include <QTimer>

#include <gtest/gtest.h>

TEST(HelpCommands, QuickIndexListsEveryMainCommandInOrderAndScrolls)
{
    // The page as shown: the title, the introduction, then each row's
    // command and description, one block each.
    CDlgHelp dlg;
    const QStringList blocks = dlg.Browser()->toPlainText().split(u'\n');
    QStringList names;
    for (qsizetype i = blocks.indexOf("Add Image"); i > 0 && i + 1 < blocks.size() && !blocks[i].isEmpty(); i += 2) {
        names << blocks[i];
        EXPECT_GT(blocks[i + 1].size(), 40) << blocks[i].toStdString(); // a description, not a stub
    }
    EXPECT_EQ(names.join(u'|').toStdString(),
              "Add Image|Delete Image|Set Wallpaper|New Project|Open Project|Save Project|Clone|Zoom In|Zoom Out|"
              "Customize Size|Rotate Clockwise|Rotate Counter clockwise|Rotate Clockwise X|Rotate Counter Clockwise X|"
              "Send To Back|Gray|Semitransparent|Set Semitransparency|Erase Concolorous Background|"
              "Set Erase Multicolor Background Extent|Cut Status|Cut|Restore Original Image|Shape( Rect-Blast)|"
              "Background From File|Windows Predefined Picture|Without Picture|Select Color|Center; Stretch; Tile|"
              "Canvas Size|Refresh|Full Screen");
    // Maximisable, and at its first size the page scrolls.
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_GT(dlg.Browser()->verticalScrollBar()->maximum(), 0);
}

TEST(HelpCommands, DialogsLeaveTheProjectAsItWasAndVisitWebsiteHandsOverExactlyTheAddress)
{
    apptest::ScriptedDialogs dialogs;
    CMyApp app;
    ASSERT_TRUE(app.InitInstance({"muralcrafter", apptest::writeProject(mctest::freshDir(), "p.mcr", 2)}));
    const QByteArray before = mc::document::SerializeProject(*app.Document());
    QStringList seen; // each modal dialog's title and text, closed from the loop it runs
    for (const int id : {ID_HELP_INDEX, ID_APP_ABOUT}) {
        QTimer::singleShot(0, [&seen] {
            QWidget* dlg = QApplication::activeModalWidget();
            ASSERT_TRUE(dlg);
            auto* about = qobject_cast<CDlgAbout3*>(dlg);
            seen << dlg->windowTitle() << (about ? about->Browser()->toPlainText() : QString());
            dlg->close();
        });
        EXPECT_TRUE(app.MainFrame()->RouteCommand(id));
    }
    EXPECT_TRUE(seen.join(u'|').startsWith("Quick Index||About Muralcrafter|")) << seen.join(u'|').toStdString();
    for (const char* text : {"Muralcrafter Version 3.1", CHelpCommands::kWebsite, "sales@", "support@", "feedback@"})
        EXPECT_TRUE(seen.value(3).contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(mc::document::SerializeProject(*app.Document()), before);
    EXPECT_FALSE(app.Document()->IsModified());

    // Visit Website: the address goes to the desktop as it is; a desktop
    // that cannot open it is reported.
    QStringList opened;
    mc::platform::SetUrlOpener([&](const QUrl& url) { return opened << url.toString(), opened.size() == 1; });
    app.MainFrame()->RouteCommand(ID_VISIT_WEBSITE);
    app.MainFrame()->RouteCommand(ID_VISIT_WEBSITE);
    mc::platform::SetUrlOpener({});
    EXPECT_EQ(opened, QStringList(2, CHelpCommands::kWebsite));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.value(0).startsWith(CHelpCommands::kWebsite));
}
