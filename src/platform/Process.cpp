#include "platform/Process.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace mc::platform {

ProcessResult runProcess(const QString& program, const QStringList& args, int timeoutMs,
                         const QStringList& extraEnv)
{
    ProcessResult result;
    QProcess proc;
    if (!extraEnv.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : extraEnv) {
            const qsizetype eq = entry.indexOf(u'=');
            if (eq > 0)
                env.insert(entry.left(eq), entry.mid(eq + 1));
        }
        proc.setProcessEnvironment(env);
    }
    proc.setProgram(program);
    proc.setArguments(args);
    proc.setStandardInputFile(QProcess::nullDevice());
    proc.start();
    if (!proc.waitForStarted(timeoutMs)) {
        result.err = proc.errorString();
        return result;
    }
    result.started = true;
    if (!proc.waitForFinished(timeoutMs)) {
        proc.kill();
        proc.waitForFinished(1000);
        result.err = QStringLiteral("%1 did not finish in time").arg(program);
        return result;
    }
    result.out = QString::fromUtf8(proc.readAllStandardOutput()).trimmed();
    result.err = QString::fromUtf8(proc.readAllStandardError()).trimmed();
    if (proc.exitStatus() == QProcess::NormalExit)
        result.exitCode = proc.exitCode();
    return result;
}

bool haveProgram(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace mc::platform
