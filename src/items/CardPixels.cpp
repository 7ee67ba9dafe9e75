// Gray, semitransparency, undoing the erase and copying processed pixels.
#include "items/Card.h"

#include "imaging/ImageIO.h"

#include <algorithm>

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
        forEachPixel(*m_pBitmap, [](QRgb p) {
            const QRgb g = (3 * qRed(p) + 6 * qGreen(p) + qBlue(p)) / 10;
            return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
        });
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
