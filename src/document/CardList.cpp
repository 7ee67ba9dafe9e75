#include "document/CardList.h"

#include <algorithm>

CardList::Storage::iterator CardList::find(const Card* card)
{
    return std::find_if(m_items.begin(), m_items.end(),
                        [card](const std::unique_ptr<Card>& item) { return item.get() == card; });
}

Card* CardList::AddHead(std::unique_ptr<Card> card)
{
    if (!card)
        return nullptr;
    m_items.push_front(std::move(card));
    return m_items.front().get();
}

Card* CardList::AddTail(std::unique_ptr<Card> card)
{
    if (!card)
        return nullptr;
    m_items.push_back(std::move(card));
    return m_items.back().get();
}

bool CardList::Contains(const Card* card) const
{
    return card && std::any_of(m_items.begin(), m_items.end(),
                               [card](const std::unique_ptr<Card>& item) { return item.get() == card; });
}

void CardList::MoveToHead(Card* card)
{
    const auto it = find(card);
    if (card && it != m_items.end())
        m_items.splice(m_items.begin(), m_items, it);
}

void CardList::MoveToTail(Card* card)
{
    const auto it = find(card);
    if (card && it != m_items.end())
        m_items.splice(m_items.end(), m_items, it);
}

bool CardList::RemoveAndDelete(Card* card)
{
    const auto it = find(card);
    if (!card || it == m_items.end())
        return false;
    m_items.erase(it);
    return true;
}

void CardList::RemoveAll()
{
    // Detach first so that an item's destructor never sees a half-emptied list.
    Storage doomed;
    doomed.swap(m_items);
}
