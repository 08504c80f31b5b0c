// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;
class TMessageCatalogue;
struct TApplicationState;

// The dialog choosing the display units of flow and pressure. Created once with the main window and
// reused: each opening starts from the working indices that the caller sets.
class TFUnitSel : public QDialog {
    Q_OBJECT
public:
    explicit TFUnitSel(const TMessageCatalogue& messages, QWidget* parent = nullptr);

    void SetWorkingUnits(int32_t flowUnit, int32_t pressureUnit);
    int32_t WorkingFlowUnit() const { return m_flowUnit; }
    int32_t WorkingPressureUnit() const { return m_pressureUnit; }

    // Caption, the two list captions and Cancel in the current language.
    void ApplyDialogTexts();

    QComboBox* flowList() const { return m_flowList; }
    QComboBox* pressureList() const { return m_pressureList; }
    QLabel* flowCaption() const { return m_flowCaption; }
    QLabel* pressureCaption() const { return m_pressureCaption; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CmShow();
    void CmChangeFlowUnit(int index);
    void CmChangePressUnit(int index);

    const TMessageCatalogue& m_messages;
    int32_t m_flowUnit = 0;
    int32_t m_pressureUnit = 0;
    QLabel* m_flowCaption = nullptr;
    QLabel* m_pressureCaption = nullptr;
    QComboBox* m_flowList = nullptr;
    QComboBox* m_pressureList = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_ok = nullptr;
};

// Options > Flow and pressure units: opens the dialog on the current units and, when it closes with
// OK, makes its choice the display units (also for the settings saved at close). True on OK; the
// caller then redraws the tree and both pages.
bool RunUnitsCommand(TFUnitSel& dialog, TApplicationState& state);
