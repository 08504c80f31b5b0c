// SPDX-License-Identifier: GPL-3.0-or-later
// The driver library over one simulated instrument, whose memory lives in an image file beside the
// library in a portable folder, else in the user's data folder.
#include "DriverBackend.h"
#include "DriverContract.h"
#include "files/ApplicationPaths.h"
#include "simulator/DemoContent.h"
#include "simulator/ImageFile.h"
#include "simulator/Platform.h"
#include "simulator/SimulatedInstrument.h"
#include "simulator/SimulatedUsb.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

namespace {

std::string imagePath() {
    const std::string folder = SimulatorImageFolder(ThisLibraryFolder(), TPathEnvironment::fromProcess());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder + "/" + SimulatorImageName;
}

// The library's one instrument. Writes are saved when a pipe closes, which ends every device
// operation, and when the library unloads: a transfer then costs one image save instead of one per
// 52-byte chunk, and the image never holds half an operation. An image that exists but cannot be read
// is left untouched on disk and the instrument counts as not attached, so no write can replace a file
// the user may still need.
struct TLibraryState {
    TSimulatedInstrument Instrument;
    TSimulatedUsb Usb{Instrument};
    std::string ImagePath = imagePath();
    std::mutex Lock;
    bool Unsaved = false;

    TLibraryState() {
        Instrument.setRecording(false);
        std::string error;
        switch (LoadImageFile(ImagePath, Instrument, &error)) {
        case TImageLoad::Loaded:
            break;
        case TImageLoad::Missing:
            WriteDemoContent(Instrument);
            Unsaved = true;
            saveIfChanged();
            break;
        case TImageLoad::Invalid:
            std::fprintf(stderr, "zrv10 simulator: %s; the simulated instrument stays unplugged\n",
                         error.c_str());
            Instrument.setPresent(false);
            break;
        }
        // For trying out the check after writing: ZRV10_SIM_FAULTY_CELL=4400 spoils that byte of every
        // write over it.
        if (const char* cell = std::getenv("ZRV10_SIM_FAULTY_CELL")) {
            char* end = nullptr;
            const unsigned long address = std::strtoul(cell, &end, 0);
            if (end != cell && *end == '\0' && address < TSimulatedInstrument::ConfigMemorySize)
                Instrument.setFaultyCell(static_cast<std::uint32_t>(address));
        }
        Instrument.setWriteHook([this] {
            Unsaved = true;
            return true;
        });
    }
    ~TLibraryState() { saveIfChanged(); }
    TLibraryState(const TLibraryState&) = delete;
    TLibraryState& operator=(const TLibraryState&) = delete;

    // A failed save is tried again at the next close.
    void saveIfChanged() {
        if (!Unsaved)
            return;
        std::string error;
        if (SaveImageFile(ImagePath, Instrument, &error))
            Unsaved = false;
        else
            std::fprintf(stderr, "zrv10 simulator: %s\n", error.c_str());
    }
};

// The simulated instrument behind the shared entry points.
class TSimulatorBackend final : public IDriverBackend {
public:
    std::uint32_t deviceCount(const char* vidPid) override {
        std::lock_guard lock(m_state.Lock);
        return m_state.Usb.deviceCount(vidPid);
    }
    std::uint32_t open(std::uint32_t instance, const char* vidPid, const char* endpoint, bool read,
                       void** pipe) override {
        std::lock_guard lock(m_state.Lock);
        void* opened =
            m_state.Usb.open(instance, vidPid, endpoint, read ? ZRV_DIRECTION_READ : ZRV_DIRECTION_WRITE, 0);
        if (opened == ZRV_PIPE_FAILED)
            return m_state.Instrument.isAttached() ? ZRV_FAILURE_BAD_ARGUMENT : ZRV_FAILURE_NOT_FOUND;
        *pipe = opened;
        return ZRV_FAILURE_NONE;
    }
    std::uint32_t read(void* pipe, std::uint8_t* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        std::lock_guard lock(m_state.Lock);
        if (!m_state.Usb.isReadPipe(pipe) || length < FrameSize)
            return ZRV_FAILURE_BAD_ARGUMENT;
        return m_state.Usb.read(pipe, data, length, received, timeoutMs) != 0 ? ZRV_FAILURE_NONE : lost();
    }
    // The instrument has no interrupt endpoint.
    std::uint32_t readInterrupt(void*, std::uint8_t*, std::uint32_t, std::uint32_t*, std::uint32_t) override {
        return ZRV_FAILURE_BAD_ARGUMENT;
    }
    std::uint32_t write(void* pipe, const std::uint8_t* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        std::lock_guard lock(m_state.Lock);
        if (!m_state.Usb.isWritePipe(pipe) || length != FrameSize)
            return ZRV_FAILURE_BAD_ARGUMENT;
        return m_state.Usb.write(pipe, data, length, sent, timeoutMs) != 0 ? ZRV_FAILURE_NONE : lost();
    }
    std::uint32_t close(void* pipe) override {
        std::lock_guard lock(m_state.Lock);
        const bool closed = m_state.Usb.close(pipe) != 0;
        m_state.saveIfChanged();
        return closed ? ZRV_FAILURE_NONE : ZRV_FAILURE_BAD_ARGUMENT;
    }
    std::uint32_t setConfiguration(void* pipe, std::uint16_t) override {
        std::lock_guard lock(m_state.Lock);
        return m_state.Usb.isOpen(pipe) ? ZRV_FAILURE_NONE : ZRV_FAILURE_BAD_ARGUMENT;
    }
    // No string descriptors are simulated.
    std::uint32_t stringDescriptor(void* pipe, std::uint8_t, std::uint16_t, std::uint8_t*, std::uint32_t,
                                   std::uint32_t*) override {
        std::lock_guard lock(m_state.Lock);
        return m_state.Usb.isOpen(pipe) ? ZRV_FAILURE_IO : ZRV_FAILURE_BAD_ARGUMENT;
    }

private:
    // A frame on an open pipe that went nowhere: the instrument is gone, or it did not answer.
    std::uint32_t lost() const {
        return m_state.Instrument.isAttached() ? ZRV_FAILURE_TIMEOUT : ZRV_FAILURE_DISCONNECTED;
    }

    static constexpr std::uint32_t FrameSize = 64;
    TLibraryState m_state;
};

} // namespace

IDriverBackend& DriverBackend() {
    static TSimulatorBackend backend;
    return backend;
}
