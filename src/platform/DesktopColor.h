#pragma once
// Desktop colours as the desktops write them: "#rrggbb" (GNOME family,
// also "#rgb" and "#rrrrggggbbbb") or "R G B" / "R,G,B" decimal triples.
#include "imaging/Colors.h"

#include <QString>

#include <optional>

namespace mc::platform {

// nullopt when the text is none of the accepted forms.
std::optional<COLORREF> parseColorText(const QString& text);

// "#rrggbb" in lower case.
QString formatColorHex(COLORREF color);

// "R G B" in decimal.
QString formatColorTriple(COLORREF color);

} // namespace mc::platform
