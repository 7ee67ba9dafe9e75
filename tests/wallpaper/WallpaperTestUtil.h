#pragma once
// Projects for the wallpaper tests: a canvas of a chosen size and colour
// with solid-colour items placed at canvas points.
#include "document/CMyDoc.h"
#include "items/Card.h"
#include "canvas/CanvasLayer.h"

#include "common/TestUtil.h"

#include <QColor>
#include <QImage>

#include <memory>
#include <stdexcept>

namespace wptest {

constexpr mc::COLORREF kCanvasColor = 0x00336699;  // shows as #996633
constexpr mc::COLORREF kDesktopColor = 0x00102030; // shows as #302010
const QSize kScreen(1024, 768);
const QSize kClient(1000, 700);

inline QColor canvasColor() { return mc::colorrefToColor(kCanvasColor); }
inline QColor desktopColor() { return mc::colorrefToColor(kDesktopColor); }

inline std::unique_ptr<CMyDoc> makeDoc(int cw, int ch) { return mctest::canvasDoc(cw, ch, kCanvasColor); }

// An item of `size` in `color`, centred at canvas point `at` (the view puts
// the canvas at its origin in the client area).
inline Card* addItem(CMyDoc& doc, QColor color, QSize size, QPoint at, QSize client = kClient)
{
    const QString path = mctest::writeImage(mctest::freshDir(), "item.png",
                                            mctest::solidImage(size.width(), size.height(), color));
    std::unique_ptr<Card> card = Card::CreateFromFile(path);
    if (!card)
        throw std::runtime_error("item picture not readable");
    card->m_ptCenter = mc::canvas::CanvasOrigin(client, doc.m_nCanvasWidth, doc.m_nCanvasHeight) + at;
    card->UpdateRegion();
    return doc.m_listCards.AddHead(std::move(card));
}

inline void setBackground(CMyDoc& doc, const QImage& picture, int placement)
{
    doc.m_pBkImage = std::make_unique<QImage>(picture);
    doc.m_strBkPath = "/pictures/background.png";
    doc.m_nPlacement = placement;
}

} // namespace wptest
