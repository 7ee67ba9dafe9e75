#include "dialogs/CDlgDelImg.h"

#include "dialogs/CItemDialogControls.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace mc::dialogs;

CDlgDelImg::CDlgDelImg(DelImgModel& model, const QImage* image, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_pImage(image)
{
    setWindowTitle(QStringLiteral("Delete Image"));
    setFixedSize(DluSize(242, 66));

    // The controls sit right of the thumbnail, which takes client pixels
    // (20, 15) to at most (140, 90).
    PlaceControl(new QLabel(QStringLiteral("Delete the image?"), this), 0, QRect(110, 12, 120, 10));
    m_pNoPrompt = PlaceControl(new QCheckBox(QStringLiteral("No longer prompt"), this), IDC_NO_PROMPT,
                               QRect(110, 28, 120, 10));
    m_pNoPrompt->setChecked(m_model.m_bNoPrompt);
    auto* yes = PlaceControl(new QPushButton(QStringLiteral("&Yes"), this), 1, QRect(110, 44, 55, 14));
    auto* no = PlaceControl(new QPushButton(QStringLiteral("&No"), this), 2, QRect(175, 44, 55, 14));
    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, &CDlgDelImg::accept);
    connect(no, &QPushButton::clicked, this, &CDlgDelImg::reject);
    yes->setFocus();
}

void CDlgDelImg::done(int result)
{
    m_model.m_bYes = result == QDialog::Accepted;
    m_model.m_bNoPrompt = m_pNoPrompt->isChecked();
    QDialog::done(result);
}

void CDlgDelImg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!m_pImage || m_pImage->isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(DelImgModel::ThumbnailRect(m_pImage->size()), *m_pImage);
}
