// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDoubleSpinBox>

// A number box that takes "." and "," alike as the decimal separator, as every number field of the
// program does: typed into a box of the other locale, "0.5" would lose its point and read as 5.
class TDecimalSpinBox final : public QDoubleSpinBox {
    Q_OBJECT
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    QValidator::State validate(QString& text, int& pos) const override;
};
