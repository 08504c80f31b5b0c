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
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), ImageBytes);
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
    const QByteArray cases[] = {QByteArray(), image.left(image.size() - 1), image + 'x', wrongVersion,
                                wrongMagic};
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
    TSimulatedInstrument instrument;
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

    // One exchange over freshly opened pipes; the reply, or nothing.
    std::optional<TFrame> exchange(const TFrame& request) {
        void* in = open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionRead, 0);
        void* out = open(0, InstrumentVidPid, InstrumentEndpoint, PipeDirectionWrite, 0);
        std::uint32_t moved = 0;
        TFrame reply{};
        const bool ok = out != InvalidPipe() && in != InvalidPipe() &&
                        write(out, request.data(), 64, &moved, 250) &&
                        read(in, reply.data(), 64, &moved, 250);
        close(in);
        close(out);
        return ok ? std::optional<TFrame>(reply) : std::nullopt;
    }

    std::uint32_t (*count)(const char*) = nullptr;
    void* (*open)(std::uint32_t, const char*, const char*, std::uint32_t, std::uint32_t) = nullptr;
    std::uint32_t (*read)(void*, void*, std::uint32_t, std::uint32_t*, std::uint32_t) = nullptr;
    std::uint32_t (*write)(void*, const void*, std::uint32_t, std::uint32_t*, std::uint32_t) = nullptr;
    std::uint32_t (*close)(void*) = nullptr;

private:
    void* m_handle = nullptr;
};

TEST(SimulatorLibrary, CreatesDemoImageAndKeepsEveryWrite) {
    QTemporaryDir dir;
    const QString image = dir.filePath("zrv10-simulator.img");
    const std::uint8_t name[8] = {'W', 'r', 'i', 't', 't', 'e', 'n', 0};
    {
        TLoadedSimulator first(dir.path());
        ASSERT_TRUE(first.loaded()) << dlerror();
        EXPECT_EQ(first.count(InstrumentVidPid), 1u);
        EXPECT_EQ(QFileInfo(image).size(), ImageBytes) << "created at the first call";

        const auto header =
            first.exchange(BuildRequest(SlaveAny, CommandReadMemory, 44, 0, 0, 4096, nullptr));
        ASSERT_TRUE(header);
        EXPECT_EQ(0, std::memcmp(header->data() + 11, "Demo school", 12));
        ASSERT_TRUE(first.exchange(BuildRequest(SlaveAny, CommandWriteMemory, 8, 0, 0, 4096, name, 8)));
        EXPECT_EQ(contents(image).mid(16 + 4096, 8), QByteArray(reinterpret_cast<const char*>(name), 8));
    }
    TLoadedSimulator second(dir.path(), "libmpusbapi-again.so");
    ASSERT_TRUE(second.loaded()) << dlerror();
    const auto header = second.exchange(BuildRequest(SlaveAny, CommandReadMemory, 44, 0, 0, 4096, nullptr));
    ASSERT_TRUE(header);
    EXPECT_EQ(0, std::memcmp(header->data() + 11, name, 8));
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
