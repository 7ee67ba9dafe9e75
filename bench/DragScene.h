#pragma once
// The drag scene: a 1920 x 1080 canvas of 50 items (300 x 300 pictures of an
// object on white; every third erased, every fourth semitransparent, all
// turned), with its layer and the view's picture of the screen. The dragged
// item, an erased one, is raised to the top as a press does.
#include "BenchSupport.h"
#include "canvas/CanvasLayer.h"
#include "document/CMyDoc.h"
#include "items/Card.h"

#include <QPainter>

#include <memory>

namespace dragscene {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kItems = 50;

// The canvas, its layer and the view's picture of its client area (the
// whole screen, not scrolled).
struct Scene {
    std::unique_ptr<CMyDoc> doc;
    mc::canvas::CanvasLayer layer;
    QImage screen;
    Card* dragged = nullptr;
};

// 300 x 300 pictures of an object on a uniform background, so that erasing
// keeps the object; five colours.
inline QString itemPicture(int i)
{
    static const QColor colours[] = {{180, 60, 40}, {40, 120, 60}, {30, 90, 160}, {200, 170, 30}, {120, 40, 140}};
    QImage image = benchsupport::objectOnWhite(300, 300);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(colours[i % 5]);
    p.drawRect(QRect(60, 120, 180, 40));
    p.end();
    return benchsupport::writeOnce(QStringLiteral("drag%1.png").arg(i % 5), image);
}

inline std::unique_ptr<Scene> makeScene()
{
    auto scene = std::make_unique<Scene>();
    mc::platform::DesktopSettings desktop;
    desktop.desktopColor = 0x00804020;
    scene->doc = std::make_unique<CMyDoc>(desktop);
    for (int i = 0; i < kItems; ++i) {
        auto card = Card::CreateFromFile(itemPicture(i));
        if (!card)
            return nullptr;
        card->m_dAngle = (i * 37) % 360;
        if (i % 3 == 0) {
            card->m_nEraseExtent = 10;
            card->m_bErased = true;
            card->EraseBackground();
        }
        if (i % 4 == 1) {
            card->m_bSemi = true;
            card->m_nAlpha = 128;
            card->ApplySemi();
        }
        // Spread over the canvas, 10 columns and 5 rows, a little staggered.
        card->m_ptCenter = QPoint(100 + (i % 10) * 190 + (i / 10) * 20, 110 + (i / 10) * 210);
        card->UpdateRegion();
        scene->doc->m_listCards.AddHead(std::move(card));
    }
    const QSize screen(kScreenWidth, kScreenHeight);
    scene->layer.Rebuild(*scene->doc, screen, screen, mc::canvas::SurroundColor());
    scene->screen = QImage(screen, QImage::Format_RGB32);
    // The dragged item: erased and rotated, raised to the top as a press does.
    scene->dragged = scene->doc->m_listCards.begin()->get();
    for (const auto& card : scene->doc->m_listCards)
        if (card->m_bErased) {
            scene->dragged = card.get();
            break;
        }
    scene->doc->m_listCards.MoveToHead(scene->dragged);
    return scene;
}

inline void fullRepaint(Scene& scene)
{
    QPainter painter(&scene.screen);
    scene.layer.Paint(painter, *scene.doc);
}

} // namespace dragscene
