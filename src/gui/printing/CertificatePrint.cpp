// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CertificatePrint.h"

#include "files/Settings.h"
#include "model/Translator.h"
#include "printing/CertificateHtml.h"
#include "printing/CommissioningCertificate.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>

namespace {

bool fail(QString* error, const char* reason) {
    if (error)
        *error = QString::fromUtf8(reason);
    return false;
}

QFont footFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7.5);
    return font;
}

int pageOf(qreal y, qreal pageHeight) {
    return static_cast<int>(std::floor(y / pageHeight));
}

// A heading left alone at the foot of a page goes to the next one, with the table it heads.
void keepHeadingsWithTheirTables(QTextDocument& document, qreal pageHeight) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        const QTextBlock heading = document.findBlock(frame->firstPosition() - 1);
        if (!heading.isValid() || heading.blockFormat().headingLevel() == 0)
            continue;
        if (pageOf(layout->blockBoundingRect(heading).top(), pageHeight) ==
            pageOf(layout->frameBoundingRect(frame).top(), pageHeight))
            continue;
        QTextCursor cursor(heading);
        QTextBlockFormat format = heading.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

// The signatures are the last table: split over two pages they would not read as one form.
void keepLastTableOnOnePage(QTextDocument& document, qreal pageHeight) {
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    QTextTable* table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable*>(frames.last());
    if (!table)
        return;
    const QRectF box = document.documentLayout()->frameBoundingRect(table);
    if (box.height() >= pageHeight || std::floor(box.top() / pageHeight) == std::floor(box.bottom() / pageHeight))
        return;
    QTextTableFormat format = table->format();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    table->setFormat(format);
}

} // namespace

bool PrintCertificate(const TCommissioningCertificate& certificate, QPrinter& printer, const TPrintMargins& margins,
                      QString* error) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(false);
    if (!printer.setPageMargins(QMarginsF(margins.Left, margins.Top, margins.Right, margins.Bottom),
                                QPageLayout::Millimeter))
        return fail(error, EnglishText("The print margins leave no room for the report."));
    if (printer.logicalDpiX() <= 0 || printer.logicalDpiY() <= 0)
        return fail(error, EnglishText("The printer reports no resolution."));
    const QRectF area(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());

    QPainter painter;
    if (!painter.begin(&printer))
        return fail(error, EnglishText("The printer could not start the print job."));
    painter.setFont(footFont());
    const QFontMetricsF foot(painter.font(), &printer);
    const qreal footHeight = foot.height() * 2.0;
    const QSizeF body(area.width(), area.height() - footHeight);
    if (body.width() < 1 || body.height() < foot.height() * 10) {
        painter.end();
        return fail(error, EnglishText("The print margins leave no room for the report."));
    }

    QTextDocument document;
    // Laid out at the printer's resolution: the layout scales lengths given in pixels to it.
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    document.setHtml(CertificateHtml(certificate));
    document.setPageSize(body);
    keepHeadingsWithTheirTables(document, body.height());
    keepLastTableOnOnePage(document, body.height());
    const int pages = document.pageCount();

    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return fail(error, EnglishText("The printer could not start a new page."));
        }
        painter.save();
        // The layout draws whole blocks; the next page's first one must not show below this one.
        painter.setClipRect(QRectF(QPointF(0, 0), body));
        painter.translate(0, -page * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(QPointF(0, page * body.height()), body);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        const qreal lineY = area.height() - foot.height() * 1.4;
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(0, lineY), QPointF(area.width(), lineY));
        const QRectF footArea(0, lineY + foot.height() * 0.2, area.width(), foot.height() * 1.2);
        painter.drawText(footArea, Qt::AlignLeft | Qt::AlignVCenter,
                         certificate.Title + QStringLiteral(" \u2013 ") + certificate.ProjectName);
        painter.drawText(footArea, Qt::AlignRight | Qt::AlignVCenter,
                         QString(certificate.PageOf).arg(page + 1).arg(pages));
    }
    if (!painter.end())
        return fail(error, EnglishText("The printer could not finish the print job."));
    return true;
}

bool PrintCertificateToPdf(const TCommissioningCertificate& certificate, const QString& pdfPath,
                           const TPrintMargins& margins, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setDocName(certificate.Title + QStringLiteral(" \u2013 ") + certificate.ProjectName);
    return PrintCertificate(certificate, printer, margins, error);
}
