// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QPrinter;
class QRect;
struct TPrintMargins;

// Draws the report lines on the printer in a bold fixed-pitch font, one line step apart; a
// page-break line starts a new page. False with *error set when the job could not be done.
bool PrintReport(const QStringList& lines, QPrinter& printer, const TPrintMargins& margins, QString* error = nullptr);

// The same, after a page of its own drawn by `firstPage` within the margins (the area in dots);
// the report's pages follow exactly as PrintReport prints them.
using TFirstPage = std::function<void(QPainter& painter, const QRect& area, int fontPoints)>;
bool PrintReportAfter(const TFirstPage& firstPage, const QStringList& lines, QPrinter& printer,
                      const TPrintMargins& margins, QString* error = nullptr);
