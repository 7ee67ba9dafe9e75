#pragma once
// Cutting an item with a shape and restoring its whole picture, without the
// view: the shape comes in view coordinates, the item keeps its clip in its
// own coordinates.
#include "imaging/Region.h"

#include <QTransform>

class Card;

namespace mc::canvas {

// The matrix that takes a shape, already moved so that the item's centre is
// the origin, into the item's own coordinates: the item's transform undone
// step by step in reverse order. Two parts are not undone exactly and stay
// so: the item transform's start factor 1.0001, and the shear, whose negation
// is its inverse only while one of its two factors is 0.
QTransform CutMatrix(const Card& card);

// A copy of `viewShape` (view coordinates) in the item's coordinates.
mc::Region ShapeInItem(const Card& card, const mc::Region& viewShape);

// Keeps of the item only what lies inside `viewShape` as well: its clip
// from before the first cut is saved, the clip is narrowed, the item counts
// as cut and its regions are recomputed. False, with nothing changed, when
// the shape does not touch the visible part of the item.
bool CutCard(Card& card, const mc::Region& viewShape);

// Gives a cut item back the clip it had before its first cut and
// recomputes its regions. False, with nothing changed, for an uncut item.
bool RestoreCard(Card& card);

} // namespace mc::canvas
