// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/Settings.h"
#include "printing/PrintReport.h"

#include <QString>
#include <QStringList>

// Whether this process can draw pages: the companion makes a graphical application only for the
// commands that print.
bool CanDrawPages();

// The report's pages printed into the PDF file pdfPath; docName becomes the document's title. False
// with *error on failure.
bool PrintReportToPdf(const TFirstPage& firstPage, const QStringList& lines, const QString& pdfPath,
                      const QString& docName, const TPrintMargins& margins, QString* error);
