// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a file given on the command line, dropped on the window or chosen from a recent list holds,
// by its extension (any case).
enum class TFileKind { Project, Record, Unknown };
TFileKind FileKindOf(const QString& path);
