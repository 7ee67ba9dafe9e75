#include "x11/X11Session.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QThread>

namespace x11test {

QString runOn(const QString& display, const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    proc.setProcessEnvironment(env);
    proc.setStandardInputFile(QProcess::nullDevice());
    proc.start(program, args);
    if (!proc.waitForStarted(timeoutMs))
        return {};
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

QStringList wmState(const QString& display, unsigned long wid)
{
    // "_NET_WM_STATE(ATOM) = _NET_WM_STATE_MAXIMIZED_VERT, ..."
    const QString out = runOn(display, QStringLiteral("xprop"),
                              {QStringLiteral("-id"), QString::number(wid), QStringLiteral("_NET_WM_STATE")});
    const qsizetype eq = out.indexOf(u'=');
    if (eq < 0)
        return {};
    QStringList atoms = out.mid(eq + 1).split(u',', Qt::SkipEmptyParts);
    for (QString& atom : atoms)
        atom = atom.trimmed();
    return atoms;
}

X11Session::X11Session(const QString& geometry)
{
    m_xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"), geometry});
    if (!m_xvfb.waitForStarted(10000)) {
        m_error = QStringLiteral("Xvfb did not start");
        return;
    }
    // Xvfb writes the display number once it accepts clients.
    while (!m_xvfb.canReadLine() && m_xvfb.state() == QProcess::Running)
        m_xvfb.waitForReadyRead(10000);
    const QByteArray number = m_xvfb.readLine().trimmed();
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb gave no display number");
        return;
    }
    const QString display = QStringLiteral(":") + QString::fromLatin1(number);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    m_openbox.setProcessEnvironment(env);
    m_openbox.setStandardInputFile(QProcess::nullDevice());
    m_openbox.setStandardOutputFile(QProcess::nullDevice());
    m_openbox.setStandardErrorFile(QProcess::nullDevice());
    m_openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_openbox.waitForStarted(10000)) {
        m_error = QStringLiteral("openbox did not start");
        return;
    }
    // The window manager is in charge once it has published its check window.
    const bool managed = waitFor([&] {
        return m_openbox.state() == QProcess::Running &&
               runOn(display, QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                   .contains(QStringLiteral("window id"));
    });
    if (!managed) {
        m_error = QStringLiteral("openbox did not take the screen");
        return;
    }
    m_display = display;
}

X11Session::~X11Session()
{
    stop(m_openbox);
    stop(m_xvfb);
}

void X11Session::stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace x11test
