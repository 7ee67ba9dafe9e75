// The item transform, drawing and the item's pixel regions in the view.
#include "items/Card.h"

#include <QPainter>

#include <cmath>
#include <numbers>

QTransform Card::Transform() const
{
    // Every factor is a 32-bit float, as the matrix keeps it. Each step is
    // appended: it acts after the steps before it.
    const float start = 1.0001f;
    QTransform m(start, 0, 0, start, 0, 0);
    const float s = float(m_dScale);
    m = m * QTransform(s, 0, 0, s, 0, 0);
    if (m_bFlipH)
        m = m * QTransform(-1, 0, 0, 1, 0, 0);
    if (m_bFlipV)
        m = m * QTransform(1, 0, 0, -1, 0, 0);
    if (m_dShearX != 0.0 || m_dShearY != 0.0) {
        const float shx = float(m_dShearX * 0.1);
        const float shy = float(m_dShearY * 0.1);
        // x' = x + shx * y, y' = shy * x + y
        m = m * QTransform(1, shy, shx, 1, 0, 0);
    }
    if (m_dAngle != 0.0) {
        const float degrees = float(m_dAngle);
        const double radians = double(degrees) * std::numbers::pi / 180.0;
        const float c = float(std::cos(radians));
        const float sn = float(std::sin(radians));
        // x' = x cos a - y sin a, y' = x sin a + y cos a: clockwise with y down
        m = m * QTransform(c, sn, -sn, c, 0, 0);
    }
    return m;
}

void Card::Draw(QPainter& painter) const
{
    if (!m_pBitmap || m_pBitmap->isNull() || !m_pClip || m_pClip->isEmpty())
        return;
    const int w = m_pBitmap->width();
    const int h = m_pBitmap->height();
    const QRect target(-(w / 2), -(h / 2), w, h);

    painter.save();
    painter.translate(m_ptCenter.x(), m_ptCenter.y());
    painter.setTransform(Transform(), true);
    // The clip travels with the item. It is combined with the caller's clip
    // (the canvas); the uncut image rectangle adds nothing to the bitmap's
    // own edges and is left out.
    if (!m_pClip->isInfinite() && *m_pClip != ImageRectRegion(m_pBitmap->size()))
        painter.setClipPath(m_pClip->path(), Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, *m_pBitmap);
    painter.restore();
}

void Card::UpdateRegion()
{
    if (!m_pClip) {
        m_rgnItem = QRegion();
        m_rgnKept = QRegion();
        return;
    }
    // Item-local -> view: the transform, then the move to the centre.
    const QTransform toView = Transform() * QTransform::fromTranslate(m_ptCenter.x(), m_ptCenter.y());
    mc::Region item = *m_pClip;
    item.transform(toView);
    m_rgnItem = item.toPixelRegion(QRect(-kRegionExtent, -kRegionExtent, 2 * kRegionExtent, 2 * kRegionExtent));
    if (m_bErased) {
        // Nothing of the kept area lies outside the item: rasterise only there.
        const mc::imaging::PixelArea everything = mc::imaging::PixelArea::infinite();
        const mc::imaging::PixelArea& kept = m_pKeep ? *m_pKeep : everything;
        m_rgnKept = kept.mapped(toView, m_rgnItem.boundingRect()).intersected(m_rgnItem);
    }
}
