#include "canvas/ProjectSave.h"

#include "canvas/CanvasLayer.h"
#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

namespace mc::canvas {

namespace {

// The JPEG comment "MuralcrafterProject: NAME". The file name is percent-
// encoded: Qt's JPEG reader folds runs of blanks in comments.
const QString kMarkKey = QStringLiteral("MuralcrafterProject");

QString markFor(const QString& projectPath)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(projectPath).fileName()));
}

bool samePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a), fb(b);
    if (QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath()))
        return true;
    const QString ca = fa.canonicalFilePath();
    return !ca.isEmpty() && ca == fb.canonicalFilePath();
}

bool usedByProject(const CMyDoc& doc, const QString& path)
{
    if (samePath(doc.m_strBkPath, path))
        return true;
    for (const auto& card : doc.m_listCards)
        if (samePath(card->m_strPath, path))
            return true;
    return false;
}

} // namespace

bool IsCompanionOf(const QString& picturePath, const QString& projectPath)
{
    const QFileInfo info(picturePath);
    if (!info.isFile())
        return false;
    QImageReader reader(picturePath);
    reader.setDecideFormatFromContent(true);
    return reader.format() == "jpeg" && reader.text(kMarkKey) == markFor(projectPath);
}

QString ChooseCompanionPath(const CMyDoc& doc, const QString& projectPath)
{
    const QString usual = mc::document::CompanionPicturePath(projectPath);
    const QString stem = usual.left(usual.size() - 4); // without ".jpg"
    constexpr int kMaxAttempts = 1000;
    for (int n = 0; n < kMaxAttempts; ++n) {
        const QString candidate = n == 0 ? usual : stem + QStringLiteral("-%1.jpg").arg(n);
        if (usedByProject(doc, candidate) || samePath(candidate, projectPath))
            continue;
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink())
            return candidate;
        if (IsCompanionOf(candidate, projectPath))
            return candidate;
    }
    return {};
}

bool WriteSnapshot(const CMyDoc& doc, const QString& path, QSize client, const QString& projectPath,
                   QString* error)
{
    QImage canvas = RenderCanvas(doc, client);
    if (canvas.isNull()) {
        if (error)
            *error = QStringLiteral("the canvas is empty");
        return false;
    }
    canvas.setText(kMarkKey, markFor(projectPath));
    // A name that was free when chosen must not replace a file that appeared
    // since; our own companion at the name may be replaced.
    const auto existing = IsCompanionOf(path, projectPath) ? platform::AtomicFile::Existing::Replace
                                                           : platform::AtomicFile::Existing::Keep;
    return platform::SaveImageFile(canvas, path, "image/jpeg", error, existing);
}

SaveResult SaveProject(CMyDoc& doc, const QString& path, QSize client)
{
    const mc::document::WriteResult written = mc::document::WriteProjectFile(doc, path);
    if (!written.ok)
        return {false, written.message, {}};
    SaveResult result{true, {}, {}};
    const QString usual = mc::document::CompanionPicturePath(path);
    const QString companion = ChooseCompanionPath(doc, path);
    QString why;
    if (companion.isEmpty()) {
        result.notice = QStringLiteral("The project was saved; no free name was left for its picture beside %1.")
                            .arg(QDir::toNativeSeparators(usual));
    } else if (!WriteSnapshot(doc, companion, client, path, &why)) {
        result.notice = QStringLiteral("The project was saved, but its picture %1 could not be written: %2")
                            .arg(QDir::toNativeSeparators(companion), why);
    } else if (companion != usual) {
        result.notice = QStringLiteral("The picture of the canvas was saved as %1: %2 is not a picture this "
                                       "project saved, so it was kept.")
                            .arg(QFileInfo(companion).fileName(), QFileInfo(usual).fileName());
    }
    doc.SetPathName(QFileInfo(path).absoluteFilePath());
    doc.SetModifiedFlag(false);
    return result;
}

} // namespace mc::canvas
