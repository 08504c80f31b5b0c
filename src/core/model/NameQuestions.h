// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class ITranslator;

// The questions and messages about names whose characters a place cannot keep: a character table
// (a file opened, a write to the instrument) or the project file ("</").
enum class TNamesAt {
    OpenedFile,  // opening a project file or importing a workbook: no table holds every name
    Device,      // a write to an instrument whose table cannot hold them
    ProjectFile, // a save of names that contain "</"
};

// The sentence, the names one a line, and the question whether to go on; in the current language.
QString NamesQuestion(const ITranslator& translator, TNamesAt where, const QStringList& names);

// Refusal of an imported name that contains "</".
QString NameBreaksProjectFileMessage(const ITranslator& translator, const QString& name);
