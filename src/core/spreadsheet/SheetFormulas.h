// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spreadsheet/CellAddress.h"

#include <QString>

#include <pugixml.hpp>

class ITranslator;

#include <map>
#include <vector>

// The formulas of a worksheet part that reach beyond their own cell: shared formulas, whose
// master cell holds the text for a whole group, and array formulas and data tables, whose
// result fills a range. Overwriting a cell must leave every other cell's formula intact.
class TSheetFormulas {
public:
    // rows: the worksheet's <row> elements by row number; translator: the language of the errors.
    TSheetFormulas(const std::map<int, pugi::xml_node>& rows, const ITranslator& translator)
        : m_rows(rows), m_translator(translator) {}

    // False when the cell lies under an array formula or a data table, which one cell cannot be
    // taken out of; *error then names the cell.
    bool mayOverwrite(int row, int column, QString* error);

    // Called before the cell loses its formula: when it is the master of a shared formula, the
    // group's next remaining cell becomes the master, with the formula moved to its position.
    void releaseSharedMaster(const pugi::xml_node& cell, int row, int column);

private:
    struct TSpan {
        TCellRange Range;
        QString Owner;
        bool Table = false;
    };
    void collectSpans();

    const std::map<int, pugi::xml_node>& m_rows;
    const ITranslator& m_translator;
    std::vector<TSpan> m_spans;
    bool m_collected = false;
};

// Removes the cached result of every formula cell under the worksheet's <sheetData>: the value and
// the type that described it. Formulas, shared groups and array ranges stay as they are, so that a
// spreadsheet program opening the book has no stale result to show and calculates each one afresh.
// True when anything was removed.
bool DropCachedFormulaResults(const pugi::xml_node& sheetData);
