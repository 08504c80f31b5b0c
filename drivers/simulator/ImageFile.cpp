#include "simulator/ImageFile.h"

#include "simulator/SimulatedInstrument.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t HeaderSize = 16;
constexpr char Magic[8] = {'Z', 'R', 'V', '1', '0', 'S', 'I', 'M'};
constexpr std::uint32_t FormatVersion = 1;
constexpr std::size_t ImageSize =
    HeaderSize + TSimulatedInstrument::ConfigMemorySize + TSimulatedInstrument::DataMemorySize;

std::array<std::uint8_t, HeaderSize> imageHeader() {
    std::array<std::uint8_t, HeaderSize> header{};
    std::memcpy(header.data(), Magic, sizeof Magic);
    for (int i = 0; i < 4; ++i)
        header[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(FormatVersion >> (8 * i));
    return header;
}

void setError(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
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
    // One byte more than an image holds, to see a longer file.
    std::vector<std::uint8_t> bytes(ImageSize + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed) {
        setError(error, "Cannot read the simulator image " + path);
        return TImageLoad::Invalid;
    }
    const auto header = imageHeader();
    if (got != ImageSize || !std::equal(header.begin(), header.end(), bytes.begin())) {
        setError(error, "Not a simulator image of this version: " + path);
        return TImageLoad::Invalid;
    }
    const std::uint8_t* config = bytes.data() + HeaderSize;
    instrument.writeConfig(0, config, TSimulatedInstrument::ConfigMemorySize);
    instrument.writeData(TSimulatedInstrument::DataMemoryBase,
                         config + TSimulatedInstrument::ConfigMemorySize,
                         TSimulatedInstrument::DataMemorySize);
    return TImageLoad::Loaded;
}

bool SaveImageFile(const std::string& path, const TSimulatedInstrument& instrument, std::string* error) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        setError(error, systemError("Cannot create a temporary file for", path));
        return false;
    }
    // No fsync: the image guards against a broken-off run, not a power cut, and a sync per 52-byte
    // write would dominate every transfer.
    const auto header = imageHeader();
    const auto config = instrument.configMemory();
    const auto data = instrument.dataMemory();
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, header.data(), header.size()) &&
                         writeAll(fd, config.data(), config.size()) && writeAll(fd, data.data(), data.size());
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        setError(error, systemError("Cannot write the simulator image", path));
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
