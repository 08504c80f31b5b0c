// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/DecimalSpinBox.h"

QValidator::State TDecimalSpinBox::validate(QString& text, int& pos) const {
    // The box shows what it reads: the other separator becomes the locale's as it is typed.
    const QString point = locale().decimalPoint();
    const QChar other = point == QLatin1String(",") ? u'.' : u',';
    if (point.size() == 1)
        text.replace(other, point.front());
    return QDoubleSpinBox::validate(text, pos);
}
