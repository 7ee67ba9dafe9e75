#pragma once
// A private X server for one test: Xvfb picks a free display itself and
// writes its number to standard output once it accepts clients. -noreset
// keeps the root window's picture after the last client has gone.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include "common/TestUtil.h"

class XvfbServer {
public:
    explicit XvfbServer(const QString& geometry = QStringLiteral("320x240x24"))
        : m_import(QStandardPaths::findExecutable(QStringLiteral("import")))
    {
        // The helper is found now: a test may narrow PATH later.
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            return;
        m_process.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", geometry});
        if (!m_process.waitForStarted(10000))
            return;
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(10000);
        const QByteArray line = m_process.readLine().trimmed();
        if (!line.isEmpty())
            m_display = QStringLiteral(":") + QString::fromLatin1(line);
    }
    ~XvfbServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(10000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N", empty when the server could not be started.
    const QString& display() const { return m_display; }

    // The root window as the server shows it (ImageMagick's import).
    QImage rootWindow() const
    {
        const QString file = mctest::freshDir() + QStringLiteral("/root.png");
        QProcess import;
        import.start(m_import, {"-display", m_display, "-window", "root", file});
        if (!import.waitForFinished(30000) || import.exitCode() != 0)
            return {};
        return QImage(file);
    }

private:
    QString m_import;
    QProcess m_process;
    QString m_display;
};
