#pragma once
// What the Customize Canvas Size dialog computes, without any widget.
//
// The model holds the texts the two edit boxes show and the state of the
// "By Display Device Scale" check box, as the controls would. While the box
// is ticked, a change of one edit box recomputes the other in the screen's
// aspect ratio. Only the user's edits count as changes: the box the program
// writes raises no notification of its own, so it never recomputes the box
// being typed in (on a 1024 x 768 screen, typing 1, 10, 102, 1024 shows the
// heights 0, 7, 76, 768 while the width keeps what was typed).
// OK accepts only sizes within 1 .. screen size.
//
// The widget forwards its edits with EditWidth / EditHeight /
// SetByDisplayScale and then shows WidthText() / HeightText().
#include <QString>

#include <optional>

class CanvasSizeModel {
public:
    // The controls start out showing the fields ("%d" of width and height)
    // without any change notification: filling the boxes one after the other
    // with notifications would recompute the width from the height, or,
    // unticked, read the still empty width box back and leave it empty.
    CanvasSizeModel(int width, int height, bool byDisplayScale, int maxWidth, int maxHeight);

    // The change handlers of the width box, the height box and the check
    // box. Each reads the controls into the fields and, when the box is
    // ticked and its own text is not empty, recomputes the other size and
    // writes the fields back to the controls.
    void OnChangeWidth();
    void OnChangeHeight();
    void OnByDisplayScale() { OnChangeWidth(); }

    // The user changed a control: sets its state and, when it changed, runs
    // its handler.
    void EditWidth(const QString& text);
    void EditHeight(const QString& text);
    void SetByDisplayScale(bool on);

    // What the controls show.
    const QString& WidthText() const { return m_boxWidth; }
    const QString& HeightText() const { return m_boxHeight; }
    bool ByDisplayScaleChecked() const { return m_boxByDisplayScale; }

    // OK: reads the controls into m_nWidth / m_nHeight; nullopt when both are
    // within bounds, else the message to show (the dialog stays open).
    std::optional<QString> Validate();

    // The decimal value of the leading digits, as atoi reads it: leading
    // blanks and a sign are accepted, anything else ends the number, no
    // digits give 0; values beyond the int range saturate.
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
    void readControls();
    // Check box, then height, then width, as the dialog exchanges its data.
    // Written by the program, the boxes notify nobody.
    void writeControls();

    QString m_boxWidth;
    QString m_boxHeight;
    bool m_boxByDisplayScale;
};
