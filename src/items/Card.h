#pragma once
// One picture on the canvas: its source file, working pixels, transform,
// effect flags and the regions that clip it and locate it in the view.
//
// Item-local coordinates have their origin at the image centre, x to the
// right and y downwards; the bitmap's top-left pixel lies at (-(W/2), -(H/2)).
// m_ptCenter and the regions m_rgnItem / m_rgnKept are in view coordinates.
#include "imaging/PixelArea.h"
#include "imaging/Region.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <memory>

class QPainter;

class Card {
public:
    // Default construction: only the path (empty) and the two pixel regions
    // (empty) are meaningful; the project reader and CloneTo set the rest.
    Card() = default;
    virtual ~Card();
    Card(const Card&) = delete;
    Card& operator=(const Card&) = delete;

    // Add Image: decodes `path`, fits the zoom to at most 300 pixels a side,
    // centres the item on the screen and computes its regions. Returns null
    // when the file is not a readable picture.
    static std::unique_ptr<Card> CreateFromFile(const QString& path);

    // Project reader: decodes m_strPath again, rebuilds the uncut clip and
    // re-applies the stored effects (erase, gray, semitransparency). False
    // when the file is not a readable picture; m_pBitmap stays null then.
    bool LoadImage();
    // The same with the picture already decoded from m_strPath. A copy of a
    // QImage shares its pixels, so items of one file hold one picture until
    // an effect changes an item's own pixels.
    bool LoadImage(QImage picture);

    // True for an item read from a project whose picture could not be
    // loaded: it has no pixels and no regions, so it is never drawn or hit,
    // and its record is written back exactly as it was read.
    bool IsUnloaded() const { return !m_storedRecord.isEmpty(); }

    // Clone: gives `target` this item's state, its own regions and pixels,
    // centred on the screen.
    void CloneTo(Card& target) const;

    // The undo history keeps items as copies of their whole state, identity
    // included. A copy shares pixels, regions and kept area with its source
    // until one of the two changes them, so an unchanged item costs next to
    // nothing however many steps hold it.
    void CopyStateFrom(const Card& source);
    // True when the two hold the same state: every stored field, the same
    // pixels (shared, not compared) and the same areas.
    bool SameState(const Card& other) const;
    // Bytes of pixels and kept area this item holds.
    qint64 PixelBytes() const;

    // Dragging: BeginDrag records the offset of `point` from the centre;
    // DragTo moves the centre and shifts the regions by the same distance.
    QPoint BeginDrag(QPoint point);
    void DragTo(QPoint point);

    // The item transform M (zoom, mirrors, shear, rotation about the centre;
    // without the move to m_ptCenter).
    QTransform Transform() const;

    // Draws the item with `painter` whose origin is the view origin,
    // clipped to m_pClip in item coordinates and to the painter's own clip.
    void Draw(QPainter& painter) const;

    // Recomputes m_rgnItem and, for an erased item, m_rgnKept.
    void UpdateRegion();

    // Pixel operations on the working bitmap.
    void ApplyGray();
    void ApplySemi();
    void EraseBackground();
    void UndoErase();
    // Copies all pixels of `source` into `target` (same size; a smaller
    // target takes what fits).
    static void CopyPixels(const QImage& source, QImage& target);

    // The centred image rectangle (0, 0, W, H) moved by (W / -2, H / -2).
    static mc::Region ImageRectRegion(QSize size);

    // The zoom CreateFromFile gives a picture of `size`: 1.0 reduced in steps
    // of kZoomStep until both sides are at most kFitLimit pixels, stopping at
    // about kMinFitScale.
    static double FitScale(QSize size);

    // Fields, in declaration order.
    QString m_strPath;
    double m_dAngle = 0.0;
    double m_dScale = 1.0;
    double m_dShearX = 0.0;
    double m_dShearY = 0.0;
    bool m_bFlipH = false;
    bool m_bFlipV = false;
    bool m_bGray = false;
    bool m_bErased = false;
    bool m_bSemi = false;
    int m_nAlpha = 255;
    int m_nEraseExtent = 0;
    bool m_bCut = false;
    bool m_bDragging = false;
    QPoint m_ptCenter;
    QPoint m_ptDragOffset;
    std::unique_ptr<QImage> m_pBitmap;
    QRegion m_rgnItem;
    QRegion m_rgnKept;
    std::unique_ptr<mc::Region> m_pClip;
    // Item-local: one bit per pixel of the picture (see PixelArea). Never
    // changed in place, only replaced, so copies of the item share it.
    std::shared_ptr<const mc::imaging::PixelArea> m_pKeep;
    std::unique_ptr<mc::Region> m_pClipSaved;
    // The item's bytes in the project file it came from, for an item whose
    // picture was not loaded; empty for every other item.
    QByteArray m_storedRecord;
    // Which item this is, for the undo history: copies of the item's state
    // keep it, a clone gets its own. Never saved.
    quint64 m_nId = NextId();

    static quint64 NextId();

    // Item regions are computed only within this distance of the view's
    // origin: no scrolling reaches farther, and a zoomed, sheared or far-off
    // item would otherwise rasterise without bound.
    static constexpr int kRegionExtent = 1 << 16;

    // Zoom fitting on creation: the largest side limit and the step.
    static constexpr int kFitLimit = 300;
    static constexpr double kZoomStep = 0.1;
    // Fitting stops here instead of going on towards zero for pictures wider
    // or taller than 3000 pixels.
    static constexpr double kMinFitScale = 0.1;
};
