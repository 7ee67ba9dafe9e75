// Creation, loading, cloning, dragging and destruction of an image item.
#include "items/Card.h"

#include "imaging/ImageIO.h"
#include "platform/Screen.h"

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
    target.m_dAngle = m_dAngle;
    target.m_dScale = m_dScale;
    target.m_dShearX = m_dShearX;
    target.m_dShearY = m_dShearY;
    target.m_bFlipH = m_bFlipH;
    target.m_bFlipV = m_bFlipV;
    target.m_bGray = m_bGray;
    target.m_bErased = m_bErased;
    target.m_nEraseExtent = m_nEraseExtent;
    target.m_bSemi = m_bSemi;
    target.m_nAlpha = m_nAlpha;
    target.m_bDragging = false;
    target.m_strPath = m_strPath;
    target.m_bCut = m_bCut;

    // An unprocessed item is decoded afresh. A processed one hands its
    // pixels on: the copy shares them until an effect changes one of the
    // two, instead of decoding the file only to overwrite every pixel.
    const bool processed = m_bErased || m_bSemi || m_bGray;
    QImage image = processed && m_pBitmap ? *m_pBitmap : mc::imaging::decodeImage(m_strPath);
    if (image.isNull() && m_pBitmap)
        image = *m_pBitmap; // the file is gone: the clone still shows what the source shows
    target.m_pBitmap = image.isNull() ? nullptr : std::make_unique<QImage>(std::move(image));
    target.m_ptCenter = screenCentre();

    auto copy = [](const auto& r) { return r ? std::make_unique<std::decay_t<decltype(*r)>>(*r) : nullptr; };
    target.m_pClip = copy(m_pClip);
    target.m_pKeep = copy(m_pKeep);
    target.m_pClipSaved = copy(m_pClipSaved);

    target.UpdateRegion();
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
