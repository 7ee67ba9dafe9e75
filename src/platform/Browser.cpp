#include "platform/Browser.h"

#include <QDesktopServices>

namespace mc::platform {

namespace {
UrlOpener& openerSlot()
{
    static UrlOpener opener;
    return opener;
}
} // namespace

bool OpenInBrowser(const QUrl& url)
{
    if (const UrlOpener& opener = openerSlot())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

UrlOpener SetUrlOpener(UrlOpener opener)
{
    UrlOpener previous = std::move(openerSlot());
    openerSlot() = std::move(opener);
    return previous;
}

} // namespace mc::platform
