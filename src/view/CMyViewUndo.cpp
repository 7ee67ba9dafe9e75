// Undo and Redo in the view: the document restores the state, the view
// repaints what changed and takes over the state's current item.
#include "view/CMyView.h"

#include "document/CMyDoc.h"
#include "items/Card.h"

void CMyView::OnUndo(bool redo)
{
    QRegion area;
    quint64 currentId = 0;
    if (m_bCapture || !m_pDoc->StepHistory(redo, area, currentId))
        return;
    InvalidateScrolled(area);
    Card* current = nullptr;
    for (const auto& card : m_pDoc->m_listCards)
        if (card->m_nId == currentId)
            current = card.get();
    // The old pointer may name an item the step removed: only compared.
    if (current != m_pCurCard) {
        m_pCurCard = current;
        Q_EMIT currentCardChanged(current);
    }
}
