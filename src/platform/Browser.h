#pragma once
// Opening a web address in the user's browser, through the desktop's own
// URL handling (QDesktopServices: xdg-open, the portal on sandboxed
// desktops), never through a command line a shell would read.
#include <QUrl>

#include <functional>

namespace mc::platform {

// Hands `url` to the desktop; false when no browser could be started.
bool OpenInBrowser(const QUrl& url);

// Replaces the desktop by `opener` (tests); an empty function restores it.
// Returns the opener installed before.
using UrlOpener = std::function<bool(const QUrl& url)>;
UrlOpener SetUrlOpener(UrlOpener opener);

} // namespace mc::platform
