#include "view/CanvasLayer.h"

#include "document/CMyDoc.h"
#include "imaging/Colors.h"
#include "items/Card.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace mc::view {

QPoint CanvasOrigin(QSize clientSize, int canvasWidth, int canvasHeight)
{
    const int cw = clientSize.width();
    const int ch = clientSize.height();
    return {cw > canvasWidth ? (cw - canvasWidth) / 2 : 0, ch > canvasHeight ? (ch - canvasHeight) / 2 : 0};
}

namespace {

void drawBackground(QPainter& painter, const CMyDoc& doc, const QRect& canvas)
{
    const QColor color = colorrefToColor(doc.m_crBkColor);
    const QImage* picture = doc.m_pBkImage.get();
    if (!picture) {
        painter.fillRect(canvas, color);
        return;
    }
    switch (doc.m_nPlacement) {
    case PLACEMENT_STRETCH:
        if (!picture->isNull())
            painter.drawImage(canvas, *picture);
        break;
    case PLACEMENT_TILE:
        if (!picture->isNull()) {
            // The first tile starts at the canvas's top-left corner.
            QBrush brush(*picture);
            brush.setTransform(QTransform::fromTranslate(canvas.x(), canvas.y()));
            painter.fillRect(canvas, brush);
        }
        break;
    case PLACEMENT_CENTER:
        painter.fillRect(canvas, color);
        if (!picture->isNull()) {
            // Integer halves truncate toward zero, also for a picture larger
            // than the canvas; the clip cuts off what lies outside.
            const int x = canvas.x() + (canvas.width() - picture->width()) / 2;
            const int y = canvas.y() + (canvas.height() - picture->height()) / 2;
            painter.drawImage(QPoint(x, y), *picture);
        }
        break;
    default:
        break; // an unknown placement leaves the canvas white
    }
}

} // namespace

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
    drawBackground(painter, doc, m_canvasRect);
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

QImage RenderCanvas(const CMyDoc& doc, QSize clientSize, QSize screenSize, QColor surround)
{
    CanvasLayer layer;
    layer.Rebuild(doc, clientSize, screenSize, surround);
    const QRect canvas = layer.CanvasRect();
    QImage image(canvas.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-canvas.topLeft());
    layer.Paint(painter, doc);
    return image;
}

QColor SurroundColor()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(0xEF, 0xEF, 0xEF);
}

} // namespace mc::view
