#include "canvas/SampleProject.h"

#include "document/CMyDoc.h"
#include "items/Card.h"
#include "canvas/CanvasLayer.h"
#include "canvas/ProjectSave.h"

#include <QDir>
#include <QFileInfo>
#include <QPainterPath>

#include <algorithm>

namespace mc::canvas {

namespace {

constexpr char kTile[] = "tile.png";
constexpr char kSunset[] = "sunset.jpg";
constexpr char kFlower[] = "flower.png";
constexpr char kLeaf[] = "leaf.jpg";

struct SampleItem {
    const char* picture;
    double dx, dy; // centre as a fraction of the canvas
    double angle;
    bool gray, semi, cut;
};

} // namespace

QStringList SamplePictureNames()
{
    return {QString::fromLatin1(kTile), QString::fromLatin1(kSunset), QString::fromLatin1(kFlower),
            QString::fromLatin1(kLeaf)};
}

SampleResult WriteSampleProject(const QString& dir, QSize client, QSize screen, const QString& pictureDir)
{
    const QDir folder(QFileInfo(pictureDir).absoluteFilePath());
    for (const QString& name : SamplePictureNames()) {
        if (!QFileInfo(folder.filePath(name)).isFile())
            return {false, {}, QStringLiteral("The sample picture %1 is missing.").arg(folder.filePath(name))};
    }

    CMyDoc doc(mc::platform::DesktopSettings{});
    doc.m_nCanvasWidth = std::min(1024, screen.width());
    doc.m_nCanvasHeight = std::min(768, screen.height());
    doc.m_crBkColor = 0x00704830;
    doc.LoadBackground(folder.filePath(QString::fromLatin1(kTile)));
    // Item centres are view coordinates: the canvas lies at its origin.
    const QPoint origin = CanvasOrigin(client, doc.m_nCanvasWidth, doc.m_nCanvasHeight);

    // Bottom of the stack first: each new item goes on top.
    const SampleItem items[] = {
        {kSunset, 0.30, 0.35, -8.0, false, false, false},
        {kLeaf, 0.70, 0.30, 12.0, true, false, false},
        {kFlower, 0.50, 0.65, 0.0, false, false, true},
        {kSunset, 0.75, 0.70, 30.0, false, true, false},
    };
    for (const SampleItem& p : items) {
        std::unique_ptr<Card> card = Card::CreateFromFile(folder.filePath(QString::fromLatin1(p.picture)));
        if (!card)
            return {false, {}, QStringLiteral("The sample picture %1 cannot be read.").arg(QString::fromLatin1(p.picture))};
        card->m_ptCenter = origin + QPoint(int(doc.m_nCanvasWidth * p.dx), int(doc.m_nCanvasHeight * p.dy));
        card->m_dAngle = p.angle;
        if (p.gray) {
            card->m_bGray = true;
            card->ApplyGray();
        }
        if (p.semi) {
            card->m_bSemi = true;
            card->m_nAlpha = 150;
            card->ApplySemi();
        }
        if (p.cut && card->m_pClip) {
            // An ellipse inside the picture's rectangle, in item coordinates.
            const QRectF bounds = card->m_pClip->boundingRect();
            QPainterPath ellipse;
            ellipse.addEllipse(bounds.adjusted(bounds.width() * 0.1, bounds.height() * 0.1,
                                               -bounds.width() * 0.1, -bounds.height() * 0.1));
            card->m_pClipSaved = std::make_unique<mc::Region>(*card->m_pClip);
            card->m_pClip->intersect(mc::Region::fromPath(ellipse));
            card->m_bCut = true;
        }
        card->UpdateRegion();
        doc.m_listCards.AddHead(std::move(card));
    }

    const QString target = QFileInfo(dir).absoluteFilePath();
    QDir().mkpath(target); // a folder that cannot be made fails the save below
    const QString path = QDir(target).filePath(QStringLiteral("sample.mcr"));
    const SaveResult saved = SaveProject(doc, path, client);
    if (!saved.ok)
        return {false, {}, saved.message};
    return {true, path, {}};
}

} // namespace mc::canvas
