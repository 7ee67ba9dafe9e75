#pragma once
// Real values become pixel coordinates here. Converting a double outside
// int's range to int is undefined behaviour (and a NaN has no integer at
// all), and scaled drawing can produce such values: a far-off item on a
// stretched wallpaper, a picture scaled by a large ratio. The bound keeps
// room for the sums and halves of sizes that follow.
#include <algorithm>
#include <cmath>

namespace mc::imaging {

inline constexpr double kPixelCoordinateLimit = 1 << 30;

// trunc(v), clamped to +-kPixelCoordinateLimit first; NaN gives 0.
inline int truncToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::clamp(v, -kPixelCoordinateLimit, kPixelCoordinateLimit));
}

} // namespace mc::imaging
