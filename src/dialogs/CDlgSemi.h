#pragma once
// "Set Semitransparency": a trackbar 1 .. 255 for the alpha, "Use  Default"
// to take the view's default, and "Set Default" to make the chosen value the
// new default (255 is refused as a default).
#include "dialogs/SemiModel.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;

class CDlgSemi : public QDialog {
    Q_OBJECT
public:
    CDlgSemi(SemiModel& model, QWidget* parent = nullptr);

    void accept() override;

    QSlider* Slider() const { return m_pSlider; }
    QLineEdit* ValueEdit() const { return m_pEdit; }
    QCheckBox* SetDefaultBox() const { return m_pSetDefault; }
    QPushButton* UseDefaultButton() const { return m_pUseDefault; }

    static constexpr int IDC_VALUE = 1000;
    static constexpr int IDC_SET_DEFAULT = 1002;
    static constexpr int IDC_SLIDER = 1017;
    static constexpr int IDC_USE_DEFAULT = 1018;

private:
    // Shows the model's values in the controls without feeding them back.
    void refresh();

    SemiModel& m_model;
    QSlider* m_pSlider;
    QLineEdit* m_pEdit;
    QCheckBox* m_pSetDefault;
    QPushButton* m_pUseDefault;
};
