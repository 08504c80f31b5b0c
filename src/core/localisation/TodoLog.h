// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Appends one record per text to the log of missing translations at path: the text as given, ";",
// tab, line feed, in UTF-16LE; a log that did not exist starts with the byte-order mark. Nothing is
// written for no texts, and a log that cannot be written is left alone: the caller shows the English
// text whatever happens here.
void appendTodoRecords(const QString& path, const QStringList& texts);
