#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Reads a displayed number back in double precision: the text as it is, then with every "." made
// ",", then with every "," made "."; each with the locale's decimal separator and no thousands
// separators. nullopt when no attempt gives a finite number, so "None", dates and times stay texts.
std::optional<double> ReadDisplayNumber(const QString& text, const QLocale& locale);
