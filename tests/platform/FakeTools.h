#pragma once
// Stand-ins for desktop tools that are not installed: small shell scripts in
// a fresh folder that becomes the whole PATH. Each records its argument list
// and then runs an optional script body (canned output, exit status).
#include "common/EnvGuard.h"
#include "common/TestUtil.h"
#include "platform/DesktopBackend.h"
#include "platform/DesktopColor.h"

#include <QFile>
#include <QStringList>

// What a backend read, as "path | tile style | #rrggbb".
inline std::string settingsText(const mc::platform::DesktopSettings& s)
{
    return QStringLiteral("%1 | %2 %3 | %4")
        .arg(s.wallpaperPath, s.tileWallpaper, s.wallpaperStyle, mc::platform::formatColorHex(s.desktopColor))
        .toStdString();
}

class FakeTools {
public:
    FakeTools() : m_dir(mctest::freshDir()), m_log(m_dir + "/calls.log") { m_env.set("PATH", m_dir.toUtf8()); }

    // `body` runs after the call is recorded; "$@" are the arguments.
    void add(const QString& name, const QString& body = {}) const
    {
        const QString script = QStringLiteral("#!/bin/sh\n"
                                              "{ printf '%s' '%1'; for a in \"$@\"; do printf '\\037%s' \"$a\"; done;"
                                              " printf '\\036'; } >> '%2'\n%3\n")
                                   .arg(name, m_log, body);
        QFile::setPermissions(mctest::writeFile(m_dir + "/" + name, script.toUtf8()),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Every call so far: the tool's name, then its arguments.
    QList<QStringList> calls() const
    {
        QList<QStringList> out;
        for (const QString& call : QString::fromUtf8(mctest::readFile(m_log)).split(QChar(0x1e), Qt::SkipEmptyParts))
            out << call.split(QChar(0x1f));
        return out;
    }

    const QString& dir() const { return m_dir; }

private:
    EnvGuard m_env;
    QString m_dir;
    QString m_log;
};
