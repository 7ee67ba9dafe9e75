#include "dialogs/CDlgSemi.h"

#include "dialogs/CItemDialogControls.h"
#include "dialogs/CMessageBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

using namespace mc::dialogs;

CDlgSemi::CDlgSemi(SemiModel& model, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
{
    setWindowTitle(QStringLiteral("Set Semitransparency"));
    setFixedSize(DluSize(251, 79));

    PlaceControl(new QGroupBox(QStringLiteral("Semitransparency"), this), 0, QRect(7, 4, 237, 44));
    m_pSlider = PlaceControl(new QSlider(Qt::Horizontal, this), IDC_SLIDER, QRect(14, 18, 180, 18));
    m_pSlider->setRange(SemiModel::kMinAlpha, SemiModel::kMaxAlpha);
    m_pSlider->setTickInterval(1);
    m_pSlider->setTickPosition(QSlider::NoTicks);
    m_pSlider->setSingleStep(1);
    m_pEdit = PlaceControl(new QLineEdit(this), IDC_VALUE, QRect(200, 20, 35, 13));
    m_pEdit->setReadOnly(true);
    MakeDigitsOnly(m_pEdit, 3);

    m_pSetDefault = PlaceControl(new QCheckBox(QStringLiteral("Set Default"), this), IDC_SET_DEFAULT,
                                 QRect(14, 58, 60, 10));
    m_pUseDefault = PlaceControl(new QPushButton(QStringLiteral("Use  Default"), this), IDC_USE_DEFAULT,
                                 QRect(78, 56, 55, 14));
    m_pUseDefault->setAutoDefault(false);
    auto* ok = PlaceControl(new QPushButton(QStringLiteral("OK"), this), 1, QRect(139, 56, 50, 14));
    auto* cancel = PlaceControl(new QPushButton(QStringLiteral("Cancel"), this), 2, QRect(194, 56, 50, 14));
    ok->setDefault(true);

    refresh();
    connect(m_pSlider, &QSlider::valueChanged, this, [this](int position) {
        m_model.OnTrack(position);
        refresh();
    });
    connect(m_pSetDefault, &QCheckBox::toggled, this, [this](bool on) { m_model.m_bSetDefault = on; });
    connect(m_pUseDefault, &QPushButton::clicked, this, [this] {
        m_model.UseDefault();
        refresh();
    });
    connect(ok, &QPushButton::clicked, this, &CDlgSemi::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgSemi::reject);
    m_pSlider->setFocus();
}

void CDlgSemi::refresh()
{
    const QSignalBlocker blockSlider(m_pSlider);
    const QSignalBlocker blockBox(m_pSetDefault);
    m_pSlider->setValue(m_model.m_nAlphaValue);
    m_pEdit->setText(QString::number(m_model.m_nAlphaValue));
    m_pSetDefault->setChecked(m_model.m_bSetDefault);
}

void CDlgSemi::accept()
{
    if (const auto message = m_model.Validate()) {
        ShowMessage(*message, this);
        return;
    }
    QDialog::accept();
}
