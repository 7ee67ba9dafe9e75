#include "x11/X11Session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

namespace x11test {

QString g_display;

QString runOn(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), g_display);
    proc.setProcessEnvironment(env);
    proc.setStandardInputFile(QProcess::nullDevice());
    proc.start(program, args);
    if (!proc.waitForFinished(timeoutMs)) {
        proc.kill();
        proc.waitForFinished(5000);
        return {};
    }
    if (proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0)
        return {};
    return QString::fromUtf8(proc.readAllStandardOutput()).trimmed();
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        // Short pauses between checks, not a timing assumption: the result
        // is only the condition itself.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

QStringList wmState(unsigned long wid)
{
    // "_NET_WM_STATE(ATOM) = _NET_WM_STATE_MAXIMIZED_VERT, ..."
    const QString out = runOn(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(wid), QStringLiteral("_NET_WM_STATE")});
    const qsizetype eq = out.indexOf(u'=');
    QStringList atoms = eq < 0 ? QStringList() : out.mid(eq + 1).split(u',', Qt::SkipEmptyParts);
    for (QString& atom : atoms)
        atom = atom.trimmed();
    return atoms;
}

Program startProgram(const QStringList& args, const QStringList& env)
{
    Program program(new QProcess, [](QProcess* p) { p->kill(); p->waitForFinished(5000); delete p; });
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment(); // DISPLAY is the test display
    for (const QString& entry : env) {
        if (entry.endsWith(u'=')) // "NAME=" removes NAME
            all.remove(entry.chopped(1));
        else
            all.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    }
    program->setProcessEnvironment(all);
    program->setStandardInputFile(QProcess::nullDevice());
    program->start(QStringLiteral(MC_PROGRAM), args);
    if (!program->waitForStarted(10000))
        return nullptr;
    return program;
}

QStringList programWindows(qint64 pid)
{
    // A search can fail outright when a window vanishes while it looks;
    // callers ask again until what they wait for is there.
    return runOn(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(pid)})
        .split(u'\n', Qt::SkipEmptyParts);
}

} // namespace x11test
