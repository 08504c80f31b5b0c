// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The tolerant number read used for every number taken from text (edit fields, project and record
// files). Accepts the locale's decimal separator as well as "." and ",", so files written under
// another locale still read. Never fails: text that is no number gives 0. The result is a
// single-precision value widened to double, as the instrument and older files hold it.
double ParseNumber(const QString& text, const QLocale& locale);

// The same read, but text that holds no number gives nothing instead of 0, so that an edit field
// can refuse it.
std::optional<double> TryParseNumber(const QString& text, const QLocale& locale);
