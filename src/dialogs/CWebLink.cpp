#include "dialogs/CWebLink.h"

#include "dialogs/CMessageBox.h"
#include "platform/Browser.h"

namespace mc::dialogs {

bool OpenWebLink(const QUrl& url, QWidget* parent)
{
    if (mc::platform::OpenInBrowser(url))
        return true;
    const QString address = url.scheme() == u"mailto" ? url.path() : url.toDisplayString();
    ShowMessage(QStringLiteral("%1 could not be opened: this desktop has no program set up to open it.").arg(address),
                parent);
    return false;
}

} // namespace mc::dialogs
