// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ApplicationPaths.h"
#include "files/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const TPathEnvironment home{"/home/ann", "", ""};

std::string path(const QTemporaryDir& dir, const char* name) {
    return QDir(dir.path()).filePath(QString::fromLatin1(name)).toStdString();
}

} // namespace

// A folder with language/ beside the executable is portable: everything lies there, whatever the
// environment says.
TEST(ApplicationPaths, PortableFolderKeepsEverythingBesideTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin/language")));
    const TApplicationPaths p =
        ResolveApplicationPaths(path(dir, "bin/"), TPathEnvironment{"/home/ann", "/cfg", "/data"});
    const std::string bin = path(dir, "bin");
    EXPECT_EQ(p.Mode, TInstallMode::Portable);
    EXPECT_EQ(p.ProgramDir, bin);
    EXPECT_EQ(p.SettingsFile, bin + "/zrv10.ini");
    EXPECT_EQ(p.DataDir, bin);
    EXPECT_EQ(p.LanguageDir, bin + "/language");
    EXPECT_EQ(p.DriverFile, bin + "/libmpusbapi.so");
    EXPECT_EQ(p.SimulatorFile, bin + "/simulator/libmpusbapi.so");
    EXPECT_TRUE(CreateUserFolders(p));
}

// A folder without language/ is an install: the user's folders by XDG, the shared files found
// relative to the program, so that an install under any prefix (or DESTDIR) runs.
TEST(ApplicationPaths, InstalledLayoutUsesTheUsersFolders) {
    struct Case {
        TPathEnvironment Environment;
        const char* Settings;
        const char* Data;
    };
    const Case cases[] = {
        {home, "/home/ann/.config/zrv10/zrv10.ini", "/home/ann/.local/share/zrv10"},
        {{"/home/ann", "/x/cfg", "/x/data/"}, "/x/cfg/zrv10/zrv10.ini", "/x/data/zrv10"},
        // Relative XDG values are invalid and ignored.
        {{"/home/ann", "cfg", "data"}, "/home/ann/.config/zrv10/zrv10.ini", "/home/ann/.local/share/zrv10"},
        {{"", "", ""}, "/.config/zrv10/zrv10.ini", "/.local/share/zrv10"},
    };
    for (const Case& c : cases) {
        const TApplicationPaths p = ResolveApplicationPaths("/nonexistent/usr/bin", c.Environment);
        EXPECT_EQ(p.Mode, TInstallMode::Installed);
        EXPECT_EQ(p.SettingsFile, c.Settings);
        EXPECT_EQ(p.DataDir, c.Data);
        EXPECT_EQ(p.LanguageDir, "/nonexistent/usr/share/zrv10/language");
        EXPECT_EQ(p.DriverFile, "/nonexistent/usr/lib/zrv10/libmpusbapi.so");
        EXPECT_EQ(p.SimulatorFile, "/nonexistent/usr/lib/zrv10/simulator/libmpusbapi.so");
    }
}

TEST(ApplicationPaths, InstalledModeCreatesTheUsersFolders) {
    QTemporaryDir dir;
    const TPathEnvironment environment{path(dir, "home"), "", path(dir, "data")};
    const TApplicationPaths p = ResolveApplicationPaths(path(dir, "usr/bin"), environment);
    ASSERT_EQ(p.Mode, TInstallMode::Installed);
    EXPECT_TRUE(CreateUserFolders(p));
    EXPECT_TRUE(QDir(QString::fromStdString(path(dir, "home/.config/zrv10"))).exists());
    EXPECT_TRUE(QDir(QString::fromStdString(path(dir, "data/zrv10"))).exists());
    // A folder where a file stands cannot be made; the answer says so.
    QFile blocker(QString::fromStdString(path(dir, "blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const TPathEnvironment blocked{path(dir, "home"), "", path(dir, "blocked")};
    EXPECT_FALSE(CreateUserFolders(ResolveApplicationPaths(path(dir, "usr/bin"), blocked)));
}

TEST(ApplicationPaths, DriverSettingChoosesTheLibrary) {
    const TApplicationPaths p = ResolveApplicationPaths("/opt/z/bin", home);
    EXPECT_EQ(DriverFileForSetting(p, ""), "/opt/z/lib/zrv10/libmpusbapi.so");
    EXPECT_EQ(DriverFileForSetting(p, "usb"), "/opt/z/lib/zrv10/libmpusbapi.so");
    EXPECT_EQ(DriverFileForSetting(p, "simulator"), "/opt/z/lib/zrv10/simulator/libmpusbapi.so");
    EXPECT_EQ(DriverFileForSetting(p, "/srv/lib.so"), "/srv/lib.so");
    EXPECT_EQ(DriverFileForSetting(p, "mine/lib.so"), "/home/ann/.config/zrv10/mine/lib.so");
}

// The simulator leaves its image beside itself unless it lies in the installed layout.
TEST(ApplicationPaths, SimulatorImageFolder) {
    EXPECT_EQ(SimulatorImageFolder("/usr/lib/zrv10/simulator", home), "/home/ann/.local/share/zrv10");
    EXPECT_EQ(SimulatorImageFolder("/usr/lib/zrv10/", home), "/home/ann/.local/share/zrv10");
    EXPECT_EQ(SimulatorImageFolder("/work/build/bin", home), "/work/build/bin");
    EXPECT_EQ(SimulatorImageFolder("/tmp/t/simulator", home), "/tmp/t/simulator");
}

TEST(ApplicationPaths, SettingsNameTheDriver) {
    QTemporaryDir dir;
    const QString ini = QDir(dir.path()).filePath(QStringLiteral("zrv10.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Device]\nDriver = simulator\n");
    f.close();
    EXPECT_EQ(LoadSettings(ini).Driver, QStringLiteral("simulator"));
    // The key is only read: saving the settings leaves it as the user wrote it.
    TSettings settings = LoadSettings(ini);
    settings.FlowUnit = 4;
    ASSERT_TRUE(SaveSettings(ini, settings, nullptr));
    EXPECT_EQ(LoadSettings(ini).Driver, QStringLiteral("simulator"));
}
