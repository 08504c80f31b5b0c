// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "model/Translator.h"

// A workbook file's bytes, read whole. False with *error "Cannot read <file>: <reason>".
bool ReadWorkbookFile(const QString& fileName, QByteArray* bytes, QString* error,
                      const ITranslator& translator = EnglishOnly());
