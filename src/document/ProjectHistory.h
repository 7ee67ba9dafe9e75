#pragma once
// Undo and redo: the states of the project between its changes, with the
// name of the command that led from each to the next, and the state that
// matches the file (the clean point).
#include "document/ProjectState.h"

#include <deque>

class CMyDoc;

namespace mc::document {

class ProjectHistory {
public:
    // At most this many steps are kept, the oldest dropped first: far more
    // than anyone walks back through, and every one a pointer per item.
    static constexpr int kMaxSteps = 100;
    // Pictures (and kept areas) that only the history holds, beyond the
    // project's own, stay under this. An effect on a 12-megapixel photo
    // keeps one 48 MB copy of its pixels, so ten such steps fit; it is an
    // eighth of the 4 GiB the project's own pictures may take at most.
    static constexpr qint64 kMaxPictureBytes = qint64(512) << 20;

    // A fresh history whose only state is the project as it is now; `clean`
    // says whether that state matches the file.
    void Reset(const CMyDoc& doc, bool clean);
    // The project was saved (or is taken as saved): its state is the clean
    // point. A project changed without a step is taken as it is.
    void MarkClean(const CMyDoc& doc);
    // The item current before the next change, restored by its undo.
    void NoteCurrent(quint64 currentId);
    // After a command: when the project differs from the present state, the
    // difference becomes one step named `label` (any redo is dropped).
    // Returns whether a step was added.
    //
    // A burst of small changes (the arrow keys moving an item) is one step:
    // with `merge`, the change joins the last step instead when that step
    // was itself recorded with `merge`, carries the same label and the same
    // current item, and nothing came between: no other step, no undo or
    // redo, no save. A burst that ends where it began leaves no step.
    bool Record(const CMyDoc& doc, const QString& label, quint64 currentId, bool merge = false);

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index + 1 < int(m_states.size()); }
    QString UndoLabel() const { return CanUndo() ? m_labels[size_t(m_index - 1)] : QString(); }
    QString RedoLabel() const { return CanRedo() ? m_labels[size_t(m_index)] : QString(); }
    bool AtCleanPoint() const { return m_index == m_clean; }

    // Step back or forward; nothing happens (false) at either end. The
    // result says what to repaint and `currentId` which item is current.
    bool Undo(CMyDoc& doc, RestoreResult& result, quint64& currentId);
    bool Redo(CMyDoc& doc, RestoreResult& result, quint64& currentId);

    int StepCount() const { return int(m_states.size()) - 1; }
    // Bytes of pictures and kept areas only the history holds.
    qint64 HeldBytes() const;

private:
    bool moveTo(CMyDoc& doc, int index, RestoreResult& result, quint64& currentId);
    void enforceBounds();
    void dropFront();
    void dropBack(); // the present state and the step to it

    std::deque<ProjectState> m_states{ProjectState{}};
    std::deque<QString> m_labels; // m_labels[i] leads from state i to i + 1
    int m_index = 0;
    int m_clean = 0; // -1: no state matches the file
    bool m_bMergeable = false; // the last step may take the next merge
};

} // namespace mc::document
