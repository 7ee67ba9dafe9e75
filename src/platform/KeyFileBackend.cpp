#include "platform/KeyFileBackend.h"

#include "platform/DesktopColor.h"
#include "platform/KeyFile.h"

#include <QFileInfo>

namespace mc::platform {

KeyFileBackend::KeyFileBackend(QString path, Role role)
    : m_path(path.isEmpty() ? keyFileBackendPath() : std::move(path)),
      m_role(role)
{
}

DesktopSettings KeyFileBackend::read() const
{
    KeyFile file;
    file.load(m_path); // a missing file reads as empty values
    const QString group = QString::fromLatin1(kGroup);
    auto get = [&](const char* key) { return file.value(group, QString::fromLatin1(key)).value_or(QString()); };

    DesktopSettings s;
    s.wallpaperPath = get(kWallpaperKey);
    s.tileWallpaper = get(kTileKey);
    s.wallpaperStyle = get(kStyleKey);
    s.desktopColor = parseColorText(get(kColorKey)).value_or(kFallbackDesktopColor);
    return s;
}

InstallResult KeyFileBackend::install(const QString& path, const QString& tileWallpaper,
                                      const QString& wallpaperStyle)
{
    KeyFile file;
    if (!file.load(m_path) && QFileInfo::exists(m_path))
        return {false, QStringLiteral("Cannot read %1.").arg(m_path)}; // never overwrite what we cannot read
    const QString group = QString::fromLatin1(kGroup);
    file.setValue(group, QString::fromLatin1(kTileKey), tileWallpaper);
    file.setValue(group, QString::fromLatin1(kStyleKey), wallpaperStyle);
    file.setValue(group, QString::fromLatin1(kWallpaperKey),
                  path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath());
    const QString error = file.save(m_path);
    if (!error.isEmpty())
        return {false, QStringLiteral("Cannot write %1: %2").arg(m_path, error)};
    if (m_role == Role::StandIn)
        return {false, QStringLiteral("No desktop that the program can set the wallpaper of was recognised.")};
    return {true, {}};
}

} // namespace mc::platform
