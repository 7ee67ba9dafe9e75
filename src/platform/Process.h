#pragma once
// Starting desktop tools. Always an argument list, never a shell line, so
// that paths with quotes, blanks or non-ASCII characters pass unchanged.
#include <QString>
#include <QStringList>

namespace mc::platform {

struct ProcessResult {
    bool started = false;
    int exitCode = -1; // -1 also when the program crashed or timed out
    QString out;       // standard output (UTF-8), trimmed
    QString err;       // standard error (UTF-8), trimmed
    bool ok() const { return started && exitCode == 0; }
};

// Runs `program` with `args` and waits for it (at most `timeoutMs`; a
// program still running then is killed). `extraEnv` holds "NAME=value"
// entries added to (or replacing in) the inherited environment.
ProcessResult runProcess(const QString& program, const QStringList& args, int timeoutMs = 10000,
                         const QStringList& extraEnv = {});

// True when `program` is found on PATH.
bool haveProgram(const QString& program);

} // namespace mc::platform
