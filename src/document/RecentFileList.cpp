#include "document/RecentFileList.h"

#include "platform/Settings.h"

#include <QFileInfo>
#include <QSettings>

namespace mc::document {

namespace {
const QString kGroup = QStringLiteral("Recent File List");
QString key(int i) { return QStringLiteral("File%1").arg(i + 1); }
} // namespace

RecentFileList::RecentFileList()
{
    auto settings = mc::platform::openSettings();
    settings->beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings->value(key(i)).toString();
        if (!path.isEmpty() && !m_paths.contains(path))
            m_paths << path;
    }
}

void RecentFileList::Add(const QString& path)
{
    // A copy first: `path` may be one of the entries.
    const QString full = QFileInfo(path).absoluteFilePath();
    m_paths.removeAll(full);
    m_paths.prepend(full);
    while (m_paths.size() > kMaxEntries)
        m_paths.removeLast();
    store();
}

void RecentFileList::Remove(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath(); // `path` may live in m_paths
    if (m_paths.removeAll(full) > 0)
        store();
}

void RecentFileList::store() const
{
    auto settings = mc::platform::openSettings();
    settings->beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < m_paths.size())
            settings->setValue(key(i), m_paths[i]);
        else
            settings->remove(key(i));
    }
    settings->endGroup();
    settings->sync();
}

} // namespace mc::document
