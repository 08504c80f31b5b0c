// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The simulator library's calls into the operating system, each behind one function: a port to
// another system changes this header's .cpp and nothing else of the simulator.

#include <cstddef>
#include <cstdint>
#include <string>

// The folder of the file this library was loaded from, or "." when the system does not say.
std::string ThisLibraryFolder();

enum class TFileReplace { Replaced, NoTemporary, NotWritten };

// Writes the bytes to a new file beside `path` (mode rw-r--r--) and renames it over `path`. On failure
// nothing at `path` has changed, no temporary file is left and errno holds the system's reason.
TFileReplace ReplaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t count);
