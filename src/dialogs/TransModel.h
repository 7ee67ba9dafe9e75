#pragma once
// What the erase-extent dialog holds: the colour tolerance chosen with its
// trackbar, 0 (exact colour) to 50 per channel.
#include <algorithm>

class TransModel {
public:
    explicit TransModel(int extent) { OnTrack(extent); }

    void OnTrack(int position) { m_nExtent = std::clamp(position, kMinExtent, kMaxExtent); }

    int m_nExtent = 0;

    static constexpr int kMinExtent = 0;
    static constexpr int kMaxExtent = 50;
};
