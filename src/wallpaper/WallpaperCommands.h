#pragma once
// The seven Set Wallpaper commands of the view (IDs 192..194, 231..234).
// They are always enabled. Stretched asks for a screen-sized picture, the
// other layouts for a canvas-sized one. Whatever goes wrong is handed to the
// error callback (the view shows it in a message box).
#include "document/CommandTarget.h"
#include "platform/DesktopBackend.h"
#include "wallpaper/SetWallpaper.h"

#include <QSize>

#include <functional>
#include <memory>

class CMyDoc;

namespace mc::wallpaper {

class WallpaperCommands : public CommandTarget {
public:
    using ClientSizeSource = std::function<QSize()>;
    using ErrorReporter = std::function<void(const QString&)>;
    using BackendFactory = std::function<std::unique_ptr<platform::DesktopBackend>()>;

    // `clientSize` answers the view's captured client area; `backends` the
    // desktop backend of the session (detectDesktopBackend when empty).
    WallpaperCommands(CMyDoc& doc, ClientSizeSource clientSize, ErrorReporter reportError,
                      BackendFactory backends = {});

    bool OnCommand(int id) override;
    bool HandlesCommand(int id) const override;

    // One Set Wallpaper; also reports a failure through the callback.
    SetWallpaperResult SetWallpaper(QSize size, WallpaperLayout layout);

private:
    CMyDoc& m_doc;
    ClientSizeSource m_clientSize;
    ErrorReporter m_reportError;
    BackendFactory m_backends;
};

} // namespace mc::wallpaper
