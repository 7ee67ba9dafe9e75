#pragma once
// The window tests' private X display (Xvfb with openbox on it, started by
// main, which points DISPLAY at it) and helpers to run X clients on it and
// watch the window manager.
#include "common/TestUtil.h"

#include <QProcess>
#include <QStringList>

#include <memory>

namespace x11test {

using mctest::waitFor;

// Runs `program args` on the display; standard output, or empty on failure.
QString runOn(const QString& program, const QStringList& args, int timeoutMs = 20000);

// The window manager's state atoms of window `wid` (_NET_WM_STATE).
QStringList wmState(unsigned long wid);

// The program under test, killed when it goes (a modified project would
// otherwise ask to be saved).
using Program = std::shared_ptr<QProcess>;

// Starts the program with `args` on the display, its environment the
// test's own plus the "NAME=value" entries of `env`; null if it failed.
Program startProgram(const QStringList& args, const QStringList& env);

// The visible windows of process `pid`, oldest first.
QStringList programWindows(qint64 pid);

} // namespace x11test
