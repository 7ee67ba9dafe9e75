#pragma once
// Pictures for the benchmarks: written once to a temporary folder so that
// items are made the way the program makes them, from files.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>

namespace benchsupport {

// A photo-like 1500 x 1000 picture: a white background with a large object
// that has holes, stripes and a slightly noisy border.
inline QImage objectOnWhite(int w = 1500, int h = 1000)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 60, 40));
    p.drawEllipse(QRectF(w * 0.1, h * 0.1, w * 0.8, h * 0.8));
    p.setBrush(Qt::white);
    for (int i = 0; i < 12; ++i)
        p.drawEllipse(QRectF(w * (0.2 + 0.05 * i), h * (0.3 + 0.03 * (i % 5)), w * 0.03, h * 0.05));
    p.setBrush(QColor(30, 90, 160));
    for (int i = 0; i < 40; ++i)
        p.drawRect(QRectF(w * 0.15 + i * w * 0.018, h * 0.45, w * 0.008, h * 0.2));
    p.end();
    return img;
}

inline QString writeOnce(const QString& name, const QImage& img)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + "/" + name;
    if (!QFile::exists(path))
        img.save(path);
    return path;
}

} // namespace benchsupport
