// Erasing a background of one (or slowly drifting) colour. Each row is
// scanned from the left edge to the middle and from the right edge to the
// middle; pixels matching the running background colour become transparent
// and the kept pixels are collected as one-pixel-high runs.
#include "items/Card.h"

#include "imaging/PixelArea.h"

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

// Backgrounds and the insides of objects come in long spans of one colour.
// The rows are taken kBlock pixels at a time: a block that only repeats the
// colour of the pixel scanned just before it gets that pixel's answer in one
// go (after a match that colour is the running one and matches again; after
// no match none of the colours compared with has changed). Other blocks go
// pixel by pixel. Whole blocks keep the scan's steps independent of the
// pixels, so a noisy picture, where neighbours rarely agree, costs no more.
constexpr int kBlock = 8;

// True when all kBlock pixels from `first` on have colour c.
bool blockOfColour(const QRgb* first, QRgb c)
{
    QRgb differ = 0;
    for (int k = 0; k < kBlock; ++k)
        differ |= first[k] ^ c;
    return (differ & 0x00FFFFFFu) == 0;
}

// What the scan of one half row knows about the pixel scanned last. Until
// a pixel has been tested there is nothing to repeat: every colour, black
// included, is a colour a pixel can have.
struct LastPixel {
    bool seen = false;
    QRgb colour = 0;
    bool background = false;
};

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
        m_pKeep = std::make_unique<mc::imaging::PixelArea>();
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

    // The kept runs of the rows kFrame ... h - kFrame - 1.
    mc::imaging::PixelArea kept(QRect(kFrame, kFrame, w - 2 * kFrame, h - 2 * kFrame));
    auto addRun = [&kept](int y, int x, int width) {
        if (width > 0) // most background pixels end no run
            kept.addRun(y, x, x + width);
    };
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
        LastPixel last;
        auto fromLeft = [&](int x) {
            const QRgb c = colour(r[x]);
            last = {true, c, matches(c, current, e) || matches(c, left, e) || matches(c, right, e)};
            if (last.background) {
                r[x] = c;
                current = c;
                addRun(y, runStart, x - runStart);
                runStart = x + 1;
            } else {
                r[x] = c | keptAlpha;
            }
        };
        int x = kFrame;
        for (; x + kBlock <= mid; x += kBlock) {
            if (last.seen && blockOfColour(r + x, last.colour)) {
                std::fill_n(r + x, kBlock, last.background ? last.colour : last.colour | keptAlpha);
                if (last.background)
                    runStart = x + kBlock;
            } else {
                for (int k = 0; k < kBlock; ++k)
                    fromLeft(x + k);
            }
        }
        for (; x < mid; ++x)
            fromLeft(x);
        addRun(y, runStart, mid - runStart);

        seed = colour(r[w - 1 - kFrame]);
        current = right;
        if (matches(seed, right, e))
            right = current = seed;
        runStart = w - 1 - kFrame;
        last = LastPixel();
        auto fromRight = [&](int x) {
            const QRgb c = colour(r[x]);
            last = {true, c, matches(c, current, e) || matches(c, right, e) || matches(c, left, e)};
            if (last.background) {
                r[x] = c;
                current = c;
                addRun(y, x + 1, runStart - x);
                runStart = x - 1;
            } else {
                r[x] = c | keptAlpha;
            }
        };
        x = w - 1 - kFrame;
        // Blocks x - kBlock + 1 ... x, all right of the middle.
        for (; x - kBlock >= mid; x -= kBlock) {
            if (last.seen && blockOfColour(r + x - kBlock + 1, last.colour)) {
                std::fill_n(r + x - kBlock + 1, kBlock, last.background ? last.colour : last.colour | keptAlpha);
                if (last.background)
                    runStart = x - kBlock;
            } else {
                for (int k = 0; k < kBlock; ++k)
                    fromRight(x - k);
            }
        }
        for (; x > mid; --x)
            fromRight(x);
        // x == mid: the run covers x + 1 ... runStart.
        addRun(y, x + 1, runStart - x);

        const QRgb c = colour(r[mid]);
        if (matches(c, current, e) || matches(c, right, e) || matches(c, left, e))
            r[mid] = c;
    }

    kept.translate(w / -2, h / -2);
    m_pKeep = std::make_unique<mc::imaging::PixelArea>(std::move(kept));
}
