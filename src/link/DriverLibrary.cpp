#include "link/DriverLibrary.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace {
using TGetDllVersion = std::uint32_t (*)();
using TGetDeviceCount = std::uint32_t (*)(const char*);
using TOpen = void* (*)(std::uint32_t, const char*, const char*, std::uint32_t, std::uint32_t);
using TRead = std::uint32_t (*)(void*, void*, std::uint32_t, std::uint32_t*, std::uint32_t);
using TWrite = std::uint32_t (*)(void*, const void*, std::uint32_t, std::uint32_t*, std::uint32_t);
using TClose = std::uint32_t (*)(void*);
using TSetConfiguration = std::uint32_t (*)(void*, std::uint16_t);
using TGetStringDescriptor = std::uint32_t (*)(void*, std::uint8_t, std::uint16_t, void*, std::uint32_t,
                                               std::uint32_t*);

struct TEntryPoints {
    TGetDllVersion GetDllVersion = nullptr;
    TGetDeviceCount GetDeviceCount = nullptr;
    TOpen Open = nullptr;
    TRead Read = nullptr;
    TRead ReadInt = nullptr;
    TWrite Write = nullptr;
    TClose Close = nullptr;
    TSetConfiguration SetConfiguration = nullptr;
    TGetStringDescriptor GetStringDescriptor = nullptr;
};

// Holds the entry points only when all nine resolved; otherwise every call fails without touching the
// library, so an operation ends with its usual device message.
class TLibraryDriver final : public IUsbDriver {
public:
    explicit TLibraryDriver(const TEntryPoints* entries) {
        if (entries) {
            m_entries = *entries;
            m_usable = true;
        }
    }

    std::uint32_t GetDeviceCount(const char* vidPid) override {
        return m_usable ? m_entries.GetDeviceCount(vidPid) : 0;
    }
    void* Open(std::uint32_t instance, const char* vidPid, const char* endpoint, std::uint32_t direction,
               std::uint32_t reserved) override {
        return m_usable ? m_entries.Open(instance, vidPid, endpoint, direction, reserved) : InvalidPipe();
    }
    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        if (!m_usable) {
            if (received)
                *received = 0;
            return 0;
        }
        return m_entries.Read(pipe, data, length, received, timeoutMs);
    }
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        if (!m_usable) {
            if (sent)
                *sent = 0;
            return 0;
        }
        return m_entries.Write(pipe, data, length, sent, timeoutMs);
    }
    std::uint32_t Close(void* pipe) override { return m_usable ? m_entries.Close(pipe) : 0; }

private:
    TEntryPoints m_entries;
    bool m_usable = false;
};

template <typename T> bool resolve(void* library, const char* name, T& entry) {
    entry = reinterpret_cast<T>(dlsym(library, name));
    return entry != nullptr;
}
} // namespace

std::unique_ptr<IUsbDriver> LoadDriver(const QString& libraryPath, bool* complete) {
    if (complete)
        *complete = false;
    // An empty name would hand back the program itself, a bare one would search the system's library
    // folders: only the named file is ever loaded.
    if (libraryPath.isEmpty())
        return std::make_unique<TLibraryDriver>(nullptr);
    const QByteArray path = QFile::encodeName(QFileInfo(libraryPath).absoluteFilePath());
    // Never closed: a driver may keep threads or handles that outlive one operation.
    void* library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::make_unique<TLibraryDriver>(nullptr);

    TEntryPoints e;
    const bool all = resolve(library, "_MPUSBGetDLLVersion", e.GetDllVersion) &&
                     resolve(library, "_MPUSBGetDeviceCount", e.GetDeviceCount) &&
                     resolve(library, "_MPUSBOpen", e.Open) && resolve(library, "_MPUSBRead", e.Read) &&
                     resolve(library, "_MPUSBReadInt", e.ReadInt) &&
                     resolve(library, "_MPUSBWrite", e.Write) && resolve(library, "_MPUSBClose", e.Close) &&
                     resolve(library, "_MPUSBSetConfiguration", e.SetConfiguration) &&
                     resolve(library, "_MPUSBGetStringDescriptor", e.GetStringDescriptor);
    if (complete)
        *complete = all;
    return std::make_unique<TLibraryDriver>(all ? &e : nullptr);
}

QString DefaultDriverPath(const QString& executableDir) {
    return executableDir + QStringLiteral("/libmpusbapi.so");
}
