// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the program, the companion and the simulated instrument keep their files. Plain C++ with no
// Qt, so that the simulator's driver library, which sees nothing of the core, builds the same unit.

#include <string>

enum class TInstallMode { Portable, Installed };

// The parts of the environment the places depend on; empty means unset.
struct TPathEnvironment {
    std::string Home;
    std::string XdgConfigHome;
    std::string XdgDataHome;

    static TPathEnvironment fromProcess();
};

struct TApplicationPaths {
    TInstallMode Mode = TInstallMode::Portable;
    std::string ProgramDir;       // the folder of the executable (or of the driver library)
    std::string SettingsFile;     // zrv10.ini, read by both executables
    std::string DataDir;          // valve cache files and the simulator's memory image
    std::string LanguageDir;      // messages.ini and the language files, without trailing slash
    std::string DriverFile;       // the driver library used unless the settings name another
    std::string SimulatorFile;    // the simulated instrument's driver library
};

// Portable when `programDir` holds a "language" folder (the build tree, an unpacked folder): every
// file lies there. Otherwise installed: settings under $XDG_CONFIG_HOME/zrv10, data under
// $XDG_DATA_HOME/zrv10 (defaults ~/.config and ~/.local/share), languages and drivers found relative
// to the program (../share/zrv10, ../lib/zrv10), so that a copy installed under any prefix works.
// Writability is not asked: root can write /usr/bin.
TApplicationPaths ResolveApplicationPaths(const std::string& programDir, const TPathEnvironment& environment);

// Where the simulator's library keeps its memory image: the data folder when the library lies in the
// installed layout (lib/zrv10/ or lib/zrv10/simulator/), beside itself anywhere else.
std::string SimulatorImageFolder(const std::string& libraryDir, const TPathEnvironment& environment);

// Creates the installed mode's settings and data folders (no-op when portable). False when a folder
// cannot be made; the caller's later write then reports the error with the file's name.
bool CreateUserFolders(const TApplicationPaths& paths);

// The file the [Device] Driver setting names: "simulator", "usb" (or empty: the default), or a path.
std::string DriverFileForSetting(const TApplicationPaths& paths, const std::string& setting);
