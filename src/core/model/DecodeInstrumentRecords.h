// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

struct TRecordStore;

// Instrument record area layout: a stream of blocks, each introduced by a marker byte; any other
// byte is a filler.
inline constexpr std::uint8_t RecordHeaderMarker = 30;
inline constexpr std::size_t RecordHeaderBlockSize = 68;
inline constexpr std::uint8_t SampleMarker = 31;
inline constexpr std::size_t SampleBlockSize = 14;

// Rebuilds RecordHeaders, Samples, RecordCount and SampleCount from the record area bytes and leaves
// the last header decoded in CurrentHeader. Reads nothing beyond byteCount: a block cut off by the
// end is not decoded. Headers beyond the header table are dropped together with their samples, so
// no sample is ever attributed to the wrong record; samples beyond the sample table are dropped.
// Descriptions use the character table named in their block, valve texts the given code page. The
// presetting is left as the instrument holds it, in PresettingValue; WordPresettings makes its text.
void DecodeInstrumentRecords(TRecordStore& store, const std::uint8_t* bytes, std::size_t byteCount,
                             int codePage);
