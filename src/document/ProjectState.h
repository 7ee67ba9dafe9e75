#pragma once
// One state of a project as the undo history keeps it: every item (as a
// shared, unchanging copy), the background, the canvas and the current item.
// Consecutive states share the copies of the items that did not change, and
// the copies share pixels with the live items, so a state costs a pointer
// per item plus what the step itself changed.
#include "imaging/Colors.h"
#include "items/Card.h"

#include <QImage>
#include <QRegion>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class CMyDoc;

namespace mc::document {

struct ProjectState {
    std::vector<std::shared_ptr<const Card>> cards; // top to bottom
    // Null for no picture; a null QImage for a picture that draws nothing.
    std::optional<QImage> bkImage;
    QString bkPath;
    int predefined = -1;
    int placement = 0;
    int canvasWidth = 0;
    int canvasHeight = 0;
    mc::COLORREF bkColor = 0;
    bool byDisplayScale = true;
    // The item that was current in this state (Card::m_nId), 0 for none.
    quint64 currentId = 0;

    bool SameBackground(const ProjectState& other) const;
    // Same items (the very same copies) in the same order and the same
    // background; the current item does not count.
    bool SameProject(const ProjectState& other) const;
};

// The project as it is now. Items whose state equals their copy in
// `previous` reuse that copy.
ProjectState CaptureState(const CMyDoc& doc, const ProjectState* previous);

// What restoring a state changed on the screen.
struct RestoreResult {
    QRegion area;          // view coordinates: items changed, added, removed or restacked
    bool background = false; // the background or the canvas changed
};

// Makes the project hold `state`. Items still present keep their objects
// (pointers to them stay valid); items the state lacks are destroyed.
RestoreResult RestoreState(CMyDoc& doc, const ProjectState& state);

} // namespace mc::document
