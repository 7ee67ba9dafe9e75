#include "document/ProjectState.h"

#include "document/CMyDoc.h"

#include <unordered_map>

namespace mc::document {

namespace {

void captureBackground(const CMyDoc& doc, ProjectState& s)
{
    s.bkImage = doc.m_pBkImage ? std::optional<QImage>(*doc.m_pBkImage) : std::nullopt;
    s.bkPath = doc.m_strBkPath;
    s.predefined = doc.m_nPredefined;
    s.placement = doc.m_nPlacement;
    s.canvasWidth = doc.m_nCanvasWidth;
    s.canvasHeight = doc.m_nCanvasHeight;
    s.bkColor = doc.m_crBkColor;
    s.byDisplayScale = doc.m_bByDisplayScale;
}

void restoreBackground(CMyDoc& doc, const ProjectState& s)
{
    doc.m_pBkImage = s.bkImage ? std::make_unique<QImage>(*s.bkImage) : nullptr;
    doc.m_strBkPath = s.bkPath;
    doc.m_nPredefined = s.predefined;
    doc.m_nPlacement = s.placement;
    doc.m_nCanvasWidth = s.canvasWidth;
    doc.m_nCanvasHeight = s.canvasHeight;
    doc.m_crBkColor = s.bkColor;
    doc.m_bByDisplayScale = s.byDisplayScale;
}

// The items whose place in the stack changed between `before` and `after`
// (both holding only items present in both). Every command moves at most
// one item, which is found in linear time; anything else counts the whole
// stretch between the first and the last difference.
std::vector<quint64> restacked(const std::vector<quint64>& before, const std::vector<quint64>& after)
{
    if (before == after)
        return {};
    size_t first = 0;
    while (before[first] == after[first])
        ++first;
    size_t last = before.size() - 1;
    while (before[last] == after[last])
        --last;
    auto without = [](std::vector<quint64> ids, quint64 id) {
        std::erase(ids, id);
        return ids;
    };
    for (quint64 id : {before[first], after[first]})
        if (without(before, id) == without(after, id))
            return {id};
    return {before.begin() + first, before.begin() + last + 1};
}

} // namespace

bool ProjectState::SameBackground(const ProjectState& o) const
{
    const bool sameImage = bkImage.has_value() == o.bkImage.has_value()
        && (!bkImage || bkImage->cacheKey() == o.bkImage->cacheKey());
    return sameImage && bkPath == o.bkPath && predefined == o.predefined && placement == o.placement
        && canvasWidth == o.canvasWidth && canvasHeight == o.canvasHeight && bkColor == o.bkColor
        && byDisplayScale == o.byDisplayScale;
}

bool ProjectState::SameProject(const ProjectState& other) const
{
    return cards == other.cards && SameBackground(other);
}

ProjectState CaptureState(const CMyDoc& doc, const ProjectState* previous)
{
    std::unordered_map<quint64, const std::shared_ptr<const Card>*> earlier;
    if (previous)
        for (const auto& copy : previous->cards)
            earlier.emplace(copy->m_nId, &copy);
    ProjectState s;
    s.cards.reserve(size_t(doc.m_listCards.GetCount()));
    for (const auto& card : doc.m_listCards) {
        const auto it = earlier.find(card->m_nId);
        if (it != earlier.end() && (*it->second)->SameState(*card)) {
            s.cards.push_back(*it->second);
        } else {
            auto copy = std::make_shared<Card>();
            copy->CopyStateFrom(*card);
            s.cards.push_back(std::move(copy));
        }
    }
    captureBackground(doc, s);
    return s;
}

RestoreResult RestoreState(CMyDoc& doc, const ProjectState& state)
{
    RestoreResult result;
    std::unordered_map<quint64, std::unique_ptr<Card>> live;
    std::vector<quint64> before;
    for (auto& card : doc.m_listCards.Release()) {
        before.push_back(card->m_nId);
        live.emplace(card->m_nId, std::move(card));
    }
    std::unordered_map<quint64, Card*> kept;
    std::vector<quint64> after;
    CardList::Storage items;
    for (const auto& copy : state.cards) {
        std::unique_ptr<Card> card;
        if (auto it = live.find(copy->m_nId); it != live.end()) {
            card = std::move(it->second);
            live.erase(it);
            kept.emplace(card->m_nId, card.get());
            after.push_back(card->m_nId);
        } else {
            card = std::make_unique<Card>(); // its region is empty until the copy
        }
        if (!card->SameState(*copy)) {
            result.area += card->m_rgnItem;
            card->CopyStateFrom(*copy);
            result.area += card->m_rgnItem;
        }
        items.push_back(std::move(card));
    }
    for (const auto& [id, gone] : live)
        result.area += gone->m_rgnItem;
    std::erase_if(before, [&](quint64 id) { return !kept.contains(id); });
    for (quint64 id : restacked(before, after))
        result.area += kept.at(id)->m_rgnItem;
    doc.m_listCards.Assign(std::move(items));

    ProjectState now;
    captureBackground(doc, now);
    if (!now.SameBackground(state)) {
        restoreBackground(doc, state);
        result.background = true;
    }
    return result;
}

} // namespace mc::document
