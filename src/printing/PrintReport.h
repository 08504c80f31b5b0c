#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
struct TPrintMargins;

// Draws the report lines on the printer in a bold fixed-pitch font, one line step apart; a
// page-break line starts a new page. False with *error set when the job could not be done.
bool PrintReport(const QStringList& lines, QPrinter& printer, const TPrintMargins& margins, QString* error = nullptr);
