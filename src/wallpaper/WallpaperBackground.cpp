#include "wallpaper/WallpaperBackground.h"

#include "document/CMyDoc.h"
#include "imaging/Colors.h"

#include <QBrush>
#include <QPainter>

namespace mc::wallpaper {

void DrawWallpaperBackground(QPainter& painter, const CMyDoc& doc, const QRect& rect, double rx, double ry)
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
            const int pw = int(picture->width() * rx);
            const int ph = int(picture->height() * ry);
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

} // namespace mc::wallpaper
