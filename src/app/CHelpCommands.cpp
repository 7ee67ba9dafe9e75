#include "app/CHelpCommands.h"

#include "dialogs/CDlgAbout3.h"
#include "dialogs/CDlgHelp.h"
#include "dialogs/CWebLink.h"
#include "document/CommandIds.h"

#include <QUrl>

CHelpCommands::CHelpCommands(QWidget* window)
    : m_pWindow(window)
{
}

bool CHelpCommands::OnCommand(int id)
{
    switch (id) {
    case ID_HELP_INDEX: {
        CDlgHelp dlg(m_pWindow);
        dlg.exec();
        return true;
    }
    case ID_APP_ABOUT: {
        CDlgAbout3 dlg(m_pWindow);
        dlg.exec();
        return true;
    }
    case ID_VISIT_WEBSITE:
        mc::dialogs::OpenWebLink(QUrl(QString::fromLatin1(kWebsite)), m_pWindow);
        return true;
    default:
        return false;
    }
}

bool CHelpCommands::HandlesCommand(int id) const
{
    return id == ID_HELP_INDEX || id == ID_APP_ABOUT || id == ID_VISIT_WEBSITE;
}
