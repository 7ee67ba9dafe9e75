#include "document/CMyDoc.h"

#include "imaging/ImageIO.h"
#include "platform/Screen.h"

#include <QFileInfo>

#include <cmath>

CMyDoc::CMyDoc(const mc::platform::DesktopSettings& desktop, QObject* parent)
    : QObject(parent)
{
    m_nPredefined = -1;
    m_nPlacement = PlacementFromDesktop(desktop.tileWallpaper, desktop.wallpaperStyle);
    m_strBkPath = desktop.wallpaperPath;
    // The desktop's own picture is taken as it is, without the automatic
    // placement. One that cannot be decoded (an SVG, an XML slide show) is
    // dropped as Open Project drops it, so the canvas shows the desktop
    // colour now as after saving and reopening; the path stays.
    if (!m_strBkPath.isEmpty()) {
        QImage picture = mc::imaging::decodeImage(m_strBkPath);
        if (!picture.isNull())
            m_pBkImage = std::make_unique<QImage>(std::move(picture));
    }
    const QSize screen = mc::platform::screenSize();
    m_nCanvasWidth = screen.width();
    m_nCanvasHeight = screen.height();
    m_crBkColor = desktop.desktopColor;
    m_nShape = 1;
    m_bCutStatus = false;
    m_bByDisplayScale = true;
    ResetHistory();
}

CMyDoc::~CMyDoc() = default;

int CMyDoc::PlacementFromDesktop(const QString& tileWallpaper, const QString& wallpaperStyle)
{
    if (tileWallpaper == u"1")
        return PLACEMENT_TILE;
    if (tileWallpaper != u"0")
        return PLACEMENT_STRETCH; // also the empty string of an unreadable value
    if (wallpaperStyle == u"0")
        return PLACEMENT_CENTER;
    return PLACEMENT_STRETCH;
}

void CMyDoc::LoadBackground(const QString& path)
{
    m_pBkImage.reset();
    m_nPredefined = -1;
    m_strBkPath = path;
    if (!path.isEmpty()) {
        QImage image = mc::imaging::decodeImage(path);
        if (!image.isNull()) {
            const int w = image.width();
            const int h = image.height();
            if (w == h && w <= 256) {
                m_nPlacement = PLACEMENT_TILE;
            } else {
                const double canvasRatio = m_nCanvasHeight > 0 ? double(m_nCanvasWidth) / double(m_nCanvasHeight) : 0.0;
                const double pictureRatio = double(w) / double(h);
                m_nPlacement = std::fabs(canvasRatio - pictureRatio) < 0.1 ? PLACEMENT_STRETCH : PLACEMENT_CENTER;
            }
            m_pBkImage = std::make_unique<QImage>(std::move(image));
        }
    }
    SetModifiedFlag(true);
    UpdateAllViews();
}

void CMyDoc::SetCanvasSize(int width, int height)
{
    m_nCanvasWidth = width;
    m_nCanvasHeight = height;
    SetModifiedFlag(true);
    UpdateAllViews();
}

bool CMyDoc::OnNewDocument()
{
    SetPathName(QString());
    DeleteAllCards();
    SetModifiedFlag(false);
    ResetHistory();
    UpdateAllViews();
    return true;
}

void CMyDoc::DeleteAllCards()
{
    m_listCards.RemoveAll();
    Q_EMIT cardsCleared();
}

void CMyDoc::SetModifiedFlag(bool modified)
{
    if (!modified)
        m_history.MarkClean(*this);
    setModified(modified);
}

void CMyDoc::setModified(bool modified)
{
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    Q_EMIT modifiedChanged(modified);
}

void CMyDoc::SetPathName(const QString& path)
{
    if (m_strPathName == path)
        return;
    m_strPathName = path;
    Q_EMIT pathChanged(path);
}

QString CMyDoc::GetTitle() const
{
    if (m_strPathName.isEmpty())
        return QStringLiteral("Untitled");
    return QFileInfo(m_strPathName).fileName();
}

void CMyDoc::UpdateAllViews()
{
    Q_EMIT updated();
}

void CMyDoc::ResetHistory() { m_history.Reset(*this, !m_bModified); }

quint64 CMyDoc::idOf(const Card* card) const
{
    return card && m_listCards.Contains(card) ? card->m_nId : 0;
}

void CMyDoc::NoteCurrentCard(const Card* current) { m_history.NoteCurrent(idOf(current)); }

bool CMyDoc::RecordStep(const QString& label, const Card* current, bool merge)
{
    const bool added = m_history.Record(*this, label, idOf(current), merge);
    setModified(!m_history.AtCleanPoint());
    return added;
}

bool CMyDoc::StepHistory(bool redo, QRegion& area, quint64& currentId)
{
    mc::document::RestoreResult result;
    if (!(redo ? m_history.Redo(*this, result, currentId) : m_history.Undo(*this, result, currentId)))
        return false;
    setModified(!m_history.AtCleanPoint());
    area = result.area;
    if (result.background)
        UpdateAllViews();
    return true;
}
