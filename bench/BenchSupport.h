#pragma once
// Pictures for the benchmarks: written once to a temporary folder so that
// items are made the way the program makes them, from files.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>
#include <vector>
#include <cstdint>
#include <cmath>
#include <algorithm>
#include <QPen>

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

// Smooth light and colour with grain and a few hard edges: JPEG has to work
// about as hard as on a real photo, unlike a flat colour.
inline QImage photoLike(int seed, int w, int h, int edgeWidth)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::uint32_t state = 0x9E3779B9u * std::uint32_t(seed + 1);
    const double phase = seed * 0.7;
    // Sums of sines, split into a row and a column factor each so that a
    // large picture takes no trigonometry per pixel.
    std::vector<double> sinU(w), cosU(w), sin3U(w), cos3U(w);
    for (int x = 0; x < w; ++x) {
        const double u = double(x) / w;
        sinU[x] = std::sin(u);
        cosU[x] = std::cos(u);
        sin3U[x] = std::sin(3.0 * u);
        cos3U[x] = std::cos(3.0 * u);
    }
    std::vector<double> red(w);
    for (int x = 0; x < w; ++x)
        red[x] = 90 * std::sin(6.0 * x / w + phase);
    for (int y = 0; y < h; ++y) {
        const double v = double(y) / h;
        const double a = 4.0 * v - phase, c = 3.0 * v + 2 * phase;
        const double cosA = std::cos(a), sinA = std::sin(a), cosC = std::cos(c), sinC = std::sin(c);
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int grain = int(state & 31) - 16;
            const int r = int(120 + red[x] * v) + grain;
            const int g = int(110 + 70 * (cosA * cosU[x] - sinA * sinU[x])) + grain;
            const int b = int(100 + 80 * (sin3U[x] * cosC + cos3U[x] * sinC)) + grain;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 30), edgeWidth));
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor::fromHsv((seed * 37 + i * 45) % 360, 160, 200));
        p.drawEllipse(QRectF(w * (0.05 + 0.11 * i), h * (0.2 + 0.07 * ((i + seed) % 6)), w * 0.12, h * 0.25));
    }
    return img;
}

} // namespace benchsupport
