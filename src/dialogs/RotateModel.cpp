#include "dialogs/RotateModel.h"

#include "dialogs/EditNumbers.h"

QString RotateModel::Label() const
{
    return m_bClockwise ? QStringLiteral("Clockwise:") : QStringLiteral("Counter Clockwise:");
}

std::optional<QString> RotateModel::Validate()
{
    const int degree = mc::dialogs::ParseLeadingInt(m_strDegree);
    if (degree < kMinDegree || degree > kMaxDegree)
        return QStringLiteral("Please Input Valid Degree(1-360).");
    m_nDegree = degree;
    return std::nullopt;
}
