#include "platform/Settings.h"

#include <QSettings>

namespace mc::platform {

namespace {
constexpr char kClientSizeKey[] = "View/ClientSize";
}

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganization),
                                       QString::fromLatin1(kSettingsApplication));
}

QSize lastClientSize()
{
    const QVariant value = openSettings()->value(QString::fromLatin1(kClientSizeKey));
    const QSize size = value.toSize();
    // A hand-edited or damaged entry must not give the view a negative area.
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    return size;
}

void storeClientSize(QSize size)
{
    auto settings = openSettings();
    settings->setValue(QString::fromLatin1(kClientSizeKey), size);
    settings->sync();
}

} // namespace mc::platform
