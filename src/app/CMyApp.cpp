#include "app/CMyApp.h"

#include "app/CBackgroundCommands.h"
#include "app/CMainFrame.h"
#include "app/CommandLine.h"
#include "dialogs/CMessageBox.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "document/ProjectReader.h"
#include "platform/DesktopBackend.h"
#include "platform/Screen.h"
#include "platform/Settings.h"

#include <QApplication>
#include <QSettings>
#include <QTextStream>

CMyApp* CMyApp::s_pApp = nullptr;

CMyApp::CMyApp()
{
    s_pApp = this;
}

CMyApp::~CMyApp()
{
    // The window and its view go before the project they show.
    m_pBackground.reset();
    m_pFrame.reset();
    m_pDoc.reset();
    if (s_pApp == this)
        s_pApp = nullptr;
}

bool CMyApp::InitInstance(const QStringList& arguments)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Muralcrafter"));

    const mc::app::GuiArguments args = mc::app::ParseGuiArguments(arguments);
    if (!args.error.isEmpty()) {
        QTextStream(stderr) << args.error << Qt::endl;
        return false;
    }
    if (args.screen.isValid())
        mc::platform::overrideScreenSize(args.screen);

    LoadStdProfileSettings(kRecentFileCount);

    // Document, frame and view. The project starts from the desktop's
    // wallpaper, placement and colour and a canvas of the screen size.
    const std::unique_ptr<mc::platform::DesktopBackend> desktop = mc::platform::detectDesktopBackend();
    m_pDoc = std::make_unique<CMyDoc>(desktop ? desktop->read() : mc::platform::DesktopSettings{});
    m_pFrame = std::make_unique<CMainFrame>(m_pDoc.get());
    m_pFrame->SetApplicationTarget(this);
    m_pBackground = std::make_unique<CBackgroundCommands>(m_pDoc.get(), m_pFrame->GetActiveView());
    m_pFrame->DocumentTargets().Add(m_pBackground.get());
    m_pFrame->SetOpenFileHandler([this](const QString& path) { return OpenDocumentFile(path); });
    m_pFrame->SetRecentFiles(m_recentFiles);

    RegisterShellFileTypes();

    // The command line: a project file is opened, none starts a new project.
    // A project that cannot be opened ends the start-up after its message.
    const bool started = args.projectPath.isEmpty() ? OnFileNew() : OpenDocumentFile(args.projectPath);
    if (!started)
        return false;

    m_pFrame->showMaximized();
    m_pFrame->ActivateFrame();
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
    QString message;
    if (!mc::document::OpenProject(*m_pDoc, path, mc::platform::screenSize(), &message)) {
        mc::dialogs::ShowMessage(message, m_pFrame.get());
        return false;
    }
    m_pFrame->GetActiveView()->OnInitialUpdate();
    return true;
}

void CMyApp::LoadStdProfileSettings(int count)
{
    // The recent-file list as the settings profile keeps it: "File1" is the
    // most recent.
    const std::unique_ptr<QSettings> settings = mc::platform::openSettings();
    m_recentFiles.clear();
    for (int i = 1; i <= count; ++i) {
        const QString path = settings->value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_recentFiles.append(path);
    }
}

void CMyApp::RegisterShellFileTypes()
{
    // The file type is registered by the installation (MIME type and desktop
    // entry); nothing is needed per run.
}
