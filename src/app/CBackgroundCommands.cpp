#include "app/CBackgroundCommands.h"

#include "dialogs/CDlgCanvasSize.h"
#include "dialogs/CStandardDialogs.h"
#include "document/CMyDoc.h"
#include "document/CommandIds.h"
#include "imaging/Colors.h"
#include "view/CMyView.h"

const char* const CBackgroundCommands::kPictureFilter =
    "All Image Files (*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib)|*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.tif;*.dib|"
    "BMP  (*.bmp;*.dib)|*.bmp;*.dib|JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)|*.jpg;*.jpeg;*.jpe;*.jfif|"
    "GIF  (*.gif)|*.gif|TIFF (*.tif;*.tiff)|*.tif;*.tiff|PNG  (*.png)|*.png||";

CBackgroundCommands::CBackgroundCommands(CMyDoc* doc, CMyView* view)
    : m_pDoc(doc)
    , m_pView(view)
{
    m_askCanvasSize = [this](int width, int height, bool byScale) -> std::optional<CanvasSizeAnswer> {
        CDlgCanvasSize dialog(width, height, byScale, m_pView ? m_pView->window() : nullptr);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return CanvasSizeAnswer{dialog.m_nWidth, dialog.m_nHeight, dialog.m_bByDisplayScale};
    };
}

bool CBackgroundCommands::HandlesCommand(int id) const
{
    switch (id) {
    case ID_PICTURE_FROM_FILE:
    case ID_NO_PICTURE:
    case ID_SELECT_COLOR:
    case ID_CUSTOMIZE_CANVAS_SIZE:
    case ID_CUT_STATUS:
        return true;
    default:
        return false;
    }
}

bool CBackgroundCommands::OnCommand(int id)
{
    switch (id) {
    case ID_PICTURE_FROM_FILE:
        OnPictureFromFile();
        return true;
    case ID_NO_PICTURE:
        OnNoPicture();
        return true;
    case ID_SELECT_COLOR:
        OnSelectColor();
        return true;
    case ID_CUSTOMIZE_CANVAS_SIZE:
        OnCustomizeCanvasSize();
        return true;
    case ID_CUT_STATUS:
        OnCutStatus();
        return true;
    default:
        return false;
    }
}

bool CBackgroundCommands::OnUpdateCommand(int id, CommandState& state)
{
    switch (id) {
    case ID_CUT_STATUS:
        state.enabled = true;
        state.checked = m_pDoc->m_bCutStatus;
        return true;
    default:
        return false;
    }
}

void CBackgroundCommands::OnPictureFromFile()
{
    const QString path = mc::dialogs::AskOpenFileName(m_pView ? m_pView->window() : nullptr,
                                                      QString::fromLatin1(kPictureFilter));
    if (!path.isEmpty())
        m_pDoc->LoadBackground(path);
}

void CBackgroundCommands::OnNoPicture()
{
    m_pDoc->LoadBackground(QString());
}

void CBackgroundCommands::OnSelectColor()
{
    // The dialog starts at black, not at the current colour. The colour is
    // saved with the project, so a new one marks it modified.
    const std::optional<QColor> color = mc::dialogs::AskColor(m_pView ? m_pView->window() : nullptr, QColor(Qt::black));
    if (!color)
        return;
    const mc::COLORREF chosen = mc::argbToColorref(color->rgb());
    if (chosen != m_pDoc->m_crBkColor)
        m_pDoc->SetModifiedFlag(true);
    m_pDoc->m_crBkColor = chosen;
    m_pDoc->UpdateAllViews();
}

void CBackgroundCommands::OnCustomizeCanvasSize()
{
    const std::optional<CanvasSizeAnswer> answer =
        m_askCanvasSize(m_pDoc->m_nCanvasWidth, m_pDoc->m_nCanvasHeight, m_pDoc->m_bByDisplayScale);
    if (!answer)
        return;
    m_pDoc->m_bByDisplayScale = answer->byDisplayScale;
    m_pDoc->SetCanvasSize(answer->width, answer->height);
}

void CBackgroundCommands::OnCutStatus()
{
    if (m_pDoc->m_bCutStatus) {
        if (m_pView)
            m_pView->ClearShape(true);
        m_pDoc->m_bCutStatus = false;
    } else {
        m_pDoc->m_bCutStatus = true;
    }
}
