#include "view/ItemCommands.h"

#include "dialogs/DelImgModel.h"
#include "dialogs/RotateModel.h"
#include "dialogs/SemiModel.h"
#include "dialogs/SizeModel.h"
#include "dialogs/TransModel.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "items/Card.h"
#include "view/ItemCommandHost.h"

#include <memory>

namespace mc::view {
bool g_bPromptOnDelete = true;
} // namespace mc::view

ItemCommands::ItemCommands(CMyDoc& doc, Card*& currentCard, int& defaultAlpha, ItemCommandHost& host)
    : m_doc(doc)
    , m_pCurCard(currentCard)
    , m_nDefaultAlpha(defaultAlpha)
    , m_host(host)
{
}

bool ItemCommands::Handles(int id)
{
    switch (id) {
    case ID_DELETE_IMAGE:
    case ID_SEND_TO_BACK:
    case ID_CLONE:
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
    case ID_ACTUAL_SIZE:
    case ID_CUSTOMIZE_SIZE:
    case ID_ROTATE_CLOCKWISE:
    case ID_ROTATE_COUNTER_CLOCKWISE:
    case ID_ROTATE_CLOCKWISE_X:
    case ID_ROTATE_COUNTER_CLOCKWISE_X:
    case ID_ROTATE_CLOCKWISE_90:
    case ID_ROTATE_CLOCKWISE_180:
    case ID_ROTATE_CLOCKWISE_270:
    case ID_FLIP_HORIZONTAL:
    case ID_FLIP_VERTICAL:
    case ID_SHEAR_HORIZONTAL_CLOCKWISE:
    case ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE:
    case ID_SHEAR_VERTICAL_CLOCKWISE:
    case ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE:
    case ID_GRAY:
    case ID_SEMITRANSPARENT:
    case ID_SET_SEMITRANSPARENCY:
    case ID_ERASE_BACKGROUND:
    case ID_SET_ERASE_EXTENT:
        return true;
    default:
        return false;
    }
}

bool ItemCommands::OnCommand(int id)
{
    if (!Handles(id))
        return false;
    // The two "Set ..." dialogs also serve without a current item.
    if (id == ID_SET_SEMITRANSPARENCY) {
        SetSemitransparency();
        return true;
    }
    if (id == ID_SET_ERASE_EXTENT) {
        SetEraseExtent();
        return true;
    }
    Card* card = Current();
    if (!card)
        return true;
    switch (id) {
    case ID_DELETE_IMAGE: Delete(*card); break;
    case ID_SEND_TO_BACK: SendToBack(*card); break;
    case ID_CLONE: Clone(*card); break;
    case ID_ZOOM_IN: ZoomIn(*card); break;
    case ID_ZOOM_OUT: ZoomOut(*card); break;
    case ID_ACTUAL_SIZE: Geometry(*card, [](Card& c) { c.m_dScale = 1.0; }); break;
    case ID_CUSTOMIZE_SIZE: CustomizeSize(*card); break;
    case ID_ROTATE_CLOCKWISE: Geometry(*card, [](Card& c) { c.m_dAngle += 10; }); break;
    case ID_ROTATE_COUNTER_CLOCKWISE: Geometry(*card, [](Card& c) { c.m_dAngle -= 10; }); break;
    case ID_ROTATE_CLOCKWISE_X: RotateBy(*card, true); break;
    case ID_ROTATE_COUNTER_CLOCKWISE_X: RotateBy(*card, false); break;
    case ID_ROTATE_CLOCKWISE_90: Geometry(*card, [](Card& c) { c.m_dAngle += 90; }); break;
    case ID_ROTATE_CLOCKWISE_180: Geometry(*card, [](Card& c) { c.m_dAngle += 180; }); break;
    case ID_ROTATE_CLOCKWISE_270: Geometry(*card, [](Card& c) { c.m_dAngle += 270; }); break;
    case ID_FLIP_HORIZONTAL: Geometry(*card, [](Card& c) { c.m_bFlipH = !c.m_bFlipH; }); break;
    case ID_FLIP_VERTICAL: Geometry(*card, [](Card& c) { c.m_bFlipV = !c.m_bFlipV; }); break;
    case ID_SHEAR_HORIZONTAL_CLOCKWISE: Geometry(*card, [](Card& c) { c.m_dShearX -= 1; }); break;
    case ID_SHEAR_HORIZONTAL_COUNTER_CLOCKWISE: Geometry(*card, [](Card& c) { c.m_dShearX += 1; }); break;
    case ID_SHEAR_VERTICAL_CLOCKWISE: Geometry(*card, [](Card& c) { c.m_dShearY += 1; }); break;
    case ID_SHEAR_VERTICAL_COUNTER_CLOCKWISE: Geometry(*card, [](Card& c) { c.m_dShearY -= 1; }); break;
    case ID_GRAY: Gray(*card); break;
    case ID_SEMITRANSPARENT: Semitransparent(*card); break;
    case ID_ERASE_BACKGROUND: EraseBackground(*card); break;
    default: break;
    }
    return true;
}

bool ItemCommands::OnUpdateCommand(int id, CommandState& state)
{
    if (!Handles(id))
        return false;
    // Without a current item there is nothing to act on, except for the
    // two "Set ..." dialogs, which also set the defaults. Only the three
    // effect commands carry check marks.
    const Card* card = Current();
    state.enabled = card || id == ID_SET_SEMITRANSPARENCY || id == ID_SET_ERASE_EXTENT;
    switch (id) {
    case ID_GRAY: state.checked = card && card->m_bGray; break;
    case ID_SEMITRANSPARENT: state.checked = card && card->m_bSemi; break;
    case ID_ERASE_BACKGROUND: state.checked = card && card->m_bErased; break;
    default: state.checked = false; break;
    }
    return true;
}

Card* ItemCommands::Current()
{
    if (m_pCurCard && !m_doc.m_listCards.Contains(m_pCurCard))
        m_pCurCard = nullptr;
    return m_pCurCard;
}

void ItemCommands::Raise(Card& card) { m_doc.m_listCards.MoveToHead(&card); }

void ItemCommands::Invalidate(const Card& card) { m_host.InvalidateScrolled(card.m_rgnItem); }

template <typename Change> void ItemCommands::Reshape(Card& card, Change change)
{
    Invalidate(card);
    change(card);
    card.UpdateRegion();
    Invalidate(card);
    m_doc.SetModifiedFlag(true);
}

template <typename Change> void ItemCommands::Geometry(Card& card, Change change)
{
    Raise(card);
    Reshape(card, change);
}

void ItemCommands::Delete(Card& card)
{
    if (mc::view::g_bPromptOnDelete) {
        DelImgModel answer;
        answer.m_bYes = m_host.AskDeleteImage(card, answer);
        if (!answer.m_bYes)
            return; // "No longer prompt" counts only together with Yes
        if (answer.StopsPrompting())
            mc::view::g_bPromptOnDelete = false;
    }
    if (!m_doc.m_listCards.Contains(&card))
        return;
    const QRegion area = card.m_rgnItem;
    // The view's pointer goes before the item does, so it never dangles.
    const bool wasCurrent = m_pCurCard == &card;
    if (wasCurrent)
        m_pCurCard = nullptr;
    m_doc.m_listCards.RemoveAndDelete(&card);
    m_host.InvalidateScrolled(area);
    m_doc.SetModifiedFlag(true);
    if (wasCurrent)
        m_host.CurrentCardCleared();
}

void ItemCommands::SendToBack(Card& card)
{
    m_doc.m_listCards.MoveToTail(&card);
    Invalidate(card);
    m_doc.SetModifiedFlag(true);
}

void ItemCommands::Clone(const Card& card)
{
    auto copy = std::make_unique<Card>();
    card.CloneTo(*copy);
    // The copy goes on top at the screen centre; the source keeps its place
    // in the stack and stays the current item.
    Card* added = m_doc.m_listCards.AddHead(std::move(copy));
    Invalidate(*added);
    m_doc.SetModifiedFlag(true);
}

void ItemCommands::ZoomIn(Card& card)
{
    Raise(card);
    if (card.m_dScale < kMaxZoomToGrow)
        Reshape(card, [](Card& c) { c.m_dScale += kZoomStep; });
}

void ItemCommands::ZoomOut(Card& card)
{
    Raise(card);
    if (card.m_dScale - kZoomStep > kMinZoomLeft)
        Reshape(card, [](Card& c) { c.m_dScale -= kZoomStep; });
}

void ItemCommands::CustomizeSize(Card& card)
{
    if (!card.m_pBitmap || card.m_pBitmap->isNull())
        return;
    SizeModel model =
        SizeModel::ForItem(card.m_dScale, card.m_pBitmap->width(), card.m_pBitmap->height());
    if (!m_host.AskSize(model))
        return;
    Card* still = Current(); // the dialog was modal, but stay safe
    if (still != &card)
        return;
    const double scale = model.m_dResultScale;
    Geometry(card, [scale](Card& c) { c.m_dScale = scale; });
}

void ItemCommands::RotateBy(Card& card, bool clockwise)
{
    RotateModel model(clockwise);
    if (!m_host.AskRotateDegree(model) || Current() != &card)
        return;
    const double degree = clockwise ? model.m_nDegree : -model.m_nDegree;
    Geometry(card, [degree](Card& c) { c.m_dAngle += degree; });
}

void ItemCommands::Gray(Card& card)
{
    Raise(card);
    card.m_bGray = !card.m_bGray;
    card.ApplyGray();
    Invalidate(card);
    m_doc.SetModifiedFlag(true);
}

void ItemCommands::Semitransparent(Card& card)
{
    Raise(card);
    card.m_bSemi = !card.m_bSemi;
    card.m_nAlpha = m_nDefaultAlpha;
    card.ApplySemi();
    Invalidate(card);
    m_doc.SetModifiedFlag(true);
}

void ItemCommands::SetSemitransparency()
{
    Card* card = Current();
    SemiModel model(card ? card->m_nAlpha : m_nDefaultAlpha, m_nDefaultAlpha);
    if (!m_host.AskSemitransparency(model))
        return;
    if (model.m_bSetDefault)
        m_nDefaultAlpha = model.m_nAlphaValue;
    card = Current();
    if (!card)
        return;
    Raise(*card);
    const int alpha = card->m_nAlpha;
    const bool semi = card->m_bSemi;
    card->m_nAlpha = model.m_nAlphaValue;
    card->m_bSemi = true;
    card->ApplySemi(); // turns m_bSemi off again for 255
    Invalidate(*card);
    // Both values are saved with the project: a change must not be lost
    // silently when the window closes.
    if (card->m_nAlpha != alpha || card->m_bSemi != semi)
        m_doc.SetModifiedFlag(true);
}

void ItemCommands::EraseBackground(Card& card)
{
    Raise(card);
    card.m_bErased = !card.m_bErased;
    // Toggling always erases exact colour matches, whatever extent was set.
    card.m_nEraseExtent = 0;
    if (card.m_bErased) {
        card.EraseBackground();
        card.UpdateRegion();
    } else {
        card.UndoErase();
    }
    Invalidate(card);
    m_doc.SetModifiedFlag(true);
}

void ItemCommands::SetEraseExtent()
{
    Card* card = Current();
    TransModel model(card && card->m_bErased ? card->m_nEraseExtent : 0);
    if (!m_host.AskEraseExtent(model))
        return;
    card = Current();
    if (!card)
        return;
    Raise(*card);
    const bool erased = card->m_bErased;
    const int extent = card->m_nEraseExtent;
    card->m_bErased = true;
    card->m_nEraseExtent = model.m_nExtent;
    card->EraseBackground();
    card->UpdateRegion();
    Invalidate(*card);
    if (card->m_bErased != erased || card->m_nEraseExtent != extent)
        m_doc.SetModifiedFlag(true);
}
