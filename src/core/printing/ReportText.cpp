// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ReportText.h"

namespace {

constexpr int CellWidth = 18;
constexpr int LabelWidth = 20;

// A line break or form feed inside a name would split the line in the preview, and a name reading as
// a lone form feed would become a page break: control characters print as blanks.
QString printable(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return out;
}

} // namespace

void TReportText::ReportCell(const QString& text) {
    m_buffer += printable(text).leftJustified(CellWidth);
}

void TReportText::ReportRightCell(const QString& text) {
    m_buffer += printable(text).rightJustified(CellWidth);
}

void TReportText::ReportLabel(const QString& text) {
    m_buffer += printable(text).leftJustified(LabelWidth);
    m_buffer += QStringLiteral(" : ");
}

void TReportText::ReportNewLine() {
    m_lines.append(m_buffer);
    m_buffer.clear();
}

void TReportText::ReportAddLine(const QString& text) {
    m_lines.append(printable(text));
    m_buffer.clear();
}

void TReportText::ReportPageBreak() {
    m_lines.append(QString(ReportPageBreakChar));
    m_buffer.clear();
}

void TReportText::clear() {
    m_lines.clear();
    m_buffer.clear();
}

QString TReportText::text() const {
    return m_lines.join(u'\n');
}

bool IsPageBreakLine(const QString& line) {
    return line.size() == 1 && line.front() == ReportPageBreakChar;
}
