// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/SheetFormulas.h"

#include "model/Translator.h"
#include "spreadsheet/FormulaShift.h"
#include "spreadsheet/OoxmlXml.h"

#include <algorithm>
#include <string_view>

void TSheetFormulas::collectSpans() {
    m_collected = true;
    for (const auto& [rowIndex, row] : m_rows)
        forEachCell(row, [&, rowIndex = rowIndex](int column, const pugi::xml_node& c) {
            const pugi::xml_node f = child(c, "f");
            const QString type = attribute(f, "t");
            TCellRange range;
            if ((type == QLatin1String("array") || type == QLatin1String("dataTable")) &&
                ParseCellRange(attribute(f, "ref"), &range))
                m_spans.push_back(
                    {range, CellReference(rowIndex, column), type == QLatin1String("dataTable")});
            return true;
        });
}

bool TSheetFormulas::mayOverwrite(int row, int column, QString* error) {
    if (!m_collected)
        collectSpans();
    for (const TSpan& span : m_spans) {
        if (!span.Range.contains(row, column))
            continue;
        if (error)
            *error =
                m_translator
                    .Translate(QStringLiteral("The cell %1 lies in the %2 %3 of the cell %4, which the "
                                              "export would break. Nothing was written. Move the results "
                                              "to other columns."))
                    .arg(CellReference(row, column),
                         span.Table ? m_translator.Translate(QStringLiteral("data table"))
                                    : m_translator.Translate(QStringLiteral("array formula")),
                         CellRangeReference(span.Range), span.Owner);
        return false;
    }
    return true;
}

void TSheetFormulas::releaseSharedMaster(const pugi::xml_node& cell, int row, int column) {
    const pugi::xml_node f = child(cell, "f");
    TCellRange range;
    if (attribute(f, "t") != QLatin1String("shared") || !f.attribute("ref") ||
        !ParseCellRange(attribute(f, "ref"), &range))
        return;
    const QString group = attribute(f, "si");
    const QString formula = QString::fromUtf8(f.text().get());

    // The other cells of the group, in row order: the first becomes the master.
    struct TMember {
        int Row, Column;
        pugi::xml_node Formula;
    };
    std::vector<TMember> members;
    for (auto it = m_rows.lower_bound(range.FirstRow); it != m_rows.end() && it->first <= range.LastRow; ++it)
        forEachCell(it->second, [&, r = it->first](int col, const pugi::xml_node& c) {
            const pugi::xml_node other = child(c, "f");
            if (col >= range.FirstColumn && col <= range.LastColumn && !(r == row && col == column) &&
                attribute(other, "t") == QLatin1String("shared") && attribute(other, "si") == group)
                members.push_back({r, col, other});
            return col <= range.LastColumn;
        });
    if (members.empty())
        return;
    TCellRange remaining{members.front().Row, members.front().Column, members.front().Row,
                         members.front().Column};
    for (const TMember& m : members)
        remaining = TCellRange{std::min(remaining.FirstRow, m.Row), std::min(remaining.FirstColumn, m.Column),
                               std::max(remaining.LastRow, m.Row), std::max(remaining.LastColumn, m.Column)};
    pugi::xml_node master = members.front().Formula;
    // The master's further attributes (always calculate, and the like) hold for the whole group.
    for (pugi::xml_attribute a = f.first_attribute(); a; a = a.next_attribute())
        if (!master.attribute(a.name()) && std::string_view(a.name()) != "ref")
            master.append_attribute(a.name()).set_value(a.value());
    if (!master.attribute("ref"))
        master.insert_attribute_after("ref", master.attribute("t"));
    master.attribute("ref").set_value(CellRangeReference(remaining).toUtf8().constData());
    const QString moved = ShiftFormula(formula, members.front().Row - row, members.front().Column - column);
    master.text().set(moved.toUtf8().constData());
}

bool DropCachedFormulaResults(const pugi::xml_node& sheetData) {
    bool dropped = false;
    for (pugi::xml_node row = sheetData.first_child(); row; row = row.next_sibling()) {
        if (!isElement(row, "row"))
            continue;
        for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (!isElement(c, "c") || !child(c, "f"))
                continue;
            pugi::xml_node value = child(c, "v");
            if (!value)
                continue;
            c.remove_child(value);
            // Without a value a cell is a number cell; a text, boolean or error type would describe
            // a value that is no longer there.
            const QString type = attribute(c, "t");
            if (type == QLatin1String("str") || type == QLatin1String("b") || type == QLatin1String("e") ||
                type == QLatin1String("n") || type == QLatin1String("d"))
                c.remove_attribute("t");
            dropped = true;
        }
    }
    return dropped;
}
