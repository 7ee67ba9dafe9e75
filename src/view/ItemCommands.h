#pragma once
// The commands that act on the view's current item: delete, stacking order,
// clone, zoom and size, rotation, flips, shears, gray, semitransparency and
// background erase, with the check marks of the three pixel effects.
//
// Most commands follow one pattern: raise the item, repaint its old area,
// change it, recompute its regions, repaint its new area and mark the project
// modified. Without a current item they are disabled and do nothing, except
// the two "Set ..." commands whose dialogs also work on the defaults.
#include "document/CommandTarget.h"

class CMyDoc;
class Card;
class ItemCommandHost;

namespace mc::view {

// Whether Delete Image asks first. Process-wide and never saved: "No longer
// prompt" clears it until the program ends.
extern bool g_bPromptOnDelete;

} // namespace mc::view

class ItemCommands : public CommandTarget {
public:
    // `currentCard` and `defaultAlpha` are the view's own fields; the
    // commands read and change them in place.
    ItemCommands(CMyDoc& doc, Card*& currentCard, int& defaultAlpha, ItemCommandHost& host);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override { return Handles(id); }

    // True for every command ID this target carries out.
    static bool Handles(int id);

    // Zoom limits and steps.
    static constexpr double kZoomStep = 0.1;
    static constexpr double kMaxZoomToGrow = 5.0;
    static constexpr double kMinZoomLeft = 0.0001;

private:
    // The current item, or null. A pointer that no longer names an item of
    // the project is dropped here, so no command ever acts through it.
    Card* Current();

    void Raise(Card& card);
    void Invalidate(const Card& card);
    // The geometry pattern without the raise: old area, change, regions,
    // new area, modified.
    template <typename Change> void Reshape(Card& card, Change change);
    template <typename Change> void Geometry(Card& card, Change change);

    void Delete(Card& card);
    void SendToBack(Card& card);
    void Clone(const Card& card);
    void ZoomIn(Card& card);
    void ZoomOut(Card& card);
    void CustomizeSize(Card& card);
    void RotateBy(Card& card, bool clockwise);
    void Gray(Card& card);
    void Semitransparent(Card& card);
    void SetSemitransparency();
    void EraseBackground(Card& card);
    void SetEraseExtent();

    CMyDoc& m_doc;
    Card*& m_pCurCard;
    int& m_nDefaultAlpha;
    ItemCommandHost& m_host;
};
