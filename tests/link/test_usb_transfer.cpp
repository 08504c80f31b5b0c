// The usb driver library as the program loads it. No instrument is attached where the tests run, so
// this checks the entry points and that nothing it is handed makes it crash.
#include "link/DriverLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

TEST(UsbDriverLibrary, ResolvesEveryEntryPointAndFailsCleanlyWithoutAnInstrument) {
    bool complete = false;
    const auto driver = LoadDriver(QStringLiteral(ZRV_USB_DRIVER), &complete);
    ASSERT_TRUE(complete);

    // A product nobody makes: never counted, never opened.
    EXPECT_EQ(driver->GetDeviceCount("vid_04d8&pid_fffe"), 0u);
    EXPECT_EQ(driver->Open(0, "vid_04d8&pid_fffe", "\\MCHP_EP1", 1, 0), InvalidPipe());
    for (const char* selector : {"", "vid_&pid_000c", "pid_000c", "vid_zzzz&pid_000c"})
        EXPECT_EQ(driver->GetDeviceCount(selector), 0u) << selector;
    EXPECT_EQ(driver->Open(0, InstrumentVidPid, "\\MCHP_EPX", 1, 0), InvalidPipe());
    EXPECT_EQ(driver->Open(0, InstrumentVidPid, InstrumentEndpoint, 7, 0), InvalidPipe());

    // Handles it did not hand out are refused, not dereferenced.
    std::array<std::uint8_t, 64> frame{};
    std::uint32_t moved = 99;
    int bogus = 0;
    for (void* pipe : {InvalidPipe(), static_cast<void*>(nullptr), static_cast<void*>(&bogus)}) {
        EXPECT_EQ(driver->Read(pipe, frame.data(), 64, &moved, 250), 0u);
        EXPECT_EQ(moved, 0u);
        EXPECT_EQ(driver->Write(pipe, frame.data(), 64, &moved, 250), 0u);
        EXPECT_EQ(driver->Close(pipe), 0u);
    }
}
