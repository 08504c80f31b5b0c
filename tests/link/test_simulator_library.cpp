// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Frame.h"
#include "link/UsbDriver.h"

#include "simulator/DemoContent.h"
#include "simulator/ImageFile.h"
#include "simulator/SimulatedInstrument.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>

namespace {

constexpr qint64 ImageBytes =
    16 + TSimulatedInstrument::ConfigMemorySize + TSimulatedInstrument::DataMemorySize;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool sameMemories(const TSimulatedInstrument& a, const TSimulatedInstrument& b) {
    return std::ranges::equal(a.configMemory(), b.configMemory()) &&
           std::ranges::equal(a.dataMemory(), b.dataMemory());
}

TEST(SimulatorImage, SavedImageLoadsBackWhole) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("zrv10-simulator.img").toStdString();
    TSimulatedInstrument saved;
    WriteDemoContent(saved);
    const std::uint8_t marker[3] = {0xC0, 0xFF, 0xEE};
    ASSERT_TRUE(saved.writeConfig(TSimulatedInstrument::ConfigMemorySize - 3, marker, 3));
    std::string error;
    ASSERT_TRUE(SaveImageFile(path, saved, &error)) << error;
    EXPECT_LT(QFileInfo(QString::fromStdString(path)).size(), 64 * 1024) << "erased memory takes no room";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"zrv10-simulator.img"})
        << "no temporary left";

    TSimulatedInstrument loaded;
    EXPECT_EQ(LoadImageFile(path, loaded, &error), TImageLoad::Loaded) << error;
    EXPECT_TRUE(sameMemories(saved, loaded));
}

// A file that is not a whole image changes neither the instrument nor the file.
TEST(SimulatorImage, RefusesWhatIsNotAnImage) {
    QTemporaryDir dir;
    TSimulatedInstrument demo;
    WriteDemoContent(demo);
    const std::string good = dir.filePath("good.img").toStdString();
    ASSERT_TRUE(SaveImageFile(good, demo));
    const QByteArray image = contents(QString::fromStdString(good));

    QByteArray wrongVersion = image;
    wrongVersion[8] = 2;
    QByteArray wrongMagic = image;
    wrongMagic[0] = 'X';
    QByteArray moreSegments = image;
    moreSegments[12] = static_cast<char>(moreSegments[12] + 1);
    // One segment more, reaching past its memory or naming no memory.
    const auto withSegment = [&image](std::uint32_t memory, std::uint32_t offset, std::uint32_t length) {
        QByteArray bytes = image;
        bytes[12] = static_cast<char>(bytes[12] + 1);
        for (const std::uint32_t value : {memory, offset, length})
            for (int i = 0; i < 4; ++i)
                bytes.append(static_cast<char>(value >> (8 * i)));
        return bytes + QByteArray(64, 'x');
    };
    const QByteArray cases[] = {QByteArray(),
                                image.left(image.size() - 1),
                                image + 'x',
                                wrongVersion,
                                wrongMagic,
                                moreSegments,
                                withSegment(0, TSimulatedInstrument::ConfigMemorySize - 32, 64),
                                withSegment(1, 0xFFFFFFF0u, 64),
                                withSegment(2, 0, 64)};
    for (const QByteArray& bytes : cases) {
        const QString path = dir.filePath("bad.img");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        TSimulatedInstrument instrument;
        const TSimulatedInstrument untouched;
        std::string error;
        EXPECT_EQ(LoadImageFile(path.toStdString(), instrument, &error), TImageLoad::Invalid) << bytes.size();
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(sameMemories(instrument, untouched));
        EXPECT_EQ(contents(path), bytes);
    }
    // The same construction within bounds is a valid image.
    const QString fits = dir.filePath("fits.img");
    QFile fitsFile(fits);
    ASSERT_TRUE(fitsFile.open(QIODevice::WriteOnly));
    fitsFile.write(withSegment(0, TSimulatedInstrument::ConfigMemorySize - 64, 64));
    fitsFile.close();
    TSimulatedInstrument instrument;
    ASSERT_EQ(LoadImageFile(fits.toStdString(), instrument), TImageLoad::Loaded);
    EXPECT_EQ(instrument.configMemory().back(), 'x');
    EXPECT_EQ(LoadImageFile(dir.filePath("none.img").toStdString(), instrument), TImageLoad::Missing);
    std::string error;
    EXPECT_FALSE(SaveImageFile(dir.filePath("no/such/folder.img").toStdString(), demo, &error));
    EXPECT_FALSE(error.empty());
}

// The built driver library, loaded from a copy in a folder of its own, so each copy is a fresh
// instrument with its image beside it.
class TLoadedSimulator {
public:
    explicit TLoadedSimulator(const QString& folder, const QString& name = "libmpusbapi.so") {
        const QString path = folder + "/" + name;
        QFile::copy(ZRV_SIMULATOR_LIBRARY, path);
        m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (m_handle == nullptr)
            return;
        count = reinterpret_cast<decltype(count)>(dlsym(m_handle, "_MPUSBGetDeviceCount"));
        open = reinterpret_cast<decltype(open)>(dlsym(m_handle, "_MPUSBOpen"));
        read = reinterpret_cast<decltype(read)>(dlsym(m_handle, "_MPUSBRead"));
        write = reinterpret_cast<decltype(write)>(dlsym(m_handle, "_MPUSBWrite"));
        close = reinterpret_cast<decltype(close)>(dlsym(m_handle, "_MPUSBClose"));
    }
    ~TLoadedSimulator() {
        if (m_handle != nullptr)
            dlclose(m_handle);
    }
    bool loaded() const { return m_handle && count && open && read && write && close; }

    // One exchange over freshly opened pipes, closed afterwards unless told otherwise; the reply, or
    // nothing.
    std::optional<TFrame> exchange(const TFrame& request, bool closePipes = true) {
        void* in = open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionRead, 0);
        void* out = open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionWrite, 0);
        std::uint32_t moved = 0;
        TFrame reply{};
        const bool ok = out != InvalidPipe() && in != InvalidPipe() &&
                        write(out, request.data(), 64, &moved, 250) &&
                        read(in, reply.data(), 64, &moved, 250);
        if (closePipes) {
            close(in);
            close(out);
        }
        return ok ? std::optional<TFrame>(reply) : std::nullopt;
    }

    decltype(&_MPUSBGetDeviceCount) count = nullptr;
    decltype(&_MPUSBOpen) open = nullptr;
    decltype(&_MPUSBRead) read = nullptr;
    decltype(&_MPUSBWrite) write = nullptr;
    decltype(&_MPUSBClose) close = nullptr;

private:
    void* m_handle = nullptr;
};

// The config bytes at `address` as the image on disk holds them.
std::vector<std::uint8_t> onDisk(const QString& image, std::uint32_t address, std::uint32_t count) {
    TSimulatedInstrument instrument;
    std::vector<std::uint8_t> bytes(count);
    EXPECT_EQ(LoadImageFile(image.toStdString(), instrument), TImageLoad::Loaded);
    EXPECT_TRUE(instrument.readConfig(address, bytes.data(), count));
    return bytes;
}

// Written memory reaches the image when the operation closes its pipes, or at the latest when the
// library unloads; the next load of the library finds it there.
TEST(SimulatorLibrary, CreatesDemoImageAndKeepsEveryWrite) {
    QTemporaryDir dir;
    const QString image = dir.filePath("zrv10-simulator.img");
    const std::vector<std::uint8_t> name = {'W', 'r', 'i', 't', 't', 'e', 'n', 0};
    const std::vector<std::uint8_t> state = {0x80, 0x01};
    {
        TLoadedSimulator first(dir.path());
        ASSERT_TRUE(first.loaded()) << dlerror();
        EXPECT_EQ(first.count(InstrumentVidPid), 1u);
        EXPECT_TRUE(QFileInfo::exists(image)) << "created at the first call";

        const auto header =
            first.exchange(BuildRequest(SlaveAny, CommandReadMemory, 44, 0, 0, 4096, nullptr));
        ASSERT_TRUE(header);
        EXPECT_EQ(0, std::memcmp(header->data() + 11, "Demo school", 12));
        ASSERT_TRUE(
            first.exchange(BuildRequest(SlaveAny, CommandWriteMemory, 8, 0, 0, 4096, name.data(), 8)));
        EXPECT_EQ(onDisk(image, 4096, 8), name) << "saved when the pipes closed";

        ASSERT_TRUE(first.exchange(BuildRequest(SlaveAny, CommandWriteMemory, 2, 0, 0, 4112, state.data(), 2),
                                   false));
    }
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer keeps a closed library mapped until the process ends, so there the unload
    // happens only after this test.
    EXPECT_EQ(onDisk(image, 4112, 2), state) << "saved when the library unloaded";
#endif

    TLoadedSimulator second(dir.path(), "libmpusbapi-again.so");
    ASSERT_TRUE(second.loaded()) << dlerror();
    const auto header = second.exchange(BuildRequest(SlaveAny, CommandReadMemory, 44, 0, 0, 4096, nullptr));
    ASSERT_TRUE(header);
    EXPECT_EQ(0, std::memcmp(header->data() + 11, name.data(), 8));
#ifndef __SANITIZE_ADDRESS__
    EXPECT_EQ(0, std::memcmp(header->data() + 11 + 16, state.data(), 2));
#endif
    // The demo's record area is there too.
    const auto records =
        second.exchange(BuildRequest(SlaveAny, CommandReadData, 52, 0, 0, 0x180000, nullptr));
    ASSERT_TRUE(records);
    EXPECT_EQ((*records)[11], 30);
}

// An image it cannot read is the user's file: the library leaves it alone and shows no instrument.
TEST(SimulatorLibrary, UnreadableImageMeansNoInstrumentAndStaysAsItWas) {
    QTemporaryDir dir;
    const QString image = dir.filePath("zrv10-simulator.img");
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();

    TLoadedSimulator simulator(dir.path());
    ASSERT_TRUE(simulator.loaded()) << dlerror();
    EXPECT_EQ(simulator.count(InstrumentVidPid), 0u);
    EXPECT_FALSE(simulator.exchange(BuildRequest(SlaveAny, CommandPing, 0, 0, 0, 0, nullptr)));
    EXPECT_EQ(contents(image), QByteArray("not an image"));
}

} // namespace
