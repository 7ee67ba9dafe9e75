#pragma once
// A private X display with a window manager for the window tests: Xvfb on a
// display number it picks itself, and openbox on it (without a window
// manager, maximise and full screen requests go unanswered). Both are ended
// when the session goes.
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace x11test {

// The display of this test run, ":N" (set by main before any test runs).
extern QString g_display;

// Runs `program args` on `display`; standard output, or empty on failure.
QString runOn(const QString& display, const QString& program, const QStringList& args, int timeoutMs = 20000);

// Polls `condition` (letting Qt handle its events in between) until it
// holds or `timeoutMs` has passed; answers the last result.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

// The window manager's state atoms of window `wid` (_NET_WM_STATE).
QStringList wmState(const QString& display, unsigned long wid);

class X11Session {
public:
    explicit X11Session(const QString& geometry);
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // ":N" once Xvfb accepts clients and openbox manages the screen; empty
    // when either could not be started (error() says why).
    const QString& display() const { return m_display; }
    const QString& error() const { return m_error; }

private:
    void stop(QProcess& process);

    QProcess m_xvfb;
    QProcess m_openbox;
    QString m_display;
    QString m_error;
};

} // namespace x11test
