#include "desktops/Session.h"

#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "imaging/Colors.h"
#include "items/Card.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <csignal>

#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace desk {

// By the children lists in /proc, each thread's own.
std::vector<pid_t> descendants()
{
    std::vector<pid_t> out, todo{::getpid()};
    while (!todo.empty()) {
        const QString tasks = QStringLiteral("/proc/%1/task/").arg(todo.back());
        todo.pop_back();
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QByteArray& child : mctest::readFile(tasks + task + "/children").split(' '))
                if (const pid_t pid = child.trimmed().toInt(); pid > 0) {
                    out.push_back(pid);
                    todo.push_back(pid);
                }
    }
    return out;
}

QString writeProject(const QString& dir, const QString& name, QSize canvas, QColor background, const QList<Item>& items)
{
    const auto doc = mctest::canvasDoc(canvas.width(), canvas.height(), mc::argbToColorref(background.rgb()));
    for (qsizetype i = items.size() - 1; i >= 0; --i) {
        auto card = Card::CreateFromFile(mctest::writeImage(dir, QStringLiteral("%1-%2.png").arg(name).arg(i), items[i].picture));
        card->m_ptCenter = items[i].centre;
        card->UpdateRegion();
        doc->m_listCards.AddHead(std::move(card));
    }
    const QString path = dir + u'/' + name + QStringLiteral(".mcr");
    return mc::document::WriteProjectFile(*doc, path).ok ? path : QString();
}

void endDescendants()
{
    // Called with no QProcess alive, so reaping every child here takes
    // nothing from Qt.
    for (const int signal : {SIGTERM, SIGKILL}) {
        for (const pid_t pid : descendants())
            ::kill(pid, signal);
        if (waitFor([] {
                while (::waitpid(-1, nullptr, WNOHANG) > 0) {
                }
                return descendants().empty();
            }, 15000))
            return;
    }
}

Session::Session(bool ownUserNamespace)
    : m_ownNamespace(ownUserNamespace && ::geteuid() == 0), m_home(mctest::freshDir())
{
    env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SWAYSOCK", "GSETTINGS_BACKEND",
                             "MURALCRAFTER_DESKTOP", "MURALCRAFTER_SCREEN", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                             "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION"})
        env.remove(QString::fromLatin1(name));
    for (const auto& [name, sub] : {std::pair{"HOME", ""}, {"XDG_CONFIG_HOME", "/.config"}, {"XDG_DATA_HOME", "/.local/share"},
                                    {"XDG_CACHE_HOME", "/.cache"}, {"XDG_RUNTIME_DIR", "/runtime"}}) {
        QDir().mkpath(m_home + QLatin1String(sub));
        env.insert(QLatin1String(name), m_home + QLatin1String(sub));
    }
}

Session::~Session()
{
    m_daemons.clear(); // each killed as it goes
    m_x.reset();
    endDescendants();
}

void Session::prepare(QProcess& p, const QProcessEnvironment& e) const
{
    p.setProcessEnvironment(e);
    p.setStandardInputFile(QProcess::nullDevice());
    const bool own = m_ownNamespace;
    p.setChildProcessModifier([=] {
        // Not root in a user namespace of its own, while the files it
        // touches, the test's, are still its own.
        if (own && ::unshare(CLONE_NEWUSER) != 0)
            ::_exit(127);
        // Gone with the test, should it die before its clean-up.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

bool Session::start(const QString& program, const QStringList& args, const QString& logName,
                    const QProcessEnvironment* envOverride)
{
    auto p = std::make_unique<QProcess>();
    prepare(*p, envOverride ? *envOverride : env);
    p->setStandardOutputFile(m_home + u'/' + logName + QStringLiteral(".log"));
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(program, args);
    const bool ok = p->waitForStarted(30000);
    m_daemons.push_back(std::move(p));
    return ok;
}

std::string Session::log(const QString& logName) const
{
    return mctest::readFile(m_home + u'/' + logName + QStringLiteral(".log")).right(3000).toStdString();
}

Run Session::run(const QString& program, const QStringList& args, int timeoutMs,
                 const QProcessEnvironment* envOverride) const
{
    QProcess p;
    prepare(p, envOverride ? *envOverride : env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) { // or never started
        p.kill();
        p.waitForFinished(5000);
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

bool Session::startX(QSize size, bool xvfb)
{
    if (xvfb) {
        m_x = std::make_unique<XvfbServer>(QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()));
        if (m_x->display().isEmpty())
            return false;
        env.insert("DISPLAY", m_x->display());
    }
    const Run launch = run(QStringLiteral("dbus-launch"), {QStringLiteral("--sh-syntax")});
    static const QRegularExpression address(QStringLiteral("DBUS_SESSION_BUS_ADDRESS='([^']+)'"));
    const QRegularExpressionMatch m = address.match(launch.out);
    if (launch.status != 0 || !m.hasMatch())
        return false;
    env.insert("DBUS_SESSION_BUS_ADDRESS", m.captured(1));
    return true;
}

bool Session::startSway(const QString& config)
{
    const QString file = mctest::writeFile(m_home + QStringLiteral("/sway.conf"), config.toUtf8());
    env.insert("WLR_BACKENDS", "headless");
    env.insert("WLR_RENDERER", "pixman");
    env.insert("WLR_LIBINPUT_NO_DEVICES", "1");
    if (!start(QStringLiteral("sway"), {QStringLiteral("-c"), file}, QStringLiteral("sway")))
        return false;
    // Ready once both of its sockets are there and it answers.
    const QDir runtime(m_home + QStringLiteral("/runtime"));
    return waitFor([&] {
        const QStringList ipc = runtime.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        const QStringList wayland = runtime.entryList({QStringLiteral("wayland-*")}, QDir::System);
        if (ipc.isEmpty() || wayland.isEmpty() || m_daemons.back()->state() != QProcess::Running)
            return false;
        env.insert("SWAYSOCK", runtime.filePath(ipc.first()));
        env.insert("WAYLAND_DISPLAY", wayland.first());
        return run(QStringLiteral("swaymsg"), {"-t", "get_outputs"}).out.contains(QStringLiteral("HEADLESS-1"));
    });
}

QImage Session::screenshot() const
{
    if (m_x)
        return m_x->rootWindow().convertToFormat(QImage::Format_RGB32);
    const QString file = m_home + QStringLiteral("/shot.png");
    QFile::remove(file);
    return run(QStringLiteral("grim"), {file}).status == 0 ? QImage(file).convertToFormat(QImage::Format_RGB32) : QImage();
}

} // namespace desk
