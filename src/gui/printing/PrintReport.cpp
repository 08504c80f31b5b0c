// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PrintReport.h"

#include "files/Settings.h"
#include "model/Translator.h"
#include "printing/PrintGeometry.h"
#include "printing/ReportText.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {

// Courier where the system has it, else a fixed-pitch face fontconfig knows; never a proportional
// one, or the blank-made columns would not line up.
QFont reportFont(int points) {
    QFont font(QStringLiteral("Courier"));
    font.setFamilies({QStringLiteral("Courier"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Liberation Mono"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(true);
    font.setPointSize(points);
    return font;
}

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool PrintReport(const QStringList& lines, QPrinter& printer, const TPrintMargins& margins, QString* error) {
    return PrintReportAfter({}, lines, printer, margins, error);
}

bool PrintReportAfter(const TFirstPage& firstPage, const QStringList& lines, QPrinter& printer,
                      const TPrintMargins& margins, QString* error) {
    printer.setPageOrientation(QPageLayout::Portrait);
    if (printer.logicalDpiX() <= 0 || printer.logicalDpiY() <= 0)
        return fail(error, QString::fromUtf8(EnglishText("The printer reports no resolution.")));
    const TPrintGeometry g =
        ComputePrintGeometry(printer.logicalDpiX(), printer.logicalDpiY(), printer.height(), margins);
    // Margins that leave no room would draw every line on top of the previous one, or upwards.
    if (g.LineStep < 1 || g.FontPoints < 1)
        return fail(error, QString::fromUtf8(EnglishText("The print margins leave no room for the report.")));

    QPainter painter;
    if (!painter.begin(&printer))
        return fail(error, QString::fromUtf8(EnglishText("The printer could not start the print job.")));
    painter.setFont(reportFont(g.FontPoints));
    painter.setPen(Qt::black);
    if (firstPage) {
        painter.save();
        const int bottom = printer.height() - static_cast<int>(margins.Bottom * printer.logicalDpiY() / 25.4);
        firstPage(painter, QRect(QPoint(g.Left, g.Top), QPoint(printer.width() - g.Left, bottom)), g.FontPoints);
        painter.restore();
        if (!printer.newPage()) {
            painter.end();
            return fail(error, QString::fromUtf8(EnglishText("The printer could not start a new page.")));
        }
    }
    const int ascent = painter.fontMetrics().ascent();
    // Wide enough for a text without page breaks of any length.
    qint64 y = g.Top;
    for (const QString& line : lines) {
        if (IsPageBreakLine(line)) {
            if (!printer.newPage()) {
                painter.end();
                return fail(error, QString::fromUtf8(EnglishText("The printer could not start a new page.")));
            }
            y = g.Top;
            continue;
        }
        painter.drawText(QPointF(g.Left, double(y + ascent)), line);
        y += g.LineStep;
    }
    if (!painter.end())
        return fail(error, QString::fromUtf8(EnglishText("The printer could not finish the print job.")));
    return true;
}
