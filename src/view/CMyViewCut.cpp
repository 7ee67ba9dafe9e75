// Cut and Restore Original Image on the view's current item.
#include "view/CMyView.h"

#include "canvas/CardCut.h"
#include "document/CMyDoc.h"
#include "imaging/Region.h"
#include "items/Card.h"

namespace {

// The current item if it is still one of the project's.
Card* liveCard(CMyDoc& doc, Card*& current)
{
    if (current && !doc.m_listCards.Contains(current))
        current = nullptr;
    return current;
}

} // namespace

void CMyView::OnCut()
{
    if (!m_pDoc->m_bCutStatus || !m_pShapeRegion)
        return;
    Card* card = liveCard(*m_pDoc, m_pCurCard);
    if (!card || m_pShapeRegion->isEmpty())
        return;
    // The shape is converted as a copy: when it misses the item the outline
    // stays on the screen as it is, and a second Cut sees the same shape.
    const QRegion before = card->m_rgnItem;
    if (!mc::canvas::CutCard(*card, *m_pShapeRegion))
        return;
    m_pDoc->m_listCards.MoveToHead(card);
    InvalidateScrolled(before);
    ClearShape(true);
    InvalidateScrolled(card->m_rgnItem);
    m_pDoc->m_bCutStatus = false;
    m_pDoc->SetModifiedFlag(true);
}

void CMyView::OnRestoreOriginalImage()
{
    Card* card = liveCard(*m_pDoc, m_pCurCard);
    if (!card)
        return;
    const bool raised = m_pDoc->m_listCards.GetHead() != card;
    m_pDoc->m_listCards.MoveToHead(card);
    // Raising an uncut item changes the stack too: it is shown on top at
    // once and the project counts as changed.
    if (mc::canvas::RestoreCard(*card) || raised) {
        InvalidateScrolled(card->m_rgnItem);
        m_pDoc->SetModifiedFlag(true);
    }
}
