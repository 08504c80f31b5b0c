// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/Settings.h"
#include "model/CommissioningDetails.h"
#include "model/Units.h"

#include <QDialog>

class IUserInterface;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class TDecimalSpinBox;
class TMessageCatalogue;

// What a commissioning certificate says beyond the measurements: the project's part, kept beside the
// project file, and the user's own part, kept in the settings. It edits copies; the caller takes
// details() and user() after an accepted run.
class TCommissioningDialog final : public QDialog {
    Q_OBJECT
public:
    // balancingTolerance: the setting that applies while the project names no tolerance of its own;
    // ui: where a refused value is told.
    TCommissioningDialog(const TMessageCatalogue& messages, IUserInterface& ui, const TUnits& units,
                         double balancingTolerance, QWidget* parent = nullptr);

    void setValues(const TCommissioningDetails& details, const TCommissioningSettings& user);
    // The branch remarks come back as they were given.
    TCommissioningDetails details() const;
    TCommissioningSettings user() const;

    void accept() override;

    QLineEdit* Client;
    QLineEdit* Site;
    QLineEdit* System;
    QLineEdit* Standard;
    QRadioButton* SettingTolerance;
    QRadioButton* OwnTolerance;
    TDecimalSpinBox* LowerTolerance;
    TDecimalSpinBox* UpperTolerance;
    QCheckBox* Tested;
    QDateEdit* TestDate;
    QLineEdit* Witness;
    QPlainTextEdit* Remarks;
    QLineEdit* Engineer;
    QLineEdit* Firm;
    QLineEdit* InstrumentSerial;
    QCheckBox* Calibrated;
    QDateEdit* CalibrationDate;
    QLineEdit* MinPressure;

private:
    std::optional<double> minPressure() const;

    const TMessageCatalogue& m_messages;
    IUserInterface& m_ui;
    TUnits m_units;
    double m_balancingTolerance;
    TCommissioningDetails m_details;
    TCommissioningSettings m_user;
    // As shown: an untouched field keeps the stored value, unrounded.
    QString m_shownMinPressure;
};
