#include "dialogs/CDlgRotate.h"

#include "dialogs/CItemDialogControls.h"
#include "dialogs/CMessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using namespace mc::dialogs;

CDlgRotate::CDlgRotate(RotateModel& model, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
{
    setWindowTitle(QStringLiteral("Rotate Degree"));
    setFixedSize(DluSize(194, 50));

    m_pLabel = PlaceControl(new QLabel(m_model.Label(), this), 0, QRect(10, 14, 70, 10));
    m_pEdit = PlaceControl(new QLineEdit(m_model.m_strDegree, this), IDC_DEGREE, QRect(82, 12, 40, 14));
    // A label wider than its place ("Counter Clockwise:") pushes the edit on.
    m_pEdit->move(std::max(m_pEdit->x(), m_pLabel->geometry().right() + 1 + DluX(2)), m_pEdit->y());
    m_pEdit->setMaxLength(RotateModel::kMaxChars);
    MakeDigitsOnly(m_pEdit, RotateModel::kMaxChars);
    m_pEdit->selectAll();

    auto* ok = PlaceControl(new QPushButton(QStringLiteral("OK"), this), 1, QRect(137, 7, 50, 14));
    auto* cancel = PlaceControl(new QPushButton(QStringLiteral("Cancel"), this), 2, QRect(137, 27, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgRotate::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgRotate::reject);
    m_pEdit->setFocus();
}

void CDlgRotate::accept()
{
    m_model.m_strDegree = m_pEdit->text();
    if (const auto message = m_model.Validate()) {
        ShowMessage(*message, this);
        m_pEdit->setFocus();
        return;
    }
    QDialog::accept();
}
