#include "app/ToolbarImages.h"

#include "document/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace mc::app {

namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kBlue(0x20, 0x60, 0xC0);
const QColor kRed(0xC0, 0x20, 0x20);
const QColor kGreen(0x20, 0x90, 0x40);

void picture(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(kInk);
    p.setBrush(QColor(0xA0, 0xD0, 0xF0));
    p.drawRect(x, y, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygon({QPoint(x + 1, y + h), QPoint(x + w / 2, y + h / 2), QPoint(x + w, y + h)}));
}

void arrowArc(QPainter& p, bool clockwise)
{
    p.setPen(QPen(kBlue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRect(3, 3, 10, 10), clockwise ? 200 * 16 : -20 * 16, clockwise ? -270 * 16 : 270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    if (clockwise)
        p.drawPolygon(QPolygon({QPoint(9, 0), QPoint(14, 3), QPoint(9, 6)}));
    else
        p.drawPolygon(QPolygon({QPoint(6, 0), QPoint(1, 3), QPoint(6, 6)}));
}

void magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(1, 1, 9, 9));
    p.setPen(QPen(kInk, 2));
    p.drawLine(9, 9, 14, 14);
    p.setPen(kBlue);
    p.drawLine(3, 5, 8, 5);
    if (plus)
        p.drawLine(5, 3, 5, 8);
}

} // namespace

QImage ToolbarImage(int id)
{
    QImage image(kButtonImageWidth, kButtonImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    switch (id) {
    case ID_ADD_IMAGE:
        picture(p, 0, 3, 11, 10);
        p.setPen(QPen(kGreen, 2));
        p.drawLine(13, 1, 13, 7);
        p.drawLine(10, 4, 15, 4);
        break;
    case ID_DELETE_IMAGE:
        picture(p, 0, 3, 11, 10);
        p.setPen(QPen(kRed, 2));
        p.drawLine(10, 1, 15, 6);
        p.drawLine(15, 1, 10, 6);
        break;
    case ID_FILE_SAVE:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.drawRect(3, 9, 9, 5);
        break;
    case ID_SET_WALLPAPER_STRETCHED:
        p.setPen(kInk);
        p.setBrush(QColor(0x40, 0x40, 0x40));
        p.drawRect(0, 1, 15, 10);
        picture(p, 2, 3, 11, 6);
        p.setPen(kInk);
        p.drawLine(5, 13, 10, 13);
        p.drawLine(7, 11, 7, 13);
        break;
    case ID_ZOOM_IN:
        magnifier(p, true);
        break;
    case ID_ZOOM_OUT:
        magnifier(p, false);
        break;
    case ID_ROTATE_CLOCKWISE:
        arrowArc(p, true);
        break;
    case ID_ROTATE_COUNTER_CLOCKWISE:
        arrowArc(p, false);
        break;
    case ID_CLONE:
        picture(p, 0, 0, 10, 9);
        picture(p, 5, 5, 10, 9);
        break;
    case ID_CUT_STATUS:
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRect(1, 2, 13, 10), 3, 3);
        break;
    case ID_CUT: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(1, 9, 5, 5));
        p.drawEllipse(QRect(9, 9, 5, 5));
        p.drawLine(5, 10, 12, 0);
        p.drawLine(10, 10, 3, 0);
        break;
    }
    case ID_RESTORE_ORIGINAL_IMAGE:
        picture(p, 2, 2, 12, 11);
        p.setPen(QPen(kRed, 2));
        p.drawArc(QRect(0, 0, 8, 8), 90 * 16, 180 * 16);
        break;
    case ID_GRAY: {
        for (int i = 0; i < 4; ++i) {
            const int v = 0x30 + i * 0x40;
            p.fillRect(QRect(1 + i * 3 + i / 2, 2, 3, 11), QColor(v, v, v));
        }
        p.setPen(kInk);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 1, 14, 12);
        break;
    }
    case ID_SEMITRANSPARENT:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x60, 0xC0, 255));
        p.drawRect(1, 1, 9, 9);
        p.setBrush(QColor(0xC0, 0x20, 0x20, 128));
        p.drawRect(5, 5, 10, 9);
        break;
    case ID_REFRESH:
        p.setPen(QPen(kGreen, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(2, 2, 11, 11), 30 * 16, 300 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygon({QPoint(10, 0), QPoint(15, 5), QPoint(9, 6)}));
        break;
    case ID_FULL_SCREEN:
        p.setPen(kInk);
        p.setBrush(Qt::white);
        p.drawRect(0, 1, 15, 12);
        p.setPen(QPen(kBlue, 1));
        p.drawLine(2, 3, 5, 3);
        p.drawLine(2, 3, 2, 6);
        p.drawLine(13, 11, 10, 11);
        p.drawLine(13, 11, 13, 8);
        p.drawLine(2, 3, 6, 7);
        p.drawLine(13, 11, 9, 7);
        break;
    default:
        break;
    }
    return image;
}

} // namespace mc::app
