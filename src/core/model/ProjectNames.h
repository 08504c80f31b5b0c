// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectRecords.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// The texts of a project's name fields (its name, its last change, the branch names), read and
// written in the table the project's bytes are in, whatever the interface language is.

QString NameText(const TProject& project, const std::uint8_t* field);
void SetNameText(const TProject& project, const QString& text, std::uint8_t* field);

// The project's names that would read otherwise in the table, as they read now: the project's name
// first, then the branches' in their order (each name once). None in the project's own table.
QStringList NamesNotHeld(const TProject& project, int codePage);

// The names' bytes as the table stores the same texts; afterwards NamesCodePage is that table.
// A character the table cannot hold becomes what its encoder makes of it (see NamesNotHeld).
void TranscodeNames(TProject& project, int codePage);

// A table that holds every text: `preferred` when it does, otherwise the first table that does.
// When none does, the one that holds the most of them (`preferred` among equals).
int TableHoldingAll(const QStringList& texts, int preferred);

// The texts among `texts` that the table cannot hold (each once, in their order).
QStringList TextsNotHeld(const QStringList& texts, int codePage);

// A name the project file cannot keep: it ends a name at "</" when it is read again.
bool NameBreaksProjectFile(const QString& text);
// The project's names that contain "</" (each once).
QStringList NamesBreakingProjectFile(const TProject& project);
