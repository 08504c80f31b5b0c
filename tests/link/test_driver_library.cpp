#include "FakeUsbDriver.h"

#include "link/DriverLibrary.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "localisation/MessageCatalogue.h"
#include "ui/ScriptedUserInterface.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

int stubCalls(const char* libraryPath) {
    void* library = dlopen(libraryPath, RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return 0; // never loaded, so never called
    auto* count = reinterpret_cast<int (*)()>(dlsym(library, "StubDriverCalls"));
    const int calls = count ? count() : -1;
    dlclose(library);
    return calls;
}

// What a whole device operation makes of the driver.
QString pingThrough(IUsbDriver& driver, bool* completed) {
    TLinkLog log;
    TRecordingPause pause(log);
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue(QStringLiteral("/nonexistent/language/"));
    TLinkGuard guard;
    *completed = RunInLinkScope(guard, driver, pause, ui, catalogue, [](TFix64& link) {
        link.Ping();
        std::uint8_t bytes[60] = {1, 2, 3};
        link.WriteMemory(256, bytes, sizeof bytes);
        link.ReadMemory(256, bytes, sizeof bytes);
    });
    return ui.Status;
}

void expectEveryCallFails(IUsbDriver& driver) {
    std::uint8_t frame[64] = {};
    std::uint32_t moved = 99;
    EXPECT_EQ(driver.GetDeviceCount("vid_04d8&pid_000c"), 0u);
    EXPECT_EQ(driver.Open(0, "vid_04d8&pid_000c", "\\MCHP_EP1", 1, 0), InvalidPipe());
    EXPECT_EQ(driver.Write(InvalidPipe(), frame, 64, &moved, 250), 0u);
    EXPECT_EQ(moved, 0u);
    moved = 99;
    EXPECT_EQ(driver.Read(InvalidPipe(), frame, 64, &moved, 250), 0u);
    EXPECT_EQ(moved, 0u);
    EXPECT_EQ(driver.Close(InvalidPipe()), 0u);
    bool completed = true;
    EXPECT_EQ(pingThrough(driver, &completed), QStringLiteral("Device is not connected!"));
    EXPECT_FALSE(completed);
}

} // namespace

TEST(DriverLibrary, DefaultPathIsBesideTheExecutable) {
    EXPECT_EQ(DefaultDriverPath(QStringLiteral("/opt/zrv10/bin")),
              QStringLiteral("/opt/zrv10/bin/libmpusbapi.so"));
}

TEST(DriverLibrary, MissingLibraryFailsEveryExchange) {
    for (const QString& path : {QStringLiteral(ZRV_LINK_TEST_DIR "/no_such_driver.so"), QString()}) {
        SCOPED_TRACE(path.toStdString());
        bool complete = true;
        auto driver = LoadDriver(path, &complete);
        ASSERT_TRUE(driver);
        EXPECT_FALSE(complete);
        expectEveryCallFails(*driver);
    }
}

TEST(DriverLibrary, IncompleteLibraryIsNeverCalled) {
    bool complete = true;
    auto driver = LoadDriver(QStringLiteral(ZRV_PARTIAL_DRIVER), &complete);
    ASSERT_TRUE(driver);
    EXPECT_FALSE(complete);
    expectEveryCallFails(*driver);
    EXPECT_EQ(stubCalls(ZRV_PARTIAL_DRIVER), 0);
}

TEST(DriverLibrary, CompleteLibraryCarriesTheExchanges) {
    bool complete = false;
    auto driver = LoadDriver(QStringLiteral(ZRV_FULL_DRIVER), &complete);
    ASSERT_TRUE(driver);
    EXPECT_TRUE(complete);
    EXPECT_EQ(driver->GetDeviceCount("vid_04d8&pid_000c"), 1u);
    bool completed = false;
    EXPECT_EQ(pingThrough(*driver, &completed), QString());
    EXPECT_TRUE(completed);
    EXPECT_GT(stubCalls(ZRV_FULL_DRIVER), 0);

    // Loading again, as every operation does, works on the library already loaded.
    auto again = LoadDriver(QStringLiteral(ZRV_FULL_DRIVER), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(again->GetDeviceCount("vid_04d8&pid_000c"), 1u);
}
