#pragma once
// The recent-file list of the File menu: at most four project paths, the
// latest first, kept in the program's settings so that it outlives the run.
#include <QString>
#include <QStringList>

namespace mc::document {

class RecentFileList {
public:
    static constexpr int kMaxEntries = 4;

    // Reads the list from the settings.
    RecentFileList();

    const QStringList& Paths() const { return m_paths; }

    // Puts `path` first (moving it up when it is already listed), drops what
    // falls off the end, and stores the list.
    void Add(const QString& path);
    // Takes `path` off the list (a file that could not be opened) and stores it.
    void Remove(const QString& path);

private:
    void store() const;
    QStringList m_paths;
};

} // namespace mc::document
