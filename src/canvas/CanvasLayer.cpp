#include "canvas/CanvasLayer.h"

#include "document/CMyDoc.h"
#include "imaging/Colors.h"
#include "imaging/PixelCoordinate.h"
#include "items/Card.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace mc::canvas {

QPoint CanvasOrigin(QSize clientSize, int canvasWidth, int canvasHeight)
{
    const int cw = clientSize.width();
    const int ch = clientSize.height();
    return {cw > canvasWidth ? (cw - canvasWidth) / 2 : 0, ch > canvasHeight ? (ch - canvasHeight) / 2 : 0};
}

void DrawCanvasBackground(QPainter& painter, const CMyDoc& doc, const QRect& rect, double rx, double ry)
{
    const QColor color = colorrefToColor(doc.m_crBkColor);
    const QImage* picture = doc.m_pBkImage.get();
    if (!picture) {
        painter.fillRect(rect, color);
        return;
    }
    // A picture that could not be decoded draws nothing.
    switch (doc.m_nPlacement) {
    case PLACEMENT_STRETCH:
        if (!picture->isNull())
            painter.drawImage(rect, *picture);
        break;
    case PLACEMENT_TILE:
        if (!picture->isNull()) {
            QBrush brush(*picture);
            brush.setTransform(QTransform::fromTranslate(rect.x(), rect.y()));
            painter.fillRect(rect, brush);
        }
        break;
    case PLACEMENT_CENTER:
        painter.fillRect(rect, color);
        if (!picture->isNull()) {
            const int pw = imaging::truncToPixel(picture->width() * rx);
            const int ph = imaging::truncToPixel(picture->height() * ry);
            const int x = rect.x() + (rect.width() - pw) / 2;
            const int y = rect.y() + (rect.height() - ph) / 2;
            if (pw == picture->width() && ph == picture->height())
                painter.drawImage(QPoint(x, y), *picture);
            else
                painter.drawImage(QRect(x, y, pw, ph), *picture);
        }
        break;
    default:
        break;
    }
}

void CanvasLayer::Rebuild(const CMyDoc& doc, QSize clientSize, QSize screenSize, QColor surround)
{
    m_layer = QImage(screenSize.width() + 2, screenSize.height() + 2, QImage::Format_RGB32);
    m_layer.fill(surround);

    const int w = doc.m_nCanvasWidth;
    const int h = doc.m_nCanvasHeight;
    const QPoint origin = CanvasOrigin(clientSize, w, h);
    m_canvasRect = QRect(origin.x(), origin.y(), w, h);

    QPainter painter(&m_layer);
    // A one-pixel black frame just outside the canvas, the canvas white.
    painter.fillRect(QRect(origin.x() - 1, origin.y() - 1, w + 2, h + 2), Qt::black);
    painter.fillRect(m_canvasRect, Qt::white);

    painter.setClipRect(m_canvasRect);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawCanvasBackground(painter, doc, m_canvasRect);
}

void CanvasLayer::Paint(QPainter& painter, const CMyDoc& doc) const
{
    painter.drawImage(QPoint(0, 0), m_layer);

    painter.save();
    painter.setClipRect(m_canvasRect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    // Bottom of the stack first; every item once, so a semitransparent item
    // looks the same wherever it lies in the stack.
    for (auto it = doc.m_listCards.rbegin(); it != doc.m_listCards.rend(); ++it)
        DrawItem(painter, **it);
    painter.restore();
}

void DrawItem(QPainter& painter, const Card& card)
{
    // A repaint of a small area (a drag) skips the items far from it.
    if (painter.hasClipping() && !painter.clipBoundingRect().intersects(card.m_rgnItem.boundingRect()))
        return;
    painter.save();
    painter.setClipRegion(card.m_rgnItem, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    card.Draw(painter);
    painter.restore();
}

QImage RenderCanvas(const CMyDoc& doc, QSize clientSize)
{
    // The same steps as the layer and the paint, at the same view positions,
    // without building a screen-sized framed layer only to cut it out again.
    const QSize canvas(doc.m_nCanvasWidth, doc.m_nCanvasHeight);
    const QRect canvasRect(CanvasOrigin(clientSize, canvas.width(), canvas.height()), canvas);
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-canvasRect.topLeft());
    painter.setClipRect(canvasRect);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawCanvasBackground(painter, doc, canvasRect);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (auto it = doc.m_listCards.rbegin(); it != doc.m_listCards.rend(); ++it)
        DrawItem(painter, **it);
    return image;
}

QColor SurroundColor()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(0xEF, 0xEF, 0xEF);
}

} // namespace mc::canvas
