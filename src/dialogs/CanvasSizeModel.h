#pragma once
// What the Customize Canvas Size dialog computes: the two edit boxes keep
// each other in the screen's aspect ratio while "By Display Device Scale" is
// ticked, and OK accepts only sizes within 1 .. screen size.
#include <QString>

#include <optional>

class CanvasSizeModel {
public:
    CanvasSizeModel(int width, int height, bool byDisplayScale, int maxWidth, int maxHeight);

    // Edit box 1000 changed to `text`: with the box ticked, the height
    // follows. Returns the texts the two boxes must show afterwards.
    void OnChangeWidth();
    void OnChangeHeight();
    void OnByDisplayScale() { OnChangeWidth(); }

    // Feeds a change of one box and follows the change notifications the
    // written-back texts cause, until both boxes agree. This is what the
    // widget does with its own signals; tests use it directly.
    void EditWidth(const QString& text);
    void EditHeight(const QString& text);
    void SetByDisplayScale(bool on);

    // OK: nullopt when accepted, else the message to show.
    std::optional<QString> Validate();

    // "%d" and atoi as the boxes use them.
    static int ParseLeadingInt(const QString& text);

    int m_nWidth;
    int m_nHeight;
    int m_nMaxWidth;
    int m_nMaxHeight;
    bool m_bByDisplayScale;
    double m_dRatio;
    QString m_strWidth;
    QString m_strHeight;

private:
    // Applies the written-back texts like SetWindowText would: a box whose
    // text changed raises its change handler once more.
    void settle(bool widthChanged, bool heightChanged);
};
