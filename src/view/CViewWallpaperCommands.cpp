#include "view/CViewWallpaperCommands.h"

#include "dialogs/CMessageBox.h"
#include "view/CMyView.h"

CViewWallpaperCommands::CViewWallpaperCommands(CMyView* view)
    : QObject(view),
      m_commands(*view->GetDocument(), [view] { return view->ClientSize(); },
                 [view](const QString& text) { mc::dialogs::ShowMessage(text, view); })
{
    view->AddCommandTarget(&m_commands);
}
