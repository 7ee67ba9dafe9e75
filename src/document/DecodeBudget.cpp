#include "document/DecodeBudget.h"

#include "document/CMyDoc.h"
#include "imaging/ImageIO.h"

#include <algorithm>
#include <set>

#include <unistd.h>

namespace mc::document {

qint64 ProjectDecodeBudget()
{
    // A quarter of physical memory: the rest is left for what a project
    // needs besides its pictures (the canvas layer, the wallpaper and
    // companion pictures, the working memory of the pixel effects) and for
    // the rest of the desktop. At least 1 GiB, so that the largest picture
    // a file may hold (kMaxImagePixels, 512 MiB) opens with one effect copy
    // even on a small machine; at most 4 GiB, beyond which a project is no
    // longer workable in the window and only a hostile file asks for more.
    constexpr qint64 kMin = qint64(1) << 30;
    constexpr qint64 kMax = qint64(4) << 30;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return kMin;
    return std::clamp(qint64(pages) * pageSize / 4, kMin, kMax);
}

qint64 ProjectPictureBytes(const CMyDoc& doc)
{
    // Copies of a QImage share one pixel buffer until one is changed.
    std::set<const uchar*> seen;
    qint64 bytes = 0;
    const auto count = [&](const QImage* image) {
        if (image && !image->isNull() && seen.insert(image->constBits()).second)
            bytes += image->sizeInBytes();
    };
    count(doc.m_pBkImage.get());
    for (const auto& card : doc.m_listCards)
        count(card->m_pBitmap.get());
    return bytes;
}

bool PictureFitsBudget(const CMyDoc& doc, const QString& path, qint64 budget)
{
    const std::optional<QSize> size = mc::imaging::imageSize(path);
    return !size || ProjectPictureBytes(doc) + PictureBytes(*size) <= budget;
}

} // namespace mc::document
