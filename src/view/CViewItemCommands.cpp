#include "view/CViewItemCommands.h"

#include "dialogs/CDlgDelImg.h"
#include "dialogs/CDlgRotate.h"
#include "dialogs/CDlgSemi.h"
#include "dialogs/CDlgSize.h"
#include "dialogs/CDlgTrans.h"
#include "items/Card.h"
#include "view/CMyView.h"

CViewItemCommands::CViewItemCommands(CMyView* view)
    : QObject(view)
    , m_pView(view)
    , m_commands(*view->GetDocument(), view->m_pCurCard, view->m_nDefaultAlpha, *this)
{
    // The view's target list dies with the view, before this child does, so
    // there is nothing to detach on destruction.
    view->AddCommandTarget(&m_commands);
}

void CViewItemCommands::InvalidateScrolled(const QRegion& region) { m_pView->InvalidateScrolled(region); }

void CViewItemCommands::CurrentCardCleared() { Q_EMIT m_pView->currentCardChanged(nullptr); }

bool CViewItemCommands::AskDeleteImage(const Card& card, DelImgModel& model)
{
    CDlgDelImg dialog(model, card.m_pBitmap.get(), m_pView);
    return dialog.exec() == QDialog::Accepted;
}

bool CViewItemCommands::AskRotateDegree(RotateModel& model)
{
    CDlgRotate dialog(model, m_pView);
    return dialog.exec() == QDialog::Accepted;
}

bool CViewItemCommands::AskSize(SizeModel& model)
{
    CDlgSize dialog(model, m_pView);
    return dialog.exec() == QDialog::Accepted;
}

bool CViewItemCommands::AskSemitransparency(SemiModel& model)
{
    CDlgSemi dialog(model, m_pView);
    return dialog.exec() == QDialog::Accepted;
}

bool CViewItemCommands::AskEraseExtent(TransModel& model)
{
    CDlgTrans dialog(model, m_pView);
    return dialog.exec() == QDialog::Accepted;
}
