#include "canvas/CardCut.h"

#include "items/Card.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace mc::canvas {

QTransform CutMatrix(const Card& card)
{
    // Factors are 32-bit floats, as in the item transform; each step is
    // appended (acts after the ones before it) except the zoom, which is
    // uniform and may stand anywhere.
    QTransform m;
    if (card.m_dAngle != 0.0) {
        const double radians = double(float(-card.m_dAngle)) * std::numbers::pi / 180.0;
        const float c = float(std::cos(radians));
        const float s = float(std::sin(radians));
        m = m * QTransform(c, s, -s, c, 0, 0);
    }
    if (card.m_dShearX != 0.0 || card.m_dShearY != 0.0) {
        const float shx = float(-0.1 * card.m_dShearX);
        const float shy = float(-0.1 * card.m_dShearY);
        m = m * QTransform(1, shy, shx, 1, 0, 0);
    }
    if (card.m_bFlipH)
        m = m * QTransform(-1, 0, 0, 1, 0, 0);
    if (card.m_bFlipV)
        m = m * QTransform(1, 0, 0, -1, 0, 0);
    const float zoom = float(1.0 / card.m_dScale);
    return QTransform(zoom, 0, 0, zoom, 0, 0) * m;
}

mc::Region ShapeInItem(const Card& card, const mc::Region& viewShape)
{
    mc::Region shape = viewShape;
    shape.translate(-card.m_ptCenter.x(), -card.m_ptCenter.y());
    const QTransform m = CutMatrix(card);
    // A zoom of 0 (only a damaged project has one) shows nothing to cut.
    if (!std::isfinite(m.m11()) || !m.isInvertible())
        return mc::Region();
    shape.transform(m);
    return shape;
}

bool CutCard(Card& card, const mc::Region& viewShape)
{
    if (!card.m_pClip || viewShape.isEmpty())
        return false;
    mc::Region kept = ShapeInItem(card, viewShape);
    kept.intersect(*card.m_pClip);
    if (kept.isEmpty())
        return false;
    if (!card.m_bCut)
        card.m_pClipSaved = std::make_unique<mc::Region>(*card.m_pClip);
    *card.m_pClip = std::move(kept);
    card.m_bCut = true;
    card.UpdateRegion();
    return true;
}

bool RestoreCard(Card& card)
{
    if (!card.m_bCut)
        return false;
    // The saved clip is the picture's rectangle or what it was before the
    // first cut; without one the whole picture is what there is to restore.
    if (card.m_pClipSaved && !card.m_pClipSaved->isInfinite())
        card.m_pClip = std::make_unique<mc::Region>(*card.m_pClipSaved);
    else if (card.m_pBitmap)
        card.m_pClip = std::make_unique<mc::Region>(Card::ImageRectRegion(card.m_pBitmap->size()));
    card.m_bCut = false;
    card.UpdateRegion();
    return true;
}

} // namespace mc::canvas
