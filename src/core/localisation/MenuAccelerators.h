// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Keyboard accelerators (Alt+letter) chosen from the translated texts when they are applied, so
// that the language files need no markers. For each text in order: the first free letter of each
// word, then any free letter (letters without a diacritic before those with one), then a free digit;
// when none is free, an earlier text gives its key up for another of its own, so that every text gets
// one whenever the letters allow it. Keys compare case-folded. A literal '&' is doubled so that it is
// shown, not taken for a marker.
QStringList AssignAccelerators(const QStringList& plainTexts);

// The text without its marker: "&&" becomes "&", the '&' before a letter goes.
QString WithoutAccelerator(const QString& text);

// The letter a text's marker chooses, case-folded; null when there is none.
QChar AcceleratorOf(const QString& text);
