#pragma once
// Dialog layouts are written in dialog units of an 8-point dialog font:
// one horizontal unit is a quarter of the average character width (6 px),
// one vertical unit an eighth of the character height (13 px). Fixed factors
// keep pixel-exact parts (the delete thumbnail) where they belong.
#include <QRect>
#include <QSize>

namespace mc::dialogs {

constexpr int DluX(int x) { return x * 6 / 4; }
constexpr int DluY(int y) { return y * 13 / 8; }
constexpr QRect DluRect(int x, int y, int w, int h) { return QRect(DluX(x), DluY(y), DluX(w), DluY(h)); }
constexpr QSize DluSize(int w, int h) { return QSize(DluX(w), DluY(h)); }

} // namespace mc::dialogs
