// SPDX-License-Identifier: GPL-3.0-or-later
// Both built driver libraries against the one contract: whatever the program or another caller hands
// them, they answer a failure instead of guessing. The usb library runs over the fake libusb, the
// simulator from a folder of its own, where its image file is made afresh.
#include "fakeusb/FakeLibusb.h"

#include "DriverEntryPoints.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <dlfcn.h>

namespace {

constexpr const char* Selector = "vid_04d8&pid_000c";
constexpr const char* Endpoint = "\\MCHP_EP1";

struct LibraryCase {
    const char* Name;
    const char* Path;
};

void PrintTo(const LibraryCase& c, std::ostream* os) {
    *os << c.Name;
}

class DriverConformanceTest : public ::testing::TestWithParam<LibraryCase> {
protected:
    void SetUp() override {
        ResetFakeUsb();
        ASSERT_TRUE(m_folder.isValid());
        const QString copy = m_folder.filePath(QStringLiteral("libmpusbapi.so"));
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(GetParam().Path), copy));
        m_library = dlopen(QFile::encodeName(copy).constData(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_library, nullptr) << dlerror();
        ASSERT_EQ(ResolveDriverEntryPoints([this](const char* name) { return dlsym(m_library, name); }, e), nullptr);
        ASSERT_NE(e.LastFailure, nullptr);
    }
    void TearDown() override {
        if (m_library)
            dlclose(m_library);
    }

    void expectFailedWith(std::uint32_t result, std::uint32_t failure, const char* what) {
        EXPECT_EQ(result, 0u) << what;
        EXPECT_EQ(e.LastFailure(), failure) << what;
    }

    TDriverEntryPoints e;
    QTemporaryDir m_folder;
    void* m_library = nullptr;
};

} // namespace

TEST_P(DriverConformanceTest, ExchangesAFrameWithTheInstrument) {
    EXPECT_EQ(e.GetDllVersion(), 0x01000000u);
    EXPECT_EQ(e.GetDeviceCount(Selector), 1u);
    void* in = e.Open(0, Selector, Endpoint, ZRV_DIRECTION_READ, 0);
    void* out = e.Open(0, Selector, Endpoint, ZRV_DIRECTION_WRITE, 0);
    ASSERT_NE(in, ZRV_PIPE_FAILED);
    ASSERT_NE(out, ZRV_PIPE_FAILED);
    EXPECT_EQ(e.SetConfiguration(out, 1), 1u);

    // A ping to any slave: start mark, master 0, slave 254, command 4, check value over bytes 1..62.
    std::array<std::uint8_t, 64> frame{0xA5, 0, 254, 4};
    frame[63] = SimFrameCrc(frame);
    std::uint32_t moved = 0;
    EXPECT_EQ(e.Write(out, frame.data(), 64, &moved, 250), 1u);
    EXPECT_EQ(moved, 64u);
    std::array<std::uint8_t, 64> reply{};
    EXPECT_EQ(e.Read(in, reply.data(), 64, &moved, 250), 1u);
    EXPECT_EQ(moved, 64u);
    EXPECT_EQ(e.LastFailure(), ZRV_FAILURE_NONE);
    EXPECT_EQ(reply[3], 4);

    EXPECT_EQ(e.Close(in), 1u);
    EXPECT_EQ(e.Close(out), 1u);
    // Closed handles are stale.
    expectFailedWith(e.Close(in), ZRV_FAILURE_BAD_ARGUMENT, "closed twice");
    expectFailedWith(e.Read(in, reply.data(), 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT, "read after close");
}

TEST_P(DriverConformanceTest, RefusesWhatItCannotUse) {
    // Bad selectors and instances out of range are never counted and never opened.
    for (const char* selector : {"", "vid_&pid_000c", "pid_000c", "vid_zzzz&pid_000c", "vid_04d8&pid_fffe"}) {
        SCOPED_TRACE(selector);
        EXPECT_EQ(e.GetDeviceCount(selector), 0u);
        EXPECT_EQ(e.Open(0, selector, Endpoint, ZRV_DIRECTION_READ, 0), ZRV_PIPE_FAILED);
        EXPECT_NE(e.LastFailure(), ZRV_FAILURE_NONE);
    }
    EXPECT_EQ(e.GetDeviceCount(nullptr), 0u);
    for (std::uint32_t instance : {1u, 9u, 0xFFFFFFFFu}) {
        EXPECT_EQ(e.Open(instance, Selector, Endpoint, ZRV_DIRECTION_READ, 0), ZRV_PIPE_FAILED) << instance;
        EXPECT_NE(e.LastFailure(), ZRV_FAILURE_NONE);
    }
    for (const char* endpoint : {"", "\\MCHP_EPX", "\\MCHP_EP16", static_cast<const char*>(nullptr)})
        EXPECT_EQ(e.Open(0, Selector, endpoint, ZRV_DIRECTION_READ, 0), ZRV_PIPE_FAILED);
    EXPECT_EQ(e.Open(0, Selector, Endpoint, 2, 0), ZRV_PIPE_FAILED);
    EXPECT_EQ(e.LastFailure(), ZRV_FAILURE_BAD_ARGUMENT);

    // Handles it did not hand out are refused, not dereferenced; counts read zero after a failure.
    std::array<std::uint8_t, 64> frame{};
    int bogus = 0;
    for (void* pipe : {ZRV_PIPE_FAILED, static_cast<void*>(nullptr), static_cast<void*>(&bogus)}) {
        std::uint32_t moved = 99;
        expectFailedWith(e.Read(pipe, frame.data(), 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT, "read");
        EXPECT_EQ(moved, 0u);
        moved = 99;
        expectFailedWith(e.ReadInt(pipe, frame.data(), 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT,
                         "read int");
        EXPECT_EQ(moved, 0u);
        moved = 99;
        expectFailedWith(e.Write(pipe, frame.data(), 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT, "write");
        EXPECT_EQ(moved, 0u);
        expectFailedWith(e.Close(pipe), ZRV_FAILURE_BAD_ARGUMENT, "close");
        expectFailedWith(e.SetConfiguration(pipe, 1), ZRV_FAILURE_BAD_ARGUMENT, "configuration");
        moved = 99;
        expectFailedWith(e.GetStringDescriptor(pipe, 1, 0x0409, frame.data(), 64, &moved),
                         ZRV_FAILURE_BAD_ARGUMENT, "string descriptor");
        EXPECT_EQ(moved, 0u);
    }

    // A pipe moves data one way only, and never into or out of no buffer.
    void* in = e.Open(0, Selector, Endpoint, ZRV_DIRECTION_READ, 0);
    void* out = e.Open(0, Selector, Endpoint, ZRV_DIRECTION_WRITE, 0);
    ASSERT_NE(in, ZRV_PIPE_FAILED);
    ASSERT_NE(out, ZRV_PIPE_FAILED);
    std::uint32_t moved = 99;
    expectFailedWith(e.Write(in, frame.data(), 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT,
                     "write on read pipe");
    expectFailedWith(e.Read(out, frame.data(), 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT,
                     "read on write pipe");
    expectFailedWith(e.Read(in, nullptr, 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT, "read into nothing");
    expectFailedWith(e.Write(out, nullptr, 64, &moved, 250), ZRV_FAILURE_BAD_ARGUMENT, "write from nothing");
    EXPECT_EQ(FakeUsb().Instrument.framesReceived(), 0u);
    EXPECT_EQ(e.Close(in), 1u);
    EXPECT_EQ(e.Close(out), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothLibraries, DriverConformanceTest,
                         ::testing::Values(LibraryCase{"usb", ZRV_USB_DRIVER},
                                           LibraryCase{"simulator", ZRV_SIMULATOR_LIBRARY}),
                         [](const auto& info) { return std::string(info.param.Name); });
