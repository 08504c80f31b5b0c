// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

class ITranslator;

// Values are held in l/h and Pa; the units below exist only for display and input.
constexpr int32_t FlowUnitCount = 9;
constexpr int32_t PressureUnitCount = 11;

// Unit tables. An index outside a table (e.g. from an edited settings file) gives the name "---",
// factor 1 and one decimal instead of reading past the table.
QString FlowUnitName(int32_t unit);
// The name in the unit choice list, which spells out one unit that captions abbreviate.
QString FlowUnitListName(int32_t unit);
double FlowFactor(int32_t unit);
int FlowDecimals(int32_t unit);
QString PressureUnitName(int32_t unit);
double PressureFactor(int32_t unit);
int PressureDecimals(int32_t unit);

// The ranges the editor accepts; NoValue is valid everywhere, NaN nowhere.
bool IsValidFlow(double litresPerHour);
bool IsValidPressure(double pascal);

// A value already in a display unit as a readout of its own (the chart's crosshair, the balancing
// summary): the unit's decimals, and more where they show fewer than three significant digits
// (at most 12), so that a small flow in a large unit does not read as 0.0.
QString FormatReadout(double shownValue, int unitDecimals, const QLocale& locale);

// The user's display units and number format. Owned by the main window's state and passed to
// whatever shows or reads flows and pressures.
struct TUnits {
    int32_t FlowUnit = 1;
    int32_t PressureUnit = 2;
    QLocale Locale;

    // Empty for NoValue, "-----" outside the valid range, else the value in the current unit.
    QString FormatFlow(double litresPerHour) const;
    QString FormatPressure(double pascal) const;
    // The same with FormatReadout's digits, for readouts beside the branch page and the tables.
    QString ReadoutFlow(double litresPerHour) const;
    QString ReadoutPressure(double pascal) const;
    // Presettings have no unit: empty when nothing was entered, the word "None" for a valve
    // without presetting, else two decimals.
    QString FormatPresetting(double presetting, const ITranslator& translator) const;

    QString FlowUnitName() const;
    QString PressureUnitName() const;
    double FlowFactor() const;
    double PressureFactor() const;
    // "text [unit]"; an empty text stands for "Flow" / "Pressure". Callers pass translated text.
    QString FlowCaption(const QString& text) const;
    QString PressureCaption(const QString& text) const;

    // Display text back to l/h or Pa; the empty text is NoValue, text that is no number is 0.
    double ParseFlow(const QString& text) const;
    double ParsePressure(const QString& text) const;
    // The same, but text that is no number gives nothing, for inputs that must refuse it.
    std::optional<double> TryParseFlow(const QString& text) const;
    std::optional<double> TryParsePressure(const QString& text) const;
};
