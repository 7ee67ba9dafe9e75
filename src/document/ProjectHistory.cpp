#include "document/ProjectHistory.h"

#include <unordered_set>

namespace mc::document {

void ProjectHistory::Reset(const CMyDoc& doc, bool clean)
{
    m_states = {CaptureState(doc, nullptr)};
    m_labels.clear();
    m_index = 0;
    m_clean = clean ? 0 : -1;
    m_bMergeable = false;
}

void ProjectHistory::MarkClean(const CMyDoc& doc)
{
    ProjectState& present = m_states[size_t(m_index)];
    ProjectState now = CaptureState(doc, &present);
    if (!now.SameProject(present)) {
        now.currentId = present.currentId;
        present = std::move(now);
    }
    m_clean = m_index;
    m_bMergeable = false;
}

void ProjectHistory::NoteCurrent(quint64 currentId) { m_states[size_t(m_index)].currentId = currentId; }

bool ProjectHistory::Record(const CMyDoc& doc, const QString& label, quint64 currentId, bool merge)
{
    ProjectState now = CaptureState(doc, &m_states[size_t(m_index)]);
    now.currentId = currentId;
    if (now.SameProject(m_states[size_t(m_index)])) {
        NoteCurrent(currentId);
        return false;
    }
    if (merge && m_bMergeable && m_index > 0 && !CanRedo() && m_labels[size_t(m_index - 1)] == label
        && m_states[size_t(m_index)].currentId == currentId) {
        if (now.SameProject(m_states[size_t(m_index - 1)])) {
            dropBack(); // back where the burst began
        } else {
            m_states[size_t(m_index)] = std::move(now);
            enforceBounds();
        }
        return false;
    }
    m_bMergeable = merge;
    m_states.resize(size_t(m_index) + 1);
    m_labels.resize(size_t(m_index));
    if (m_clean > m_index)
        m_clean = -1; // the saved state was undone and is now overwritten
    m_states.push_back(std::move(now));
    m_labels.push_back(label);
    ++m_index;
    enforceBounds();
    return true;
}

bool ProjectHistory::Undo(CMyDoc& doc, RestoreResult& result, quint64& currentId)
{
    return CanUndo() && moveTo(doc, m_index - 1, result, currentId);
}

bool ProjectHistory::Redo(CMyDoc& doc, RestoreResult& result, quint64& currentId)
{
    return CanRedo() && moveTo(doc, m_index + 1, result, currentId);
}

bool ProjectHistory::moveTo(CMyDoc& doc, int index, RestoreResult& result, quint64& currentId)
{
    m_bMergeable = false;
    const ProjectState& target = m_states[size_t(index)];
    result = RestoreState(doc, target);
    currentId = target.currentId;
    m_index = index;
    return true;
}

qint64 ProjectHistory::HeldBytes() const
{
    // What the present state holds is the project's own; every other copy,
    // picture and kept area is counted once however many states share it.
    std::unordered_set<const void*> own;
    std::unordered_set<qint64> ownImages;
    const ProjectState& present = m_states[size_t(m_index)];
    auto imageKey = [](const Card& c) { return c.m_pBitmap ? c.m_pBitmap->cacheKey() : 0; };
    for (const auto& card : present.cards) {
        own.insert(card.get());
        own.insert(card->m_pKeep.get());
        ownImages.insert(imageKey(*card));
    }
    if (present.bkImage)
        ownImages.insert(present.bkImage->cacheKey());
    qint64 bytes = 0;
    std::unordered_set<const void*> seen;
    std::unordered_set<qint64> seenImages;
    auto image = [&](const QImage& picture) {
        if (!ownImages.contains(picture.cacheKey()) && seenImages.insert(picture.cacheKey()).second)
            bytes += picture.sizeInBytes();
    };
    const ProjectState* previous = nullptr;
    for (const ProjectState& state : m_states) {
        if (&state != &present)
            bytes += qint64(state.cards.capacity() * sizeof(state.cards[0]));
        if (state.bkImage)
            image(*state.bkImage);
        for (size_t i = 0; i < state.cards.size(); ++i) {
            const auto& card = state.cards[i];
            // Neighbouring states mostly hold the same copies in the same
            // places: those were counted already, without a lookup.
            if (previous && i < previous->cards.size() && previous->cards[i] == card)
                continue;
            if (own.contains(card.get()) || !seen.insert(card.get()).second)
                continue;
            bytes += qint64(sizeof(Card));
            if (card->m_pBitmap)
                image(*card->m_pBitmap);
            if (card->m_pKeep && !own.contains(card->m_pKeep.get()) && seen.insert(card->m_pKeep.get()).second)
                bytes += card->m_pKeep->byteSize();
        }
        previous = &state;
    }
    return bytes;
}

void ProjectHistory::dropBack()
{
    m_states.pop_back();
    m_labels.pop_back();
    --m_index;
    m_bMergeable = false;
}

void ProjectHistory::dropFront()
{
    m_states.pop_front();
    m_labels.pop_front();
    --m_index;
    m_clean = m_clean > 0 ? m_clean - 1 : -1;
}

void ProjectHistory::enforceBounds()
{
    while (StepCount() > kMaxSteps)
        dropFront();
    // Record calls this with no redo left, so only the oldest steps go.
    while (m_index > 0 && HeldBytes() > kMaxPictureBytes)
        dropFront();
}

} // namespace mc::document
