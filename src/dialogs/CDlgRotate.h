#pragma once
// "Rotate Degree": asks for a whole degree 1 .. 360; the label names the
// direction. Invalid input is reported and the dialog stays open.
#include "dialogs/RotateModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class CDlgRotate : public QDialog {
    Q_OBJECT
public:
    CDlgRotate(RotateModel& model, QWidget* parent = nullptr);

    void accept() override;

    QLabel* Label() const { return m_pLabel; }
    QLineEdit* DegreeEdit() const { return m_pEdit; }

    static constexpr int IDC_DEGREE = 1001;

private:
    RotateModel& m_model;
    QLabel* m_pLabel;
    QLineEdit* m_pEdit;
};
