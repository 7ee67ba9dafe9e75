#pragma once
// Starting desktop tools. Always an argument list, never a shell line, so
// that paths with quotes, blanks or non-ASCII characters pass unchanged.
#include <QString>
#include <QStringList>

namespace mc::platform {

struct ProcessResult {
    bool started = false;
    int exitCode = -1;
    QString out; // standard output, trimmed
    QString err; // standard error, trimmed
    bool ok() const { return started && exitCode == 0; }
};

// Runs `program` with `args` and waits for it (at most `timeoutMs`).
ProcessResult runProcess(const QString& program, const QStringList& args, int timeoutMs = 10000);

// True when `program` is found on PATH.
bool haveProgram(const QString& program);

} // namespace mc::platform
