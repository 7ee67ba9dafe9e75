#include "dialogs/CDlgSize.h"

#include "dialogs/CItemDialogControls.h"
#include "dialogs/CMessageBox.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace mc::dialogs;

CDlgSize::CDlgSize(SizeModel& model, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
{
    setWindowTitle(QStringLiteral("Customize Size"));
    setFixedSize(DluSize(212, 82));

    PlaceControl(new QGroupBox(QString(), this), 0, QRect(7, 4, 152, 72));
    m_pWidthRadio = PlaceControl(new QRadioButton(QStringLiteral("Width:"), this), IDC_MODE_WIDTH,
                                 QRect(14, 15, 63, 10));
    m_pWidth = PlaceControl(new QLineEdit(this), IDC_WIDTH, QRect(79, 13, 36, 13));
    PlaceControl(new QLabel(QStringLiteral("Pixels"), this), 0, QRect(119, 15, 30, 10));
    PlaceControl(new QLabel(QStringLiteral("Height:"), this), 0, QRect(25, 35, 45, 10));
    m_pHeight = PlaceControl(new QLineEdit(this), IDC_HEIGHT, QRect(79, 33, 36, 13));
    PlaceControl(new QLabel(QStringLiteral("Pixels"), this), 0, QRect(119, 35, 30, 10));
    m_pRatioRadio = PlaceControl(new QRadioButton(QStringLiteral("Scale Ratio:"), this), IDC_MODE_RATIO,
                                 QRect(14, 56, 63, 10));
    m_pRatio = PlaceControl(new QLineEdit(this), IDC_RATIO, QRect(79, 54, 36, 13));
    PlaceControl(new QLabel(QStringLiteral("%"), this), 0, QRect(119, 56, 15, 10));

    auto* modes = new QButtonGroup(this);
    modes->addButton(m_pWidthRadio, 0);
    modes->addButton(m_pRatioRadio, 1);

    MakeDigitsOnly(m_pWidth, SizeModel::kSizeChars);
    MakeDigitsOnly(m_pHeight, SizeModel::kSizeChars);
    MakeDigitsOnly(m_pRatio, SizeModel::kRatioChars);

    auto* ok = PlaceControl(new QPushButton(QStringLiteral("OK"), this), 1, QRect(164, 7, 42, 14));
    auto* cancel = PlaceControl(new QPushButton(QStringLiteral("Cancel"), this), 2, QRect(164, 25, 42, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgSize::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgSize::reject);

    showTexts();
    setMode(m_model.m_nMode);

    // textEdited fires for the user's changes only, not for setText.
    connect(m_pWidth, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditWidth(text);
        showTexts();
    });
    connect(m_pHeight, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditHeight(text);
        showTexts();
    });
    connect(m_pRatio, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditRatio(text);
        showTexts();
    });
    // Clicking a radio button moves into its box with the whole text
    // selected; the mode then follows the focus.
    connect(m_pWidthRadio, &QRadioButton::clicked, this, [this] {
        m_pWidth->setFocus(Qt::OtherFocusReason);
        m_pWidth->selectAll();
        setMode(0);
    });
    connect(m_pRatioRadio, &QRadioButton::clicked, this, [this] {
        m_pRatio->setFocus(Qt::OtherFocusReason);
        m_pRatio->selectAll();
        setMode(1);
    });
    for (QLineEdit* edit : {m_pWidth, m_pHeight, m_pRatio})
        edit->installEventFilter(this);

    QLineEdit* first = m_model.m_nMode == 0 ? m_pWidth : m_pRatio;
    first->setFocus();
    first->selectAll();
}

bool CDlgSize::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_pWidth || watched == m_pHeight)
            setMode(0);
        else if (watched == m_pRatio)
            setMode(1);
    }
    return QDialog::eventFilter(watched, event);
}

void CDlgSize::setMode(int mode)
{
    m_model.SetMode(mode);
    (mode == 0 ? m_pWidthRadio : m_pRatioRadio)->setChecked(true);
}

void CDlgSize::showTexts()
{
    // Only boxes whose text differs are written, which keeps the cursor of
    // the box being typed in where it is.
    const auto put = [](QLineEdit* edit, const QString& text) {
        if (edit->text() != text)
            edit->setText(text);
    };
    put(m_pWidth, m_model.m_strWidth);
    put(m_pHeight, m_model.m_strHeight);
    put(m_pRatio, m_model.m_strRatio);
}

void CDlgSize::accept()
{
    if (const auto message = m_model.Validate()) {
        ShowMessage(*message, this);
        return;
    }
    QDialog::accept();
}
