// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFileWriter.h"
#include "records/TableExport.h"
#include "files/Utf16Bytes.h"

QByteArray TableHtmlBytes(const TTextTable& table) {
    QByteArray bytes("\xFF\xFE", 2);
    appendUtf16Le(bytes, u"<html><head>\n"
                         u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-16\">\n"
                         u"<title>Export</title>\n"
                         u"<style>\n"
                         u"<!--\n"
                         u"TD{ font-family: \"arial\", \"helvetica\"; font-size: 10pt }\n"
                         u"-->\n"
                         u"</style>\n"
                         u"<table width=\"100%\" border=\"1\" cellpadding=\"2\" cellspacing=\"2\">\n");
    for (int r = 0; r < table.rowCount(); ++r) {
        const bool header = r == 0;
        appendUtf16Le(bytes, header ? u"<tr bgcolor=\"#BDD6EF\">\n" : u"<tr>\n");
        for (int c = 0; c < table.columnCount(); ++c) {
            const QString& text = table.cell(c, r);
            appendUtf16Le(bytes, header ? u"<td><b>" : u"<td>");
            appendUtf16Le(bytes, text.isEmpty() ? QStringView(u"&nbsp;") : QStringView(text));
            appendUtf16Le(bytes, header ? u"</b></td>\n" : u"</td>\n");
        }
        appendUtf16Le(bytes, u"</tr>\n");
    }
    appendUtf16Le(bytes, u"</table></body></html>");
    return bytes;
}

bool ExportTableHtml(const TTextTable& table, const QString& fileName, QString* error) {
    return writeFileAtomically(ExportFileName(fileName, TExportFormat::Html), TableHtmlBytes(table), error);
}
