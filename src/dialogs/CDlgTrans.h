#pragma once
// "Set Erase Multicolor Backgroud Extent": a trackbar 0 .. 50 for the colour
// tolerance of the background erase, with its value beside it.
#include "dialogs/TransModel.h"

#include <QDialog>

class QLineEdit;
class QSlider;

class CDlgTrans : public QDialog {
    Q_OBJECT
public:
    CDlgTrans(TransModel& model, QWidget* parent = nullptr);

    QSlider* Slider() const { return m_pSlider; }
    QLineEdit* ValueEdit() const { return m_pEdit; }

    static constexpr int IDC_VALUE = 1000;
    static constexpr int IDC_SLIDER = 1017;

private:
    TransModel& m_model;
    QSlider* m_pSlider;
    QLineEdit* m_pEdit;
};
