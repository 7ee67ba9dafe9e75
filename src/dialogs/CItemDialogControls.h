#pragma once
// Small helpers the item dialogs share: placing controls in dialog units and
// naming each control after its numeric ID ("ctl1001"), which is how tests
// and accessibility tools find them.
#include "dialogs/DialogUnits.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QString>
#include <QWidget>

namespace mc::dialogs {

inline QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

template <typename W> W* PlaceControl(W* widget, int id, QRect dlu)
{
    if (id != 0)
        widget->setObjectName(ControlName(id));
    widget->setGeometry(DluRect(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
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
