#pragma once
// The "Customize Canvas Size" dialog: width and height boxes (digits only)
// that keep each other in the screen's proportions while "By Display Device
// Scale" is ticked, and OK that accepts only sizes within 1 .. screen size.
// The computing lives in CanvasSizeModel; this class is its widgets.
#include "dialogs/CanvasSizeModel.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

class CDlgCanvasSize : public QDialog {
    Q_OBJECT
public:
    // The bounds are the screen size, read at construction.
    CDlgCanvasSize(int width, int height, bool byDisplayScale, QWidget* parent = nullptr);

    QLineEdit* WidthEdit() const { return m_pWidth; }
    QLineEdit* HeightEdit() const { return m_pHeight; }
    QCheckBox* ScaleBox() const { return m_pScale; }
    const CanvasSizeModel& Model() const { return m_model; }

    void accept() override;

    // On OK: the accepted size and the check box.
    int m_nWidth;
    int m_nHeight;
    bool m_bByDisplayScale;

private:
    void showModel(); // the controls take the model's texts

    CanvasSizeModel m_model;
    QLineEdit* m_pWidth;
    QLineEdit* m_pHeight;
    QCheckBox* m_pScale;
};
