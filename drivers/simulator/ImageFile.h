// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class TSimulatedInstrument;

// The simulated instrument's memory kept on disk. A 16-byte header ("ZRV10SIM", format version 1,
// segment count, little-endian) and the segments that differ from erased memory, each a 12-byte
// header (memory 0 configuration / 1 record and catalogue, offset into it, length) and its bytes.
// Everything outside the segments is erased: 0x00 in the configuration memory, 0xFF in the other.
// Kept sparse so that saving it stays cheap.
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
