#pragma once
// Small helpers the item dialogs share: placing controls in dialog units and
// naming each control after its numeric ID ("ctl1001"), which is how tests
// and accessibility tools find them.
#include "dialogs/DialogUnits.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <type_traits>

namespace mc::dialogs {

inline QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

// Places `widget` at `dlu`. Texts that only show (labels, radio buttons,
// check boxes) get at least the width their text needs in the font they are
// shown with: dialog units assume a narrower font than most desktops use.
template <typename W> W* PlaceControl(W* widget, int id, QRect dlu)
{
    if (id != 0)
        widget->setObjectName(ControlName(id));
    QRect rect = DluRect(dlu.x(), dlu.y(), dlu.width(), dlu.height());
    if constexpr (std::is_base_of_v<QLabel, W> || std::is_base_of_v<QRadioButton, W> || std::is_base_of_v<QCheckBox, W>)
        rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
    widget->setGeometry(rect);
    return widget;
}

// An edit that takes up to `digits` decimal digits as typed input. The limit
// lives in the validator rather than in maxLength because the dialogs write
// computed values that may be longer, and those must show in full.
inline void MakeDigitsOnly(QLineEdit* edit, int digits)
{
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), edit));
}

} // namespace mc::dialogs
