#include "dialogs/SemiModel.h"

#include <algorithm>

// Values are kept within the trackbar's range so that what is shown and
// what is returned never disagree.
SemiModel::SemiModel(int value, int defaultAlpha)
    : m_nAlphaValue(std::clamp(value, kMinAlpha, kMaxAlpha))
    , m_nDefault(std::clamp(defaultAlpha, kMinAlpha, kMaxAlpha))
{
}

void SemiModel::OnTrack(int position)
{
    m_nAlphaValue = std::clamp(position, kMinAlpha, kMaxAlpha);
    m_bSetDefault = false;
}

void SemiModel::UseDefault() { m_nAlphaValue = m_nDefault; }

std::optional<QString> SemiModel::Validate() const
{
    if (m_nAlphaValue == kMaxAlpha && m_bSetDefault)
        return QStringLiteral("255 should't be set as default semitransparency.");
    return std::nullopt;
}
