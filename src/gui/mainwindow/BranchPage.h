// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class TConfirmPanel;

// One value of a branch: caption, input and the grey range hint beside it.
struct TValueRow {
    QLabel* Caption = nullptr;
    QLineEdit* Edit = nullptr;
    QLabel* Hint = nullptr;

    void setVisible(bool visible) const;
};

// The branch page: name, valve and the measured and wanted values of one branch.
class TBranchPage : public QWidget {
    Q_OBJECT
public:
    explicit TBranchPage(QWidget* parent = nullptr);

    // Every value edit, in tab order.
    QList<QLineEdit*> valueEdits() const;

    QLabel* Heading;
    QLabel* NameCaption;
    QLineEdit* Name;
    QLabel* ManufacturerCaption;
    QComboBox* Manufacturer;
    QLabel* TypeCaption;
    QComboBox* Type;
    TValueRow RequestedFlow;
    TValueRow InitialFlow;
    TValueRow FinalFlow;
    TValueRow InitialPresetting;
    TValueRow FinalPresetting;
    // Kept filled and read back, but never shown.
    TValueRow InitialPressure;
    TValueRow FinalPressure;
    // Not in the project file: the commissioning details keep it.
    QLabel* RemarkCaption;
    QLineEdit* Remark;
    TConfirmPanel* Confirm;
};
