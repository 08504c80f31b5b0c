// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Balancing.h"
#include "model/CommissioningFigures.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>

// Print margins in whole millimetres.
struct TPrintMargins {
    int32_t Top = 25;
    int32_t Bottom = 25;
    int32_t Left = 25;
    int32_t Right = 25;

    bool operator==(const TPrintMargins&) const = default;
};

// Layout of the engineering workbook: rows and columns counted from 1. Import and export keep
// separate valve, flow and presetting columns because their defaults differ.
struct TSpreadsheetColumns {
    int32_t FirstLine = 10;
    int32_t Name1 = 2;
    int32_t Name2 = 3;
    int32_t Name3 = 4;
    int32_t ImportValve = 18;
    int32_t ImportRequestFlow = 17;
    int32_t ImportPresetting = 22;
    int32_t ImportDimension = 20;
    int32_t ExportValve = 21;
    int32_t ExportFinalFlow = 22;
    int32_t ExportFinalPresetting = 23;

    bool operator==(const TSpreadsheetColumns&) const = default;
};

// [Commissioning]: who certifies, with which instrument. Only written once one of them is set.
struct TCommissioningSettings {
    QString Engineer;
    QString Firm;
    QString InstrumentSerial;
    QDate CalibrationDate; // ISO in the file; null when not set or not a date
    // Pa; a measured flow below it is marked uncertain.
    double MinDifferentialPressure = DefaultMinDifferentialPressure;

    bool operator==(const TCommissioningSettings&) const = default;
};

struct TSettings {
    // Index into the flow unit list, 0..8. Without a stored choice l/h: in the larger units a
    // branch's flow rounds to 0.0 at one decimal, which reads as lost data.
    int32_t FlowUnit = 5;
    int32_t PressureUnit = 2; // index into the pressure unit list, 0..10
    TPrintMargins PrintMargins;
    int32_t CurrentLanguage = 0; // 0 = built-in English
    TSpreadsheetColumns SpreadsheetColumns;
    // [Device] Driver: "usb" (the default), "simulator" or a driver library's path; only read.
    QString Driver;
    // Balancing/Tolerance: how far in per cent a final flow may lie from the requested one; decimals
    // are written with ".".
    double BalancingTolerance = DefaultBalancingTolerance;
    // [Device] VerifyAfterWrite: a project written to the instrument is read back and compared. Any
    // value but 0, and a missing key, means on.
    bool VerifyAfterWrite = true;
    TCommissioningSettings Commissioning;

    bool operator==(const TSettings&) const = default;
};

// The settings file lies beside the program under its name with the extension ".ini".
QString SettingsPathForProgram(const QString& programFilePath);

// Never fails: a missing or unreadable file, section or key, or a value that is not a decimal
// integer, gives the default. The unit indices are clamped to their lists; the caller hands them
// on to the unit formatting.
TSettings LoadSettings(const QString& iniPath);
// The same over the file's bytes.
TSettings LoadSettingsBytes(const QByteArray& bytes);

// Writes the units, the language and the margins into the file, and the balancing tolerance and the
// verify switch and the commissioning keys when they differ from the default or the file already
// names them, leaving every
// other line as it was (the workbook layout is changed only by editing the file). On failure the
// file is untouched and *error holds a sentence for the user.
bool SaveSettings(const QString& iniPath, const TSettings& settings, QString* error);
// What SaveSettings does to the file's bytes before it writes them.
QByteArray SettingsBytes(const QByteArray& before, const TSettings& settings);
