// Gray, semitransparency, undoing the erase and copying processed pixels.
#include "items/Card.h"

#include "imaging/ImageIO.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The pixel operations work on non-premultiplied 32-bit ARGB rows.
bool ensureArgb32(QImage* image)
{
    if (!image || image->isNull())
        return false;
    if (image->format() != QImage::Format_ARGB32)
        *image = image->convertToFormat(QImage::Format_ARGB32);
    return !image->isNull();
}

template <typename F>
void forEachPixel(QImage& image, F&& f)
{
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = f(row[x]);
    }
}

QRgb grayPixel(QRgb p)
{
    const QRgb g = (3 * qRed(p) + 6 * qGreen(p) + qBlue(p)) / 10;
    return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
}

// Gray is the one pass over the whole picture that does arithmetic on every
// pixel; written plainly, the division by ten keeps it several times slower
// than the memory traffic. Four pixels at a time it stays close to that.
void grayRow(QRgb* row, int w)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    // Weights of B, G, R, A in memory order, for two pixels.
    const __m128i weights = _mm_set_epi16(0, 3, 6, 1, 0, 3, 6, 1);
    // (s * 6554) >> 16 == s / 10 for every s <= 2550 = 10 * 255.
    const __m128i tenth = _mm_set1_epi32(6554);
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    for (; x + 4 <= w; x += 4) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        // B + 6G and 3R of each pixel as 32-bit sums, then their total.
        const __m128 lo = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpacklo_epi8(px, zero), weights));
        const __m128 hi = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpackhi_epi8(px, zero), weights));
        const __m128i sum = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0))),
                                          _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(3, 1, 3, 1))));
        // Each sum fits the low 16 bits of its lane; the high half yields 0.
        const __m128i g = _mm_mulhi_epu16(sum, tenth);
        const __m128i rgb = _mm_or_si128(_mm_or_si128(g, _mm_slli_epi32(g, 8)), _mm_slli_epi32(g, 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), _mm_or_si128(_mm_and_si128(px, alpha), rgb));
    }
#endif
    for (; x < w; ++x)
        row[x] = grayPixel(row[x]);
}

QRgb withAlpha(QRgb p, int alpha)
{
    return (p & 0x00FFFFFFu) | (QRgb(std::clamp(alpha, 0, 255)) << 24);
}

} // namespace

void Card::ApplyGray()
{
    if (!ensureArgb32(m_pBitmap.get()))
        return;
    if (m_bGray) {
        QImage& image = *m_pBitmap;
        for (int y = 0; y < image.height(); ++y)
            grayRow(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width());
        return;
    }
    // Colours come back from the file. A file that is gone or now has another
    // size leaves the pixels as they are rather than losing the item.
    QImage fresh = mc::imaging::decodeImage(m_strPath);
    if (fresh.isNull() || fresh.size() != m_pBitmap->size())
        return;
    if (m_bErased || m_bSemi) {
        const int w = fresh.width();
        for (int y = 0; y < fresh.height(); ++y) {
            auto* dst = reinterpret_cast<QRgb*>(fresh.scanLine(y));
            const auto* src = reinterpret_cast<const QRgb*>(m_pBitmap->constScanLine(y));
            for (int x = 0; x < w; ++x)
                dst[x] = (dst[x] & 0x00FFFFFFu) | (src[x] & 0xFF000000u);
        }
    }
    *m_pBitmap = std::move(fresh);
}

void Card::ApplySemi()
{
    if (!m_bSemi)
        m_nAlpha = 255;
    if (m_nAlpha == 255)
        m_bSemi = false;
    if (!ensureArgb32(m_pBitmap.get()))
        return;
    const int alpha = m_nAlpha;
    forEachPixel(*m_pBitmap, [alpha](QRgb p) { return qAlpha(p) != 0 ? withAlpha(p, alpha) : p; });
}

void Card::UndoErase()
{
    if (!ensureArgb32(m_pBitmap.get()))
        return;
    const int alpha = m_nAlpha;
    forEachPixel(*m_pBitmap, [alpha](QRgb p) { return qAlpha(p) == 0 ? withAlpha(p, alpha) : p; });
}

void Card::CopyPixels(const QImage& source, QImage& target)
{
    if (source.isNull() || target.isNull())
        return;
    const QImage src = source.format() == QImage::Format_ARGB32 ? source
                                                                 : source.convertToFormat(QImage::Format_ARGB32);
    if (target.format() != QImage::Format_ARGB32)
        target = target.convertToFormat(QImage::Format_ARGB32);
    const int w = std::min(src.width(), target.width());
    const int h = std::min(src.height(), target.height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(src.constScanLine(y)), w,
                    reinterpret_cast<QRgb*>(target.scanLine(y)));
}
