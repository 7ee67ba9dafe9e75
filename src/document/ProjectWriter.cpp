#include "document/ProjectWriter.h"

#include "document/ByteStreams.h"
#include "document/CMyDoc.h"
#include "document/ProjectFormat.h"
#include "platform/AtomicFile.h"

namespace mc::document {

namespace {

void writeItem(ByteWriter& out, const Card& card)
{
    // An item whose picture was not loaded goes back exactly as it came.
    if (card.IsUnloaded()) {
        out.writeBytes(card.m_storedRecord);
        return;
    }
    out.writeCountedUtf16(card.m_strPath);
    out.writeDouble(card.m_dAngle);
    out.writeDouble(card.m_dScale);
    out.writeDouble(card.m_dShearX);
    out.writeDouble(card.m_dShearY);
    out.writeBool16(card.m_bFlipH);
    out.writeBool16(card.m_bFlipV);
    out.writeBool16(card.m_bGray);
    out.writeBool16(card.m_bErased);
    out.writeBool16(card.m_bSemi);
    out.writeInt32(card.m_nAlpha);
    out.writeInt32(card.m_nEraseExtent);
    out.writeBool16(card.m_bCut);
    out.writeInt32(card.m_ptCenter.x());
    out.writeInt32(card.m_ptCenter.y());
    if (card.m_bCut) {
        // A cut item always has its shape; the empty region stands in should
        // it ever be missing, so the record keeps its layout.
        const QByteArray shape = card.m_pClip ? card.m_pClip->serialize() : mc::Region().serialize();
        out.writeCountedBytes(shape);
    }
}

} // namespace

QByteArray SerializeProject(const CMyDoc& doc)
{
    ByteWriter out;
    out.writeBytes(kProjectMagic, sizeof kProjectMagic);
    out.writeInt32(PROJECT_FORMAT_VERSION);
    out.writeCountedBytes(ProgramVersionText().toUtf8());
    out.writeCountedBytes(doc.m_strBkPath.toUtf8());
    out.writeInt32(doc.m_nCanvasWidth);
    out.writeInt32(doc.m_nCanvasHeight);
    out.writeUInt32(doc.m_crBkColor);
    out.writeInt32(doc.m_nPredefined);
    out.writeInt32(doc.m_nPlacement);
    out.writeBool16(doc.m_bByDisplayScale);
    out.writeInt32(doc.m_listCards.GetCount());
    for (const auto& card : doc.m_listCards)
        writeItem(out, *card);
    return out.bytes();
}

WriteResult WriteProjectFile(const CMyDoc& doc, const QString& path)
{
    QString why;
    if (!mc::platform::WriteFileAtomically(path, SerializeProject(doc), &why))
        return {false, QStringLiteral("Cannot save the project to %1: %2").arg(path, why)};
    return {true, {}};
}

QString CompanionPicturePath(const QString& projectPath)
{
    const qsizetype slash = projectPath.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = projectPath.lastIndexOf(QLatin1Char('.'));
    QString result;
    if (dot > slash)
        result = projectPath.left(dot) + QStringLiteral(".jpg");
    else
        result = projectPath + QStringLiteral(".jpg");
    if (result == projectPath)
        result += QStringLiteral(".jpg");
    return result;
}

} // namespace mc::document
