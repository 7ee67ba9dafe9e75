#include "wallpaper/WallpaperCommands.h"

#include "document/CMyDoc.h"
#include "platform/Screen.h"

namespace mc::wallpaper {

WallpaperCommands::WallpaperCommands(CMyDoc& doc, ClientSizeSource clientSize, ErrorReporter reportError,
                                     BackendFactory backends)
    : m_doc(doc), m_clientSize(std::move(clientSize)), m_reportError(std::move(reportError)),
      m_backends(backends ? std::move(backends) : BackendFactory(&platform::detectDesktopBackend))
{
}

bool WallpaperCommands::HandlesCommand(int id) const { return LayoutForCommand(id).has_value(); }

bool WallpaperCommands::OnCommand(int id)
{
    const auto layout = LayoutForCommand(id);
    if (!layout)
        return false;
    SetWallpaper(RequestedWallpaperSize(*layout, platform::screenSize(),
                                        QSize(m_doc.m_nCanvasWidth, m_doc.m_nCanvasHeight)),
                 *layout);
    return true;
}

SetWallpaperResult WallpaperCommands::SetWallpaper(QSize size, WallpaperLayout layout)
{
    SetWallpaperResult result;
    const std::unique_ptr<platform::DesktopBackend> backend = m_backends();
    if (!backend) {
        result.error = QStringLiteral("No way to set the desktop wallpaper was found.");
    } else {
        const QSize client = m_clientSize ? m_clientSize() : QSize();
        result = mc::wallpaper::SetWallpaper(m_doc, *backend, platform::screenSize(), client,
                                             platform::dataDirectory(), size, layout);
    }
    if (!result.ok && m_reportError)
        m_reportError(result.error);
    return result;
}

} // namespace mc::wallpaper
