#pragma once
// The application object: start-up and shutdown around QApplication.
//
// Command routing. The application is the last of the main window's four
// routing levels (see CMainFrame.h). Application-level handlers that live
// elsewhere (New, Open and the recent files, Help, About, Visit Website)
// attach with AddCommandTarget() and are asked before CMyApp's own.
#include "document/CommandRouter.h"

#include <QString>
#include <QStringList>

#include <memory>

class CBackgroundCommands;
class CFileCommands;
class CHelpCommands;
class CMainFrame;
class CMyDoc;
class QSettings;

class CMyApp : public CommandTarget {
public:
    CMyApp();
    ~CMyApp() override;

    // Start-up, in this order: organisation and application names, the
    // settings profile and its recent-file list, the document, frame and
    // view, the file-type registration, the command line (no argument = a
    // new project, a file = open it), and the main window shown maximised
    // accepting dropped project files. False ends the program.
    bool InitInstance(const QStringList& arguments);
    // Shutdown after the event loop; returns the exit code.
    int ExitInstance(int exitCode);

    void AddCommandTarget(CommandTarget* target) { m_targets.Add(target); }
    void RemoveCommandTarget(CommandTarget* target) { m_targets.Remove(target); }
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

    // New project in the existing window (the first one at start-up).
    bool OnFileNew();
    // Opens the project file `path` into the document; false (after the
    // reader's message) when it cannot be read. Also used for dropped files.
    bool OpenDocumentFile(const QString& path);

    CMainFrame* MainFrame() const { return m_pFrame.get(); }
    CMyDoc* Document() const { return m_pDoc.get(); }

    static CMyApp* Instance() { return s_pApp; }

private:
    // Shows the recent-file list of the settings profile, at most `count`.
    void LoadStdProfileSettings(int count);
    // freedesktop file-type registration for the user, refreshed at start.
    void RegisterShellFileTypes();

    static CMyApp* s_pApp;
    CommandTargetList m_targets;
    std::unique_ptr<CMyDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CBackgroundCommands> m_pBackground;
    std::unique_ptr<CFileCommands> m_pFiles;
    std::unique_ptr<CHelpCommands> m_pHelp;
};
