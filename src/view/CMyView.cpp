#include "view/CMyView.h"

#include "dialogs/CMessageBox.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "imaging/Region.h"
#include "items/Card.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "view/CViewItemCommands.h"
#include "view/CViewWallpaperCommands.h"
#include "canvas/AddImagePlan.h"
#include "canvas/ShapeGeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <QtMath>

#include <algorithm>
#include <cstdlib>

namespace {
// The canvas is centred in the client area the view had when the first
// project of the run was shown; later projects and window size changes keep
// that place.
bool g_bFirstUpdate = true;
QRect g_rcClient;
} // namespace

CMyView::CMyView(CMyDoc* doc, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_pDoc(doc)
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_pDoc, &CMyDoc::updated, this, &CMyView::OnUpdate);
    connect(m_pDoc, &CMyDoc::cardsCleared, this, [this] {
        m_pCurCard = nullptr;
        Q_EMIT currentCardChanged(nullptr);
    });
    connect(this, &CMyView::currentCardChanged, this, &CMyView::RefreshOutline);
    // The item commands (delete, zoom, rotate, effects ...) with their dialogs.
    if (m_pDoc) {
        new CViewItemCommands(this);
        new CViewWallpaperCommands(this); // the seven Set Wallpaper layouts
    }
}

CMyView::~CMyView() = default;

void CMyView::ResetFirstUpdate()
{
    g_bFirstUpdate = true;
    g_rcClient = QRect();
}

// ---------------------------------------------------------------------------
// Device pixels
//
// One canvas pixel is one pixel of the screen at every scale factor: the
// scrollable area, the client area, the screen picture, mouse positions and
// invalidation are all in device pixels. Qt's logical widget coordinates
// are converted here, and nowhere else.

qreal CMyView::DevicePixelRatio() const
{
    return viewport()->devicePixelRatioF();
}

QRect CMyView::DeviceClientRect() const
{
    const qreal ratio = DevicePixelRatio();
    const QSize logical = viewport()->size();
    return QRect(0, 0, qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

QPoint CMyView::ToDevice(QPointF logical) const
{
    const qreal ratio = DevicePixelRatio();
    return QPoint(qFloor(logical.x() * ratio), qFloor(logical.y() * ratio));
}

void CMyView::updateDevice(const QRegion& device)
{
    const qreal ratio = DevicePixelRatio();
    if (ratio == 1.0) {
        viewport()->update(device);
        return;
    }
    // The logical area that covers every device pixel of the region.
    QRegion logical;
    for (const QRect& r : device) {
        const int left = qFloor(r.left() / ratio), top = qFloor(r.top() / ratio);
        const int right = qCeil((r.right() + 1) / ratio), bottom = qCeil((r.bottom() + 1) / ratio);
        logical += QRect(left, top, right - left, bottom - top);
    }
    viewport()->update(logical);
}

QImage CMyView::screenPixels()
{
    // The same pixels without the ratio: a painter on it draws in device
    // pixels instead of scaling logical ones.
    return QImage(m_screen.bits(), m_screen.width(), m_screen.height(), m_screen.bytesPerLine(), m_screen.format());
}

// ---------------------------------------------------------------------------
// Commands

bool CMyView::OnCommand(int id)
{
    if (m_targets.OnCommand(id))
        return true;
    switch (id) {
    case ID_ADD_IMAGE:
        OnAddImage();
        return true;
    case ID_REFRESH:
        OnRefresh();
        return true;
    case ID_FULL_SCREEN:
        ToggleFullScreen();
        return true;
    case ID_CUT:
        OnCut();
        return true;
    case ID_RESTORE_ORIGINAL_IMAGE:
        OnRestoreOriginalImage();
        return true;
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
        OnUndo(id == ID_EDIT_REDO);
        return true;
    case ID_EDIT_COPY:
        OnEditCopy();
        return true;
    case ID_EDIT_CUT:
        OnEditCut();
        return true;
    case ID_EDIT_PASTE:
        OnEditPaste();
        return true;
    default:
        return false;
    }
}

bool CMyView::OnUpdateCommand(int id, CommandState& state)
{
    if (m_targets.OnUpdateCommand(id, state))
        return true;
    if (id == ID_FULL_SCREEN) {
        state.enabled = true;
        state.checked = m_pHost && m_pHost->IsFullScreen();
        return true;
    }
    // Copy takes the canvas when no item is current; Paste needs a picture
    // or picture files on the clipboard.
    if (id == ID_EDIT_COPY || id == ID_EDIT_PASTE) {
        state.enabled = id == ID_EDIT_COPY || CanPaste();
        return true;
    }
    // These act on the current item only.
    if (id == ID_CUT || id == ID_RESTORE_ORIGINAL_IMAGE || id == ID_EDIT_CUT) {
        state.enabled = m_pCurCard && m_pDoc->m_listCards.Contains(m_pCurCard);
        return true;
    }
    // Not in the middle of a drag: its step is recorded at the release.
    if (id == ID_EDIT_UNDO || id == ID_EDIT_REDO) {
        const auto& history = m_pDoc->History();
        state.enabled = !m_bCapture && (id == ID_EDIT_UNDO ? history.CanUndo() : history.CanRedo());
        return true;
    }
    return false;
}

bool CMyView::HandlesCommand(int id) const
{
    return m_targets.HandlesCommand(id) || id == ID_ADD_IMAGE || id == ID_REFRESH || id == ID_FULL_SCREEN
        || id == ID_CUT || id == ID_RESTORE_ORIGINAL_IMAGE || id == ID_EDIT_UNDO || id == ID_EDIT_REDO
        || id == ID_EDIT_COPY || id == ID_EDIT_CUT || id == ID_EDIT_PASTE;
}

void CMyView::OnAddImage()
{
    const QString chosen = mc::dialogs::AskOpenFileName(window(), QString::fromLatin1(mc::canvas::kAddImageFilter));
    if (chosen.isEmpty())
        return;
    // At the centre of the screen, where the new item is made.
    const QString why = AddPictureFile(chosen, std::nullopt);
    if (!why.isEmpty())
        mc::dialogs::ShowMessage(why, window());
}

void CMyView::OnRefresh()
{
    InvalidateAll();
    m_ptShapeStart = QPoint(0, 0);
    m_ptShapeEnd = QPoint(0, 0);
}

void CMyView::ToggleFullScreen()
{
    if (!m_pHost)
        return;
    if (m_pHost->IsFullScreen())
        m_pHost->LeaveFullScreen();
    else
        m_pHost->EnterFullScreen();
}

// ---------------------------------------------------------------------------
// Layer and repaint

QPoint CMyView::ScrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QSize CMyView::ClientSize() const
{
    return m_rcClient.size();
}

void CMyView::captureClientRect()
{
    if (g_bFirstUpdate) {
        g_rcClient = DeviceClientRect();
        g_bFirstUpdate = false;
        mc::platform::storeClientSize(g_rcClient.size());
    }
    m_rcClient = g_rcClient;
    m_bInitialUpdatePending = false;
}

void CMyView::OnInitialUpdate()
{
    // The scrollable area is the screen, whatever the canvas size.
    resizeEvent(nullptr);
    if (!g_bFirstUpdate || viewport()->isVisible()) {
        captureClientRect();
        OnUpdate();
    } else {
        // Before the window is on the screen its client area is not final:
        // the capture waits for the first paint.
        m_bInitialUpdatePending = true;
    }
}

void CMyView::OnUpdate()
{
    if (m_bInitialUpdatePending)
        return;
    RebuildCanvas();
    InvalidateAll();
}

void CMyView::RebuildCanvas()
{
    m_layer.Rebuild(*m_pDoc, m_rcClient.size(), mc::platform::screenSize(), mc::canvas::SurroundColor());
}

QImage CMyView::RenderCanvas() const
{
    return mc::canvas::RenderCanvas(*m_pDoc, m_rcClient.size());
}

void CMyView::Invalidate(const QRegion& region)
{
    const QRegion part = region & QRegion(DeviceClientRect());
    m_rgnInvalid += part;
    if (m_bLogInvalid)
        m_rgnInvalidLog += region;
    updateDevice(part);
}

void CMyView::InvalidateScrolled(const QRegion& region)
{
    Invalidate(region.translated(-ScrollPosition()));
}

void CMyView::InvalidateAll()
{
    Invalidate(QRegion(DeviceClientRect()));
}

void CMyView::ensureScreen()
{
    const QRect client = DeviceClientRect();
    const qreal ratio = DevicePixelRatio();
    if (m_screen.size() != client.size() || m_screen.devicePixelRatio() != ratio) {
        m_screen = QImage(client.size(), QImage::Format_RGB32);
        m_screen.setDevicePixelRatio(ratio); // shown pixel for pixel
        m_screen.fill(mc::canvas::SurroundColor());
        m_rgnInvalid = QRegion(client);
    }
}

void CMyView::renderInvalid()
{
    ensureScreen();
    RefreshOutline(); // the current item may have changed without a word
    if (m_rgnInvalid.isEmpty())
        return;
    QImage pixels = screenPixels();
    QPainter painter(&pixels);
    painter.setClipRegion(m_rgnInvalid);
    painter.translate(-ScrollPosition());
    m_layer.Paint(painter, *m_pDoc);
    drawOutline(painter);
    m_rgnInvalid = QRegion();
}

void CMyView::UpdateWindow()
{
    renderInvalid();
    if (viewport()->isVisible())
        viewport()->repaint();
}

void CMyView::paintEvent(QPaintEvent* event)
{
    if (m_bInitialUpdatePending) {
        captureClientRect();
        RebuildCanvas();
        InvalidateAll();
    }
    renderInvalid();
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    // The picture carries the ratio: Qt maps its device pixels one to one.
    painter.drawImage(QPointF(0, 0), m_screen);
}

void CMyView::resizeEvent(QResizeEvent* event)
{
    const QSize screen = mc::platform::screenSize();
    QSize client = DeviceClientRect().size();
    // Scroll bars shown once keep the viewport smaller than the window: where
    // the whole area fits without them (full screen on a screen-sized
    // canvas), there is nothing to scroll and they go.
    const QSize whole = maximumViewportSize() * DevicePixelRatio();
    if (screen.width() <= whole.width() && screen.height() <= whole.height())
        client = screen;
    horizontalScrollBar()->setRange(0, std::max(0, screen.width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, screen.height() - client.height()));
    horizontalScrollBar()->setPageStep(std::max(1, client.width()));
    verticalScrollBar()->setPageStep(std::max(1, client.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, screen.width() / 100));
    verticalScrollBar()->setSingleStep(std::max(1, screen.height() / 100));
    if (event)
        QAbstractScrollArea::resizeEvent(event);
}

void CMyView::scrollContentsBy(int dx, int dy)
{
    // What stays visible moves with the scroll; only the uncovered strips
    // are painted afresh.
    ensureScreen();
    QImage moved(m_screen.size(), m_screen.format());
    moved.fill(mc::canvas::SurroundColor());
    {
        QPainter painter(&moved);
        painter.drawImage(QPoint(dx, dy), screenPixels());
    }
    moved.setDevicePixelRatio(m_screen.devicePixelRatio());
    m_screen = std::move(moved);
    m_rgnInvalid.translate(dx, dy);
    const QRect all = DeviceClientRect();
    Invalidate(QRegion(all) - QRegion(all.translated(dx, dy)));
    viewport()->update();
}

// ---------------------------------------------------------------------------
// Selection and dragging

Card* CMyView::HitTest(QPoint point) const
{
    for (const auto& card : m_pDoc->m_listCards) {
        const QRegion& area = card->m_bErased ? card->m_rgnKept : card->m_rgnItem;
        if (area.contains(point))
            return card.get();
    }
    return nullptr;
}

void CMyView::mousePressEvent(QMouseEvent* event)
{
    const QPoint client = ToDevice(event->position());
    if (event->button() == Qt::LeftButton)
        onLeftDown(client);
    else if (event->button() == Qt::RightButton)
        onRightDown(client, event->globalPosition().toPoint());
}

void CMyView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bCapture)
        return;
    const QPoint client = ToDevice(event->position());
    if (m_bDrawingShape || m_bMovingShape)
        dragShapeTo(client);
    else
        dragItemTo(client);
}

void CMyView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        onLeftUp();
}

void CMyView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click starts no drag.
    if (event->button() == Qt::LeftButton)
        ToggleFullScreen();
}

void CMyView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_pHost && m_pHost->IsFullScreen())
        m_pHost->LeaveFullScreen();
    // The arrows move the current item; without one they scroll.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Left: step = {-1, 0}; break;
    case Qt::Key_Right: step = {1, 0}; break;
    case Qt::Key_Up: step = {0, -1}; break;
    case Qt::Key_Down: step = {0, 1}; break;
    default: break;
    }
    if (!step.isNull() && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)
        && MoveCurrentBy(modifiers == Qt::ShiftModifier ? step * kShiftStep : step)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool CMyView::MoveCurrentBy(QPoint distance)
{
    Card* card = m_pCurCard;
    if (m_bCapture || !card || !m_pDoc->m_listCards.Contains(card))
        return false;
    m_pDoc->NoteCurrentCard(card);
    // Shown as a drag shows it: at once at its new place, then repainted
    // cleanly as at the release.
    card->BeginDrag(card->m_ptCenter);
    moveDraggedItem(card->m_ptCenter + distance);
    InvalidateScrolled(card->m_rgnItem);
    // A burst of presses is one step; the modified flag follows it.
    m_pDoc->RecordStep(QStringLiteral("Move"), card, true);
    return true;
}

void CMyView::onLeftDown(QPoint client)
{
    m_pDoc->NoteCurrentCard(m_pCurCard);
    const QPoint scroll = ScrollPosition();
    Card* hit = HitTest(client + scroll);
    if (hit && hit != m_pCurCard) {
        m_pCurCard = hit;
        Q_EMIT currentCardChanged(hit);
    }

    if (m_pDoc->m_bCutStatus) {
        m_bCapture = true;
        m_nDragShape = m_pDoc->m_nShape;
        // From here to mouse-up the shape is kept in client coordinates.
        m_rgnShape.translate(-scroll);
        m_ptShapeStart -= scroll;
        m_ptShapeEnd -= scroll;
        if (m_rgnShape.contains(client)) {
            m_szGrabStart = client - m_ptShapeStart;
            m_szGrabEnd = client - m_ptShapeEnd;
            m_bMovingShape = true;
        } else {
            if (m_ptShapeStart != m_ptShapeEnd)
                ClearShape(false);
            m_ptShapeStart = m_ptShapeEnd = client;
            m_bDrawingShape = true;
        }
        return;
    }

    if (hit) {
        m_bCapture = true;
        hit->BeginDrag(client + scroll);
        // Raised at once: the project changes even if the mouse never moves.
        m_pDoc->m_listCards.MoveToHead(hit);
        m_pDoc->SetModifiedFlag(true);
    }
}

void CMyView::dragItemTo(QPoint client)
{
    moveDraggedItem(client + ScrollPosition());
}

void CMyView::moveDraggedItem(QPoint point)
{
    Card* card = m_pCurCard;
    if (!card)
        return;
    ensureScreen();
    const QPoint scroll = ScrollPosition();
    m_rgnOld = card->m_rgnItem;
    const QRegion oldOutline = m_rgnOutline;
    card->DragTo(point);

    // The item shows at once at its new place, clipped to the canvas, and
    // its outline with it.
    m_rgnOutline = CurrentOutline();
    {
        QImage pixels = screenPixels();
        QPainter painter(&pixels);
        painter.translate(-scroll);
        painter.setClipRect(m_layer.CanvasRect());
        mc::canvas::DrawItem(painter, *card);
        painter.setClipping(false);
        drawOutline(painter);
    }
    updateDevice(((card->m_rgnItem & QRegion(m_layer.CanvasRect())) + m_rgnOutline).translated(-scroll));

    m_rgnNew = card->m_rgnItem;
    m_rgnOld -= m_rgnNew;
    // The old outline where the item lies now was drawn over, but a
    // semitransparent item would still let it show through.
    InvalidateScrolled((oldOutline & m_rgnNew) - m_rgnOutline);
    if (card->m_bErased) {
        // Its transparent parts may still show its old pixels.
        m_rgnErased = card->m_rgnItem - card->m_rgnKept;
        InvalidateScrolled(m_rgnErased);
    }
    InvalidateScrolled(m_rgnOld);
    UpdateWindow();
}

void CMyView::invertOutline()
{
    if (m_ptShapeStart == m_ptShapeEnd)
        return;
    ensureScreen();
    const int x0 = m_ptShapeStart.x(), y0 = m_ptShapeStart.y();
    const int x1 = m_ptShapeEnd.x(), y1 = m_ptShapeEnd.y();
    {
        QImage pixels = screenPixels();
        QPainter painter(&pixels);
        painter.setClipRect(m_layer.CanvasRect().translated(-ScrollPosition()));
        // Inverting: drawing the same outline twice restores the pixels.
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        mc::canvas::DrawShapeOutline(m_nDragShape, x0, y0, x1, y1, painter);
    }
    const QRectF drawn = mc::canvas::ShapeOutlinePath(m_nDragShape, x0, y0, x1, y1).boundingRect();
    updateDevice(drawn.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void CMyView::dragShapeTo(QPoint client)
{
    if (m_bDrawingShape) {
        invertOutline(); // removes the old outline
        m_ptShapeEnd = client;
        invertOutline();
    } else if (m_bMovingShape) {
        invertOutline();
        m_ptShapeStart = client - m_szGrabStart;
        m_ptShapeEnd = client - m_szGrabEnd;
        invertOutline();
    }
}

void CMyView::buildShapeRegion()
{
    const QPoint scroll = ScrollPosition();
    mc::Region shape = mc::canvas::ShapeRegion(m_nDragShape, m_ptShapeStart.x(), m_ptShapeStart.y(),
                                               m_ptShapeEnd.x(), m_ptShapeEnd.y());
    shape.translate(scroll.x(), scroll.y());
    // Presses land in the scrollable area; no more of the shape is needed
    // in whole pixels.
    m_rgnShape = shape.toPixelRegion(QRect(QPoint(0, 0), mc::platform::screenSize()));
    m_pShapeRegion = std::make_unique<mc::Region>(std::move(shape));
}

void CMyView::onLeftUp()
{
    if (!m_bCapture)
        return;
    m_bCapture = false;
    // What the press started decides, even if cut status changed meanwhile.
    if (!m_bDrawingShape && !m_bMovingShape) {
        if (m_pCurCard)
            InvalidateScrolled(m_pCurCard->m_rgnItem);
        // The raise and every move of this press are one step.
        m_pDoc->RecordStep(QStringLiteral("Move"), m_pCurCard);
        return;
    }
    m_bDrawingShape = false;
    m_bMovingShape = false;
    const QPoint scroll = ScrollPosition();
    buildShapeRegion();
    m_ptShapeStart += scroll;
    m_ptShapeEnd += scroll;
}

void CMyView::onRightDown(QPoint client, QPoint global)
{
    m_pCurCard = HitTest(client + ScrollPosition());
    Q_EMIT currentCardChanged(m_pCurCard);
    if (m_pHost)
        m_pHost->TrackContextMenu(m_pCurCard ? IDR_ITEM_CONTEXT_MENU : IDR_CANVAS_CONTEXT_MENU, global);
}

void CMyView::ClearShape(bool scrolled)
{
    const int x0 = m_ptShapeStart.x(), y0 = m_ptShapeStart.y();
    const int x1 = m_ptShapeEnd.x(), y1 = m_ptShapeEnd.y();
    int left = std::min(x0, x1), top = std::min(y0, y1);
    int right = std::max(x0, x1), bottom = std::max(y0, y1);
    // Some outlines reach beyond their rectangle.
    const int dx = std::max(std::abs(x1 - x0) / 10, 5);
    const int dy = std::max(std::abs(y1 - y0) / 10, 5);
    left -= dx, right += dx, top -= dy, bottom += dy;
    const QRegion area(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    if (scrolled)
        InvalidateScrolled(area);
    else
        Invalidate(area);
    m_ptShapeStart = QPoint(0, 0);
    m_ptShapeEnd = QPoint(0, 0);
    m_rgnShape = QRegion();
}
