#include "canvas/ProjectSave.h"

#include "document/CMyDoc.h"
#include "document/ProjectWriter.h"
#include "imaging/ImageIO.h"
#include "canvas/CanvasLayer.h"

#include <QFileInfo>

namespace mc::canvas {

bool WriteSnapshot(const CMyDoc& doc, const QString& path, QSize client)
{
    const QImage canvas = RenderCanvas(doc, client);
    if (canvas.isNull())
        return false;
    return mc::imaging::encodeImage(canvas, path, "image/jpeg");
}

SaveResult SaveProject(CMyDoc& doc, const QString& path, QSize client)
{
    const mc::document::WriteResult written = mc::document::WriteProjectFile(doc, path);
    if (!written.ok)
        return {false, written.message};
    WriteSnapshot(doc, mc::document::CompanionPicturePath(path), client);
    doc.SetPathName(QFileInfo(path).absoluteFilePath());
    doc.SetModifiedFlag(false);
    return {true, {}};
}

} // namespace mc::canvas
