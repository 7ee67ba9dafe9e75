#include "x11/X11Session.h"

namespace x11test {

QString runOn(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess proc;
    proc.setStandardInputFile(QProcess::nullDevice());
    proc.start(program, args);
    const bool done = proc.waitForFinished(timeoutMs);
    if (!done) {
        proc.kill();
        proc.waitForFinished(5000);
    }
    const bool ok = done && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
    return ok ? QString::fromUtf8(proc.readAllStandardOutput()).trimmed() : QString();
}

QStringList wmState(unsigned long wid)
{
    // "_NET_WM_STATE(ATOM) = _NET_WM_STATE_MAXIMIZED_VERT, ..."
    const QString out = runOn(QStringLiteral("xprop"), {"-id", QString::number(wid), "_NET_WM_STATE"});
    return out.section(u'=', 1).remove(u' ').split(u',', Qt::SkipEmptyParts);
}

Program startProgram(const QStringList& args, const QStringList& env)
{
    Program program(new QProcess, [](QProcess* p) { p->kill(); p->waitForFinished(5000); delete p; });
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment(); // DISPLAY is the test display
    for (const QString& entry : env)
        entry.endsWith(u'=') ? all.remove(entry.chopped(1)) // "NAME=" removes NAME
                             : all.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    program->setProcessEnvironment(all);
    program->setStandardInputFile(QProcess::nullDevice());
    program->start(QStringLiteral(MC_PROGRAM), args);
    return program->waitForStarted(10000) ? program : nullptr;
}

QStringList programWindows(qint64 pid)
{
    // A search can fail outright when a window vanishes while it looks;
    // callers ask again until what they wait for is there.
    return runOn(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(pid)})
        .split(u'\n', Qt::SkipEmptyParts);
}

} // namespace x11test
