#include "dialogs/CDlgTrans.h"

#include "dialogs/CItemDialogControls.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

using namespace mc::dialogs;

CDlgTrans::CDlgTrans(TransModel& model, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
{
    // The window title keeps the dialog's historical spelling.
    setWindowTitle(QStringLiteral("Set Erase Multicolor Backgroud Extent"));
    setFixedSize(DluSize(241, 58));

    PlaceControl(new QGroupBox(QStringLiteral("Erase Multicolor Background Extent"), this), 0,
                 QRect(7, 4, 227, 30));
    m_pSlider = PlaceControl(new QSlider(Qt::Horizontal, this), IDC_SLIDER, QRect(14, 15, 170, 15));
    m_pSlider->setRange(TransModel::kMinExtent, TransModel::kMaxExtent);
    m_pSlider->setTickInterval(1);
    m_pSlider->setTickPosition(QSlider::NoTicks);
    m_pSlider->setSingleStep(1);
    m_pEdit = PlaceControl(new QLineEdit(this), IDC_VALUE, QRect(190, 16, 35, 13));
    m_pEdit->setReadOnly(true);
    MakeDigitsOnly(m_pEdit, 2);

    auto* ok = PlaceControl(new QPushButton(QStringLiteral("OK"), this), 1, QRect(130, 38, 50, 14));
    auto* cancel = PlaceControl(new QPushButton(QStringLiteral("Cancel"), this), 2, QRect(184, 38, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgTrans::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgTrans::reject);

    {
        const QSignalBlocker block(m_pSlider);
        m_pSlider->setValue(m_model.m_nExtent);
    }
    m_pEdit->setText(QString::number(m_model.m_nExtent));
    connect(m_pSlider, &QSlider::valueChanged, this, [this](int value) {
        m_model.OnTrack(value);
        m_pEdit->setText(QString::number(m_model.m_nExtent));
    });
    m_pSlider->setFocus();
}
