#pragma once
// A private X server for one test: Xvfb picks a free display itself and
// writes its number to standard output once it accepts clients. -noreset
// keeps the root window's picture after the last client has gone.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include "common/TestUtil.h"

class XvfbServer {
public:
    explicit XvfbServer(const QString& geometry = QStringLiteral("320x240x24"))
        : m_import(QStandardPaths::findExecutable(QStringLiteral("import")))
    {
        // The helper is found now: a test may narrow PATH later.
        m_process.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", geometry});
        m_process.waitForStarted(10000);
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(10000);
        if (const QByteArray line = m_process.readLine().trimmed(); !line.isEmpty())
            m_display = u':' + QString::fromLatin1(line);
    }
    ~XvfbServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    Q_DISABLE_COPY(XvfbServer)

    // ":N", empty when the server could not be started.
    const QString& display() const { return m_display; }

    // The root window as the server shows it (ImageMagick's import).
    QImage rootWindow() const
    {
        const QString file = mctest::freshDir() + QStringLiteral("/root.png");
        return QProcess::execute(m_import, {"-display", m_display, "-window", "root", file}) == 0 ? QImage(file) : QImage();
    }

private:
    QString m_import;
    QProcess m_process;
    QString m_display;
};
