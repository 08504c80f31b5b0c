#pragma once

#include "model/ProjectRecords.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// Project files (".proj"): the header and every branch in the XML dialect, values in l/h and Pa with
// their markers. Names are stored as the instrument code page decodes them.

// False with *error (if given) a sentence for the user; the old file is then untouched.
bool SaveProjectFile(const QString& path, const TProject& project, int codePage, QString* error = nullptr);

// Reads the whole file into a fresh project that replaces `project` only when the file was read to
// its end without error; otherwise `project` is untouched and *error (if given) says why. The number
// of "Branch" elements sets Branch_Count; a branch starts from a clean slot, so an element the file
// lacks never shows what the slot held before.
bool LoadProjectFile(const QString& path, TProject& project, int codePage, const QLocale& locale,
                     QString* error = nullptr);
// The same over the file's bytes; sourceName stands for the file in the error sentences.
bool LoadProjectBytes(const QByteArray& bytes, const QString& sourceName, TProject& project, int codePage,
                      const QLocale& locale, QString* error = nullptr);
