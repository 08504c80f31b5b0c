// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ValveCatalogue.h"

#include <QByteArray>
#include <QString>

inline constexpr const char* ManufacturersCacheName = "manufacturers.bin";
inline constexpr const char* ValvesCacheName = "valves.bin";

// Reads the two cache files of `directory` into the catalogue. Short files leave the bytes they lack
// as they were; when either file cannot be opened or read the catalogue is left wholly unchanged.
bool LoadValveCache(const QString& directory, TValveCatalogue& catalogue);
// The same over the two files' bytes; bytes beyond a file's size are ignored. Never fails.
void LoadValveCacheBytes(const QByteArray& manufacturers, const QByteArray& valves,
                         TValveCatalogue& catalogue);

// Writes the two cache files of `directory` whole (289 and 126000 bytes, every table slot whatever the
// counts say), each through a temporary file, so each is either its old or its complete new content.
// False with *error (if given) at the first file that cannot be written.
bool SaveValveCache(const QString& directory, const TValveCatalogue& catalogue, QString* error = nullptr);
