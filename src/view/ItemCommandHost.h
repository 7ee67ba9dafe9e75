#pragma once
// What the item commands need from the window they run in: repainting part
// of the view and asking the user through the item dialogs. The view
// implements it with the real dialogs; tests implement it with scripted
// answers that drive the same dialog models.
#include <QRegion>

class Card;
class DelImgModel;
class RotateModel;
class SemiModel;
class SizeModel;
class TransModel;

class ItemCommandHost {
public:
    virtual ~ItemCommandHost() = default;

    // Repaints `region`, given in view coordinates, with the background
    // erased first.
    virtual void InvalidateScrolled(const QRegion& region) = 0;

    // The current item was dropped (it was deleted).
    virtual void CurrentCardCleared() {}

    // Each shows its dialog with the model's values and returns true when it
    // was closed with OK (Yes for the delete question); the model then holds
    // the answer. A dialog refuses invalid input itself and stays open.
    virtual bool AskDeleteImage(const Card& card, DelImgModel& model) = 0;
    virtual bool AskRotateDegree(RotateModel& model) = 0;
    virtual bool AskSize(SizeModel& model) = 0;
    virtual bool AskSemitransparency(SemiModel& model) = 0;
    virtual bool AskEraseExtent(TransModel& model) = 0;
};
