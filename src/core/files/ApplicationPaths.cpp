// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ApplicationPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string joined(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).lexically_normal().string();
}

// XDG says a relative value is invalid and is to be ignored.
std::string xdgHome(const std::string& value, const std::string& home, const char* fallback) {
    if (!value.empty() && value.front() == '/')
        return value;
    return joined(home.empty() ? std::string("/") : home, fallback);
}

bool holdsLanguageFolder(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(fs::path(folder) / "language", error);
}

constexpr const char* driverName = "libmpusbapi.so";

} // namespace

TPathEnvironment TPathEnvironment::fromProcess() {
    return {environmentValue("HOME"), environmentValue("XDG_CONFIG_HOME"), environmentValue("XDG_DATA_HOME")};
}

TApplicationPaths ResolveApplicationPaths(const std::string& programDir, const TPathEnvironment& environment) {
    TApplicationPaths p;
    p.ProgramDir = fs::path(programDir).lexically_normal().string();
    if (p.ProgramDir.size() > 1 && p.ProgramDir.back() == '/')
        p.ProgramDir.pop_back();
    if (holdsLanguageFolder(p.ProgramDir)) {
        p.Mode = TInstallMode::Portable;
        p.SettingsFile = joined(p.ProgramDir, "zrv10.ini");
        p.DataDir = p.ProgramDir;
        p.LanguageDir = joined(p.ProgramDir, "language");
        p.DriverFile = joined(p.ProgramDir, driverName);
        p.SimulatorFile = joined(p.ProgramDir, std::string("simulator/") + driverName);
        return p;
    }
    p.Mode = TInstallMode::Installed;
    p.SettingsFile =
        joined(xdgHome(environment.XdgConfigHome, environment.Home, ".config"), "zrv10/zrv10.ini");
    p.DataDir = joined(xdgHome(environment.XdgDataHome, environment.Home, ".local/share"), "zrv10");
    p.LanguageDir = joined(p.ProgramDir, "../share/zrv10/language");
    p.DriverFile = joined(p.ProgramDir, std::string("../lib/zrv10/") + driverName);
    p.SimulatorFile = joined(p.ProgramDir, std::string("../lib/zrv10/simulator/") + driverName);
    return p;
}

std::string SimulatorImageFolder(const std::string& libraryDir, const TPathEnvironment& environment) {
    // Only the installed layout moves the image away: a library copied anywhere else (a portable
    // folder, a test's folder) keeps it beside itself.
    fs::path folder = fs::path(libraryDir).lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    if (folder.filename() == "simulator")
        folder = folder.parent_path();
    if (folder.filename() == "zrv10" && folder.parent_path().filename() == "lib")
        return ResolveApplicationPaths((folder.parent_path().parent_path() / "bin").string(), environment).DataDir;
    return fs::path(libraryDir).lexically_normal().string();
}

bool CreateUserFolders(const TApplicationPaths& paths) {
    if (paths.Mode == TInstallMode::Portable)
        return true;
    std::error_code error;
    bool ok = true;
    for (const fs::path& folder : {fs::path(paths.SettingsFile).parent_path(), fs::path(paths.DataDir)}) {
        fs::create_directories(folder, error);
        ok = ok && fs::is_directory(folder, error);
    }
    return ok;
}

std::string DriverFileForSetting(const TApplicationPaths& paths, const std::string& setting) {
    if (setting.empty() || setting == "usb")
        return paths.DriverFile;
    if (setting == "simulator")
        return paths.SimulatorFile;
    // A relative path counts from the settings file's folder, where the user wrote it.
    return fs::path(setting).is_absolute() ? setting
                                           : joined(fs::path(paths.SettingsFile).parent_path().string(), setting);
}
