// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <functional>

struct TZaznam;
class TTextTable;
class ITranslator;

// The records report: the record's header block, then the table's sample rows 1..shownRows as shown,
// 60 rows on the first page and 61 on each further one, each page under the header block.
// pageDone (if set) is told the number of each page completed before a page break.
QStringList BuildRecordsReport(const TZaznam& header, const TTextTable& table, int shownRows,
                               const ITranslator& translator, const std::function<void(int page)>& pageDone = {});
