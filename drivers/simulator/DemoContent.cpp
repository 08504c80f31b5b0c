// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/DemoContent.h"

#include "simulator/SimulatedInstrument.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t NameSize = 16;
constexpr std::size_t MaxManufacturers = 16;
constexpr std::size_t MaxValves = 1000;
constexpr std::size_t MaxBranches = 1500;
constexpr std::uint8_t RecordHeaderMarker = 30;
constexpr std::uint8_t SampleMarker = 31;
constexpr std::size_t RecordHeaderSize = 68;
constexpr std::size_t ValveTextSize = 32;
constexpr std::uint8_t ValveTextSeparator = 16;
constexpr std::uint32_t RecordMemoryEnd =
    TSimulatedInstrument::DataMemoryBase + TSimulatedInstrument::DataMemorySize;
// The reader takes at most 6302 steps, so the end mark must stand within them.
constexpr std::size_t MaxRecordBytes = 6301 * SimRecordStep;

template <typename T> void put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

void putText(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::string& text,
             std::size_t size) {
    std::memcpy(bytes.data() + offset, text.data(), std::min(text.size(), size));
}

std::vector<std::uint8_t> encodeBranch(const TDemoBranch& branch, std::uint16_t checkValue) {
    std::vector<std::uint8_t> bytes(SimBranchSize, 0);
    putText(bytes, 0, branch.Name, NameSize);
    put(bytes, 18, branch.ValveIndex);
    put(bytes, 20, checkValue);
    const double values[] = {branch.RequestFlow, branch.InitialPresetting, branch.InitialPressure,
                             branch.InitialFlow, branch.FinalPresetting,   branch.FinalPressure,
                             branch.FinalFlow};
    for (std::size_t i = 0; i < std::size(values); ++i)
        put(bytes, 22 + 8 * i, values[i]);
    return bytes;
}

std::vector<TDemoSample> samplesOver(std::uint8_t month, std::uint8_t day, int startMinute, int stepMinutes,
                                     int count, float basePressure, float baseFlow, int phase) {
    std::vector<TDemoSample> samples;
    for (int i = 0; i < count; ++i) {
        const int minute = startMinute + i * stepMinutes;
        // A slow drift with some ripple, as a regulated circuit shows over a few hours.
        const double wave = std::sin((i + phase) * 0.7) * 0.04 + i * 0.002;
        samples.push_back({month, day, static_cast<std::uint8_t>(minute / 60),
                           static_cast<std::uint8_t>(minute % 60),
                           static_cast<std::uint8_t>((i * 7 + phase) % 60),
                           static_cast<float>(std::round(basePressure * (1.0 + wave) * 10.0) / 10.0),
                           static_cast<float>(std::round(baseFlow * (1.0 + wave / 2) * 100.0) / 100.0)});
    }
    return samples;
}

} // namespace

std::vector<TDemoManufacturer> DemoCatalogue() {
    return {
        {"Aquetta",
         {{"AQ-V 15", 0, 0.5f, 7.0f},
          {"AQ-V 20", 1, 1.0f, 8.0f},
          {"AQ-V 25", 4, 1.0f, 10.0f},
          {"AQ-F 15", 2, 0, 0}}},
        {"Hydrelia",
         {{"HR 100 DN15", 5, 0.0f, 6.0f},
          {"HR 100 DN20", 6, 0.0f, 6.0f},
          {"HR Simplex DN15", 3, 0, 0},
          {"HR Simplex DN20", 7, 0, 0},
          {"HR 300 DN32", 8, 1.0f, 12.0f}}},
        {"Norvalta", {{"NV-M 15", 10, 0.2f, 4.0f}, {"NV-M 20", 11, 0.2f, 5.0f}, {"NV-X 25", 9, 0, 0}}},
        {"Tersenko Armatur",
         {{"TS 1 DN15", 12, 1.0f, 4.0f},
          {"TS 1 DN20", 13, 1.0f, 5.0f},
          {"TS 2 DN25", 14, 0, 0},
          {"TS 3 DN40", 15, 0.0f, 9.0f},
          {"TS 4 DN50", 16, 0.0f, 16.0f}}},
        {"Brennholt", {{"BR-Flow 10", 0, 0.0f, 5.0f}, {"BR-Flow 15", 1, 0.0f, 6.5f}}},
    };
}

TDemoProject DemoProject() {
    // Valve indices: Aquetta 0..3, Hydrelia 4..8, Norvalta 9..11, Tersenko 12..16, Brennholt 17..18.
    const double n = SimNoValue;
    const double e = SimPresettingEmpty;
    const double none = SimPresettingNone;
    return {"Demo school",
            "12.3.2024 10:15",
            {
                {"Boiler room", 8, 4200, 9.0, 18500, 4610, 8.5, 16200, 4230},
                {"Riser 1", 2, 1450, 6.0, 12400, 1580, 5.5, 11800, 1460},
                {"Riser 2", 2, 1300, 6.0, 13100, 1390, 5.0, 12600, 1310},
                {"Riser 3", 1, 980, 5.0, 9800, 1040, 4.5, 9400, 985},
                {"Gym hall", 15, 2600, 7.0, 15200, 2840, 6.5, 14800, 2610},
                {"Kitchen", 6, 620, none, 8200, 655, none, 8100, 618},
                {"Class 1.01", 0, 310, 3.5, 7400, 342, 3.0, 7100, 312},
                {"Class 1.02", 0, 310, 3.5, 7600, 336, e, n, n},
                {"Class 2.01", 9, 260, 2.25, 6900, 281, e, n, n},
                {"Class 2.02", 9, 260, e, n, n, e, n, n},
                {"Ventilation", 14, 1800, none, n, n, none, n, n},
                {"Staff room", 17, 420, e, n, n, e, n, n},
            }};
}

std::vector<TDemoRecord> DemoRecords() {
    return {
        {"Riser 1", 3, "Aquetta", "AQ-V 25", 6.0f, 2024, 0, 62, 0,
         samplesOver(3, 12, 8 * 60, 10, 19, 12400, 1580, 0)},
        {"Boiler room", 3, "Hydrelia", "HR 300 DN32", 9.0f, 2024, 1, 45, 30,
         samplesOver(3, 12, 11 * 60 + 30, 15, 9, 18500, 4610, 2)},
        {"Class 2.01", 3, "Norvalta", "NV-M 15", 2.25f, 2024, 0, 55, 0,
         samplesOver(3, 13, 14 * 60, 5, 31, 6900, 281, 5)},
        {"Ventilation", 3, "Tersenko Armatur", "TS 2 DN25", -1.0f, 2024, 2, 20, 35,
         samplesOver(3, 14, 9 * 60, 20, 13, 5400, 1790, 1)},
        {"Staff room", 3, "Brennholt", "BR-Flow 10", -1000.0f, 2024, 0, 58, 0,
         samplesOver(3, 14, 13 * 60 + 45, 10, 16, 4100, 420, 3)},
    };
}

std::vector<std::uint8_t> EncodeValve(const TDemoValve& valve) {
    std::vector<std::uint8_t> bytes(SimValveSize, 0);
    putText(bytes, 0, valve.Name, NameSize);
    bytes[48] = valve.Kind;
    put(bytes, 50, valve.PresettingMin);
    put(bytes, 54, valve.PresettingMax);
    // Bytes the program passes on without reading them; not all zero, so a copy that drops them shows.
    put(bytes, 16, static_cast<std::uint16_t>(valve.Name.size() * 5));
    put(bytes, 58, static_cast<float>(valve.PresettingMax + 0.75f));
    return bytes;
}

std::uint16_t ValveCheckValue(const std::vector<std::uint8_t>& valveRecord) {
    std::uint16_t sum = 0;
    for (const std::uint8_t byte : valveRecord)
        sum = static_cast<std::uint16_t>(sum + byte);
    return sum;
}

std::vector<std::uint8_t> EncodeRecordArea(const std::vector<TDemoRecord>& records) {
    std::vector<std::uint8_t> bytes;
    for (const TDemoRecord& record : records) {
        bytes.resize((bytes.size() + SimRecordStep - 1) / SimRecordStep * SimRecordStep, 0xFF);
        std::vector<std::uint8_t> header(RecordHeaderSize, 0);
        header[0] = RecordHeaderMarker;
        header[1] = record.DescriptionCodePage;
        putText(header, 2, record.Description, NameSize);
        std::string valveText = record.Manufacturer;
        valveText += static_cast<char>(ValveTextSeparator);
        valveText += record.Type;
        putText(header, 18, valveText, ValveTextSize);
        put(header, 54, record.Presetting);
        put(header, 58, record.Year);
        put(header, 60, record.Medium);
        put(header, 62, record.Temperature);
        put(header, 64, record.Concentration);
        bytes.insert(bytes.end(), header.begin(), header.end());
        for (const TDemoSample& sample : record.Samples) {
            std::vector<std::uint8_t> block(14, 0);
            block[0] = SampleMarker;
            block[1] = sample.Month;
            put(block, 2, sample.Pressure);
            put(block, 6, sample.Flow);
            block[10] = sample.Day;
            block[11] = sample.Hour;
            block[12] = sample.Minute;
            block[13] = sample.Second;
            bytes.insert(bytes.end(), block.begin(), block.end());
        }
    }
    return bytes;
}

bool WriteConfig(TSimulatedInstrument& instrument, const TDemoConfig& config) {
    std::vector<std::uint8_t> block(SimConfigSize, 0);
    // Bytes the program writes back as it read them; not all zero, so a copy that changes them shows.
    putText(block, 0, "ZRV 10 simulated", NameSize);
    put(block, 16, std::uint32_t{100123});
    put(block, 20, std::uint16_t{0x0204});
    put(block, 48, config.CodePage);
    put(block, 50, config.ActiveProject);
    put(block, 52, config.ProjectCount);
    block[54] = 1;
    block[55] = 2;
    block[99] = 0x5A;
    return instrument.writeConfig(SimConfigAddress, block.data(), SimConfigSize);
}

bool WriteCatalogue(TSimulatedInstrument& instrument, const std::vector<TDemoManufacturer>& catalogue) {
    std::size_t valveCount = 0;
    for (const TDemoManufacturer& manufacturer : catalogue) {
        if (manufacturer.Valves.size() > 255)
            return false;
        valveCount += manufacturer.Valves.size();
    }
    if (catalogue.size() > MaxManufacturers || valveCount > MaxValves)
        return false;

    std::vector<std::uint8_t> header(17, 0);
    std::vector<std::uint8_t> names(catalogue.size() * NameSize, 0);
    std::vector<std::uint8_t> valves;
    header[0] = static_cast<std::uint8_t>(catalogue.size());
    for (std::size_t m = 0; m < catalogue.size(); ++m) {
        header[1 + m] = static_cast<std::uint8_t>(catalogue[m].Valves.size());
        putText(names, m * NameSize, catalogue[m].Name, NameSize);
        for (const TDemoValve& valve : catalogue[m].Valves) {
            const auto record = EncodeValve(valve);
            valves.insert(valves.end(), record.begin(), record.end());
        }
    }
    return instrument.writeData(SimManufacturerHeaderAddress, header.data(), 17) &&
           instrument.writeData(SimManufacturerNamesAddress, names.data(),
                                static_cast<std::uint32_t>(names.size())) &&
           instrument.writeData(SimValvesAddress, valves.data(), static_cast<std::uint32_t>(valves.size()));
}

bool WriteProject(TSimulatedInstrument& instrument, const TDemoProject& project,
                  const std::vector<TDemoManufacturer>& catalogue) {
    std::vector<std::vector<std::uint8_t>> valves;
    for (const TDemoManufacturer& manufacturer : catalogue)
        for (const TDemoValve& valve : manufacturer.Valves)
            valves.push_back(EncodeValve(valve));
    if (project.Branches.size() > MaxBranches)
        return false;
    std::vector<std::uint8_t> branches;
    for (const TDemoBranch& branch : project.Branches) {
        if (branch.ValveIndex >= valves.size())
            return false;
        const auto bytes = encodeBranch(branch, ValveCheckValue(valves[branch.ValveIndex]));
        branches.insert(branches.end(), bytes.begin(), bytes.end());
    }

    std::vector<std::uint8_t> header(44, 0);
    putText(header, 0, project.Name, NameSize);
    put(header, 18, static_cast<std::int16_t>(project.Branches.size()));
    putText(header, 28, project.LastChange, NameSize);
    return instrument.writeConfig(SimProjectHeaderAddress, header.data(), 44) &&
           instrument.writeConfig(SimBranchesAddress, branches.data(),
                                  static_cast<std::uint32_t>(branches.size()));
}

bool WriteRecordArea(TSimulatedInstrument& instrument, const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() > MaxRecordBytes)
        return false;
    const std::vector<std::uint8_t> erased(RecordMemoryEnd - SimRecordAreaStart, 0xFF);
    return instrument.writeData(SimRecordAreaStart, erased.data(),
                                static_cast<std::uint32_t>(erased.size())) &&
           instrument.writeData(SimRecordAreaStart, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

void WriteDemoContent(TSimulatedInstrument& instrument) {
    const auto catalogue = DemoCatalogue();
    WriteConfig(instrument, TDemoConfig{});
    WriteCatalogue(instrument, catalogue);
    WriteProject(instrument, DemoProject(), catalogue);
    WriteRecordArea(instrument, EncodeRecordArea(DemoRecords()));
}
