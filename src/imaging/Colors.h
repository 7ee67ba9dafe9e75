#pragma once
// Colours are kept as COLORREF values (0x00BBGGRR) wherever the project stores
// them; drawing needs opaque ARGB.
#include <QColor>
#include <QRgb>
#include <cstdint>

namespace mc {

using COLORREF = std::uint32_t;

constexpr QRgb colorrefToArgb(COLORREF c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

constexpr COLORREF argbToColorref(QRgb c)
{
    return ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
}

inline QColor colorrefToColor(COLORREF c) { return QColor::fromRgb(colorrefToArgb(c)); }

} // namespace mc
