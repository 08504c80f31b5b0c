// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Markers.h"

#include <QString>

#include <cstdint>
#include <vector>

class ITranslator;

// Slots the record tables have; what the instrument holds beyond them cannot be shown.
inline constexpr std::int32_t MaxRecordHeaders = 2101;
inline constexpr std::int32_t MaxSamples = 21001;
// A record file never loads more samples than this.
inline constexpr std::int32_t MaxFileSamples = 21000;

// One record header. Values are held as display-ready texts, turned into text once when decoded or
// loaded.
struct TZaznam {
    QString Description;
    QString Valve_Manufacturer;
    QString Valve_Type;
    QString Presetting;
    std::int32_t Medium_Index = 0; // 0 water, 1 ethylene glycol, 2 propylene glycol
    std::int32_t Concentration = 0;
    std::int32_t Temperature = 0;
    // Last, so that the texts and numbers above keep their places in brace initialisers: the
    // presetting as the instrument holds it (a number, PresettingNone or PresettingEmpty), for a header
    // decoded from the instrument's record area; the commands word it into Presetting.
    double PresettingValue = PresettingEmpty;

    bool operator==(const TZaznam&) const = default;
};

// One sample: date "dd.mm.yyyy", time "hh:mm:ss", pressure in Pa and flow in l/h as "%f" with ".".
struct TZaznamData {
    std::int32_t RecordIndex = -1; // -1: no header preceded the sample
    QString Date;
    QString Time;
    QString Pressure;
    QString Flow;

    bool operator==(const TZaznamData&) const = default;
};

// The records read from the instrument or a record file, and which of them is shown. One instance
// lives as long as the program; tests build their own.
struct TRecordStore {
    std::vector<TZaznam> RecordHeaders = std::vector<TZaznam>(MaxRecordHeaders);
    std::vector<TZaznamData> Samples = std::vector<TZaznamData>(MaxSamples);
    std::int32_t RecordCount = 0;
    std::int32_t SampleCount = 0;
    std::int32_t CurrentRecord = 0;
    // A copy: a record file load fills it without touching RecordHeaders.
    TZaznam CurrentHeader;
    // The record file the shown record was opened from or last saved to; empty for one chosen from
    // the instrument's records.
    QString FileName;

    // The counters clamped to the tables, for loops that must not trust them.
    std::int32_t heldHeaders() const;
    std::int32_t heldSamples() const;
};

// The medium's English name, to be passed through Translate; unknown indices are water.
QString MediumName(std::int32_t mediumIndex);
