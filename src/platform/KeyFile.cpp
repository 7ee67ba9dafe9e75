#include "platform/KeyFile.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mc::platform {

namespace {

bool isGroupHeader(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.endsWith(u']');
}

QString groupName(const QString& line)
{
    const QString t = line.trimmed();
    return t.mid(1, t.size() - 2);
}

// The key of a "Key=Value" line, empty for comments and other lines.
QString lineKey(const QString& line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u'#'))
        return {};
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return {};
    return t.left(eq).trimmed();
}

} // namespace

bool KeyFile::load(const QString& path)
{
    m_lines.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    m_lines = text.split(u'\n');
    for (QString& line : m_lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    while (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    return true;
}

qsizetype KeyFile::groupLine(const QString& group) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (isGroupHeader(m_lines[i]) && groupName(m_lines[i]) == group)
            return i;
    return -1;
}

qsizetype KeyFile::keyLine(qsizetype groupAt, const QString& key) const
{
    for (qsizetype i = groupAt + 1; i < m_lines.size() && !isGroupHeader(m_lines[i]); ++i)
        if (lineKey(m_lines[i]) == key)
            return i;
    return -1;
}

std::optional<QString> KeyFile::value(const QString& group, const QString& key) const
{
    const qsizetype g = groupLine(group);
    if (g < 0)
        return std::nullopt;
    const qsizetype k = keyLine(g, key);
    if (k < 0)
        return std::nullopt;
    const QString& line = m_lines[k];
    return unescape(line.mid(line.indexOf(u'=') + 1).trimmed());
}

void KeyFile::setValue(const QString& group, const QString& key, const QString& value)
{
    const QString line = key + u'=' + escape(value);
    qsizetype g = groupLine(group);
    if (g < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + group + u']');
        m_lines.append(line);
        return;
    }
    const qsizetype k = keyLine(g, key);
    if (k >= 0) {
        m_lines[k] = line;
        return;
    }
    // After the group's last key line, before any blank lines that end it.
    qsizetype at = g + 1;
    for (qsizetype i = g + 1; i < m_lines.size() && !isGroupHeader(m_lines[i]); ++i)
        if (!m_lines[i].trimmed().isEmpty())
            at = i + 1;
    m_lines.insert(at, line);
}

QString KeyFile::toText() const
{
    return m_lines.join(u'\n') + u'\n';
}

QString KeyFile::save(const QString& path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    WriteFileAtomically(path, toText().toUtf8(), &error);
    return error;
}

QString KeyFile::escape(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u' ' && (i == 0 || i == value.size() - 1))
            out += QLatin1String("\\s"); // reading trims blanks at either end
        else
            out += c;
    }
    return out;
}

QString KeyFile::unescape(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar n = raw[++i];
        if (n == u's')
            out += u' ';
        else if (n == u'n')
            out += u'\n';
        else if (n == u't')
            out += u'\t';
        else if (n == u'r')
            out += u'\r';
        else
            out += n; // "\\" and any unknown escape give the character itself
    }
    return out;
}

} // namespace mc::platform
