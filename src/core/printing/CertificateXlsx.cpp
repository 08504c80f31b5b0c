// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CertificateXlsx.h"

#include "files/SafeFileWriter.h"
#include "printing/CommissioningCertificate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <array>

namespace {

bool fail(const QString& path, const QString& reason, QString* error) {
    if (error)
        *error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

// Excel refuses a worksheet name with some characters, longer than 31 or with an apostrophe at an end.
QByteArray sheetName(const QString& title) {
    QString name = title;
    for (const QChar bad : {u'[', u']', u':', u'*', u'?', u'/', u'\\'})
        name.replace(bad, u' ');
    name = name.left(31).trimmed();
    while (name.startsWith(u'\'') || name.endsWith(u'\''))
        name = (name.startsWith(u'\'') ? name.mid(1) : name.chopped(1)).trimmed();
    return name.isEmpty() ? QByteArrayLiteral("Certificate") : name.toUtf8();
}

constexpr std::array<double, CertificateColumnCount> ColumnWidths = {5,  24, 24, 12, 12, 10,
                                                                     12, 9,  10, 14, 40};

// The worksheet's cells; the first failing call's code is kept.
struct TSheet {
    lxw_worksheet* Sheet;
    lxw_error Status = LXW_NO_ERROR;

    void keep(lxw_error e) {
        if (Status == LXW_NO_ERROR)
            Status = e;
    }
    void text(lxw_row_t row, lxw_col_t col, const QString& value, lxw_format* format = nullptr) {
        if (!value.isEmpty())
            keep(worksheet_write_string(Sheet, row, col, value.toUtf8().constData(), format));
    }
    void number(lxw_row_t row, lxw_col_t col, double value, lxw_format* format) {
        keep(worksheet_write_number(Sheet, row, col, value, format));
    }
};

lxw_error fillWorkbook(lxw_workbook* book, const TCommissioningCertificate& c) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName(c.Title).constData());
    if (!sheet)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    lxw_format* title = workbook_add_format(book);
    format_set_bold(title);
    format_set_font_size(title, 14);
    lxw_format* label = workbook_add_format(book);
    format_set_bold(label);
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_text_wrap(header);
    format_set_bg_color(header, 0xE4E4E4);
    format_set_bottom(header, LXW_BORDER_THIN);
    format_set_align(header, LXW_ALIGN_VERTICAL_TOP);
    lxw_format* wrap = workbook_add_format(book);
    format_set_text_wrap(wrap);
    format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);
    lxw_format* oneDecimal = workbook_add_format(book);
    format_set_num_format(oneDecimal, "0.0");
    lxw_format* twoDecimals = workbook_add_format(book);
    format_set_num_format(twoDecimals, "0.00");

    TSheet s{sheet};
    s.text(0, 0, c.Title, title);
    // Details in A:B, the summary beside them in D:E.
    lxw_row_t row = 1;
    for (const TCertificateField& f : c.Details) {
        s.text(row, 0, f.Label, label);
        s.text(row, 1, f.Value);
        ++row;
    }
    lxw_row_t summaryRow = 1;
    for (const TCertificateField& f : c.Summary) {
        s.text(summaryRow, 3, f.Label, label);
        s.text(summaryRow, 4, f.Value);
        ++summaryRow;
    }
    const lxw_row_t headerRow = std::max(row, summaryRow) + 1;
    for (int col = 0; col < c.Columns.size(); ++col)
        s.text(headerRow, static_cast<lxw_col_t>(col), c.Columns.at(col), header);
    s.text(headerRow, CertificateColumnCount, c.UncertainColumn, header);
    for (int col = 0; col < CertificateColumnCount; ++col)
        s.keep(worksheet_set_column(sheet, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col),
                                    ColumnWidths[static_cast<std::size_t>(col)], nullptr));
    s.keep(worksheet_set_column(sheet, CertificateColumnCount, CertificateColumnCount, 14, nullptr));
    worksheet_freeze_panes(sheet, headerRow + 1, 0);

    row = headerRow + 1;
    for (const TCertificateRow& r : c.Rows) {
        for (int col = 0; col < CertificateColumnCount; ++col) {
            const TCertificateCell& cell = r.Cells[static_cast<std::size_t>(col)];
            if (cell.Number) {
                lxw_format* format = col == CertificateColumnPercent ? oneDecimal
                                     : col == CertificateColumnKv || col == CertificateColumnPresetting
                                         ? twoDecimals
                                         : nullptr;
                s.number(row, static_cast<lxw_col_t>(col), *cell.Number, format);
            } else {
                s.text(row, static_cast<lxw_col_t>(col), cell.Text,
                       col == CertificateColumnRemark ? wrap : nullptr);
            }
        }
        if (r.Uncertain)
            s.text(row, CertificateColumnCount, c.UncertainWord);
        ++row;
    }
    return s.Status;
}

} // namespace

bool WriteCertificateXlsx(const TCommissioningCertificate& certificate, const QString& path, QString* error) {
    QTemporaryDir work;
    if (!work.isValid())
        return fail(path, work.errorString(), error);
    const QString made = work.filePath(QStringLiteral("certificate.xlsx"));
    lxw_workbook* book = workbook_new(QFile::encodeName(made).constData());
    if (!book)
        return fail(path, QStringLiteral("the workbook could not be created"), error);
    const lxw_error filled = fillWorkbook(book, certificate);
    // Closing frees the workbook whatever happened, and writes it only now.
    const lxw_error closed = workbook_close(book);
    const lxw_error status = filled != LXW_NO_ERROR ? filled : closed;
    if (status != LXW_NO_ERROR)
        return fail(path, QString::fromUtf8(lxw_strerror(status)), error);
    QFile file(made);
    if (!file.open(QIODevice::ReadOnly))
        return fail(path, file.errorString(), error);
    return writeFileAtomically(path, file.readAll(), error);
}
