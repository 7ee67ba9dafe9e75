#pragma once
// What the delete confirmation computes: where the thumbnail of the picture
// goes, and whether the answer deletes and stops further questions.
#include <QRect>
#include <QSize>

class DelImgModel {
public:
    // Client-pixel rectangle of the thumbnail of a picture of `imageSize`:
    // at (20, 15), 75 high, as wide as the proportions ask but at most 120.
    static QRect ThumbnailRect(QSize imageSize);

    // Set by the dialog when it closes.
    bool m_bYes = false;       // closed with "&Yes"
    bool m_bNoPrompt = false;  // "No longer prompt" ticked

    // The prompt is dropped only when "&Yes" was chosen with the box ticked.
    bool StopsPrompting() const { return m_bYes && m_bNoPrompt; }

    static constexpr int kLeft = 20;
    static constexpr int kTop = 15;
    static constexpr int kHeight = 75;
    static constexpr int kMaxWidth = 120;
};
