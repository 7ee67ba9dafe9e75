// Erasing a background of one (or slowly drifting) colour. Each row is
// scanned from the left edge to the middle and from the right edge to the
// middle; pixels matching the running background colour become transparent
// and the kept pixels are collected as one-pixel-high runs.
#include "items/Card.h"

#include <QPainterPath>

#include <algorithm>
#include <cstdlib>

namespace {

// The frame that is always made transparent.
constexpr int kFrame = 5;

bool matches(QRgb p, QRgb c, int e)
{
    return std::abs(int(qRed(p)) - int(qRed(c))) <= e && std::abs(int(qGreen(p)) - int(qGreen(c))) <= e &&
           std::abs(int(qBlue(p)) - int(qBlue(c))) <= e;
}

QRgb colour(QRgb p)
{
    return p & 0x00FFFFFFu;
}

QRgb transparent(QRgb p)
{
    return p & 0x00FFFFFFu;
}

void addRun(QPainterPath& kept, int x, int y, int width)
{
    if (width > 0)
        kept.addRect(x, y, width, 1);
}

} // namespace

void Card::EraseBackground()
{
    if (!m_pBitmap || m_pBitmap->isNull())
        return;
    QImage& img = *m_pBitmap;
    if (img.format() != QImage::Format_ARGB32)
        img = img.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    const int e = m_nEraseExtent;
    const QRgb keptAlpha = QRgb(std::clamp(m_nAlpha, 0, 255)) << 24;
    auto row = [&img](int y) { return reinterpret_cast<QRgb*>(img.scanLine(y)); };

    QPainterPath kept;
    kept.setFillRule(Qt::OddEvenFill);

    // A picture of at most twice the frame on either side is frame only:
    // every pixel becomes transparent and nothing is kept. (Scanning it would
    // also reach outside the bitmap for the reference pixels.)
    if (w <= 2 * kFrame || h <= 2 * kFrame) {
        for (int y = 0; y < h; ++y)
            std::transform(row(y), row(y) + w, row(y), transparent);
        m_pKeep = std::make_unique<mc::Region>(mc::Region::fromPath(kept));
        return;
    }

    // The frame.
    for (int y = 0; y < h; ++y) {
        QRgb* r = row(y);
        if (y < kFrame || y >= h - kFrame) {
            std::transform(r, r + w, r, transparent);
        } else {
            std::transform(r, r + kFrame, r, transparent);
            std::transform(r + w - kFrame, r + w, r + w - kFrame, transparent);
        }
    }

    const int mid = w / 2;
    QRgb left = colour(row(kFrame)[kFrame]);
    QRgb right = colour(row(kFrame)[w - 1 - kFrame]);
    for (int y = kFrame; y < h - kFrame; ++y) {
        QRgb* r = row(y);

        QRgb seed = colour(r[kFrame]);
        QRgb current = left;
        if (matches(seed, left, e))
            left = current = seed;
        int runStart = kFrame;
        for (int x = kFrame; x < mid; ++x) {
            const QRgb c = colour(r[x]);
            if (matches(c, current, e) || matches(c, left, e) || matches(c, right, e)) {
                r[x] = c;
                current = c;
                addRun(kept, runStart, y, x - runStart);
                runStart = x + 1;
            } else {
                r[x] = c | keptAlpha;
            }
        }
        addRun(kept, runStart, y, mid - runStart);

        seed = colour(r[w - 1 - kFrame]);
        current = right;
        if (matches(seed, right, e))
            right = current = seed;
        runStart = w - 1 - kFrame;
        int x = w - 1 - kFrame;
        for (; x > mid; --x) {
            const QRgb c = colour(r[x]);
            if (matches(c, current, e) || matches(c, right, e) || matches(c, left, e)) {
                r[x] = c;
                current = c;
                addRun(kept, x + 1, y, runStart - x);
                runStart = x - 1;
            } else {
                r[x] = c | keptAlpha;
            }
        }
        // x == mid: the run covers x + 1 ... runStart.
        addRun(kept, x + 1, y, runStart - x);

        const QRgb c = colour(r[mid]);
        if (matches(c, current, e) || matches(c, right, e) || matches(c, left, e))
            r[mid] = c;
    }

    mc::Region keep = mc::Region::fromPath(kept);
    keep.translate(w / -2, h / -2);
    m_pKeep = std::make_unique<mc::Region>(std::move(keep));
}
