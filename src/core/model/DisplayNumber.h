// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Reads a displayed number back in double precision: the text as it is, then with every "." made
// ",", then with every "," made "."; each with the locale's decimal separator and no thousands
// separators. nullopt when no attempt gives a finite number, so "None", dates and times stay texts.
class TDisplayNumberReader {
public:
    explicit TDisplayNumberReader(const QLocale& locale);
    std::optional<double> read(const QString& text) const;
    // Whether ReadPlainDecimal reads like the locale does.
    bool plainShortcut() const { return m_plainShortcut; }

private:
    QLocale m_strict;
    // Plain decimals ("-12.5", "3,25") and dates or times read the same in every locale with "."
    // or "," as separator, ASCII digits and "-", without asking the locale.
    bool m_plainShortcut = false;
};

std::optional<double> ReadDisplayNumber(const QString& text, const QLocale& locale);

// "-12.5" or "12,5" style text (optional "-", digits, at most one "." or "," followed by digits):
// its value. nullopt for anything else.
std::optional<double> ReadPlainDecimal(QStringView text);

// A figure the program works out (per cent, Kv) at `decimals` places in the locale's notation, empty
// for none; without group separators, which a spreadsheet would not read back as a number.
QString FigureText(const std::optional<double>& value, int decimals, const QLocale& locale);
