#pragma once
// What the Set Semitransparency dialog computes: the alpha chosen with the
// trackbar, the default offered by "Use  Default", and the refusal of 255 as
// a new default.
#include <QString>

#include <optional>

class SemiModel {
public:
    // `value` is the alpha shown at first, `defaultAlpha` the view's default.
    SemiModel(int value, int defaultAlpha);

    // The trackbar moved: the value follows and "Set Default" is unticked.
    void OnTrack(int position);
    // "Use  Default": the value becomes the default; the box keeps its state.
    void UseDefault();

    // OK: nullopt when accepted, else the message to show.
    std::optional<QString> Validate() const;

    int m_nAlphaValue;
    bool m_bSetDefault = false;
    int m_nDefault;

    static constexpr int kMinAlpha = 1;
    static constexpr int kMaxAlpha = 255;
};
