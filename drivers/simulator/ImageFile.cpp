// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/ImageFile.h"

#include "simulator/Platform.h"
#include "simulator/SimulatedInstrument.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

namespace {

constexpr std::size_t HeaderSize = 16;
constexpr std::size_t SegmentHeaderSize = 12;
constexpr char Magic[8] = {'Z', 'R', 'V', '1', '0', 'S', 'I', 'M'};
constexpr std::uint32_t FormatVersion = 1;
constexpr std::size_t Block = 64;
constexpr std::uint8_t ConfigErased = 0x00;
constexpr std::uint8_t DataErased = 0xFF;
// No valid image comes near this: every block of both memories as its own segment.
constexpr std::size_t MaxImageSize =
    HeaderSize + (TSimulatedInstrument::ConfigMemorySize + TSimulatedInstrument::DataMemorySize) / Block *
                     (Block + SegmentHeaderSize);

static_assert(TSimulatedInstrument::ConfigMemorySize % Block == 0 &&
              TSimulatedInstrument::DataMemorySize % Block == 0);

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t getU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Appends the runs of 64-byte blocks that are not all erased, with their headers; answers how many.
std::uint32_t appendSegments(std::vector<std::uint8_t>& out, std::uint32_t memoryId,
                             std::span<const std::uint8_t> memory, std::uint8_t erased) {
    std::array<std::uint8_t, Block> erasedBlock;
    erasedBlock.fill(erased);
    const auto isErased = [&](std::size_t offset) {
        return std::memcmp(memory.data() + offset, erasedBlock.data(), Block) == 0;
    };
    std::uint32_t count = 0;
    std::size_t offset = 0;
    while (offset < memory.size()) {
        if (isErased(offset)) {
            offset += Block;
            continue;
        }
        std::size_t end = offset + Block;
        while (end < memory.size() && !isErased(end))
            end += Block;
        putU32(out, memoryId);
        putU32(out, static_cast<std::uint32_t>(offset));
        putU32(out, static_cast<std::uint32_t>(end - offset));
        out.insert(out.end(), memory.begin() + static_cast<std::ptrdiff_t>(offset),
                   memory.begin() + static_cast<std::ptrdiff_t>(end));
        ++count;
        offset = end;
    }
    return count;
}

void setError(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// The two memories an image describes, or false when any byte of it is out of place.
bool parseImage(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& config,
                std::vector<std::uint8_t>& data) {
    if (bytes.size() < HeaderSize || std::memcmp(bytes.data(), Magic, sizeof Magic) != 0 ||
        getU32(bytes.data() + 8) != FormatVersion)
        return false;
    const std::uint32_t segments = getU32(bytes.data() + 12);
    std::size_t position = HeaderSize;
    for (std::uint32_t i = 0; i < segments; ++i) {
        if (bytes.size() - position < SegmentHeaderSize)
            return false;
        const std::uint32_t memoryId = getU32(bytes.data() + position);
        const std::uint64_t offset = getU32(bytes.data() + position + 4);
        const std::uint64_t length = getU32(bytes.data() + position + 8);
        position += SegmentHeaderSize;
        if (memoryId > 1)
            return false;
        std::vector<std::uint8_t>& memory = memoryId == 0 ? config : data;
        if (offset + length > memory.size() || bytes.size() - position < length)
            return false;
        std::memcpy(memory.data() + offset, bytes.data() + position, length);
        position += length;
    }
    return position == bytes.size();
}

} // namespace

TImageLoad LoadImageFile(const std::string& path, TSimulatedInstrument& instrument, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        if (errno == ENOENT)
            return TImageLoad::Missing;
        setError(error, systemError("Cannot open the simulator image", path));
        return TImageLoad::Invalid;
    }
    // One byte more than the largest image, to see a longer file.
    std::vector<std::uint8_t> bytes(MaxImageSize + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed) {
        setError(error, "Cannot read the simulator image " + path);
        return TImageLoad::Invalid;
    }
    bytes.resize(got);
    std::vector<std::uint8_t> config(TSimulatedInstrument::ConfigMemorySize, ConfigErased);
    std::vector<std::uint8_t> data(TSimulatedInstrument::DataMemorySize, DataErased);
    if (got > MaxImageSize || !parseImage(bytes, config, data)) {
        setError(error, "Not a simulator image of this version: " + path);
        return TImageLoad::Invalid;
    }
    instrument.writeConfig(0, config.data(), TSimulatedInstrument::ConfigMemorySize);
    instrument.writeData(TSimulatedInstrument::DataMemoryBase, data.data(),
                         TSimulatedInstrument::DataMemorySize);
    return TImageLoad::Loaded;
}

bool SaveImageFile(const std::string& path, const TSimulatedInstrument& instrument, std::string* error) {
    std::vector<std::uint8_t> image(Magic, Magic + sizeof Magic);
    putU32(image, FormatVersion);
    putU32(image, 0);
    std::uint32_t segments = appendSegments(image, 0, instrument.configMemory(), ConfigErased);
    segments += appendSegments(image, 1, instrument.dataMemory(), DataErased);
    for (int i = 0; i < 4; ++i)
        image[12 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(segments >> (8 * i));

    switch (ReplaceFile(path, image.data(), image.size())) {
    case TFileReplace::Replaced:
        return true;
    case TFileReplace::NoTemporary:
        setError(error, systemError("Cannot create a temporary file for", path));
        return false;
    case TFileReplace::NotWritten:
        break;
    }
    setError(error, systemError("Cannot write the simulator image", path));
    return false;
}
