#include "platform/FileTypeRegistration.h"

#include "platform/AtomicFile.h"
#include "platform/Process.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace mc::platform {

namespace {

const QString kMimeType = QStringLiteral("application/x-muralcrafter");
const QString kMimeFile = QStringLiteral("muralcrafter.xml");
const QString kDesktopFile = QStringLiteral("muralcrafter.desktop");
const QString kIconName = QStringLiteral("muralcrafter");
// Larger than any file of ours: a bigger one there is simply different.
constexpr qint64 kMaxCompared = 4 * 1024 * 1024;
// The database tools scan only the user's folders; generous all the same.
constexpr int kToolTimeoutMs = 30000;

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kMaxCompared + 1);
}

enum class WriteOutcome { Unchanged, Written, Failed };

// Writes `content` to `path` unless the file already holds exactly that.
// Whole or not at all: an interrupted write never leaves a half file behind.
WriteOutcome writeIfDifferent(const QString& path, const QByteArray& content)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() == content.size() && readSmallFile(path) == content)
        return WriteOutcome::Unchanged;
    if (!QDir().mkpath(info.absolutePath()))
        return WriteOutcome::Failed;
    if (!WriteFileAtomically(path, content))
        return WriteOutcome::Failed;
    return WriteOutcome::Written;
}

// Runs a database tool on `dir` when it is installed; true when it succeeded.
bool runTool(const QString& tool, const QString& dir)
{
    if (!haveProgram(tool))
        return false;
    return runProcess(tool, {dir}, kToolTimeoutMs).ok();
}

} // namespace

FileTypeFiles loadFileTypeFiles(const QString& dir)
{
    FileTypeFiles files;
    files.mimePackage = readSmallFile(dir + u'/' + kMimeFile);
    files.desktopEntry = readSmallFile(dir + u'/' + kDesktopFile);
    // icons/muralcrafter-48.png -> 48x48/apps, icons/muralcrafter.svg -> scalable/apps.
    QDirIterator it(dir + QStringLiteral("/icons"), QDir::Files);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString base = info.completeBaseName();
        QString size;
        if (info.suffix() == u"svg" && base == kIconName) {
            size = QStringLiteral("scalable");
        } else if (info.suffix() == u"png" && base.startsWith(kIconName + u'-')) {
            bool ok = false;
            const int px = base.mid(kIconName.size() + 1).toInt(&ok);
            if (!ok || px <= 0)
                continue;
            size = QStringLiteral("%1x%1").arg(px);
        } else {
            continue;
        }
        const QByteArray content = readSmallFile(info.filePath());
        if (!content.isEmpty())
            files.icons.insert(size + QStringLiteral("/apps/") + kIconName + u'.' + info.suffix(), content);
    }
    return files;
}

QString desktopExecArgument(const QString& arg)
{
    // Characters that make an Exec argument need quotes.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = arg.isEmpty();
    for (const QChar c : arg)
        quote = quote || reserved.contains(c);
    QString value;
    if (quote) {
        value += u'"';
        for (const QChar c : arg) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                value += u'\\';
            value += c;
        }
        value += u'"';
    } else {
        value = arg;
    }
    // A literal percent sign is doubled: single ones start field codes.
    value.replace(u'%', QStringLiteral("%%"));
    // Then the escapes of a string value in the key file itself.
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': escaped += QStringLiteral("\\\\"); break;
        case u'\n': escaped += QStringLiteral("\\n"); break;
        case u'\t': escaped += QStringLiteral("\\t"); break;
        case u'\r': escaped += QStringLiteral("\\r"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

QByteArray desktopEntryForProgram(const QByteArray& entry, const QString& program)
{
    const QByteArray exec = "Exec=" + desktopExecArgument(program).toUtf8() + " %f";
    QList<QByteArray> lines = entry.split('\n');
    bool replaced = false;
    for (QByteArray& line : lines) {
        if (line.startsWith("Exec=")) {
            line = exec;
            replaced = true;
        }
    }
    if (!replaced) {
        // An entry without Exec gets one right after its group header.
        const qsizetype header = lines.indexOf("[Desktop Entry]");
        lines.insert(header < 0 ? lines.size() : header + 1, exec);
    }
    return lines.join('\n');
}

FileTypeRegistration registerFileTypesForUser(const FileTypeFiles& files, const QString& program,
                                              const QString& dataHome)
{
    FileTypeRegistration result;
    if (!files.isComplete() || dataHome.isEmpty())
        return result;
    const QString mimeDir = dataHome + QStringLiteral("/mime");
    const QString appsDir = dataHome + QStringLiteral("/applications");

    auto write = [&result](const QString& path, const QByteArray& content) {
        switch (writeIfDifferent(path, content)) {
        case WriteOutcome::Written: result.written.append(path); return true;
        case WriteOutcome::Failed: result.failed.append(path); return false;
        case WriteOutcome::Unchanged: return false;
        }
        return false;
    };
    const QString mimePackage = mimeDir + QStringLiteral("/packages/") + kMimeFile;
    const QString desktopEntry = appsDir + u'/' + kDesktopFile;
    const bool mimeChanged = write(mimePackage, files.mimePackage);
    const bool desktopChanged = write(desktopEntry, desktopEntryForProgram(files.desktopEntry, program));
    for (auto it = files.icons.cbegin(); it != files.icons.cend(); ++it)
        write(dataHome + QStringLiteral("/icons/hicolor/") + it.key(), it.value());

    // The databases are rebuilt when our files changed, and also when an
    // earlier run wrote the files but could not build them (tool missing,
    // failed): their output tells. Nothing to build from a file that could
    // not be written.
    const bool mimeBuilt = QFileInfo::exists(mimeDir + u'/' + kMimeType + QStringLiteral(".xml"));
    if ((mimeChanged || !mimeBuilt) && QFileInfo(mimePackage).isFile())
        result.mimeDatabaseUpdated = runTool(QStringLiteral("update-mime-database"), mimeDir);
    const bool desktopBuilt =
        readSmallFile(appsDir + QStringLiteral("/mimeinfo.cache")).contains((kMimeType + u'=').toUtf8());
    if ((desktopChanged || !desktopBuilt) && QFileInfo(desktopEntry).isFile())
        result.desktopDatabaseUpdated = runTool(QStringLiteral("update-desktop-database"), appsDir);
    return result;
}

} // namespace mc::platform
