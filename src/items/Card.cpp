// Creation, loading, cloning, dragging and destruction of an image item.
#include "items/Card.h"

#include "imaging/ImageIO.h"
#include "platform/Screen.h"

#include <atomic>

namespace {

QPoint screenCentre()
{
    const QSize screen = mc::platform::screenSize();
    return QPoint(screen.width() / 2, screen.height() / 2);
}

} // namespace

Card::~Card() = default;

mc::Region Card::ImageRectRegion(QSize size)
{
    const int w = size.width();
    const int h = size.height();
    mc::Region r = mc::Region::fromRect(QRectF(0, 0, w, h));
    r.translate(w / -2, h / -2);
    return r;
}

double Card::FitScale(QSize size)
{
    const int w = size.width();
    const int h = size.height();
    double scale = 1.0;
    while (int(scale * w) > kFitLimit || int(scale * h) > kFitLimit) {
        // Nine steps reach 0.1 (0.10000000000000014); a tenth would leave a
        // practically invisible item, so very large pictures stop there.
        if (scale - kZoomStep < kMinFitScale * 0.5)
            break;
        scale -= kZoomStep;
    }
    return scale;
}

std::unique_ptr<Card> Card::CreateFromFile(const QString& path)
{
    QImage image = mc::imaging::decodeImage(path);
    if (image.isNull())
        return nullptr;
    auto card = std::make_unique<Card>();
    card->m_bDragging = false;
    card->m_dAngle = card->m_dShearX = card->m_dShearY = 0.0;
    card->m_bFlipH = card->m_bFlipV = card->m_bGray = card->m_bErased = card->m_bSemi = false;
    card->m_nAlpha = 255;
    card->m_nEraseExtent = 0;
    card->m_dScale = 1.0;
    card->m_strPath = path;
    card->m_bCut = false;
    card->m_pBitmap = std::make_unique<QImage>(std::move(image));
    const QSize size = card->m_pBitmap->size();
    card->m_pClip = std::make_unique<mc::Region>(ImageRectRegion(size));
    card->m_pKeep = std::make_unique<mc::imaging::PixelArea>(mc::imaging::PixelArea::infinite());
    card->m_pClipSaved = std::make_unique<mc::Region>(mc::Region::infinite());
    card->m_dScale = FitScale(size);
    card->m_ptCenter = screenCentre();
    card->UpdateRegion();
    return card;
}

bool Card::LoadImage() { return LoadImage(mc::imaging::decodeImage(m_strPath)); }

bool Card::LoadImage(QImage picture)
{
    m_bDragging = false;
    m_pClip.reset();
    m_pKeep.reset();
    m_pClipSaved.reset();
    m_pBitmap.reset();
    if (picture.isNull())
        return false;
    m_pBitmap = std::make_unique<QImage>(std::move(picture));
    m_pClip = std::make_unique<mc::Region>(ImageRectRegion(m_pBitmap->size()));
    m_pKeep = std::make_unique<mc::imaging::PixelArea>(mc::imaging::PixelArea::infinite());
    m_pClipSaved = std::make_unique<mc::Region>(mc::Region::infinite());
    if (m_bErased)
        EraseBackground();
    if (m_bGray)
        ApplyGray();
    if (m_bSemi)
        ApplySemi();
    return true;
}

void Card::CloneTo(Card& target) const
{
    // Everything but the identity, the place and (for an unprocessed item)
    // the pixels.
    const quint64 id = target.m_nId;
    target.CopyStateFrom(*this);
    target.m_nId = id;
    target.m_storedRecord.clear();

    // An unprocessed item is decoded afresh. A processed one hands its
    // pixels on: the copy shares them until an effect changes one of the
    // two, instead of decoding the file only to overwrite every pixel.
    const bool processed = m_bErased || m_bSemi || m_bGray;
    QImage image = processed && m_pBitmap ? *m_pBitmap : mc::imaging::decodeImage(m_strPath);
    if (image.isNull() && m_pBitmap)
        image = *m_pBitmap; // the file is gone: the clone still shows what the source shows
    target.m_pBitmap = image.isNull() ? nullptr : std::make_unique<QImage>(std::move(image));
    target.m_ptCenter = screenCentre();
    target.UpdateRegion();
}

quint64 Card::NextId()
{
    static std::atomic<quint64> next{1};
    return next++;
}

void Card::CopyStateFrom(const Card& source)
{
    auto copy = [](const auto& r) { return r ? std::make_unique<mc::Region>(*r) : nullptr; };
    m_strPath = source.m_strPath;
    m_dAngle = source.m_dAngle;
    m_dScale = source.m_dScale;
    m_dShearX = source.m_dShearX;
    m_dShearY = source.m_dShearY;
    m_bFlipH = source.m_bFlipH;
    m_bFlipV = source.m_bFlipV;
    m_bGray = source.m_bGray;
    m_bErased = source.m_bErased;
    m_bSemi = source.m_bSemi;
    m_nAlpha = source.m_nAlpha;
    m_nEraseExtent = source.m_nEraseExtent;
    m_bCut = source.m_bCut;
    m_bDragging = false;
    m_ptCenter = source.m_ptCenter;
    m_ptDragOffset = QPoint();
    m_pBitmap = source.m_pBitmap ? std::make_unique<QImage>(*source.m_pBitmap) : nullptr;
    m_rgnItem = source.m_rgnItem;
    m_rgnKept = source.m_rgnKept;
    m_pClip = copy(source.m_pClip);
    m_pKeep = source.m_pKeep;
    m_pClipSaved = copy(source.m_pClipSaved);
    m_storedRecord = source.m_storedRecord;
    m_nId = source.m_nId;
}

bool Card::SameState(const Card& other) const
{
    auto sameRegion = [](const auto& a, const auto& b) { return a == b || (a && b && *a == *b); };
    auto key = [](const std::unique_ptr<QImage>& image) { return image ? image->cacheKey() : 0; };
    return m_nId == other.m_nId && m_strPath == other.m_strPath && m_dAngle == other.m_dAngle
        && m_dScale == other.m_dScale && m_dShearX == other.m_dShearX && m_dShearY == other.m_dShearY
        && m_bFlipH == other.m_bFlipH && m_bFlipV == other.m_bFlipV && m_bGray == other.m_bGray
        && m_bErased == other.m_bErased && m_bSemi == other.m_bSemi && m_nAlpha == other.m_nAlpha
        && m_nEraseExtent == other.m_nEraseExtent && m_bCut == other.m_bCut && m_ptCenter == other.m_ptCenter
        && bool(m_pBitmap) == bool(other.m_pBitmap) && key(m_pBitmap) == key(other.m_pBitmap)
        && m_pKeep == other.m_pKeep && sameRegion(m_pClip, other.m_pClip)
        && sameRegion(m_pClipSaved, other.m_pClipSaved) && m_storedRecord == other.m_storedRecord;
}

qint64 Card::PixelBytes() const
{
    return (m_pBitmap ? m_pBitmap->sizeInBytes() : 0) + (m_pKeep ? m_pKeep->byteSize() : 0);
}

QPoint Card::BeginDrag(QPoint point)
{
    m_bDragging = true;
    m_ptDragOffset = point - m_ptCenter;
    return m_ptDragOffset;
}

void Card::DragTo(QPoint point)
{
    if (!m_bDragging)
        return;
    const QPoint centre = point - m_ptDragOffset;
    const QPoint delta = centre - m_ptCenter;
    m_rgnItem.translate(delta);
    if (m_bErased)
        m_rgnKept.translate(delta);
    m_ptCenter = centre;
}
