#pragma once
// The main window: menu bar, toolbar with two drop-down buttons, a status bar
// that starts hidden, the context menus and full-screen mode; it holds the
// one view.
//
// Command routing. Every menu item, toolbar button, accelerator and context
// menu entry is a QAction carrying its command ID (CommandIds.h); triggering
// it calls RouteCommand(id), which offers the command to four levels in
// turn until one handles it:
//   1. the view (CMyView; its attached targets first),
//   2. the document level: the document itself first (CMyDoc::OnCmdMsg, the
//      run-time command tables), then DocumentTargets() (the background
//      commands, the document's File commands),
//   3. the frame (FrameTargets(), then the frame's own: Toolbar, Status Bar),
//   4. the application (CMyApp; its attached targets first).
// Before a menu is shown (QMenu::aboutToShow) and after every command the
// same chain is asked for each action's enabled and checked state
// (CommandTarget::OnUpdateCommand). A command that no level handles is
// shown disabled and does nothing.
#include "app/CommandLayout.h"
#include "document/CommandRouter.h"
#include "view/CMyView.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QRect>
#include <QStringList>

#include <functional>
#include <span>

class CMyDoc;
class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

class CMainFrame : public QMainWindow, public ViewHost, public CommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(CMyDoc* doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMyView* GetActiveView() const { return m_pView; }
    CMyDoc* GetActiveDocument() const { return m_pDoc; }

    // Routing levels (see above). The application is the last level.
    CommandTargetList& DocumentTargets() { return m_documentTargets; }
    CommandTargetList& FrameTargets() { return m_frameTargets; }
    void SetApplicationTarget(CommandTarget* app);

    bool RouteCommand(int id);
    CommandState QueryCommand(int id) const;
    // The name a command's undo step carries: its menu text without the
    // access key, shortcut and trailing dots.
    QString CommandLabel(int id) const;
    // Refreshes enabled/checked state of every action (toolbar included).
    void UpdateCommandUI();

    // Frame-level commands of its own.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

    // The command ID an action sends; 0 for separators and submenus.
    static int CommandIdOf(const QAction* action);
    // Every action of the menus, toolbar and accelerators bound to `id`.
    QList<QAction*> Actions(int id) const;
    // The menu-bar item for `id` (null when the menu bar has none).
    QAction* MenuAction(int id) const;
    // A popup resource: 241 and 251 (toolbar drop-downs), 253 and 254
    // (context menus).
    QMenu* PopupMenu(int resourceId) const;
    // A top-level menu of the menu bar by its text ("&Background" ...).
    QMenu* TopMenu(const QString& text) const;
    // "&Windows Predefined Picture", filled by the run-time menus.
    QMenu* PredefinedPictureMenu() const { return m_pPredefinedMenu; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    // The drop-down buttons 194 and 252.
    QToolButton* DropDownButton(int id) const;

    // The recent-file entries of the File menu (at most four, commands 57616
    // and on); an empty list shows the grayed "Recent File" placeholder.
    void SetRecentFiles(const QStringList& paths);
    QStringList RecentFiles() const { return m_recentFiles; }

    // A command item made at run time: `text` with command ID `id`, routed
    // and updated like every other, inserted before `before` (appended when
    // null).
    QAction* InsertCommandItem(QMenu* menu, QAction* before, int id, const QString& text);

    // Runs `build` once, at the first activation (the run-time menus).
    void SetBuildDynamicMenus(std::function<void(CMainFrame&)> build) { m_buildDynamicMenus = std::move(build); }
    void ActivateFrame();

    // Dropped project files are handed to this function; dropped pictures
    // become items where they were dropped.
    void SetOpenFileHandler(std::function<bool(const QString&)> open) { m_openFile = std::move(open); }
    // Asked before the window closes (a modified project may be saved);
    // false keeps the window open. Without one the window just closes.
    void SetSaveModifiedHandler(std::function<bool()> ask) { m_saveModified = std::move(ask); }

    // ViewHost
    bool IsFullScreen() const override { return m_bFullScreen; }
    void EnterFullScreen() override;
    void LeaveFullScreen() override;
    void TrackContextMenu(int menuId, QPoint globalPos) override;

    bool m_bFullScreen = false;
    bool m_bMenusBuilt = false;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* makeAction(int id, const QString& text, QObject* owner);
    // Fills `menu` from a menu table; answers the menu-bar actions made.
    void fillMenu(QMenu* menu, std::span<const mc::app::MenuRow> rows, bool menuBar);
    QMenu* newMenu(const QString& title, QWidget* parent);
    void createMenuBar();
    void createPopupMenus();
    void createAccelerators();
    void createToolBar();
    void createStatusBar();
    void updateActions(const QList<QAction*>& actions) const;
    void applyStrings(QAction* action, int id) const;
    // "Undo <step>" / "Redo <step>", or the plain prompt with no step.
    QString historyPrompt(int id) const;
    void updateWindowTitle();

    CMyDoc* m_pDoc;
    CMyView* m_pView;
    CommandRouter m_router;
    CommandTargetList m_documentTargets;
    CommandTargetList m_frameTargets;
    CommandTargetList m_frameLevel; // FrameTargets, then this frame
    CommandTarget* m_pApp = nullptr;
    QHash<int, QList<QAction*>> m_actions;
    QHash<int, QAction*> m_menuBarActions;
    QHash<int, QMenu*> m_popups;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pPredefinedMenu = nullptr;
    QAction* m_pRecentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QStringList m_recentFiles;
    QToolBar* m_pToolBar = nullptr;
    QHash<int, QToolButton*> m_dropDowns;
    QLabel* m_pReady = nullptr;
    std::function<void(CMainFrame&)> m_buildDynamicMenus;
    std::function<bool(const QString&)> m_openFile;
    std::function<bool()> m_saveModified;
    // Full screen: the state to return to and the bars that were shown.
    bool m_bWasMaximized = false;
    QRect m_rcNormal;
    bool m_bToolBarWasVisible = true;
    bool m_bStatusBarWasVisible = false;
};
