#include "dialogs/CDlgCanvasSize.h"

#include "dialogs/CMessageBox.h"
#include "platform/Screen.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

CDlgCanvasSize::CDlgCanvasSize(int width, int height, bool byDisplayScale, QWidget* parent)
    : QDialog(parent)
    , m_nWidth(width)
    , m_nHeight(height)
    , m_bByDisplayScale(byDisplayScale)
    , m_model(width, height, byDisplayScale, mc::platform::screenSize().width(), mc::platform::screenSize().height())
    , m_pWidth(new QLineEdit(this))
    , m_pHeight(new QLineEdit(this))
    , m_pScale(new QCheckBox(QStringLiteral("By Display Device Scale"), this))
{
    setWindowTitle(QStringLiteral("Customize Canvas Size"));
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    m_pWidth->setValidator(digits);
    m_pHeight->setValidator(digits);
    m_pWidth->setObjectName(QStringLiteral("Width"));
    m_pHeight->setObjectName(QStringLiteral("Height"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Width:"), m_pWidth);
    form->addRow(QStringLiteral("Height:"), m_pHeight);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pScale);
    layout->addWidget(buttons);

    showModel();
    // Typing in one box recomputes the other; only textEdited (the user's
    // keys) reaches the model, so the box it writes never writes back.
    connect(m_pWidth, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditWidth(text);
        showModel();
    });
    connect(m_pHeight, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditHeight(text);
        showModel();
    });
    connect(m_pScale, &QCheckBox::toggled, this, [this](bool on) {
        m_model.SetByDisplayScale(on);
        showModel();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgCanvasSize::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgCanvasSize::reject);
}

void CDlgCanvasSize::showModel()
{
    const QSignalBlocker blockWidth(m_pWidth);
    const QSignalBlocker blockHeight(m_pHeight);
    const QSignalBlocker blockScale(m_pScale);
    if (m_pWidth->text() != m_model.WidthText())
        m_pWidth->setText(m_model.WidthText());
    if (m_pHeight->text() != m_model.HeightText())
        m_pHeight->setText(m_model.HeightText());
    m_pScale->setChecked(m_model.ByDisplayScaleChecked());
}

void CDlgCanvasSize::accept()
{
    if (const std::optional<QString> message = m_model.Validate()) {
        mc::dialogs::ShowMessage(*message, this);
        return; // the dialog stays open
    }
    m_nWidth = m_model.m_nWidth;
    m_nHeight = m_model.m_nHeight;
    m_bByDisplayScale = m_model.m_bByDisplayScale;
    QDialog::accept();
}
