#pragma once

#include <QString>

#include <cstdint>

// The main window's view of the project in memory: where it came from and whether it was changed.
// Kept apart from the widgets so that the file and instrument commands work on it in tests and in
// the command-line companion.
struct TMainState {
    // The project file's path; after a read from the instrument "ZRV 10: " and the project name.
    QString ProjectFileName;
    // Created by New and not saved, opened, read or exchanged since.
    bool IsNewProject = false;
    // Changed since it was last opened, saved or transferred.
    bool Modified = false;
    // Read from (or written as a new project to) the instrument; closing asks to write it back.
    bool LinkedToInstrument = false;
    // ProjectFileName names a file on disk.
    bool HasFileName = false;
    // The branch on the branch page; 0 while the project node is selected.
    std::int32_t CurrentBranch = 0;
    // The window is filling its pages; change notifications of the edit fields are ignored.
    bool Filling = false;
};
