// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spreadsheet/CellAddress.h"

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <string>

// Small helpers over the XML parts of an Office Open XML package, shared by the workbook reader
// and writer. Writers may put the spreadsheet namespace on a prefix ("x:row"): names are
// compared by their local part, and new elements take the parent's prefix.

QString localName(const pugi::xml_node& node);
bool isElement(const pugi::xml_node& node, const char* local);
pugi::xml_node child(const pugi::xml_node& parent, const char* local);
// The name for a new element in the parent's namespace prefix.
std::string siblingName(const pugi::xml_node& parent, const char* local);
QString attribute(const pugi::xml_node& node, const char* name);

bool parseXml(const QByteArray& bytes, pugi::xml_document* doc);
// The part written back: the original prolog (declaration and the blank after it) as it was,
// then the document element as pugixml holds it.
QByteArray serializeXml(const pugi::xml_document& doc, const QByteArray& original);

// Calls f(column, cell) for each <c> of a row in order; cells may leave their reference implicit
// (one after the previous). Stops at a reference that cannot be read.
template <typename F> void forEachCell(const pugi::xml_node& row, F&& f);

template <typename F> void forEachCell(const pugi::xml_node& row, F&& f) {
    int previous = 0;
    for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
        if (!isElement(c, "c"))
            continue;
        int r = 0;
        int column = previous + 1;
        if (c.attribute("r") && !ParseCellReference(attribute(c, "r"), &r, &column))
            return;
        if (!f(column, c))
            return;
        previous = column;
    }
}
