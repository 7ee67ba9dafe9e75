#pragma once
// One desktop session for a test: a home of its own, an X server with a
// D-Bus session or a headless sway, and every process started for it. When
// the session goes, so does every process it left behind: the test process
// is a child subreaper, so daemons that fork away stay its descendants.
#include "common/TestUtil.h"
#include "platform/XvfbServer.h"

#include <QList>
#include <QPoint>
#include <QProcess>

#include <memory>
#include <vector>

#include <sys/types.h>

namespace desk {

// mctest::waitFor with a generous bound: desktops start slowly on a busy machine.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 90000)
{
    return mctest::waitFor(condition, timeoutMs);
}

// Every process below the test process.
std::vector<pid_t> descendants();

// Ends every descendant of the test process (terminate, then kill) and
// reaps them.
void endDescendants();

// A project file `dir/name.mcr`: a canvas of one colour and the items,
// the first on top, each a picture with its centre in view coordinates.
struct Item {
    QImage picture;
    QPoint centre;
};
QString writeProject(const QString& dir, const QString& name, QSize canvas, QColor background, const QList<Item>& items);

struct Run {
    int status = -1; // -1: did not start, crashed or timed out
    QString out, err;
};

class Session {
public:
    // `ownUserNamespace`: when the test runs as root, its processes run in
    // a user namespace of their own, where they are not (sway refuses root).
    explicit Session(bool ownUserNamespace = false);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The environment every process of the session gets.
    QProcessEnvironment env;
    const QString& home() const { return m_home; }

    // Xvfb of `size` and a dbus-launch session on it (with `xvfb` false,
    // the D-Bus session only).
    bool startX(QSize size, bool xvfb = true);
    // Headless sway with the pixman renderer; `config` is its whole config.
    bool startSway(const QString& config);

    // Starts a process that lives as long as the session; its output goes
    // to a log file in the home.
    bool start(const QString& program, const QStringList& args, const QString& logName,
               const QProcessEnvironment* envOverride = nullptr);
    // The end of what process `logName` wrote, for a failure message.
    std::string log(const QString& logName) const;
    Run run(const QString& program, const QStringList& args, int timeoutMs = 60000,
            const QProcessEnvironment* envOverride = nullptr) const;

    // The whole screen: the X root window, or grim's shot of sway's outputs.
    QImage screenshot() const;

private:
    void prepare(QProcess& p, const QProcessEnvironment& e) const;

    bool m_ownNamespace;
    QString m_home;
    std::unique_ptr<XvfbServer> m_x;
    std::vector<std::unique_ptr<QProcess>> m_daemons;
};

} // namespace desk
