// The main window as start-up builds it: menus, toolbar, status bar and
// title, command routing, the item commands' entry points and the Help menu.
#include "app/CMainFrame.h"

#include "app/AppTestUtil.h"
#include "app/CHelpCommands.h"
#include "app/CMyApp.h"
#include "app/CommandLayout.h"
#include "dialogs/CDlgAbout3.h"
#include "dialogs/CDlgHelp.h"
#include "document/CommandIds.h"
#include "platform/Browser.h"
#include "view/ItemCommands.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Menus written out as "text=id" lines, "-" for a separator and an indented
// block for a submenu: the menus as the user sees them.
QString dump(const QMenu* menu, int depth = 0)
{
    QString out;
    for (const QAction* action : menu->actions()) {
        // The run-time items (start-up built them, IDs from 400 up to the
        // framework's own) are not in the tables.
        const int id = action->property("mcCommandId").toInt();
        if (!action->isVisible() || (id >= ID_FIRST_DYNAMIC && id < 0xE000))
            continue;
        out += QString(2 * depth, ' ') + (action->isSeparator() ? "-\n"
                                          : action->menu() ? action->text() + ">\n" + dump(action->menu(), depth + 1)
                                                           : action->text() + "=" + QString::number(id) + "\n");
    }
    return out;
}

// The same form written from a layout table.
QString dump(std::span<const mc::app::MenuRow> rows)
{
    using mc::app::MenuRow;
    QString out;
    int depth = 0;
    for (const MenuRow& row : rows) {
        if (row.kind == MenuRow::End) {
            --depth;
            continue;
        }
        out += QString(2 * depth, ' ') + (row.kind == MenuRow::Separator ? QString("-")
                                          : row.kind == MenuRow::Popup   ? QString(row.text) + ">"
                                                                         : row.text + ("=" + QString::number(row.id)))
             + "\n";
        depth += row.kind == MenuRow::Popup;
    }
    return out;
}

// The frame as the program builds it: through the application's start-up,
// with every routing level attached.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CMyView::ResetFirstUpdate();
        ASSERT_TRUE(app.InitInstance({"muralcrafter"}));
        frame = app.MainFrame(), doc = app.Document();
    }
    // Every menu, toolbar and accelerator entry of `id` shows `state`.
    bool shows(int id, bool (QAction::*state)() const) const
    {
        const QList<QAction*> actions = frame->Actions(id);
        return !actions.isEmpty() && std::all_of(actions.begin(), actions.end(), [&](QAction* a) { return (a->*state)(); });
    }
    // The entry of command `id` among `entries` (a menu's or the toolbar's).
    QAction* EntryIn(const QList<QAction*>& entries, int id)
    {
        for (QAction* action : frame->Actions(id))
            if (entries.contains(action))
                return action;
        return nullptr;
    }
    CMyApp app;
    CMainFrame* frame = nullptr;
    CMyDoc* doc = nullptr;
};

// Logs the command it is asked about and claims it when told to.
struct Recorder : CommandTarget {
    Recorder(std::vector<QString>& log, QString name) : log(log), name(std::move(name)) {}
    bool OnCommand(int) override { return log.push_back(name), claim; }
    bool HandlesCommand(int) const override { return true; }
    std::vector<QString>& log;
    QString name;
    bool claim = false;
};

} // namespace

// The widgets are built from the layout tables, which hold every text and
// ID once: menus, popups, toolbar and command strings. (Accelerators: the
// X11 program test types Ctrl+I.)
TEST_F(FrameTest, WidgetsFollowTheCommandLayout)
{
    QStringList titles, expectedTitles;
    for (QAction* a : frame->menuBar()->actions())
        titles << a->text();
    for (const mc::app::TopMenu& top : mc::app::MenuBarLayout()) {
        expectedTitles << top.text;
        ASSERT_TRUE(frame->TopMenu(top.text)) << top.text;
        // Start-up filled the predefined-picture submenu in place of its
        // placeholder separator.
        EXPECT_EQ(dump(frame->TopMenu(top.text)).remove("  -\n"), dump(top.rows).remove("  -\n"));
    }
    EXPECT_EQ(titles, expectedTitles);
    for (int popup : {IDR_WALLPAPER_MENU, IDR_SHAPE_MENU, IDR_ITEM_CONTEXT_MENU, IDR_CANVAS_CONTEXT_MENU}) {
        ASSERT_TRUE(frame->PopupMenu(popup)) << popup;
        EXPECT_EQ(dump(frame->PopupMenu(popup)), dump(mc::app::PopupLayout(popup))) << popup;
    }

    QList<int> order;
    for (QAction* a : frame->ToolBar()->actions()) {
        QAction* command = a;
        if (auto* button = qobject_cast<QToolButton*>(frame->ToolBar()->widgetForAction(a)); button && button->defaultAction())
            command = button->defaultAction();
        const int id = a->isSeparator() ? 0 : command->property("mcCommandId").toInt();
        order << id;
        if (id) {
            EXPECT_EQ(command->icon().actualSize(QSize(64, 64)), QSize(16, 15)) << id;
            EXPECT_EQ(command->toolTip(), mc::app::CommandTooltip(id)) << id;
        }
    }
    EXPECT_EQ(order, QList<int>(mc::app::ToolbarLayout().begin(), mc::app::ToolbarLayout().end()));
    QToolButton* wallpaper = frame->DropDownButton(ID_SET_WALLPAPER_STRETCHED);
    EXPECT_TRUE(wallpaper->popupMode() == QToolButton::MenuButtonPopup && wallpaper->menu() == frame->PopupMenu(IDR_WALLPAPER_MENU)
                && frame->DropDownButton(ID_CUT_STATUS)->menu() == frame->PopupMenu(IDR_SHAPE_MENU));
    for (QAction* a : frame->findChildren<QAction*>())
        if (const QVariant id = a->property("mcCommandId"); id.isValid() && !a->isSeparator()) {
            EXPECT_EQ(a->statusTip(), mc::app::CommandPrompt(id.toInt())) << id.toInt();
        }
}

TEST_F(FrameTest, RoutingOrderViewDocumentFrameApplication)
{
    std::vector<QString> log;
    Recorder view(log, "view"), docLevel(log, "document"), frameLevel(log, "frame"), app(log, "application");
    frame->GetActiveView()->AddCommandTarget(&view), frame->DocumentTargets().Add(&docLevel);
    frame->FrameTargets().Add(&frameLevel), frame->SetApplicationTarget(&app);
    EXPECT_FALSE(frame->RouteCommand(500));
    docLevel.claim = true;
    EXPECT_TRUE(frame->RouteCommand(500));
    EXPECT_EQ(log, (std::vector<QString>{"view", "document", "frame", "application", "view", "document"}));
    frame->GetActiveView()->RemoveCommandTarget(&view);
}

TEST_F(FrameTest, CommandsWithoutHandlerAreDisabledCheckMarksFromUpdateHandlers)
{
    // Nothing handles the panes' accelerators: disabled. The view's own
    // commands are enabled; Full Screen carries its check.
    Q_EMIT frame->TopMenu("Shape")->aboutToShow();
    frame->EnterFullScreen();
    Q_EMIT frame->TopMenu("&View")->aboutToShow();
    EXPECT_TRUE(!frame->QueryCommand(ID_NEXT_PANE).enabled && frame->QueryCommand(ID_ADD_IMAGE).enabled
                && frame->MenuAction(ID_FULL_SCREEN)->isChecked());
    frame->LeaveFullScreen();
    Q_EMIT frame->TopMenu("&View")->aboutToShow();
    EXPECT_FALSE(frame->MenuAction(ID_FULL_SCREEN)->isChecked());
}

TEST_F(FrameTest, BarsAtStartAndInFullScreenAndTheTitle)
{
    doc->SetModifiedFlag(true);
    EXPECT_EQ(std::pair(frame->windowTitle(), frame->isWindowModified()), std::pair(QString("Untitled[*] - Muralcrafter"), true));

    frame->show();
    const auto bars = [&] {
        return std::tuple(frame->ToolBar()->isVisible(), frame->QueryCommand(ID_VIEW_TOOLBAR).checked,
                          frame->statusBar()->isVisible(), frame->QueryCommand(ID_VIEW_STATUS_BAR).checked);
    };
    EXPECT_EQ(std::tuple_cat(bars(), std::tuple(frame->toolBarArea(frame->ToolBar()))),
              std::tuple(true, true, false, false, Qt::TopToolBarArea));
    frame->RouteCommand(ID_VIEW_STATUS_BAR);
    EXPECT_EQ(bars(), std::tuple(true, true, true, true));
    QStringList panes;
    for (QLabel* label : frame->statusBar()->findChildren<QLabel*>())
        panes << label->text();
    EXPECT_EQ(panes, QStringList({"Ready", "CAP", "NUM", "SCRL"}));
}

// Also: start-up activated the frame and built the dynamic menus; a later
// activation builds nothing.
TEST_F(FrameTest, RecentFilesReplaceThePlaceholderAtMostFourAndMenusAreBuiltOnce)
{
    int builds = 0;
    frame->SetBuildDynamicMenus([&](CMainFrame&) { ++builds; });
    frame->ActivateFrame();
    EXPECT_TRUE(builds == 0 && frame->PredefinedPictureMenu()); // its title and entries: DynamicMenusTest
    frame->SetRecentFiles({"/p/a.mcr", "/p/b.mcr", "/p/c.mcr", "/p/d.mcr", "/p/e.mcr"});
    const QString file = dump(frame->TopMenu("&File"));
    EXPECT_TRUE(file.contains("&1 /p/a.mcr=57616\n&2 /p/b.mcr=57617\n&3 /p/c.mcr=57618\n&4 /p/d.mcr=57619\n-\nE&xit"));
    EXPECT_FALSE(file.contains("Recent File") || file.contains("e.mcr"));
    frame->SetRecentFiles({});
    EXPECT_TRUE(dump(frame->TopMenu("&File")).contains("\n-\nRecent File=57616\n-\n"));
    EXPECT_FALSE(frame->MenuAction(ID_FILE_MRU_FILE1)->isEnabled());
}


// The toolbar has no menu to open before it is looked at: its states follow
// start-up, the item clicked and the project at once. And each entry point
// acts on the current item: menu bar, item context menu and toolbar.
TEST_F(FrameTest, ToolbarStatesAndEntryPointsFollowTheCurrentItem)
{
    EXPECT_TRUE(shows(ID_FILE_SAVE, &QAction::isEnabled) && shows(ID_CUT_STATUS, &QAction::isEnabled));
    const QString dir = mctest::freshDir();
    Card* plain = doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, "p.png", mctest::solidImage(60, 60, Qt::red))));
    Card* gray = doc->m_listCards.AddHead(Card::CreateFromFile(mctest::writeImage(dir, "g.png", mctest::solidImage(60, 60, Qt::blue))));
    gray->m_bGray = true, plain->m_ptCenter += QPoint(100, 0);
    plain->UpdateRegion();
    CMyView* view = frame->GetActiveView();
    const auto click = [&](Card* card) {
        const QPointF logical = QPointF(card->m_ptCenter - view->ScrollPosition()) / view->DevicePixelRatio();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, logical.toPoint());
        return shows(ID_GRAY, &QAction::isChecked);
    };
    EXPECT_EQ((std::tuple<bool, bool, bool>{click(gray), click(plain), click(gray)}), std::tuple(true, false, true));
    const double scale = gray->m_dScale;
    frame->MenuAction(ID_ZOOM_IN)->trigger();
    QMenu* context = frame->PopupMenu(IDR_ITEM_CONTEXT_MENU);
    QAction* sendToBack = EntryIn(context->actions() + context->findChildren<QAction*>(), ID_SEND_TO_BACK);
    ASSERT_NE(sendToBack, nullptr);
    sendToBack->trigger();
    EXPECT_TRUE(std::abs(gray->m_dScale - scale - 0.1) < 1e-9 && doc->m_listCards.GetTail() == gray);
    click(plain);
    QAction* grayButton = EntryIn(frame->ToolBar()->actions(), ID_GRAY);
    ASSERT_NE(grayButton, nullptr);
    grayButton->trigger();
    EXPECT_TRUE(plain->m_bGray && grayButton->isChecked());
    doc->OnNewDocument(); // the gray items go
    EXPECT_FALSE(shows(ID_GRAY, &QAction::isChecked));
}

TEST_F(FrameTest, DeleteWithoutPromptClearsTheViewsCurrentItem)
{
    mc::view::g_bPromptOnDelete = false;
    Card* announced = frame->GetActiveView()->m_pCurCard = doc->m_listCards.AddHead(
        Card::CreateFromFile(mctest::writeImage(mctest::freshDir(), "i.png", mctest::solidImage(40, 30, Qt::red))));
    QObject::connect(frame->GetActiveView(), &CMyView::currentCardChanged, [&announced](Card* card) { announced = card; });
    EXPECT_TRUE(frame->RouteCommand(ID_DELETE_IMAGE));
    mc::view::g_bPromptOnDelete = true;
    EXPECT_TRUE(doc->m_listCards.IsEmpty() && !frame->GetActiveView()->m_pCurCard && !announced);
}

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
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE((dlg.windowFlags() & Qt::WindowMaximizeButtonHint) && dlg.Browser()->verticalScrollBar()->maximum() > 0);
}

// Quick Index and About open from their commands; Visit Website hands the
// address to the desktop as it is, and a desktop that cannot open it is
// reported.
TEST_F(FrameTest, HelpDialogsOpenAndVisitWebsiteHandsOverTheAddress)
{
    apptest::ScriptedDialogs dialogs;
    QStringList seen; // each modal dialog's title and text, closed from the loop it runs
    for (const int id : {ID_HELP_INDEX, ID_APP_ABOUT}) {
        QTimer::singleShot(0, [&seen] {
            QWidget* dlg = QApplication::activeModalWidget();
            auto* about = qobject_cast<CDlgAbout3*>(dlg);
            seen << (dlg ? dlg->windowTitle() : "none") << (about ? about->Browser()->toPlainText() : QString());
            dlg ? dlg->close() : false;
        });
        EXPECT_TRUE(frame->RouteCommand(id));
    }
    EXPECT_TRUE(seen.join(u'|').startsWith("Quick Index||About Muralcrafter|")) << seen.join(u'|').toStdString();
    for (const char* text : {"Muralcrafter Version 3.1", CHelpCommands::kWebsite, "sales@", "support@", "feedback@"})
        EXPECT_TRUE(seen.value(3).contains(QString::fromUtf8(text))) << text;

    QStringList opened;
    mc::platform::SetUrlOpener([&](const QUrl& url) { return opened << url.toString(), opened.size() == 1; });
    frame->RouteCommand(ID_VISIT_WEBSITE), frame->RouteCommand(ID_VISIT_WEBSITE);
    mc::platform::SetUrlOpener({});
    EXPECT_EQ(opened, QStringList(2, CHelpCommands::kWebsite));
    EXPECT_TRUE(dialogs.messages.size() == 1 && dialogs.messages[0].startsWith(CHelpCommands::kWebsite));
}
