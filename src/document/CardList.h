#pragma once
// The item stack of a project. The head is the topmost item (drawn last, hit
// first), the tail the bottommost. The list owns its items: removing one
// destroys it.
#include "items/Card.h"

#include <list>
#include <memory>
#include <utility>

class CardList {
public:
    using Storage = std::list<std::unique_ptr<Card>>;

    bool IsEmpty() const { return m_items.empty(); }
    int GetCount() const { return int(m_items.size()); }
    Card* GetHead() const { return m_items.empty() ? nullptr : m_items.front().get(); }
    Card* GetTail() const { return m_items.empty() ? nullptr : m_items.back().get(); }

    // Take ownership and return the item; a null item is not added.
    Card* AddHead(std::unique_ptr<Card> card);
    Card* AddTail(std::unique_ptr<Card> card);
    bool Contains(const Card* card) const;
    // Moves an item already in the list to the head (raise) or tail (lower);
    // an item not in the list is ignored.
    void MoveToHead(Card* card);
    void MoveToTail(Card* card);
    // Removes and destroys one item; false when it is not in the list.
    bool RemoveAndDelete(Card* card);
    void RemoveAll();
    // Hands every item over, leaving the list empty; Assign takes a whole
    // stack (the undo history rebuilds the list with them).
    Storage Release() { return std::exchange(m_items, {}); }
    void Assign(Storage items) { m_items = std::move(items); }

    // Head to tail (top to bottom) iteration.
    Storage::const_iterator begin() const { return m_items.begin(); }
    Storage::const_iterator end() const { return m_items.end(); }
    Storage::const_reverse_iterator rbegin() const { return m_items.rbegin(); }
    Storage::const_reverse_iterator rend() const { return m_items.rend(); }

private:
    Storage::iterator find(const Card* card);
    Storage m_items;
};
