#include "app/CMyApp.h"

#include "app/CBackgroundCommands.h"
#include "app/CFileCommands.h"
#include "app/CHelpCommands.h"
#include "app/CMainFrame.h"
#include "app/CommandLine.h"
#include "app/DynamicMenus.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "platform/DesktopBackend.h"
#include "platform/FileTypeRegistration.h"
#include "platform/ProgramData.h"
#include "platform/Screen.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextStream>

// The registration files live in this static library's resources: naming
// them here keeps the linker from dropping them.
static void initFreedesktopResources()
{
    Q_INIT_RESOURCE(freedesktop);
}

CMyApp* CMyApp::s_pApp = nullptr;

CMyApp::CMyApp()
{
    s_pApp = this;
}

CMyApp::~CMyApp()
{
    // The window and its view go before the project they show.
    m_pHelp.reset();
    m_pBackground.reset();
    m_pFiles.reset();
    m_pFrame.reset();
    m_pDoc.reset();
    if (s_pApp == this)
        s_pApp = nullptr;
}

bool CMyApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Muralcrafter"));
    // Desktops match the window to its desktop entry (and icon) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(MC_APP_ID));

    const mc::app::GuiArguments args = mc::app::ParseGuiArguments(arguments);
    if (!args.error.isEmpty()) {
        QTextStream(stderr) << args.error << Qt::endl;
        return false;
    }
    if (args.screen.isValid())
        mc::platform::overrideScreenSize(args.screen);
    else if (qEnvironmentVariableIsEmpty("MURALCRAFTER_SCREEN") && mc::platform::hasRealScreen())
        mc::platform::storeScreenSize(mc::platform::screenSize()); // for runs without a display

    // Document, frame and view. The project starts from the desktop's
    // wallpaper, placement and colour and a canvas of the screen size.
    const std::unique_ptr<mc::platform::DesktopBackend> desktop = mc::platform::detectDesktopBackend();
    m_pDoc = std::make_unique<CMyDoc>(desktop ? desktop->read() : mc::platform::DesktopSettings{});
    m_pFrame = std::make_unique<CMainFrame>(m_pDoc.get());
    m_pFrame->SetApplicationTarget(this);
    m_pFrame->SetBuildDynamicMenus([](CMainFrame& frame) { BuildDynamicMenus(frame); });
    m_pBackground = std::make_unique<CBackgroundCommands>(m_pDoc.get(), m_pFrame->GetActiveView());
    m_pFrame->DocumentTargets().Add(m_pBackground.get());
    CMyView* view = m_pFrame->GetActiveView();
    // The view attaches its Set Wallpaper commands itself (CViewWallpaperCommands).
    m_pFiles = std::make_unique<CFileCommands>(m_pDoc.get(), m_pFrame.get(), [view] { return view->ClientSize(); });
    m_pFrame->DocumentTargets().Add(m_pFiles.get());
    LoadStdProfileSettings(kRecentFileCount);
    QObject::connect(m_pFiles.get(), &CFileCommands::recentFilesChanged, m_pFrame.get(),
                     [frame = m_pFrame.get()](const QStringList& paths) { frame->SetRecentFiles(paths); });
    QObject::connect(m_pFiles.get(), &CFileCommands::statusMessage, m_pFrame.get(),
                     [frame = m_pFrame.get()](const QString& text) { frame->statusBar()->showMessage(text); });
    m_pFrame->SetOpenFileHandler([this](const QString& path) { return m_pFiles->OpenDocumentFile(path); });
    m_pFrame->SetSaveModifiedHandler([this] { return m_pFiles->SaveModified(); });
    m_pHelp = std::make_unique<CHelpCommands>(m_pFrame.get());
    AddCommandTarget(m_pHelp.get());

    RegisterShellFileTypes();

    // The command line: a project file is opened, none starts a new project.
    // A project that cannot be opened ends the start-up after its message.
    const bool started = args.projectPath.isEmpty() ? OnFileNew() : OpenDocumentFile(args.projectPath);
    if (!started)
        return false;

    // The first activation builds the run-time menus, before the window
    // first shows them.
    m_pFrame->ActivateFrame();
    // On Wayland, born at the size it is about to be maximised to: a tiling
    // compositor (sway) shows the window at the size it asks for first and
    // only then tiles it, and the client area is captured at the first paint.
    const QScreen* screen = m_pFrame->screen();
    if (screen && QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
        m_pFrame->resize(screen->availableGeometry().size());
    m_pFrame->showMaximized();
    return true;
}

int CMyApp::ExitInstance(int exitCode)
{
    return exitCode;
}

bool CMyApp::OnCommand(int id)
{
    if (m_targets.OnCommand(id))
        return true;
    if (id == ID_APP_EXIT && m_pFrame) {
        m_pFrame->close();
        return true;
    }
    return false;
}

bool CMyApp::OnUpdateCommand(int id, CommandState& state)
{
    return m_targets.OnUpdateCommand(id, state);
}

bool CMyApp::HandlesCommand(int id) const
{
    return m_targets.HandlesCommand(id) || id == ID_APP_EXIT;
}

bool CMyApp::OnFileNew()
{
    if (!m_pDoc->OnNewDocument())
        return false;
    m_pFrame->GetActiveView()->OnInitialUpdate();
    return true;
}

bool CMyApp::OpenDocumentFile(const QString& path)
{
    // Nothing can be lost yet at start-up: no save question.
    if (!m_pFiles->OpenAtStartup(path))
        return false;
    m_pFrame->GetActiveView()->OnInitialUpdate();
    return true;
}

void CMyApp::LoadStdProfileSettings(int count)
{
    // The file commands keep the list in the settings profile.
    m_pFrame->SetRecentFiles(m_pFiles->RecentFiles().mid(0, count));
}

void CMyApp::RegisterShellFileTypes()
{
    // Every start of the installed program points the user's desktop entry
    // at this very program and refreshes the MIME type and icons; a program
    // run from a build tree registers only where nothing is registered yet.
    // Nothing is written when the files are already current, and a failure
    // never stops the start.
    initFreedesktopResources();
    const QString dir = QStringLiteral(":/freedesktop");
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral("%1/icons/hicolor/%2x%2/apps/" MC_APP_ID ".png").arg(dir).arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QStringList dataDirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    dataDirs.removeAll(dataHome);
    mc::platform::registerFileTypesForUser(mc::platform::loadFileTypeFiles(dir),
                                           QCoreApplication::applicationFilePath(), dataHome,
                                           mc::platform::isInstalledProgram(), dataDirs);
}
