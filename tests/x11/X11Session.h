#pragma once
// The window tests' private X display (Xvfb with openbox on it, started by
// main, which points DISPLAY at it) and helpers to run X clients on it and
// watch the window manager.
#include "common/TestUtil.h"

#include <QProcess>
#include <QStringList>

namespace x11test {

using mctest::waitFor;

// Runs `program args` on the display; standard output, or empty on failure.
inline QString runOn(const QString& program, const QStringList& args, int timeoutMs = 20000)
{
    QProcess proc; // none of the clients reads its input
    proc.start(program, args);
    const bool ok = proc.waitForFinished(timeoutMs) && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
    proc.kill(); // when it hangs
    proc.waitForFinished(5000);
    return ok ? QString::fromUtf8(proc.readAllStandardOutput()).trimmed() : QString();
}

// The window manager's state atoms of window `wid` (_NET_WM_STATE):
// "_NET_WM_STATE(ATOM) = _NET_WM_STATE_MAXIMIZED_VERT, ...".
inline QStringList wmState(unsigned long wid)
{
    return runOn(QStringLiteral("xprop"), {"-id", QString::number(wid), "_NET_WM_STATE"}).section(u'=', 1).remove(u' ').split(u',', Qt::SkipEmptyParts);
}

// The program under test, killed when it goes (a modified project would
// otherwise ask to be saved).
using Program = std::shared_ptr<QProcess>;

// Starts the program with `args` on the display, its environment the
// test's own (DISPLAY is the test display) plus the "NAME=value" entries of
// `env`, where "NAME=" removes NAME; null if it failed.
inline Program startProgram(const QStringList& args, const QStringList& env)
{
    Program program(new QProcess, [](QProcess* p) { p->kill(); p->waitForFinished(5000); delete p; });
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env)
        entry.endsWith(u'=') ? all.remove(entry.chopped(1)) : all.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    program->setProcessEnvironment(all);
    program->setStandardInputFile(QProcess::nullDevice());
    program->start(QStringLiteral(MC_PROGRAM), args);
    return program->waitForStarted(10000) ? program : nullptr;
}

// The visible windows of process `pid`, oldest first. A search can fail
// outright when a window vanishes while it looks; callers ask again until
// what they wait for is there.
inline QStringList programWindows(qint64 pid)
{
    return runOn(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(pid)}).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace x11test
