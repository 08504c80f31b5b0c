#pragma once

#include <string>

class TSimulatedInstrument;

// The simulated instrument's memory kept on disk: a 16-byte header ("ZRV10SIM", format version,
// zero) followed by the configuration memory and the record and catalogue memory, byte for byte.
inline constexpr const char* SimulatorImageName = "zrv10-simulator.img";

enum class TImageLoad { Loaded, Missing, Invalid };

// Replaces both memories only when the whole file is a valid image; otherwise the instrument keeps
// its memory and *error says why.
TImageLoad LoadImageFile(const std::string& path, TSimulatedInstrument& instrument,
                         std::string* error = nullptr);

// Written to a temporary file in the same folder and renamed over the image, so the image on disk is
// always the old one or the complete new one.
bool SaveImageFile(const std::string& path, const TSimulatedInstrument& instrument,
                   std::string* error = nullptr);
