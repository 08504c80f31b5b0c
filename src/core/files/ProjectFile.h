// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectRecords.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

// Project files (".proj"): the header and every branch in the XML dialect, values in l/h and Pa with
// their markers. Names are stored as text, read in the table the project's bytes are in.

// False with *error (if given) a sentence for the user; the old file is then untouched.
bool SaveProjectFile(const QString& path, const TProject& project, QString* error = nullptr);

// Reads the whole file into a fresh project that replaces `project` only when the file was read to
// its end without error; otherwise `project` is untouched and *error (if given) says why. The number
// of "Branch" elements sets Branch_Count; a branch starts from a clean slot, so an element the file
// lacks never shows what the slot held before.
// The names are stored in the table codePage when it holds them all, otherwise in the first table that
// does; *notHeld (if given) lists the names that not even that table holds (they are then stored in
// codePage, as its encoder makes them).
bool LoadProjectFile(const QString& path, TProject& project, int codePage, const QLocale& locale,
                     QString* error = nullptr, QStringList* notHeld = nullptr);
// The same over the file's bytes; sourceName stands for the file in the error sentences.
bool LoadProjectBytes(const QByteArray& bytes, const QString& sourceName, TProject& project, int codePage,
                      const QLocale& locale, QString* error = nullptr, QStringList* notHeld = nullptr);
