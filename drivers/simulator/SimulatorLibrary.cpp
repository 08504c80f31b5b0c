// The driver library's entry points over one simulated instrument, whose memory lives in an image
// file beside the library in a portable folder, else in the user's data folder.
#include "files/ApplicationPaths.h"
#include "simulator/DemoContent.h"
#include "simulator/ImageFile.h"
#include "simulator/SimulatedInstrument.h"
#include "simulator/SimulatedUsb.h"

#include <cstdint>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <string>

#define ZRV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string imagePath() {
    Dl_info info{};
    static const int anchor = 0;
    std::string folder = ".";
    if (dladdr(&anchor, &info) != 0 && info.dli_fname != nullptr) {
        const std::string library = info.dli_fname;
        const auto slash = library.rfind('/');
        if (slash != std::string::npos)
            folder = library.substr(0, slash);
    }
    folder = SimulatorImageFolder(folder, TPathEnvironment::fromProcess());
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

TLibraryState& state() {
    static TLibraryState library;
    return library;
}

} // namespace

ZRV_EXPORT std::uint32_t _MPUSBGetDLLVersion(void) {
    return 0x01000000;
}

ZRV_EXPORT std::uint32_t _MPUSBGetDeviceCount(const char* vid_pid) {
    TLibraryState& s = state();
    std::lock_guard lock(s.Lock);
    return s.Usb.deviceCount(vid_pid);
}

ZRV_EXPORT void* _MPUSBOpen(std::uint32_t instance, const char* vid_pid, const char* endpoint,
                            std::uint32_t direction, std::uint32_t reserved) {
    TLibraryState& s = state();
    std::lock_guard lock(s.Lock);
    return s.Usb.open(instance, vid_pid, endpoint, direction, reserved);
}

ZRV_EXPORT std::uint32_t _MPUSBRead(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                                    std::uint32_t timeout_ms) {
    TLibraryState& s = state();
    std::lock_guard lock(s.Lock);
    return s.Usb.read(pipe, data, length, received, timeout_ms);
}

// The instrument has no interrupt endpoint.
ZRV_EXPORT std::uint32_t _MPUSBReadInt(void* /*pipe*/, void* /*data*/, std::uint32_t /*length*/,
                                       std::uint32_t* received, std::uint32_t /*timeout_ms*/) {
    if (received != nullptr)
        *received = 0;
    return 0;
}

ZRV_EXPORT std::uint32_t _MPUSBWrite(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                                     std::uint32_t timeout_ms) {
    TLibraryState& s = state();
    std::lock_guard lock(s.Lock);
    return s.Usb.write(pipe, data, length, sent, timeout_ms);
}

ZRV_EXPORT std::uint32_t _MPUSBClose(void* pipe) {
    TLibraryState& s = state();
    std::lock_guard lock(s.Lock);
    const std::uint32_t closed = s.Usb.close(pipe);
    s.saveIfChanged();
    return closed;
}

ZRV_EXPORT std::uint32_t _MPUSBSetConfiguration(void* pipe, std::uint16_t /*configuration*/) {
    TLibraryState& s = state();
    std::lock_guard lock(s.Lock);
    return s.Usb.isOpen(pipe) ? 1 : 0;
}

// No string descriptors are simulated.
ZRV_EXPORT std::uint32_t _MPUSBGetStringDescriptor(void* /*pipe*/, std::uint8_t /*index*/,
                                                   std::uint16_t /*language*/, void* /*data*/,
                                                   std::uint32_t /*length*/, std::uint32_t* received) {
    if (received != nullptr)
        *received = 0;
    return 0;
}
