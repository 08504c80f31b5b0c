// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A printed report as plain lines for a fixed-pitch font: columns are made of blanks and a line
// holding only a form feed is a page break. The current line is assembled in a buffer.
inline constexpr QChar ReportPageBreakChar = u'\f';

class TReportText {
public:
    // Left-aligned in a column of at least 18 characters; longer texts push the rest right.
    void ReportCell(const QString& text);
    // Right-aligned in a column of 18 characters.
    void ReportRightCell(const QString& text);
    // Padded to 20 characters, then " : ".
    void ReportLabel(const QString& text);
    // The buffer as a new line (an empty buffer gives an empty line).
    void ReportNewLine();
    // The text as a new line; the buffer is emptied.
    void ReportAddLine(const QString& text);
    void ReportPageBreak();

    void clear();
    const QStringList& lines() const { return m_lines; }
    // Lines joined with "\n", as the preview and the companion's --text show them.
    QString text() const;

private:
    QStringList m_lines;
    QString m_buffer;
};

bool IsPageBreakLine(const QString& line);
