#pragma once
// The File commands of the project: New Project, Open Project, Save Project,
// Save As and the recent files, plus what the window needs around them:
// opening a file given on the command line or dropped on the window, and the
// save question before the project is closed or replaced.
//
// It is a command target of the document level (New and Open are the
// application's commands in the menus' routing, but they act on the one
// document, so one target serves them all).
#include "document/CommandTarget.h"
#include "document/RecentFileList.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class CMyDoc;
class QWidget;

class CFileCommands : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // `window` is the parent of the dialogs; `clientSize` answers the client
    // area the canvas is centred in (for the companion picture).
    CFileCommands(CMyDoc* doc, QWidget* window, std::function<QSize()> clientSize, QObject* parent = nullptr);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

    // New Project: after the save question, an empty item list on the same
    // background and canvas.
    bool OnFileNew();
    // Open Project: the file dialog, then OpenDocumentFile.
    bool OnFileOpen();
    // Save Project: to the project's file, or Save As when it has none.
    bool OnFileSave();
    bool OnFileSaveAs();

    // Opens `path` after the save question (recent files, dropped files).
    // A file that cannot be read is reported and the project stays.
    bool OpenDocumentFile(const QString& path);
    // The project named on the command line: no question (nothing to lose
    // yet); false after the reader's message.
    bool OpenAtStartup(const QString& path);

    // Saves to `path` (empty: ask for one). A failure is reported; the
    // project keeps its modified flag.
    bool DoSave(const QString& path);

    // When the project is modified: "Save changes to NAME?" with Save,
    // Don't Save and Cancel. True when the caller may go on (saved or not
    // wanted), false on Cancel or a failed save.
    bool SaveModified();

    // The recent-file list, latest first.
    QStringList RecentFiles() const { return m_recent.Paths(); }

    // "NAME[*] - Muralcrafter": the project's title with Qt's modified
    // marker, for QWidget::setWindowTitle.
    static QString WindowTitle(const CMyDoc& doc);

    // The dialogs, replaceable by functions (tests answer them).
    enum class SaveAnswer { Save, DontSave, Cancel };
    using SaveQuestionHandler = std::function<SaveAnswer(const QString& text)>;
    using SaveFileHandler = std::function<QString(const QString& suggestedPath)>;
    static SaveQuestionHandler SetSaveQuestionHandler(SaveQuestionHandler handler);
    static SaveFileHandler SetSaveFileHandler(SaveFileHandler handler);

    // The filter of the project file dialogs.
    static QString ProjectFilter() { return QStringLiteral("Muralcrafter Files (*.mcr)"); }

Q_SIGNALS:
    void recentFilesChanged(const QStringList& paths);
    // A remark for the status bar (where a save put the canvas picture).
    void statusMessage(const QString& text);

private:
    bool openFile(const QString& path);
    // Reports why `path` cannot be opened and drops it from the recent list.
    void refuse(const QString& path, const QString& message);
    void addRecent(const QString& path);
    QSize client() const;
    SaveAnswer askSave(const QString& text) const;
    QString askSavePath(const QString& suggested) const;

    CMyDoc* m_pDoc;
    QWidget* m_pWindow;
    std::function<QSize()> m_clientSize;
    mc::document::RecentFileList m_recent;
};
