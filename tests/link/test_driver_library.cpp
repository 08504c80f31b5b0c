// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUsbDriver.h"

#include "commands/DeviceUserInterface.h"
#include "link/DriverLibrary.h"
#include "link/Fix64.h"
#include "link/LinkScope.h"
#include "localisation/MessageCatalogue.h"
#include "commands/ScriptedUserInterface.h"

#include <QFile>
#include <QTemporaryDir>

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

// What a whole device operation makes of the driver: its status text, and its message boxes.
QString pingThrough(IUsbDriver& driver, bool* completed, QStringList* messages = nullptr) {
    TLinkLog log;
    TRecordingPause pause(log);
    TScriptedUserInterface ui;
    TMessageCatalogue catalogue(QStringLiteral("/nonexistent/language/"));
    TDeviceUserInterface events(ui, catalogue);
    TLinkGuard guard;
    *completed = RunInLinkScope(guard, driver, pause, events, [](TFix64& link) {
        link.Ping();
        std::uint8_t bytes[60] = {1, 2, 3};
        link.WriteMemory(256, bytes, sizeof bytes);
        link.ReadMemory(256, bytes, sizeof bytes);
    });
    if (messages)
        *messages = ui.messages();
    return ui.Status;
}

// Every call fails, and the operation's message box says why: the loader's reason, naming the library.
void expectEveryCallFails(IUsbDriver& driver, const QString& message) {
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
    QStringList messages;
    EXPECT_EQ(pingThrough(driver, &completed, &messages), QStringLiteral("Device is not connected!"));
    EXPECT_FALSE(completed);
    EXPECT_EQ(messages, QStringList{message});
}

} // namespace

TEST(DriverLibrary, DefaultPathIsBesideTheExecutable) {
    EXPECT_EQ(DefaultDriverPath(QStringLiteral("/opt/zrv10/bin")),
              QStringLiteral("/opt/zrv10/bin/libmpusbapi.so"));
}

TEST(DriverLibrary, MissingLibraryFailsEveryExchangeAndNamesThePath) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("libmpusbapi.so"));
    bool complete = true;
    auto driver = LoadDriver(path, &complete);
    ASSERT_TRUE(driver);
    EXPECT_FALSE(complete);
    EXPECT_EQ(driver->LastFailure().Kind, TDriverFailureKind::LibraryMissing);
    expectEveryCallFails(
        *driver, QStringLiteral("The driver library %1 is missing. Reinstall the program.").arg(path));

    // No name at all is never taken for the program itself.
    driver = LoadDriver(QString(), &complete);
    EXPECT_FALSE(complete);
    EXPECT_EQ(driver->LastFailure().Kind, TDriverFailureKind::LibraryMissing);
}

TEST(DriverLibrary, AFileThatIsNoLibraryFailsEveryExchangeAndSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("libmpusbapi.so"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a shared object\n");
    file.close();
    bool complete = true;
    auto driver = LoadDriver(path, &complete);
    EXPECT_FALSE(complete);
    const TDriverFailure failure = driver->LastFailure();
    EXPECT_EQ(failure.Kind, TDriverFailureKind::LibraryUnloadable);
    EXPECT_FALSE(failure.Detail.isEmpty()) << "the system's reason";
    EXPECT_TRUE(failure.Detail.startsWith(path)) << "in the system loader's own words: " << failure.Detail.toStdString();
    expectEveryCallFails(
        *driver, QStringLiteral("The driver library %1 could not be loaded. Reinstall the program.\n\n%2")
                     .arg(path, failure.Detail));
}

TEST(DriverLibrary, IncompleteLibraryIsNeverCalled) {
    bool complete = true;
    auto driver = LoadDriver(QStringLiteral(ZRV_PARTIAL_DRIVER), &complete);
    ASSERT_TRUE(driver);
    EXPECT_FALSE(complete);
    expectEveryCallFails(
        *driver, QStringLiteral("The file %1 is not a driver library of the instrument. (_MPUSBReadInt)")
                     .arg(QStringLiteral(ZRV_PARTIAL_DRIVER)));
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
