#include "app/CFileCommands.h"

#include "dialogs/CMessageBox.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "document/ProjectReader.h"
#include "platform/RegularFile.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "canvas/ProjectSave.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

CFileCommands::SaveQuestionHandler& saveQuestionHandler()
{
    static CFileCommands::SaveQuestionHandler handler;
    return handler;
}

CFileCommands::SaveFileHandler& saveFileHandler()
{
    static CFileCommands::SaveFileHandler handler;
    return handler;
}

int recentIndex(int id) { return id - ID_FILE_MRU_FILE1; }

bool isRecentCommand(int id)
{
    return id >= ID_FILE_MRU_FILE1 && recentIndex(id) < mc::document::RecentFileList::kMaxEntries;
}

} // namespace

CFileCommands::CFileCommands(CMyDoc* doc, QWidget* window, std::function<QSize()> clientSize, QObject* parent)
    : QObject(parent), m_pDoc(doc), m_pWindow(window), m_clientSize(std::move(clientSize))
{
}

CFileCommands::SaveQuestionHandler CFileCommands::SetSaveQuestionHandler(SaveQuestionHandler handler)
{
    return std::exchange(saveQuestionHandler(), std::move(handler));
}

CFileCommands::SaveFileHandler CFileCommands::SetSaveFileHandler(SaveFileHandler handler)
{
    return std::exchange(saveFileHandler(), std::move(handler));
}

bool CFileCommands::HandlesCommand(int id) const
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        return true;
    default:
        return isRecentCommand(id) && recentIndex(id) < m_recent.Paths().size();
    }
}

bool CFileCommands::OnCommand(int id)
{
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        return true;
    case ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case ID_FILE_SAVE:
        OnFileSave();
        return true;
    case ID_FILE_SAVE_AS:
        OnFileSaveAs();
        return true;
    default:
        break;
    }
    if (!HandlesCommand(id))
        return false;
    // A copy: opening may change the list the entry lives in.
    const QString path = m_recent.Paths().at(recentIndex(id));
    OpenDocumentFile(path);
    return true;
}

bool CFileCommands::OnUpdateCommand(int id, CommandState& state)
{
    if (!isRecentCommand(id))
        return false;
    state.enabled = recentIndex(id) < m_recent.Paths().size();
    return true;
}

bool CFileCommands::OnFileNew()
{
    if (!SaveModified())
        return false;
    return m_pDoc->OnNewDocument();
}

bool CFileCommands::OnFileOpen()
{
    const QString path = mc::dialogs::AskOpenFileName(m_pWindow, ProjectFilter() + QStringLiteral("|*.mcr||"));
    if (path.isEmpty())
        return false;
    return OpenDocumentFile(path);
}

bool CFileCommands::OnFileSave()
{
    return DoSave(m_pDoc->GetPathName());
}

bool CFileCommands::OnFileSaveAs()
{
    return DoSave(QString());
}

bool CFileCommands::OpenDocumentFile(const QString& path)
{
    // A file that cannot be a project (missing, a pipe, a device, a folder)
    // is refused before the save question: nothing would replace the project.
    QString message;
    if (!mc::platform::CheckRegularFile(path, &message)) {
        refuse(path, message);
        return false;
    }
    if (!SaveModified())
        return false;
    return openFile(path);
}

bool CFileCommands::OpenAtStartup(const QString& path)
{
    return openFile(path);
}

bool CFileCommands::openFile(const QString& path)
{
    QString message;
    if (!mc::document::OpenProject(*m_pDoc, path, mc::platform::screenSize(), &message)) {
        refuse(path, message);
        return false;
    }
    addRecent(path);
    // Pictures that could not be loaded are named once, after opening.
    if (!message.isEmpty())
        mc::dialogs::ShowMessage(message, m_pWindow);
    return true;
}

void CFileCommands::refuse(const QString& path, const QString& message)
{
    mc::dialogs::ShowMessage(message, m_pWindow);
    // A listed file that cannot be read any more leaves the list.
    if (m_recent.Paths().contains(QFileInfo(path).absoluteFilePath())) {
        m_recent.Remove(path);
        Q_EMIT recentFilesChanged(m_recent.Paths());
    }
}

bool CFileCommands::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString current = m_pDoc->GetPathName();
        const QString suggested = !current.isEmpty()
            ? current
            : QDir::current().filePath(m_pDoc->GetTitle() + QStringLiteral(".mcr"));
        target = askSavePath(suggested);
        if (target.isEmpty())
            return false;
        // The dialog's default extension.
        if (QFileInfo(target).suffix().isEmpty())
            target += QStringLiteral(".mcr");
    }
    const mc::canvas::SaveResult saved = mc::canvas::SaveProject(*m_pDoc, target, client());
    if (!saved.ok) {
        mc::dialogs::ShowMessage(saved.message, m_pWindow);
        return false;
    }
    if (!saved.notice.isEmpty())
        Q_EMIT statusMessage(saved.notice);
    addRecent(target);
    return true;
}

bool CFileCommands::SaveModified()
{
    if (!m_pDoc->IsModified())
        return true;
    const QString name = m_pDoc->GetPathName().isEmpty() ? m_pDoc->GetTitle() : m_pDoc->GetPathName();
    switch (askSave(QStringLiteral("Save changes to %1?").arg(name))) {
    case SaveAnswer::Save:
        return OnFileSave();
    case SaveAnswer::DontSave:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

QString CFileCommands::WindowTitle(const CMyDoc& doc)
{
    return doc.GetTitle() + QStringLiteral("[*] - Muralcrafter");
}

void CFileCommands::addRecent(const QString& path)
{
    m_recent.Add(path);
    Q_EMIT recentFilesChanged(m_recent.Paths());
}

QSize CFileCommands::client() const
{
    QSize size = m_clientSize ? m_clientSize() : QSize();
    if (!size.isValid())
        size = mc::platform::lastClientSize();
    if (!size.isValid())
        size = mc::platform::screenSize();
    return size;
}

CFileCommands::SaveAnswer CFileCommands::askSave(const QString& text) const
{
    if (saveQuestionHandler())
        return saveQuestionHandler()(text);
    const auto answer = QMessageBox::question(m_pWindow, QStringLiteral("Muralcrafter"), text,
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return SaveAnswer::Save;
    if (answer == QMessageBox::Discard)
        return SaveAnswer::DontSave;
    return SaveAnswer::Cancel;
}

QString CFileCommands::askSavePath(const QString& suggested) const
{
    if (saveFileHandler())
        return saveFileHandler()(suggested);
    return QFileDialog::getSaveFileName(m_pWindow, QStringLiteral("Save As"), suggested, ProjectFilter());
}
