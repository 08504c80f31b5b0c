// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TSimulatedInstrument;

// What a fresh simulated instrument holds, as plain data, and the writers that lay such data out in
// the instrument's memory. Texts are bytes of the instrument's character table.

inline constexpr std::uint32_t SimConfigAddress = 256;
inline constexpr std::uint32_t SimConfigSize = 100;
inline constexpr std::uint32_t SimProjectHeaderAddress = 4096;
inline constexpr std::uint32_t SimBranchesAddress = 4140;
inline constexpr std::uint32_t SimBranchSize = 78;
inline constexpr std::uint32_t SimManufacturerHeaderAddress = 0x158600;
inline constexpr std::uint32_t SimManufacturerNamesAddress = 0x158640;
inline constexpr std::uint32_t SimValvesAddress = 0x158840;
inline constexpr std::uint32_t SimValveSize = 126;
inline constexpr std::uint32_t SimRecordAreaStart = 0x180000;
inline constexpr std::uint32_t SimRecordStep = 52;

// Presetting field values with a meaning of their own, as the instrument stores them.
inline constexpr double SimNoValue = -9999999.0;
inline constexpr double SimPresettingEmpty = -1000.0;
inline constexpr double SimPresettingNone = -1.0;

struct TDemoConfig {
    std::uint16_t CodePage = 3;
    std::uint16_t ActiveProject = 0;
    std::uint16_t ProjectCount = 1;
};

struct TDemoValve {
    std::string Name;
    std::uint8_t Kind;
    float PresettingMin;
    float PresettingMax;
};

struct TDemoManufacturer {
    std::string Name;
    std::vector<TDemoValve> Valves;
};

struct TDemoBranch {
    std::string Name;
    std::uint16_t ValveIndex;
    double RequestFlow;
    double InitialPresetting;
    double InitialPressure;
    double InitialFlow;
    double FinalPresetting;
    double FinalPressure;
    double FinalFlow;
};

struct TDemoProject {
    std::string Name;
    std::string LastChange;
    std::vector<TDemoBranch> Branches;
};

struct TDemoSample {
    std::uint8_t Month, Day, Hour, Minute, Second;
    float Pressure; // Pa
    float Flow;     // l/h
};

struct TDemoRecord {
    std::string Description;
    std::uint8_t DescriptionCodePage;
    std::string Manufacturer;
    std::string Type;
    float Presetting;
    std::uint16_t Year;
    std::uint16_t Medium;
    std::uint16_t Temperature;
    std::uint16_t Concentration;
    std::vector<TDemoSample> Samples;
};

std::vector<TDemoManufacturer> DemoCatalogue();
// Valve indices refer to DemoCatalogue().
TDemoProject DemoProject();
std::vector<TDemoRecord> DemoRecords();

// The valve's 126-byte record and the 16-bit value the instrument keeps beside a branch's valve index.
std::vector<std::uint8_t> EncodeValve(const TDemoValve& valve);
std::uint16_t ValveCheckValue(const std::vector<std::uint8_t>& valveRecord);
// The record stream: each record's header block and samples, records starting on a 52-byte step
// with 0xFF filler before them. Without end mark.
std::vector<std::uint8_t> EncodeRecordArea(const std::vector<TDemoRecord>& records);

// False, and nothing written, when the data does not fit the instrument: more than 16 manufacturers,
// more than 255 types of one, more than 1000 valves, more than 1500 branches, a branch naming no
// valve of the catalogue, or a record area reaching the end of the record memory.
bool WriteConfig(TSimulatedInstrument& instrument, const TDemoConfig& config);
bool WriteCatalogue(TSimulatedInstrument& instrument, const std::vector<TDemoManufacturer>& catalogue);
bool WriteProject(TSimulatedInstrument& instrument, const TDemoProject& project,
                  const std::vector<TDemoManufacturer>& catalogue);
// Erases the whole record area, then writes the bytes from its start; the erased step after them is
// the end mark.
bool WriteRecordArea(TSimulatedInstrument& instrument, const std::vector<std::uint8_t>& bytes);

// Everything above, as a new instrument holds it.
void WriteDemoContent(TSimulatedInstrument& instrument);
