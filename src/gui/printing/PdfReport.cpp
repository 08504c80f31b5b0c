// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PdfReport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>

bool CanDrawPages() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool PrintReportToPdf(const TFirstPage& firstPage, const QStringList& lines, const QString& pdfPath,
                      const QString& docName, const TPrintMargins& margins, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setDocName(docName);
    return PrintReportAfter(firstPage, lines, printer, margins, error);
}
