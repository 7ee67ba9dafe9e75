#include "dialogs/CanvasSizeModel.h"

#include "dialogs/EditNumbers.h"

#include <climits>
#include <cmath>

using mc::dialogs::TruncToInt;

CanvasSizeModel::CanvasSizeModel(int width, int height, bool byDisplayScale, int maxWidth, int maxHeight)
    : m_nWidth(width),
      m_nHeight(height),
      m_nMaxWidth(maxWidth),
      m_nMaxHeight(maxHeight),
      m_bByDisplayScale(byDisplayScale),
      m_dRatio(maxHeight != 0 ? double(maxWidth) / double(maxHeight) : 1.0),
      m_strWidth(QString::number(width)),
      m_strHeight(QString::number(height)),
      m_boxWidth(m_strWidth),
      m_boxHeight(m_strHeight),
      m_boxByDisplayScale(byDisplayScale)
{
    if (!(m_dRatio > 0.0) || !std::isfinite(m_dRatio))
        m_dRatio = 1.0;
}

void CanvasSizeModel::readControls()
{
    m_bByDisplayScale = m_boxByDisplayScale;
    m_strHeight = m_boxHeight;
    m_strWidth = m_boxWidth;
}

void CanvasSizeModel::writeControls()
{
    m_boxByDisplayScale = m_bByDisplayScale;
    m_boxHeight = m_strHeight;
    m_boxWidth = m_strWidth;
}

void CanvasSizeModel::OnChangeWidth()
{
    readControls();
    if (m_strWidth.isEmpty() || !m_bByDisplayScale)
        return;
    m_nWidth = ParseLeadingInt(m_strWidth);
    m_nHeight = TruncToInt(m_nWidth / m_dRatio);
    m_strHeight = QString::number(m_nHeight);
    writeControls();
}

void CanvasSizeModel::OnChangeHeight()
{
    readControls();
    if (m_strHeight.isEmpty() || !m_bByDisplayScale)
        return;
    m_nHeight = ParseLeadingInt(m_strHeight);
    m_nWidth = TruncToInt(m_nHeight * m_dRatio);
    m_strWidth = QString::number(m_nWidth);
    writeControls();
}

void CanvasSizeModel::EditWidth(const QString& text)
{
    if (m_boxWidth == text)
        return;
    m_boxWidth = text;
    OnChangeWidth();
}

void CanvasSizeModel::EditHeight(const QString& text)
{
    if (m_boxHeight == text)
        return;
    m_boxHeight = text;
    OnChangeHeight();
}

void CanvasSizeModel::SetByDisplayScale(bool on)
{
    m_boxByDisplayScale = on;
    OnByDisplayScale();
}

std::optional<QString> CanvasSizeModel::Validate()
{
    readControls();
    m_nWidth = ParseLeadingInt(m_strWidth);
    m_nHeight = ParseLeadingInt(m_strHeight);
    if (m_nWidth < 1 || m_nWidth > m_nMaxWidth || m_nHeight < 1 || m_nHeight > m_nMaxHeight)
        return QString::asprintf("Please Input Valid Width(%d-%d) and Height(%d-%d).", 1, m_nMaxWidth, 1,
                                 m_nMaxHeight);
    return std::nullopt;
}

int CanvasSizeModel::ParseLeadingInt(const QString& text)
{
    return mc::dialogs::ParseLeadingInt(text);
}
