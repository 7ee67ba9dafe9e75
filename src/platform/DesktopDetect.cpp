// Which desktop backend serves this session.
#include "platform/DesktopBackend.h"

#include "platform/GSettingsBackend.h"
#include "platform/KeyFileBackend.h"
#include "platform/Process.h"

namespace mc::platform {

namespace {

bool isKnownFamily(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("gnome"), QStringLiteral("cinnamon"), QStringLiteral("mate"),
        QStringLiteral("kde"),   QStringLiteral("xfce"),     QStringLiteral("lxqt"),
        QStringLiteral("sway"),  QStringLiteral("x11"),      QStringLiteral("file"),
    };
    return names.contains(name);
}

} // namespace

bool isGSettingsFamily(const QString& family)
{
    return gsettingsSchemaFor(family).has_value();
}

QString desktopFamilyFromXdg(const QString& xdgCurrentDesktop)
{
    for (const QString& part : xdgCurrentDesktop.split(u':', Qt::SkipEmptyParts)) {
        const QString p = part.trimmed().toLower();
        if (p == u"gnome" || p == u"unity" || p == u"budgie" || p == u"ubuntu")
            return QStringLiteral("gnome");
        if (p == u"x-cinnamon" || p == u"cinnamon")
            return QStringLiteral("cinnamon");
        if (p == u"mate")
            return QStringLiteral("mate");
        if (p == u"kde")
            return QStringLiteral("kde");
        if (p == u"xfce")
            return QStringLiteral("xfce");
        if (p == u"lxqt")
            return QStringLiteral("lxqt");
        if (p == u"sway")
            return QStringLiteral("sway");
    }
    return {};
}

std::unique_ptr<DesktopBackend> createDesktopBackend(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (const auto schema = gsettingsSchemaFor(n))
        return std::make_unique<GSettingsBackend>(*schema);
    // Families without a backend of their own keep their values in the
    // program's key file until they get one.
    if (isKnownFamily(n))
        return std::make_unique<KeyFileBackend>();
    return nullptr;
}

std::unique_ptr<DesktopBackend> detectDesktopBackend()
{
    const QString forced = qEnvironmentVariable("MURALCRAFTER_DESKTOP").trimmed();
    if (!forced.isEmpty()) {
        if (auto backend = createDesktopBackend(forced))
            return backend;
        return std::make_unique<KeyFileBackend>();
    }
    const QString family = desktopFamilyFromXdg(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (!family.isEmpty() && (!isGSettingsFamily(family) || haveProgram(QStringLiteral("gsettings")))) {
        if (auto backend = createDesktopBackend(family))
            return backend;
    }
    return std::make_unique<KeyFileBackend>();
}

} // namespace mc::platform
