#include "app/CMainFrame.h"

#include "app/ToolbarImages.h"
#include "document/CMyDoc.h"
#include "dialogs/CMessageBox.h"
#include "document/CommandIds.h"
#include "imaging/ImageIO.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {
constexpr const char* kCommandProperty = "mcCommandId";
} // namespace

CMainFrame::CMainFrame(CMyDoc* doc, QWidget* parent)
    : QMainWindow(parent)
    , m_pDoc(doc)
    , m_pView(new CMyView(doc, this))
{
    setObjectName(QStringLiteral("CMainFrame"));
    setCentralWidget(m_pView);
    m_pView->SetHost(this);
    setAcceptDrops(true);

    // The document claims the run-time commands before its other handlers.
    m_documentTargets.Add(m_pDoc);
    m_frameLevel.Add(&m_frameTargets);
    m_frameLevel.Add(this);
    m_router.SetChain({m_pView, &m_documentTargets, &m_frameLevel});

    createPopupMenus(); // the toolbar's drop-downs use them
    createMenuBar();
    createToolBar();
    createStatusBar();
    createAccelerators();

    connect(m_pDoc, &CMyDoc::clearShapeRequested, m_pView, [view = m_pView] { view->ClearShape(true); });
    connect(m_pDoc, &CMyDoc::modifiedChanged, this, &CMainFrame::updateWindowTitle);
    connect(m_pDoc, &CMyDoc::pathChanged, this, &CMainFrame::updateWindowTitle);
    // The toolbar shows its states all the time, not only in an opened
    // menu: whatever they depend on refreshes them the moment it changes
    // (commands, full screen and activation refresh them themselves).
    for (const auto signal : {&CMyDoc::updated, &CMyDoc::cardsCleared})
        connect(m_pDoc, signal, this, &CMainFrame::UpdateCommandUI);
    connect(m_pDoc, &CMyDoc::modifiedChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_pDoc, &CMyDoc::pathChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_pView, &CMyView::currentCardChanged, this, &CMainFrame::UpdateCommandUI);
    updateWindowTitle();
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetApplicationTarget(CommandTarget* app)
{
    m_pApp = app;
    m_router.SetChain({m_pView, &m_documentTargets, &m_frameLevel, m_pApp});
}

// ---------------------------------------------------------------------------
// Routing

bool CMainFrame::RouteCommand(int id)
{
    // Whatever a command changes in the project becomes one undo step,
    // named as its menu entry is.
    const bool history = id == ID_EDIT_UNDO || id == ID_EDIT_REDO;
    if (!history)
        m_pDoc->NoteCurrentCard(m_pView->m_pCurCard);
    const bool handled = m_router.Route(id);
    if (!history)
        m_pDoc->RecordStep(CommandLabel(id), m_pView->m_pCurCard);
    UpdateCommandUI();
    return handled;
}

QString CMainFrame::CommandLabel(int id) const
{
    // The menu bar's wording; the context menus word a few entries apart.
    const QList<QAction*> actions = m_actions.value(id);
    const QAction* entry = m_menuBarActions.value(id, actions.isEmpty() ? nullptr : actions.first());
    QString text = entry ? entry->text().section(QLatin1Char('\t'), 0, 0) : QString();
    // "&&" shows one ampersand, a single one marks the access key.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (text.endsWith(QStringLiteral("...")))
        text.chop(3);
    return text.trimmed();
}

CommandState CMainFrame::QueryCommand(int id) const
{
    return m_router.State(id);
}

void CMainFrame::updateActions(const QList<QAction*>& actions) const
{
    for (QAction* action : actions) {
        const QVariant idValue = action->property(kCommandProperty);
        if (!idValue.isValid())
            continue;
        const int id = idValue.toInt();
        // The grayed recent-file placeholder stays grayed.
        if (action == m_pRecentPlaceholder) {
            action->setEnabled(false);
            continue;
        }
        const CommandState state = m_router.State(id);
        action->setEnabled(state.enabled);
        if (id == ID_EDIT_UNDO || id == ID_EDIT_REDO)
            action->setStatusTip(historyPrompt(id));
        // Only checked items show a check box.
        action->setCheckable(state.checked);
        action->setChecked(state.checked);
    }
}

QString CMainFrame::historyPrompt(int id) const
{
    const auto& history = m_pDoc->History();
    const QString label = id == ID_EDIT_UNDO ? history.UndoLabel() : history.RedoLabel();
    if (label.isEmpty())
        return mc::app::CommandPrompt(id);
    return (id == ID_EDIT_UNDO ? QStringLiteral("Undo ") : QStringLiteral("Redo ")) + label;
}

void CMainFrame::UpdateCommandUI()
{
    QList<QAction*> all;
    for (const QList<QAction*>& list : std::as_const(m_actions))
        all += list;
    updateActions(all);
}

bool CMainFrame::OnCommand(int id)
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
        m_pToolBar->setVisible(!m_pToolBar->isVisible());
        return true;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CommandState& state)
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
        state.enabled = true;
        state.checked = m_pToolBar->isVisibleTo(this);
        return true;
    case ID_VIEW_STATUS_BAR:
        state.enabled = true;
        state.checked = statusBar()->isVisibleTo(this);
        return true;
    default:
        return false;
    }
}

bool CMainFrame::HandlesCommand(int id) const
{
    return id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR;
}

// ---------------------------------------------------------------------------
// Menus

QAction* CMainFrame::makeAction(int id, const QString& text, QObject* owner)
{
    auto* action = new QAction(text, owner);
    action->setProperty(kCommandProperty, id);
    applyStrings(action, id);
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    m_actions[id].append(action);
    return action;
}

void CMainFrame::applyStrings(QAction* action, int id) const
{
    const QString prompt = mc::app::CommandPrompt(id);
    if (!prompt.isEmpty())
        action->setStatusTip(prompt);
    const QString tooltip = mc::app::CommandTooltip(id);
    if (!tooltip.isEmpty())
        action->setToolTip(tooltip);
}

QAction* CMainFrame::InsertCommandItem(QMenu* menu, QAction* before, int id, const QString& text)
{
    QAction* action = makeAction(id, text, menu);
    menu->insertAction(before, action);
    return action;
}

QMenu* CMainFrame::newMenu(const QString& title, QWidget* parent)
{
    auto* menu = new QMenu(title, parent);
    // Update handlers decide enabled and checked state just before showing.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateActions(menu->actions()); });
    return menu;
}

void CMainFrame::fillMenu(QMenu* menu, std::span<const mc::app::MenuRow> rows, bool menuBar)
{
    QList<QMenu*> stack{menu};
    for (const mc::app::MenuRow& row : rows) {
        QMenu* current = stack.back();
        switch (row.kind) {
        case mc::app::MenuRow::Item: {
            QAction* action = makeAction(row.id, QString::fromLatin1(row.text), current);
            current->addAction(action);
            if (menuBar && !m_menuBarActions.contains(row.id))
                m_menuBarActions.insert(row.id, action);
            break;
        }
        case mc::app::MenuRow::Separator:
            current->addSeparator();
            break;
        case mc::app::MenuRow::Popup: {
            QMenu* sub = newMenu(QString::fromLatin1(row.text), current);
            current->addMenu(sub);
            stack.append(sub);
            break;
        }
        case mc::app::MenuRow::End:
            stack.removeLast();
            break;
        }
    }
}

void CMainFrame::createMenuBar()
{
    for (const mc::app::TopMenu& top : mc::app::MenuBarLayout()) {
        QMenu* menu = newMenu(QString::fromLatin1(top.text), menuBar());
        fillMenu(menu, top.rows, true);
        menuBar()->addMenu(menu);
    }
    m_pFileMenu = TopMenu(QStringLiteral("&File"));
    m_pRecentPlaceholder = m_menuBarActions.value(ID_FILE_MRU_FILE1);
    if (QMenu* background = TopMenu(QStringLiteral("&Background"))) {
        for (QAction* action : background->actions())
            if (action->menu()) {
                m_pPredefinedMenu = action->menu();
                break;
            }
    }
}

void CMainFrame::createPopupMenus()
{
    for (int resource : {IDR_WALLPAPER_MENU, IDR_SHAPE_MENU, IDR_ITEM_CONTEXT_MENU, IDR_CANVAS_CONTEXT_MENU}) {
        QMenu* menu = newMenu(QString(), this);
        fillMenu(menu, mc::app::PopupLayout(resource), false);
        m_popups.insert(resource, menu);
    }
}

int CMainFrame::CommandIdOf(const QAction* action)
{
    return action ? action->property(kCommandProperty).toInt() : 0;
}

QAction* CMainFrame::MenuAction(int id) const
{
    return m_menuBarActions.value(id);
}

QList<QAction*> CMainFrame::Actions(int id) const
{
    return m_actions.value(id);
}

QMenu* CMainFrame::PopupMenu(int resourceId) const
{
    return m_popups.value(resourceId);
}

QMenu* CMainFrame::TopMenu(const QString& text) const
{
    for (QAction* action : menuBar()->actions())
        if (action->menu() && action->text() == text)
            return action->menu();
    return nullptr;
}

QToolButton* CMainFrame::DropDownButton(int id) const
{
    return m_dropDowns.value(id);
}

void CMainFrame::TrackContextMenu(int menuId, QPoint globalPos)
{
    if (QMenu* menu = PopupMenu(menuId))
        menu->exec(globalPos);
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (QAction* action : std::as_const(m_recentActions)) {
        m_actions[action->property(kCommandProperty).toInt()].removeOne(action);
        m_pFileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    m_recentFiles = paths.mid(0, kRecentFileCount);
    m_pRecentPlaceholder->setVisible(m_recentFiles.isEmpty());
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        const QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(m_recentFiles[i]));
        QAction* action = makeAction(ID_FILE_MRU_FILE1 + i, text, m_pFileMenu);
        m_pFileMenu->insertAction(m_pRecentPlaceholder, action);
        m_recentActions.append(action);
    }
}

void CMainFrame::ActivateFrame()
{
    if (!m_bMenusBuilt) {
        if (m_buildDynamicMenus)
            m_buildDynamicMenus(*this);
        m_bMenusBuilt = true;
    }
    // The targets attached since the frame was made answer from now on.
    UpdateCommandUI();
}

// ---------------------------------------------------------------------------
// Accelerators, toolbar, status bar

void CMainFrame::createAccelerators()
{
    for (const mc::app::Accelerator& accel : mc::app::Accelerators()) {
        auto* action = new QAction(this);
        action->setShortcut(accel.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setProperty("mcAccelerator", accel.id);
        const int id = accel.id;
        // Like a menu item, an accelerator does nothing while its command
        // is disabled.
        connect(action, &QAction::triggered, this, [this, id] {
            if (QueryCommand(id).enabled)
                RouteCommand(id);
        });
        addAction(action); // works with the menu bar hidden (full screen)
    }
}

void CMainFrame::createToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("Toolbar"));
    m_pToolBar->setIconSize(QSize(mc::app::kButtonImageWidth, mc::app::kButtonImageHeight));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : mc::app::ToolbarLayout()) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = makeAction(id, mc::app::CommandTooltip(id), m_pToolBar);
        action->setIcon(QIcon(QPixmap::fromImage(mc::app::ToolbarImage(id))));
        const int dropDown = id == ID_SET_WALLPAPER_STRETCHED ? IDR_WALLPAPER_MENU
                             : id == ID_CUT_STATUS            ? IDR_SHAPE_MENU
                                                              : 0;
        if (dropDown) {
            // The button sends its command; its arrow drops the menu below it.
            auto* button = new QToolButton(m_pToolBar);
            button->setDefaultAction(action);
            button->setMenu(PopupMenu(dropDown));
            button->setPopupMode(QToolButton::MenuButtonPopup);
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button->setAutoRaise(true);
            m_pToolBar->addWidget(button);
            m_dropDowns.insert(id, button);
        } else {
            m_pToolBar->addAction(action);
        }
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    m_pReady = new QLabel(QStringLiteral("Ready"), bar);
    m_pReady->setObjectName(QStringLiteral("MessagePane"));
    bar->addWidget(m_pReady, 1);
    for (const char* text : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromLatin1(text), bar);
        pane->setObjectName(QStringLiteral("Indicator") + QString::fromLatin1(text));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        // The lock states cannot be read portably; the panes stay dimmed.
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
    }
    // The status bar starts hidden; View > Status Bar shows it.
    bar->hide();
}

// ---------------------------------------------------------------------------
// Full screen

void CMainFrame::EnterFullScreen()
{
    if (m_bFullScreen)
        return;
    m_bWasMaximized = isMaximized();
    m_rcNormal = normalGeometry();
    m_bToolBarWasVisible = m_pToolBar->isVisibleTo(this);
    m_bStatusBarWasVisible = statusBar()->isVisibleTo(this);
    m_bFullScreen = true;
    menuBar()->hide();
    // A floated toolbar stays usable; a docked one leaves with the bars.
    if (!m_pToolBar->isFloating())
        m_pToolBar->hide();
    statusBar()->hide();
    showFullScreen();
    m_pView->RefreshOutline(); // full screen shows the wallpaper as it will be
    UpdateCommandUI();
}

void CMainFrame::LeaveFullScreen()
{
    if (!m_bFullScreen)
        return;
    m_bFullScreen = false;
    menuBar()->show();
    m_pToolBar->setVisible(m_bToolBarWasVisible);
    statusBar()->setVisible(m_bStatusBarWasVisible);
    if (m_bWasMaximized) {
        showMaximized();
    } else {
        showNormal();
        if (m_rcNormal.isValid())
            setGeometry(m_rcNormal);
    }
    m_pView->RefreshOutline();
    UpdateCommandUI();
}

// ---------------------------------------------------------------------------
// Window

void CMainFrame::updateWindowTitle()
{
    setWindowTitle(m_pDoc->GetTitle() + QStringLiteral("[*] - Muralcrafter"));
    setWindowModified(m_pDoc->IsModified());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList projects, pictures;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        // Anything that is not a picture goes to the project reader, which
        // says what is wrong with it.
        const bool project = QFileInfo(path).suffix().compare(QStringLiteral("mcr"), Qt::CaseInsensitive) == 0;
        (project || mc::imaging::imageFormat(path).isEmpty() ? projects : pictures) << path;
    }
    if (projects.isEmpty() && pictures.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    if (!projects.isEmpty() && !pictures.isEmpty()) {
        mc::dialogs::ShowMessage(QStringLiteral("Nothing is opened: pictures were dropped together with other files. "
                                                "Drop a project alone to open it, or pictures alone to add them."),
                                 this);
        return;
    }
    if (!projects.isEmpty()) {
        // Like the shell's drop, the first file is opened as a project.
        if (m_openFile)
            m_openFile(projects.first());
        return;
    }
    // Pictures become items centred where they were dropped (in sight
    // when dropped beside the canvas), all in one step.
    const QPoint local = m_pView->viewport()->mapFrom(this, event->position().toPoint());
    const QPoint at = m_pView->viewport()->rect().contains(local)
        ? m_pView->ToDevice(local) + m_pView->ScrollPosition()
        : m_pView->VisibleCentre();
    m_pDoc->NoteCurrentCard(m_pView->m_pCurCard);
    m_pView->AddPictureFiles(pictures, at);
    m_pDoc->RecordStep(CommandLabel(ID_ADD_IMAGE), m_pView->m_pCurCard);
    UpdateCommandUI();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_saveModified && !m_saveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}
