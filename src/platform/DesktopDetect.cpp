// Which desktop backend serves this session.
#include "platform/DesktopBackend.h"

#include "platform/GSettingsBackend.h"
#include "platform/KdeBackend.h"
#include "platform/KeyFileBackend.h"
#include "platform/LxqtBackend.h"
#include "platform/Process.h"
#include "platform/SwayBackend.h"
#include "platform/X11Backend.h"
#include "platform/XfceBackend.h"

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

// The tools a family's backend needs to install a picture.
bool haveFamilyTools(const QString& family)
{
    if (isGSettingsFamily(family))
        return haveProgram(QStringLiteral("gsettings"));
    if (family == u"kde") {
        for (const char* tool : {"plasma-apply-wallpaperimage", "qdbus6", "qdbus-qt6", "qdbus", "qdbus-qt5", "dbus-send"})
            if (haveProgram(QString::fromLatin1(tool)))
                return true;
        return false;
    }
    if (family == u"xfce")
        return haveProgram(QStringLiteral("xfconf-query"));
    if (family == u"lxqt")
        return haveProgram(QStringLiteral("pcmanfm-qt"));
    if (family == u"sway")
        return haveProgram(QStringLiteral("swaymsg"));
    if (family == u"x11")
        return haveProgram(QStringLiteral("feh")) || haveProgram(QStringLiteral("xwallpaper"));
    return true;
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
    if (n == u"kde")
        return std::make_unique<KdeBackend>();
    if (n == u"xfce")
        return std::make_unique<XfceBackend>();
    if (n == u"lxqt")
        return std::make_unique<LxqtBackend>();
    if (n == u"sway")
        return std::make_unique<SwayBackend>();
    if (n == u"x11")
        return std::make_unique<X11Backend>();
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
        return std::make_unique<KeyFileBackend>(QString(), KeyFileBackend::Role::StandIn);
    }
    const QString family = desktopFamilyFromXdg(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (!family.isEmpty() && haveFamilyTools(family)) {
        if (auto backend = createDesktopBackend(family))
            return backend;
    }
    // No desktop recognised: a bare sway or X11 session still has a root
    // picture to set.
    if (family != u"sway" && !qEnvironmentVariableIsEmpty("SWAYSOCK") && haveFamilyTools(QStringLiteral("sway")))
        return std::make_unique<SwayBackend>();
    if (!qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && haveFamilyTools(QStringLiteral("x11")))
        return std::make_unique<X11Backend>();
    return std::make_unique<KeyFileBackend>(QString(), KeyFileBackend::Role::StandIn);
}

} // namespace mc::platform
