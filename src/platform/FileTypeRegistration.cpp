#include "platform/FileTypeRegistration.h"

#include "platform/AtomicFile.h"
#include "platform/Process.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace mc::platform {

namespace {

const QString kMimeType = QStringLiteral("application/x-muralcrafter");
const QString kMimeFile = QStringLiteral(MC_APP_ID ".xml");
const QString kDesktopFile = QStringLiteral(MC_APP_ID ".desktop");
// What earlier versions registered under the plain program name.
const QString kLegacyName = QStringLiteral("muralcrafter");
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
    // icons/hicolor/48x48/apps/ID.png is installed as it is laid out.
    const QDir hicolor(dir + QStringLiteral("/icons/hicolor"));
    QDirIterator it(hicolor.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray content = readSmallFile(path);
        if (!content.isEmpty())
            files.icons.insert(hicolor.relativeFilePath(path), content);
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

QString desktopEntryProgram(const QByteArray& entry)
{
    for (const QByteArray& line : entry.split('\n')) {
        if (!line.startsWith("Exec="))
            continue;
        // The key file's escapes first, then the quoting of the argument.
        const QString value = QString::fromUtf8(line.mid(5));
        QString text;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const QChar c = value[i];
            if (c != u'\\' || i + 1 == value.size()) {
                text += c;
                continue;
            }
            switch (value[++i].unicode()) {
            case u's': text += u' '; break;
            case u'n': text += u'\n'; break;
            case u't': text += u'\t'; break;
            case u'r': text += u'\r'; break;
            case u'\\': text += u'\\'; break;
            default: text += c; text += value[i];
            }
        }
        QString program;
        if (text.startsWith(u'"')) {
            for (qsizetype i = 1; i < text.size() && text[i] != u'"'; ++i)
                program += text[i] == u'\\' && i + 1 < text.size() ? text[++i] : text[i];
        } else {
            program = text.section(u' ', 0, 0);
        }
        return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    return {};
}

namespace {

// A desktop entry of ours that runs a program which is there.
bool entryRunsExistingProgram(const QString& path)
{
    const QString program = desktopEntryProgram(readSmallFile(path));
    if (program.isEmpty())
        return false;
    if (!program.contains(u'/'))
        return !QStandardPaths::findExecutable(program).isEmpty();
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable();
}

// Removes the files an earlier version wrote under the plain program name,
// each only when it is recognisably ours, and notes which database that
// changes.
void removeLegacyFiles(const QString& dataHome, bool& mimeChanged, bool& desktopChanged)
{
    const QString package = dataHome + QStringLiteral("/mime/packages/") + kLegacyName + QStringLiteral(".xml");
    if (readSmallFile(package).contains(("type=\"" + kMimeType + u'"').toUtf8()))
        mimeChanged = QFile::remove(package) || mimeChanged;
    const QString entry = dataHome + QStringLiteral("/applications/") + kLegacyName + QStringLiteral(".desktop");
    if (!readSmallFile(entry).contains(("MimeType=" + kMimeType + u';').toUtf8()))
        return;
    desktopChanged = QFile::remove(entry) || desktopChanged;
    // Its icons carried the same plain name.
    const QStringList names = {kLegacyName + QStringLiteral(".png"), kLegacyName + QStringLiteral(".svg")};
    QDirIterator it(dataHome + QStringLiteral("/icons/hicolor"), names, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString icon = it.next();
        if (icon.contains(QStringLiteral("/apps/")))
            QFile::remove(icon);
    }
}

// A registration a program that is not installed must leave alone: one in
// the system's data folders, or the user's entry for a program that exists.
bool registrationExists(const QString& dataHome, const QStringList& dataDirs)
{
    for (const QString& dir : dataDirs) {
        if (QFileInfo(dir + QStringLiteral("/applications/") + kDesktopFile).isFile())
            return true;
    }
    return entryRunsExistingProgram(dataHome + QStringLiteral("/applications/") + kDesktopFile);
}

} // namespace

FileTypeRegistration registerFileTypesForUser(const FileTypeFiles& files, const QString& program,
                                              const QString& dataHome, bool installed, const QStringList& dataDirs)
{
    FileTypeRegistration result;
    if (!files.isComplete() || dataHome.isEmpty())
        return result;
    const QString mimeDir = dataHome + QStringLiteral("/mime");
    const QString appsDir = dataHome + QStringLiteral("/applications");
    bool mimeChanged = false;
    bool desktopChanged = false;
    removeLegacyFiles(dataHome, mimeChanged, desktopChanged);
    result.keptExisting = !installed && registrationExists(dataHome, dataDirs);

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
    if (!result.keptExisting) {
        mimeChanged = write(mimePackage, files.mimePackage) || mimeChanged;
        desktopChanged = write(desktopEntry, desktopEntryForProgram(files.desktopEntry, program)) || desktopChanged;
        for (auto it = files.icons.cbegin(); it != files.icons.cend(); ++it)
            write(dataHome + QStringLiteral("/icons/hicolor/") + it.key(), it.value());
    }

    // The databases are rebuilt when our files changed, and also when an
    // earlier run wrote the files but could not build them (tool missing,
    // failed): their output tells. A registration left alone is not ours to
    // build, but the removal of earlier files is; nothing is built in a
    // folder that could not be made.
    const bool mimeBuilt = result.keptExisting || QFileInfo::exists(mimeDir + u'/' + kMimeType + QStringLiteral(".xml"));
    if ((mimeChanged || !mimeBuilt) && QFileInfo(mimeDir + QStringLiteral("/packages")).isDir())
        result.mimeDatabaseUpdated = runTool(QStringLiteral("update-mime-database"), mimeDir);
    const bool desktopBuilt = result.keptExisting ||
        readSmallFile(appsDir + QStringLiteral("/mimeinfo.cache")).contains((kMimeType + u'=').toUtf8());
    if ((desktopChanged || !desktopBuilt) && QFileInfo(appsDir).isDir())
        result.desktopDatabaseUpdated = runTool(QStringLiteral("update-desktop-database"), appsDir);
    return result;
}

} // namespace mc::platform
