#pragma once
// What the Customize Size dialog computes. Width, height and ratio follow
// each other: a change of one box rewrites the other two from the picture's
// own size and proportions. OK checks the boxes of the chosen mode (0: width
// and height in pixels, 1: ratio in percent) and yields the new zoom.
//
// A rewritten box does not run its own change handler again: only what the
// user types recalculates, so a box never changes under the user's fingers.
#include <QString>

#include <optional>

class SizeModel {
public:
    SizeModel(int width, int height, int ratio, int imageWidth, int imageHeight);

    // The starting values for an item at zoom `scale` whose bitmap is
    // imageWidth x imageHeight: the scaled size truncated, the ratio rounded.
    static SizeModel ForItem(double scale, int imageWidth, int imageHeight);

    // The user changed one box's text to `text`.
    void EditWidth(const QString& text);
    void EditHeight(const QString& text);
    void EditRatio(const QString& text);

    // Focus entering a box: width and height choose mode 0, ratio mode 1.
    void SetMode(int mode) { m_nMode = mode; }

    // OK: nullopt when accepted (m_dResultScale holds the zoom), else the
    // message to show; no box is changed.
    std::optional<QString> Validate();

    // The bounds of mode 0.
    int MinWidth() const;
    int MaxWidth() const;
    int MinHeight() const;
    int MaxHeight() const;

    QString m_strWidth;
    QString m_strHeight;
    QString m_strRatio;
    int m_nImageWidth;
    int m_nImageHeight;
    double m_dAspect;
    int m_nMode = 0;
    double m_dResultScale = 1.0;

    static constexpr int kSizeChars = 4;
    static constexpr int kRatioChars = 3;
    static constexpr int kMinRatio = 10;
    static constexpr int kMaxRatio = 500;
};
