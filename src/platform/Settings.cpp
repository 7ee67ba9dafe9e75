#include "platform/Settings.h"

#include <QSettings>

namespace mc::platform {

namespace {
constexpr char kClientSizeKey[] = "View/ClientSize";
constexpr char kScreenSizeKey[] = "View/ScreenSize";

QSize storedSize(const char* key)
{
    const QSize size = openSettings()->value(QString::fromLatin1(key)).toSize();
    // A hand-edited or damaged entry must not give a negative area.
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    return size;
}

void storeSize(const char* key, QSize size)
{
    auto settings = openSettings();
    settings->setValue(QString::fromLatin1(key), size);
    settings->sync();
}
} // namespace

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganization),
                                       QString::fromLatin1(kSettingsApplication));
}

QSize lastClientSize()
{
    return storedSize(kClientSizeKey);
}

void storeClientSize(QSize size)
{
    storeSize(kClientSizeKey, size);
}

QSize lastScreenSize()
{
    return storedSize(kScreenSizeKey);
}

void storeScreenSize(QSize size)
{
    storeSize(kScreenSizeKey, size);
}

} // namespace mc::platform
