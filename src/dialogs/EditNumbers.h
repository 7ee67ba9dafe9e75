#pragma once
// Number handling shared by the item dialogs: reading the number an edit box
// holds and turning computed doubles into the integers the boxes show.
#include <QString>

namespace mc::dialogs {

// The leading decimal number of `text` after optional blanks and sign, as the
// C library's atoi reads it; 0 when there is none. Values beyond the int
// range saturate instead of overflowing.
int ParseLeadingInt(const QString& text);

// Truncation toward zero, saturated to the int range (NaN gives 0), so that
// extreme picture proportions never make an out-of-range conversion.
int TruncToInt(double value);

} // namespace mc::dialogs
