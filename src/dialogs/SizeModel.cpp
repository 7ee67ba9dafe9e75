#include "dialogs/SizeModel.h"

#include "dialogs/EditNumbers.h"

#include <algorithm>

using mc::dialogs::ParseLeadingInt;
using mc::dialogs::TruncToInt;

SizeModel::SizeModel(int width, int height, int ratio, int imageWidth, int imageHeight)
    : m_strWidth(QString::number(width))
    , m_strHeight(QString::number(height))
    , m_strRatio(QString::number(ratio))
    // A bitmap always has at least one pixel a side; the guard keeps the
    // divisions below finite should an empty one ever reach here.
    , m_nImageWidth(std::max(imageWidth, 1))
    , m_nImageHeight(std::max(imageHeight, 1))
    , m_dAspect(double(m_nImageWidth) / double(m_nImageHeight))
{
}

SizeModel SizeModel::ForItem(double scale, int imageWidth, int imageHeight)
{
    return SizeModel(TruncToInt(scale * imageWidth), TruncToInt(scale * imageHeight),
                     TruncToInt(scale * 100 + 0.5), imageWidth, imageHeight);
}

void SizeModel::EditWidth(const QString& text)
{
    m_strWidth = text;
    if (text.isEmpty())
        return;
    const int w = ParseLeadingInt(text);
    m_strHeight = QString::number(TruncToInt(w / m_dAspect));
    m_strRatio = QString::number(TruncToInt(double(w) / m_nImageWidth * 100));
}

void SizeModel::EditHeight(const QString& text)
{
    m_strHeight = text;
    if (text.isEmpty())
        return;
    const int h = ParseLeadingInt(text);
    m_strWidth = QString::number(TruncToInt(h * m_dAspect + 0.5));
    m_strRatio = QString::number(TruncToInt(double(h) / m_nImageHeight * 100 + 0.5));
}

void SizeModel::EditRatio(const QString& text)
{
    m_strRatio = text;
    if (text.isEmpty())
        return;
    const int r = ParseLeadingInt(text);
    // The product of two ints is formed in 64 bits so that it cannot wrap.
    const long long product = static_cast<long long>(r) * m_nImageWidth;
    const int width = TruncToInt(double(product) * 0.01 + 0.5);
    m_strWidth = QString::number(width);
    m_strHeight = QString::number(TruncToInt(width / m_dAspect));
}

// A tenth of the picture, but at least one pixel: a width of 0 (possible for
// pictures narrower than 10 pixels) would give a zero zoom and leave an item
// that can never be seen or clicked again.
int SizeModel::MinWidth() const { return std::max(m_nImageWidth / 10, 1); }
int SizeModel::MaxWidth() const { return TruncToInt(double(m_nImageWidth) * 5); }
int SizeModel::MinHeight() const { return TruncToInt((1 / m_dAspect) * MinWidth()); }
int SizeModel::MaxHeight() const { return TruncToInt((1 / m_dAspect) * MaxWidth()); }

std::optional<QString> SizeModel::Validate()
{
    if (m_nMode == 0) {
        const int w = ParseLeadingInt(m_strWidth);
        const int h = ParseLeadingInt(m_strHeight);
        if (w < MinWidth() || w > MaxWidth() || h < MinHeight() || h > MaxHeight())
            return QStringLiteral("Please Input Valid Width(%1-%2) and Height(%3-%4).")
                .arg(MinWidth())
                .arg(MaxWidth())
                .arg(MinHeight())
                .arg(MaxHeight());
        // The height only has to lie within its bounds: the zoom is uniform.
        m_dResultScale = double(w) / m_nImageWidth;
        return std::nullopt;
    }
    const int r = ParseLeadingInt(m_strRatio);
    if (r < kMinRatio || r > kMaxRatio)
        return QStringLiteral("Please Input Valid Ratio(10-500).");
    m_dResultScale = r * 0.01;
    return std::nullopt;
}
