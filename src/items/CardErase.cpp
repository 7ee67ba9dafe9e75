// Erasing a background of one (or slowly drifting) colour. Each row is
// scanned from the left edge to the middle and from the right edge to the
// middle; pixels matching the running background colour become transparent
// and the kept pixels are collected as one-pixel-high runs.
#include "items/Card.h"

#include "imaging/RunOutline.h"

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

using Runs = std::vector<mc::imaging::PixelRun>;

void addRun(Runs& row, int x, int width)
{
    if (width > 0)
        row.push_back({x, x + width});
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

    // A picture of at most twice the frame on either side is frame only:
    // every pixel becomes transparent and nothing is kept. (Scanning it would
    // also reach outside the bitmap for the reference pixels.)
    if (w <= 2 * kFrame || h <= 2 * kFrame) {
        for (int y = 0; y < h; ++y)
            std::transform(row(y), row(y) + w, row(y), transparent);
        m_pKeep = std::make_unique<mc::Region>();
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

    // Kept runs of the rows kFrame ... h - kFrame - 1; their union becomes
    // the kept area, stored as its outline.
    std::vector<Runs> kept(h - 2 * kFrame);
    const int mid = w / 2;
    QRgb left = colour(row(kFrame)[kFrame]);
    QRgb right = colour(row(kFrame)[w - 1 - kFrame]);
    for (int y = kFrame; y < h - kFrame; ++y) {
        QRgb* r = row(y);
        Runs& runs = kept[y - kFrame];

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
                addRun(runs, runStart, x - runStart);
                runStart = x + 1;
            } else {
                r[x] = c | keptAlpha;
            }
        }
        addRun(runs, runStart, mid - runStart);

        const size_t leftRuns = runs.size();
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
                addRun(runs, x + 1, runStart - x);
                runStart = x - 1;
            } else {
                r[x] = c | keptAlpha;
            }
        }
        // x == mid: the run covers x + 1 ... runStart.
        addRun(runs, x + 1, runStart - x);
        std::reverse(runs.begin() + leftRuns, runs.end()); // found right to left

        const QRgb c = colour(r[mid]);
        if (matches(c, current, e) || matches(c, right, e) || matches(c, left, e))
            r[mid] = c;
    }

    mc::Region keep = mc::Region::fromPath(mc::imaging::outlineOfRuns(kept, kFrame));
    keep.translate(w / -2, h / -2);
    m_pKeep = std::make_unique<mc::Region>(std::move(keep));
}
