#pragma once
// Opening a web or mail address from the program: through the desktop's
// browser, and when that fails the user is told instead of nothing
// happening.
#include <QUrl>

class QWidget;

namespace mc::dialogs {

// Opens `url`; on failure a message names the address. False then.
bool OpenWebLink(const QUrl& url, QWidget* parent = nullptr);

} // namespace mc::dialogs
