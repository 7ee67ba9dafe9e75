// --set-wallpaper on the real desktops, each started by the test: in every
// placement family, what the desktop then reports with its own tool and,
// where it draws the desktop, its picture on the screen. The program finds
// the desktop as it would in a user's session (XDG_CURRENT_DESKTOP).
#include "desktops/Session.h"
#include "platform/GVariantText.h"

#include <QFileInfo>
#include <QPainter>
#include <QSet>
#include <QSettings>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace desk;

namespace {

const QSize kScreen(640, 480);
const QSize kCanvas(320, 240);
const QString kSizes = QStringLiteral("640x480");
// Where the program keeps its wallpaper file: a folder name that a shell
// line, a config value or a URL written naively would break.
const QString kAwkward = QStringLiteral("/Ann's \"walls\" $HOME `id`; a,b/H\u00e9l\u00e8ne \u58c1\u7eb8");
const QString kXfceFolder = QStringLiteral("/backdrop/screen0/monitorscreen/workspace0/"); // Xvfb's one output

// What a desktop says it shows: the picture's path and its placement,
// "center" or "tile" (else its own word).
struct Shown {
    QString path, mode;
};

struct Desktop {
    // XDG_CURRENT_DESKTOP of its sessions; the log of the process that draws it.
    const char *name, *xdg, *logName;
    // ownNamespace: not root (sway refuses it); draws: a screenshot shows its picture.
    bool ownNamespace, draws;
    QRect covered;   // the desktop's own things over the picture (Plasma's panel)
    bool tilesFromCentre; // the tiles are laid out from a centred one (Plasma), not from the top left
    std::function<bool(Session&)> start;
    std::function<Shown(const Session&)> shown;
};

QString gsettings(const Session& s, const QString& schema, const QString& key)
{
    const QString out = s.run("gsettings", {"get", schema, key}).out;
    return mc::platform::parseGVariantString(out).value_or("unreadable: " + out);
}

// One call of a D-Bus method with string arguments; its string answer.
QString dbusString(const Session& s, const QString& dest, const QString& path, const QString& method, const QString& arg)
{
    const Run r = s.run("dbus-send", {"--session", "--print-reply", "--dest=" + dest, path, method, "string:" + arg});
    return r.status == 0 ? r.out.section(u'"', 1, -2) : QString();
}

QString plasmaScript(const Session& s, const QString& script)
{
    return dbusString(s, "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", script);
}

Shown gsettingsShown(const Session& s, const QString& schema, const QString& pictureKey)
{
    const QString options = gsettings(s, schema, "picture-options");
    QString picture = gsettings(s, schema, pictureKey);
    // GNOME shows the dark one in dark mode: both must be the picture.
    if (schema.contains(u"gnome") && gsettings(s, schema, "picture-uri-dark") != picture)
        return {picture, QStringLiteral("a different dark picture")};
    if (pictureKey == u"picture-uri")
        picture = QUrl(picture).toLocalFile();
    return {picture, options == u"centered" ? QStringLiteral("center") : options == u"wallpaper" ? QStringLiteral("tile") : options};
}

// The live swaybg that sway started: "-o OUTPUT -i PATH -m MODE".
Shown swaybgShown()
{
    QList<Shown> found;
    for (const pid_t pid : descendants()) {
        const QList<QByteArray> args = mctest::readFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).split('\0');
        if (QFileInfo(QString::fromLocal8Bit(args[0])).fileName() == u"swaybg"
            && !mctest::readFile(QStringLiteral("/proc/%1/stat").arg(pid)).contains(") Z "))
            found << Shown{QString::fromLocal8Bit(args.value(args.indexOf("-i") + 1)),
                           QString::fromLocal8Bit(args.value(args.indexOf("-m") + 1))};
    }
    return found.size() == 1 ? found.first() : Shown{{}, QStringLiteral("%1 swaybg running").arg(found.size())};
}

const Desktop kDesktops[] = {
    {"KDE Plasma", "KDE", "plasmashell", false, true, QRect(0, kScreen.height() - 64, kScreen.width(), 64), true,
     [](Session& s) {
         return s.startX(kScreen) && s.start("plasmashell", {"--no-respawn"}, "plasmashell")
             && waitFor([&] { return plasmaScript(s, "print(desktops().length)").toInt() > 0; });
     },
     [](const Session& s) {
         const QStringList lines = plasmaScript(s, "var d = desktops()[0];"
                                                   "d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
                                                   "print(d.wallpaperPlugin + '\\n' + d.readConfig('Image') + '\\n'"
                                                   " + d.readConfig('FillMode'));")
                                       .split(u'\n');
         if (lines.size() != 3 || lines[0] != u"org.kde.image")
             return Shown{{}, lines.join(u' ')};
         const int fill = lines[2].toInt();
         return Shown{QUrl(lines[1]).toLocalFile(),
                      fill == 6 ? QStringLiteral("center") : fill == 3 ? QStringLiteral("tile") : lines[2]};
     }},
    {"Xfce", "XFCE", "xfdesktop", false, true, {}, false,
     [](Session& s) {
         // No icons over the picture: a choice of the user's, made before it starts.
         return s.startX(kScreen)
             && s.run("xfconf-query", {"-c", "xfce4-desktop", "-p", "/desktop-icons/style", "-n", "-t", "int", "-s", "0"}).status == 0
             && s.start("xfdesktop", {"--sm-client-disable", "--disable-wm-check"}, "xfdesktop")
             && waitFor([&] { return s.run("xfconf-query", {"-c", "xfce4-desktop", "-p", kXfceFolder + "last-image"}).status == 0; });
     },
     [](const Session& s) {
         const QString style = s.run("xfconf-query", {"-c", "xfce4-desktop", "-p", kXfceFolder + "image-style"}).out;
         return Shown{s.run("xfconf-query", {"-c", "xfce4-desktop", "-p", kXfceFolder + "last-image"}).out,
                      style == u"1" ? QStringLiteral("center") : style == u"2" ? QStringLiteral("tile") : style};
     }},
    {"LXQt", "LXQt", "pcmanfm-qt", false, true, {}, false,
     [](Session& s) {
         return s.startX(kScreen) && s.start("pcmanfm-qt", {"--desktop", "--profile=lxqt"}, "pcmanfm-qt")
             && waitFor([&] {
                    return !dbusString(s, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.GetNameOwner",
                                       "org.pcmanfm.PCManFM").isEmpty();
                });
     },
     [](const Session& s) {
         // pcmanfm-qt's own record, what it shows after the next login.
         QSettings file(s.home() + "/.config/pcmanfm-qt/lxqt/settings.conf", QSettings::IniFormat);
         return Shown{file.value("Desktop/Wallpaper").toString(), file.value("Desktop/WallpaperMode").toString()};
     }},
    {"sway", "sway", "sway", true, true, {}, false,
     [](Session& s) {
         return s.startSway(QStringLiteral("xwayland disable\noutput HEADLESS-1 resolution %1\n").arg(kSizes));
     },
     [](const Session&) { return swaybgShown(); }},
    {"GNOME", "GNOME", "", false, false, {}, false, [](Session& s) { return s.startX(kScreen, false); },
     [](const Session& s) { return gsettingsShown(s, "org.gnome.desktop.background", "picture-uri"); }},
    {"Cinnamon", "X-Cinnamon", "", false, false, {}, false, [](Session& s) { return s.startX(kScreen, false); },
     [](const Session& s) { return gsettingsShown(s, "org.cinnamon.desktop.background", "picture-uri"); }},
    {"MATE", "MATE", "", false, false, {}, false, [](Session& s) { return s.startX(kScreen, false); },
     [](const Session& s) { return gsettingsShown(s, "org.mate.background", "picture-filename"); }},
};

// Where the screen differs from `picture` laid out as desktop `d` lays it
// out, centred or tiled; empty when it matches.
QString compareScreen(const QImage& screen, const QImage& picture, bool tiled, const Desktop& d)
{
    if (screen.size() != kScreen || picture.isNull())
        return QStringLiteral("no screenshot or no picture");
    const QPoint offset = tiled && !d.tilesFromCentre
        ? QPoint()
        : QPoint((screen.width() - picture.width()) / 2, (screen.height() - picture.height()) / 2);
    const auto wrap = [](int v, int size) { return (v % size + size) % size; };
    int compared = 0;
    QSet<QRgb> colours;
    for (int y = 3; y < screen.height(); y += 7) {
        for (int x = 3; x < screen.width(); x += 7) {
            QPoint p = QPoint(x, y) - offset;
            if (tiled)
                p = QPoint(wrap(p.x(), picture.width()), wrap(p.y(), picture.height()));
            if (d.covered.contains(x, y) || !picture.rect().contains(p))
                continue;
            const QRgb want = picture.pixel(p), got = screen.pixel(x, y);
            if (std::max({std::abs(qRed(want) - qRed(got)), std::abs(qGreen(want) - qGreen(got)), std::abs(qBlue(want) - qBlue(got))}) > 4)
                return QStringLiteral("at %1,%2 the screen shows %3 where the picture has %4")
                    .arg(x).arg(y).arg(QColor(got).name(), QColor(want).name());
            ++compared;
            colours.insert(want);
        }
    }
    return compared > 1000 && colours.size() >= 3 ? QString() : QStringLiteral("too little of the picture compared");
}

void PrintTo(const Desktop& d, std::ostream* os) { *os << d.name; }

class SetWallpaperOn : public ::testing::TestWithParam<Desktop> {};

} // namespace

TEST_P(SetWallpaperOn, EachPlacementAndTheNextPicture)
{
    const Desktop& d = GetParam();
    Session s(d.ownNamespace);
    s.env.insert("XDG_CURRENT_DESKTOP", d.xdg);
    ASSERT_TRUE(d.start(s)) << d.name << " did not start:\n" << s.log(QString::fromLatin1(d.logName));

    // The program's data folder, with the wallpaper file in it, is the awkward one.
    QProcessEnvironment env = s.env;
    env.insert("XDG_DATA_HOME", s.home() + kAwkward);
    ASSERT_TRUE(QDir().mkpath(s.home() + kAwkward));

    // An item of two colours off the canvas centre: a picture shifted,
    // mirrored or scaled on the way does not match. The second project
    // differs in every colour.
    QImage item(96, 64, QImage::Format_ARGB32);
    item.fill(QColor(230, 60, 20));
    QPainter(&item).fillRect(48, 0, 48, 64, QColor(30, 200, 60));
    const QString first = writeProject(s.home(), "first", kCanvas, QColor(37, 118, 201), {{item, {380, 200}}});
    item.invertPixels(QImage::InvertRgb);
    const QString second = writeProject(s.home(), "second", kCanvas, QColor(240, 200, 40), {{item, {260, 310}}});
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());

    const std::pair<const char*, const QString&> steps[] = {
        {"centered", first}, {"tiled", first}, {"stretched", first}, {"left", first}, {"left", second}};
    QString previous;
    for (const auto& [layout, project] : steps) {
        SCOPED_TRACE(std::string(d.name) + ", " + layout + ", " + QFileInfo(project).fileName().toStdString());
        const auto r = s.run(MC_PROGRAM, {"--set-wallpaper", layout, project, "--screen", kSizes, "--client", kSizes}, 60000, &env);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QString path = r.out;
        ASSERT_TRUE(path.startsWith(s.home() + kAwkward)) << path.toStdString();
        // A new name each time: what makes a desktop load the file again.
        EXPECT_NE(path, std::exchange(previous, path));
        const QImage picture = QImage(path).convertToFormat(QImage::Format_RGB32);
        const bool tiled = layout == std::string("tiled");
        Shown shown;
        QString screen;
        QImage shot;
        const bool ok = waitFor([&] {
            shown = d.shown(s);
            if (shown.path != path || shown.mode != (tiled ? u"tile" : u"center"))
                return false;
            if (d.draws)
                screen = compareScreen(shot = s.screenshot(), picture, tiled, d);
            return screen.isEmpty();
        });
        if (!ok && !shot.isNull())
            shot.save(QStringLiteral(MC_SHOT_DIR "/desktop-%1-%2.png").arg(d.xdg, layout));
        ASSERT_TRUE(ok) << d.name << " reports " << shown.path.toStdString() << " (" << shown.mode.toStdString()
                        << ") for " << path.toStdString() << "; " << screen.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, SetWallpaperOn, ::testing::ValuesIn(kDesktops),
                         [](const auto& info) { return QString::fromLatin1(info.param.name).remove(u' ').toStdString(); });
