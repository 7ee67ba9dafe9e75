#pragma once
// The program's persistent settings (QSettings, organisation "Local
// AppWizard-Generated Applications", application "Muralcrafter"): the
// recent-file list, the client area the canvas was centred in and the
// screen the window last saw.
#include <QSize>
#include <QStringList>

#include <memory>

class QSettings;

namespace mc::platform {

inline constexpr char kSettingsOrganization[] = "Local AppWizard-Generated Applications";
inline constexpr char kSettingsApplication[] = "Muralcrafter";

std::unique_ptr<QSettings> openSettings();

// The size of the client area captured by the last interactive run; an
// invalid size when none (or nothing sensible) was stored.
QSize lastClientSize();
void storeClientSize(QSize size);

// The screen size the window last read from a real display: what a run
// without a display takes as the screen.
QSize lastScreenSize();
void storeScreenSize(QSize size);

} // namespace mc::platform
