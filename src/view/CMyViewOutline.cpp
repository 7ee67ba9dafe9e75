// The outline of the current item: a one-pixel band along the inner edge of
// its area, black and white in turn every four pixels so that it reads on
// light and dark pictures alike. Only the view draws it: the rendered
// canvas, the companion picture, the wallpaper and full screen never show it.
//
// Lying inside the item's area, the band is repainted by whatever repaints
// the item; only a change of the current item (or of full screen) needs its
// own repaint, which RefreshOutline() finds by comparing with what is drawn.
#include "view/CMyView.h"

#include "document/CMyDoc.h"
#include "items/Card.h"

#include <QPainter>

namespace {

// The pixels of `area` that have a four-neighbour outside it.
QRegion innerEdge(const QRegion& area)
{
    const QRegion core = area & area.translated(1, 0) & area.translated(-1, 0) & area.translated(0, 1)
        & area.translated(0, -1);
    return area - core;
}

} // namespace

QRegion CMyView::CurrentOutline() const
{
    const Card* card = m_pCurCard;
    if ((m_pHost && m_pHost->IsFullScreen()) || !card || !m_pDoc->m_listCards.Contains(card))
        return {};
    return innerEdge(card->m_rgnItem);
}

void CMyView::RefreshOutline()
{
    const QRegion band = CurrentOutline();
    if (band == m_rgnOutline)
        return;
    // The old band goes with the repaint, the new one comes with it.
    InvalidateScrolled(m_rgnOutline + band);
    m_rgnOutline = band;
}

void CMyView::drawOutline(QPainter& painter) const
{
    // The dashes are fixed to view coordinates, so that a partial repaint
    // continues them exactly where a full one would.
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::white);
    {
        QPainter tilePainter(&tile);
        tilePainter.fillRect(0, 0, 4, 4, Qt::black);
        tilePainter.fillRect(4, 4, 4, 4, Qt::black);
    }
    const QBrush dashes(tile);
    for (const QRect& r : m_rgnOutline)
        painter.fillRect(r, dashes);
}
