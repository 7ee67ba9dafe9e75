#pragma once
// A small reader and writer of the "[Group]" / "Key=Value" files desktops
// keep their settings in (the GLib key-file syntax). Lines it does not touch
// (comments, other groups and keys) are written back unchanged. Values are
// escaped as that syntax wants: \s (leading blank), \n, \t, \r, \\.
#include <QString>
#include <QStringList>

#include <optional>

namespace mc::platform {

class KeyFile {
public:
    // Reads `path`; false when it cannot be read (the content is then empty,
    // which is also what a missing file gives).
    bool load(const QString& path);

    std::optional<QString> value(const QString& group, const QString& key) const;
    void setValue(const QString& group, const QString& key, const QString& value);

    // Writes atomically (a failed write leaves the old file). Creates the
    // folder. Returns an error text, empty on success.
    QString save(const QString& path) const;

    QString toText() const;

    static QString escape(const QString& value);
    static QString unescape(const QString& raw);

private:
    // Index of the "[group]" line, -1 when absent; and of "key=" in it.
    qsizetype groupLine(const QString& group) const;
    qsizetype keyLine(qsizetype groupAt, const QString& key) const;

    QStringList m_lines;
};

} // namespace mc::platform
