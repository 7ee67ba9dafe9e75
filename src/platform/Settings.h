#pragma once
// The program's persistent settings (QSettings, organisation "Local
// AppWizard-Generated Applications", application "Muralcrafter"): the
// recent-file list and the client area the canvas was centred in.
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

} // namespace mc::platform
