#pragma once
// One desktop session for a test: a home of its own, an X server with a
// D-Bus session or a headless sway, and every process started for it. When
// the session goes, so does every process it left behind: the test process
// is a child subreaper, so daemons that fork away stay its descendants.
#include "common/TestUtil.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "imaging/Colors.h"
#include "items/Card.h"
#include "platform/XvfbServer.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <vector>

#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace desk {

// mctest::waitFor with a generous bound: desktops start slowly on a busy machine.
inline bool waitFor(const std::function<bool()>& condition, int ms = 90000) { return mctest::waitFor(condition, ms); }

// Every process below the test process, by the children lists in /proc,
// each thread's own.
inline std::vector<pid_t> descendants()
{
    std::vector<pid_t> out, todo{::getpid()};
    while (!todo.empty()) {
        const QString tasks = QStringLiteral("/proc/%1/task/").arg(todo.back());
        todo.pop_back();
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QByteArray& child : mctest::readFile(tasks + task + "/children").split(' '))
                if (const pid_t pid = child.trimmed().toInt(); pid > 0)
                    out.push_back(pid), todo.push_back(pid);
    }
    return out;
}

// Ends every descendant of the test process (terminate, then kill) and
// reaps them. Called with no QProcess alive, so reaping every child here
// takes nothing from Qt.
inline void endDescendants()
{
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

// A project file `dir/name.mcr`: a canvas of one colour and the items,
// the first on top, each a picture with its centre in view coordinates.
struct Item {
    QImage picture;
    QPoint centre;
};
inline QString writeProject(const QString& dir, const QString& name, QSize canvas, QColor background, const QList<Item>& items)
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

struct Run {
    int status = -1; // -1: did not start, crashed or timed out
    QString out, err;
};

class Session {
public:
    // `ownUserNamespace`: when the test runs as root, its processes run in
    // a user namespace of their own, where they are not (sway refuses root).
    explicit Session(bool ownUserNamespace = false)
        : m_ownNamespace(ownUserNamespace && ::geteuid() == 0), m_home(mctest::freshDir())
    {
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
    // The daemons are killed as they go, then whatever they left.
    ~Session() { m_daemons.clear(), m_x.reset(), endDescendants(); }
    Q_DISABLE_COPY(Session)

    // The environment every process of the session gets.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString& home() const { return m_home; }

    // Xvfb of `size` and a dbus-launch session on it (with `xvfb` false,
    // the D-Bus session only).
    bool startX(QSize size, bool xvfb = true)
    {
        if (xvfb) {
            m_x = std::make_unique<XvfbServer>(QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()));
            env.insert("DISPLAY", m_x->display());
        }
        const Run launch = run(QStringLiteral("dbus-launch"), {QStringLiteral("--sh-syntax")});
        const QRegularExpressionMatch m = QRegularExpression("DBUS_SESSION_BUS_ADDRESS='([^']+)'").match(launch.out);
        env.insert("DBUS_SESSION_BUS_ADDRESS", m.captured(1));
        return (!m_x || !m_x->display().isEmpty()) && launch.status == 0 && m.hasMatch();
    }

    // Headless sway with the pixman renderer; `config` is its whole config.
    bool startSway(const QString& config)
    {
        const QString file = mctest::writeFile(m_home + QStringLiteral("/sway.conf"), config.toUtf8());
        for (const auto& [name, value] : {std::pair{"WLR_BACKENDS", "headless"}, {"WLR_RENDERER", "pixman"}, {"WLR_LIBINPUT_NO_DEVICES", "1"}})
            env.insert(name, value);
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

    // Starts a process that lives as long as the session; its output goes
    // to a log file in the home.
    bool start(const QString& program, const QStringList& args, const QString& logName,
               const QProcessEnvironment* envOverride = nullptr)
    {
        auto& p = *m_daemons.emplace_back(std::make_unique<QProcess>());
        prepare(p, envOverride ? *envOverride : env);
        p.setStandardOutputFile(m_home + u'/' + logName + QStringLiteral(".log"));
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        return p.waitForStarted(30000);
    }
    // The end of what process `logName` wrote, for a failure message.
    std::string log(const QString& name) const { return mctest::readFile(m_home + u'/' + name + ".log").right(3000).toStdString(); }
    Run run(const QString& program, const QStringList& args, int timeoutMs = 60000,
            const QProcessEnvironment* envOverride = nullptr) const
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

    // The whole screen: the X root window, or grim's shot of sway's outputs.
    QImage screenshot() const
    {
        const QString file = m_home + QStringLiteral("/shot.png");
        QFile::remove(file);
        const QImage shot = m_x ? m_x->rootWindow() : run(QStringLiteral("grim"), {file}).status == 0 ? QImage(file) : QImage();
        return shot.convertToFormat(QImage::Format_RGB32);
    }

private:
    void prepare(QProcess& p, const QProcessEnvironment& e) const
    {
        p.setProcessEnvironment(e);
        p.setStandardInputFile(QProcess::nullDevice());
        p.setChildProcessModifier([own = m_ownNamespace] {
            // Not root in a user namespace of its own, while the files it
            // touches, the test's, are still its own.
            if (own && ::unshare(CLONE_NEWUSER) != 0)
                ::_exit(127);
            // Gone with the test, should it die before its clean-up.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        });
    }

    bool m_ownNamespace;
    QString m_home;
    std::unique_ptr<XvfbServer> m_x;
    std::vector<std::unique_ptr<QProcess>> m_daemons;
};

} // namespace desk
