#pragma once

#include <QLocale>
#include <QString>

// The tolerant number read used for every number taken from text (edit fields, project and record
// files). Accepts the locale's decimal separator as well as "." and ",", so files written under
// another locale still read. Never fails: text that is no number gives 0. The result is a
// single-precision value widened to double, as the instrument and older files hold it.
double ParseNumber(const QString& text, const QLocale& locale);
