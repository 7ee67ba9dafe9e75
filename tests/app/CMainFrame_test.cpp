#include "app/CMainFrame.h"

#include "app/CommandLayout.h"
#include "app/ToolbarImages.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Menus written out as "text=id" lines, "-" for a separator and an indented
// block for a submenu: the menus as the user sees them.
QString dump(const QMenu* menu, int depth = 0)
{
    QString out;
    const QString indent(depth * 2, QLatin1Char(' '));
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible())
            continue;
        if (action->isSeparator())
            out += indent + "-\n";
        else if (action->menu())
            out += indent + action->text() + ">\n" + dump(action->menu(), depth + 1);
        else
            out += indent + action->text() + "=" + action->property("mcCommandId").toString() + "\n";
    }
    return out;
}

const char* const kFileMenu =
    "&Add Image\tCtrl+I=141\n-\nSet &Wallpaper Stretched=194\nSet Wallpaper &Centered=192\n"
    "Set Wallpaper &Tiled=193\nSet Wallpaper &Left Align=231\nSet Wallpaper &Right Align=232\n"
    "Set Wallpaper &Top Align=233\nSet Wallpaper &Bottom Align=234\n-\n&Delete Image=162\n-\n"
    "&New Project=57600\n&Open Project=57601\n&Save Project\tCtrl+S=57603\nSave &As...=57604\n-\n"
    "Recent File=57616\n-\nE&xit=57665\n";
const char* const kEditMenu =
    "&Clone=171\n-\nZoom &In=144\nZoom &Out=145\n&Actual Size=146\nCustomize &Size=147\n-\n"
    "Rotate Clock&wise=150\nRotate Coun&ter Clockwise=151\nRotate &Degree>\n  Clockwise X=173\n"
    "  Counter Clockwise X=174\n  Clockwise 90=175\n  Clockwise 180=176\n  Clockwise 270=177\n-\n"
    "&Flip Horizontal=154\nFlip &Vertical=155\n-\nShear Horizontal Clockwise=156\n"
    "Shear Horizontal Counter Clockwise=157\nShear Vertical Clockwise=158\n"
    "Shear Vertical Counter Clockwise=159\n-\nSend to &Back=165\n";
const char* const kProcessMenu =
    "&Gray=183\n-\n&Semitransparent=184\nSet Semitransparen&cy=185\n-\n"
    "&Erase Concolorous Background=186\nSet Erase Multicolor Background E&xtent=187\n";
#define SHAPES(I)                                                                                      \
    I "Rect=196\n" I "RoundRect=197\n" I "Diamond=198\n" I "Parallelogram=199\n" I "Echelon=200\n" I \
      "IsocelesTriangle=201\n" I "RightangleTriangle=202\n" I "-\n" I "Pentacle=203\n" I              \
      "EightSquare=204\n" I "TenSquare=205\n" I "Hexagon=206\n" I "Octagon=207\n" I "-\n" I           \
      "Ellipe=208\n" I "Heart=209\n" I "Crescent=210\n" I "Cloud=211\n" I "Gombol=212\n" I "Blast=213\n"
const char* const kShapeMenu = "Cut=221\nRestore Original Image=230\nCut Status=252\n-\n" SHAPES("");
const char* const kBackgroundMenu =
    "&Picture From File ...=130\n&Windows Predefined Picture>\n  -\nNo Picture=132\n&Select Color=138\n-\n"
    "&Center=133\n&Tile=134\nSt&retch=135\n-\nC&ustomize Canvas Size=136\n";
const char* const kViewMenu =
    "&Toolbar=59392\n&Status Bar=59393\n-\n&Refresh\tF5=182\n-\n&Full Screen\tDouble Click=137\n";
const char* const kHelpMenu = "&Help\tF1=258\n-\n&Visit Website=223\n-\n&About Muralcrafter...=57664\n";
#define WALLPAPER7(I)                                                                                  \
    I "Stretched=194\n" I "Centered=192\n" I "Tiled=193\n" I "Left Align=231\n" I "Right Align=232\n" I \
      "Top Align=233\n" I "Bottom Align=234\n"
const char* const kItemContext =
    "&Add Image\tCtrl+I=141\nSet Wallpaper>\n" WALLPAPER7("  ") "&Delete Image=162\n-\n&Clone=171\n"
    "Zoom &In=144\nZoom &Out=145\nRotate Clock&wise=150\nRotate Coun&ter Clockwise=151\nMore...>\n"
    "  &Actual Size=146\n  Customize &Size=147\n  -\n  Clockwise X=173\n  Counter Clockwise X=174\n"
    "  Clockwise 90=175\n  Clockwise 180=176\n  Clockwise 270=177\n  -\n  &Flip Horizontal=154\n"
    "  Flip &Vertical=155\n  -\n  Shear Horizontal Clockwise=156\n  Shear Horizontal Counter Clockwise=157\n"
    "  Shear Vertical Clockwise=158\n  Shear Vertical Counter Clockwise=159\nSend to &Back=165\n-\nCut=221\n"
    "Restore Original Image=230\nCut Status=252\nShape>\n" SHAPES("  ") "-\n&Gray=183\n&Semitransparent=184\n"
    "Set Semitransparen&cy=185\n&Erase Concolorous Background=186\n"
    "Set Erase Multicolor Background &Level=187\n-\n&Refresh\tF5=182\n&Full Screen\tDouble Click=137\n";
const char* const kCanvasContext =
    "&Add Image\tCtrl+I=141\nSet Wallpaper>\n" WALLPAPER7("  ") "-\n&Refresh\tF5=182\n"
    "&Full Screen\tDouble Click=137\n";

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CMyView::ResetFirstUpdate();
        doc = std::make_unique<CMyDoc>(mc::platform::DesktopSettings{});
        frame = std::make_unique<CMainFrame>(doc.get());
    }
    std::unique_ptr<CMyDoc> doc;
    std::unique_ptr<CMainFrame> frame;
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

TEST_F(FrameTest, MenusAndAcceleratorsWithExactTextsAndIds)
{
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "Process", "Shape", "&Background", "&View", "&Help"}));
    const std::pair<QMenu*, QString> menus[] = {
        {frame->TopMenu("&File"), kFileMenu}, {frame->TopMenu("&Edit"), kEditMenu},
        {frame->TopMenu("Process"), kProcessMenu}, {frame->TopMenu("Shape"), kShapeMenu},
        {frame->TopMenu("&Background"), kBackgroundMenu}, {frame->TopMenu("&View"), kViewMenu},
        {frame->TopMenu("&Help"), kHelpMenu},
        {frame->PopupMenu(IDR_WALLPAPER_MENU), "Stretched=194\nCentered=192\nTiled=193\n-\nLeft Align=231\n"
                                               "Right Align=232\nTop Align=233\nBottom Align=234\n"},
        {frame->PopupMenu(IDR_SHAPE_MENU), SHAPES("")},
        {frame->PopupMenu(IDR_ITEM_CONTEXT_MENU), kItemContext},
        {frame->PopupMenu(IDR_CANVAS_CONTEXT_MENU), kCanvasContext}};
    for (const auto& [menu, expected] : menus) {
        ASSERT_TRUE(menu) << expected.toStdString();
        EXPECT_EQ(dump(menu), expected);
    }
    QStringList keys;
    for (QAction* a : frame->actions())
        if (a->property("mcAccelerator").isValid())
            keys << a->shortcut().toString() + "=" + a->property("mcAccelerator").toString();
    EXPECT_EQ(keys.join(", "),
              "Ctrl+I=141, Ctrl+N=57600, Ctrl+O=57601, Ctrl+S=57603, F5=182, F1=258, Ctrl+C=57634, "
              "Ctrl+Ins=57634, Ctrl+X=57635, Shift+Del=57635, Ctrl+V=57637, Shift+Ins=57637, "
              "Ctrl+Z=57643, Alt+Backspace=57643, F6=57680, Shift+F6=57681");
}

TEST_F(FrameTest, ToolbarButtonsInOrderWithDropDowns)
{
    QStringList order;
    for (QAction* a : frame->ToolBar()->actions()) {
        if (a->isSeparator()) {
            order << "-";
            continue;
        }
        QAction* command = a;
        if (auto* button = qobject_cast<QToolButton*>(frame->ToolBar()->widgetForAction(a)); button && button->defaultAction())
            command = button->defaultAction();
        order << command->property("mcCommandId").toString();
        EXPECT_EQ(command->icon().actualSize(QSize(64, 64)), QSize(16, 15));
    }
    EXPECT_EQ(order.join(' '), "141 162 57603 194 - 144 145 150 151 171 - 252 221 230 - 183 184 - 182 137");
    QToolButton* wallpaper = frame->DropDownButton(ID_SET_WALLPAPER_STRETCHED);
    ASSERT_TRUE(wallpaper);
    EXPECT_EQ(wallpaper->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(wallpaper->menu(), frame->PopupMenu(IDR_WALLPAPER_MENU));
    EXPECT_EQ(frame->DropDownButton(ID_CUT_STATUS)->menu(), frame->PopupMenu(IDR_SHAPE_MENU));
    // Images are all different: one per command.
    QSet<QByteArray> images;
    for (int id : mc::app::ToolbarLayout())
        if (id)
            images.insert(QByteArray(reinterpret_cast<const char*>(mc::app::ToolbarImage(id).constBits()),
                                     mc::app::ToolbarImage(id).sizeInBytes()));
    EXPECT_EQ(images.size(), 16);
}

TEST_F(FrameTest, PromptsAndTooltipsFromTheCommandStrings)
{
    EXPECT_EQ(frame->MenuAction(ID_ADD_IMAGE)->statusTip(), "Add Image");
    EXPECT_EQ(frame->MenuAction(ID_FILE_NEW)->statusTip(), "Create a new document");
    EXPECT_EQ(frame->MenuAction(ID_ZOOM_IN)->statusTip(), "Zoom in");
    EXPECT_TRUE(frame->MenuAction(ID_FLIP_VERTICAL)->statusTip().isEmpty());
    EXPECT_EQ(mc::app::CommandTooltip(ID_CLONE), "Clone Image");
    EXPECT_EQ(mc::app::CommandTooltip(ID_VIEW_STATUS_BAR), "Toggle StatusBar");
    EXPECT_EQ(mc::app::CommandPrompt(ID_FILE_MRU_FILE1 + 3), "Open this document");
    EXPECT_EQ(frame->Actions(ID_CLONE).last()->toolTip(), "Clone Image");
}

TEST_F(FrameTest, RoutingOrderViewDocumentFrameApplication)
{
    std::vector<QString> log;
    Recorder view(log, "view"), docLevel(log, "document"), frameLevel(log, "frame"), app(log, "application");
    frame->GetActiveView()->AddCommandTarget(&view);
    frame->DocumentTargets().Add(&docLevel);
    frame->FrameTargets().Add(&frameLevel);
    frame->SetApplicationTarget(&app);
    EXPECT_FALSE(frame->RouteCommand(500));
    EXPECT_EQ(log, (std::vector<QString>{"view", "document", "frame", "application"}));
    log.clear();
    docLevel.claim = true;
    EXPECT_TRUE(frame->RouteCommand(500));
    EXPECT_EQ(log, (std::vector<QString>{"view", "document"}));
    frame->GetActiveView()->RemoveCommandTarget(&view);
}

TEST_F(FrameTest, CommandsWithoutHandlerAreDisabledCheckMarksFromUpdateHandlers)
{
    // Nothing handles Cut here: disabled.
    EXPECT_FALSE(frame->QueryCommand(ID_CUT).enabled);
    QMenu* shape = frame->TopMenu("Shape");
    Q_EMIT shape->aboutToShow();
    EXPECT_FALSE(frame->MenuAction(ID_CUT)->isEnabled());
    // The view's own commands are enabled; Full Screen carries its check.
    EXPECT_TRUE(frame->QueryCommand(ID_ADD_IMAGE).enabled);
    frame->EnterFullScreen();
    QMenu* view = frame->TopMenu("&View");
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(frame->MenuAction(ID_FULL_SCREEN)->isChecked());
    frame->LeaveFullScreen();
    Q_EMIT view->aboutToShow();
    EXPECT_FALSE(frame->MenuAction(ID_FULL_SCREEN)->isChecked());
}

TEST_F(FrameTest, BarsAtStartAndInFullScreenAndTheTitle)
{
    EXPECT_EQ(frame->windowTitle(), "Untitled[*] - Muralcrafter");
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(frame->isWindowModified());

    frame->show();
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_TRUE(frame->ToolBar()->isVisible());
    EXPECT_EQ(frame->toolBarArea(frame->ToolBar()), Qt::TopToolBarArea);
    EXPECT_TRUE(frame->QueryCommand(ID_VIEW_TOOLBAR).checked);
    EXPECT_FALSE(frame->QueryCommand(ID_VIEW_STATUS_BAR).checked);
    frame->RouteCommand(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->statusBar()->isVisible());
    EXPECT_TRUE(frame->QueryCommand(ID_VIEW_STATUS_BAR).checked);
    QStringList panes;
    for (QLabel* label : frame->statusBar()->findChildren<QLabel*>())
        panes << label->text();
    EXPECT_EQ(panes, QStringList({"Ready", "CAP", "NUM", "SCRL"}));

    // Full screen hides every bar; leaving (once or twice) brings them back.
    const auto bars = [&] {
        return std::vector<bool>{frame->m_bFullScreen, frame->menuBar()->isVisible(), frame->ToolBar()->isVisible(),
                                 frame->statusBar()->isVisible()};
    };
    frame->EnterFullScreen();
    EXPECT_EQ(bars(), (std::vector<bool>{true, false, false, false}));
    for (int i = 0; i < 2; ++i) {
        frame->LeaveFullScreen();
        EXPECT_EQ(bars(), (std::vector<bool>{false, true, true, true}));
    }
}

TEST_F(FrameTest, RecentFilesReplaceThePlaceholderAtMostFour)
{
    frame->SetRecentFiles({"/p/a.mcr", "/p/b.mcr", "/p/c.mcr", "/p/d.mcr", "/p/e.mcr"});
    const QString file = dump(frame->TopMenu("&File"));
    EXPECT_TRUE(file.contains("&1 /p/a.mcr=57616\n&2 /p/b.mcr=57617\n&3 /p/c.mcr=57618\n&4 /p/d.mcr=57619\n-\nE&xit"));
    EXPECT_FALSE(file.contains("Recent File"));
    EXPECT_FALSE(file.contains("e.mcr"));
    frame->SetRecentFiles({});
    EXPECT_EQ(dump(frame->TopMenu("&File")), kFileMenu);
    EXPECT_FALSE(frame->MenuAction(ID_FILE_MRU_FILE1)->isEnabled());
}

TEST_F(FrameTest, DynamicMenusAreBuiltOnce)
{
    int builds = 0;
    frame->SetBuildDynamicMenus([&](CMainFrame&) { ++builds; });
    frame->ActivateFrame();
    frame->ActivateFrame();
    EXPECT_EQ(builds, 1);
    EXPECT_TRUE(frame->m_bMenusBuilt);
    ASSERT_TRUE(frame->PredefinedPictureMenu());
    EXPECT_EQ(frame->PredefinedPictureMenu()->title(), "&Windows Predefined Picture");
}
