#pragma once
// The canvas view: a scroll area as large as the screen showing the project's
// canvas on a neutral surround, the items over it, and the mouse interaction
// (selecting, dragging items, dragging cut-shape outlines, cutting).
//
// Command routing. The view is the first of the main window's four routing
// levels (view, document, frame, application). Handlers of view-level
// commands that live elsewhere (item commands, Set Wallpaper, Cut ...) attach
// themselves with AddCommandTarget(); attached targets are asked before the
// view's own handlers (Add Image, Refresh, Full Screen), in the order they
// were attached. A target reaches the view's state (m_pCurCard,
// m_nDefaultAlpha, InvalidateScrolled, the document) through the CMyView it
// was given.
//
// Painting. Like a window whose pixels stay on the screen, the view keeps a
// picture of its client area. Invalidated parts are painted afresh from the
// background layer and the items; direct drawing (the dragged item, the
// inverted shape outline) goes into that picture without a repaint.
#include "document/CommandRouter.h"
#include "canvas/CanvasLayer.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QRect>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <QStringList>

#include <memory>
#include <optional>

class Card;
class CMyDoc;
class QPainter;
namespace mc {
class Region;
}

// What the view needs from the window around it: full-screen mode and the
// context menus of the command layout.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    virtual bool IsFullScreen() const = 0;
    virtual void EnterFullScreen() = 0;
    virtual void LeaveFullScreen() = 0;
    // Shows menu `menuId` (the item or the canvas context menu) at
    // `globalPos`; the chosen command is routed like any other.
    virtual void TrackContextMenu(int menuId, QPoint globalPos) = 0;
};

class CMyView : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT
public:
    explicit CMyView(CMyDoc* doc, QWidget* parent = nullptr);
    ~CMyView() override;

    CMyDoc* GetDocument() const { return m_pDoc; }
    void SetHost(ViewHost* host) { m_pHost = host; }

    // Pluggable view-level command handlers, asked before the view's own.
    void AddCommandTarget(CommandTarget* target) { m_targets.Add(target); }
    void RemoveCommandTarget(CommandTarget* target) { m_targets.Remove(target); }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;
    bool HandlesCommand(int id) const override;

    // Captures the client area the canvas is centred in (the first time in
    // the program run only; later projects keep it) and rebuilds the layer.
    // Until the view has been shown the capture waits for its first paint.
    void OnInitialUpdate();
    // The document changed: rebuild the background layer, repaint all.
    void OnUpdate();
    void RebuildCanvas();

    // The topmost item at `point` (view coordinates): erased items count
    // only where their pixels were kept.
    Card* HitTest(QPoint point) const;

    // Repaints `region` given in view / client coordinates (device pixels).
    void InvalidateScrolled(const QRegion& region);
    void Invalidate(const QRegion& region);
    void InvalidateAll();
    // Paints what is invalid now instead of waiting for the event loop.
    void UpdateWindow();

    // Removes the shape outline from the screen and empties the shape
    // rectangle; `scrolled` says the rectangle is in view coordinates.
    void ClearShape(bool scrolled);

    // The outline of the current item (view coordinates): empty without
    // one and in full screen. RefreshOutline() repaints it where the current
    // item, its area or full screen changed since it was drawn.
    QRegion CurrentOutline() const;
    void RefreshOutline();

    // Moves the current item by `distance` (device pixels) as a drag does,
    // as one step of a burst of such moves; false without a current item
    // or during a drag. The arrow keys move by 1, with Shift by kShiftStep.
    bool MoveCurrentBy(QPoint distance);
    static constexpr int kShiftStep = 10;

    // Adds the picture file `chosen` as Add Image does (a JPEG copy for some
    // formats, the memory set aside for pictures) as the new current item
    // on top, centred at `centre` (view coordinates) or else at the centre
    // of the screen. Empty, or the message saying why it was not added.
    QString AddPictureFile(const QString& chosen, std::optional<QPoint> centre);
    // Adds each file so, the first centred at `centre` and each next one
    // kFileOffset further right and down; one message names those refused.
    void AddPictureFiles(const QStringList& paths, QPoint centre);
    static constexpr int kFileOffset = 20;
    // The centre of the part of the canvas in sight (of the client area
    // when no canvas is), view coordinates.
    QPoint VisibleCentre() const;

    // Commands of the view itself.
    void OnAddImage();
    // The clipboard: Copy puts the current item as it looks on it (the
    // canvas without one), Cut also deletes the item, Paste adds the
    // clipboard's picture, or its copied picture files, as new items.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    bool CanPaste() const;
    void OnRefresh();
    void ToggleFullScreen();
    // Cut: the current item keeps only what lies inside the finished shape.
    void OnCut();
    // Restore Original Image: raises the current item and undoes its cuts.
    void OnRestoreOriginalImage();
    // Undo or redo one step of the project's history and repaint what it
    // changed; the step's current item becomes the view's.
    void OnUndo(bool redo);

    // Device pixels (see CMyView.cpp): the ratio of the view's screen, the
    // client area and a logical widget position converted.
    qreal DevicePixelRatio() const;
    QRect DeviceClientRect() const;
    QPoint ToDevice(QPointF logical) const;

    QPoint ScrollPosition() const;
    // The client area of the first initial update (invalid before it).
    QSize ClientSize() const;
    const mc::canvas::CanvasLayer& Layer() const { return m_layer; }
    // The finished canvas picture (canvas width x height), as painted.
    QImage RenderCanvas() const;

    // The view's picture of its client area, and everything invalidated
    // since the last ResetInvalidated() (client coordinates).
    const QImage& ScreenImage() const { return m_screen; }
    QRegion InvalidatedRegion() const { return m_rgnInvalidLog; }
    // Starts (or restarts) recording what is invalidated; nothing is
    // recorded before the first call, so a long session keeps no log.
    void ResetInvalidated()
    {
        m_rgnInvalidLog = QRegion();
        m_bLogInvalid = true;
    }

    // Tests start each case as a fresh program run.
    static void ResetFirstUpdate();

    // Fields, in declaration order.
    Card* m_pCurCard = nullptr;
    QRegion m_rgnOld;
    QRegion m_rgnNew;
    QRegion m_rgnErased;
    QRect m_rcClient;
    int m_nDefaultAlpha = 128;
    QPoint m_ptShapeStart;
    QPoint m_ptShapeEnd;
    QPoint m_szGrabStart;
    QPoint m_szGrabEnd;
    QRegion m_rgnShape;
    bool m_bMovingShape = false;
    bool m_bDrawingShape = false;
    int m_nDragShape = 0;
    std::unique_ptr<mc::Region> m_pShapeRegion;

Q_SIGNALS:
    // The project's current item changed (selection, Add Image, delete).
    void currentCardChanged(Card* card);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void captureClientRect();
    Card* addCard(std::unique_ptr<Card> card, std::optional<QPoint> centre);
    void renderInvalid();
    void onLeftDown(QPoint client);
    void onRightDown(QPoint client, QPoint global);
    void dragItemTo(QPoint client);
    void moveDraggedItem(QPoint point); // view coordinates, after BeginDrag
    void dragShapeTo(QPoint client);
    void onLeftUp();
    void invertOutline(); // draws the current outline in the inverting mode
    void drawOutline(QPainter& painter) const; // the current item's, as drawn
    void buildShapeRegion();
    void ensureScreen();
    // Schedules the logical area covering `device` for the widget's paint.
    void updateDevice(const QRegion& device);
    // m_screen's pixels without its device pixel ratio, for drawing.
    QImage screenPixels();

    CMyDoc* m_pDoc;
    ViewHost* m_pHost = nullptr;
    CommandTargetList m_targets;
    mc::canvas::CanvasLayer m_layer;
    QImage m_screen;          // the client area as shown, device pixels
    QRegion m_rgnInvalid;     // parts of m_screen to paint afresh
    QRegion m_rgnInvalidLog;  // everything invalidated (for checks)
    QRegion m_rgnOutline;     // the current item's outline as drawn
    bool m_bLogInvalid = false;
    bool m_bCapture = false;  // the left button is held on this view
    bool m_bInitialUpdatePending = false;
};
