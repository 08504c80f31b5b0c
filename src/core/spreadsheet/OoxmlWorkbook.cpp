// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/OoxmlWorkbook.h"

#include "spreadsheet/CellAddress.h"
#include "spreadsheet/CellDates.h"
#include "spreadsheet/OoxmlXml.h"
#include "spreadsheet/SheetFormulas.h"
#include "spreadsheet/SheetProtection.h"
#include "spreadsheet/ZipPackage.h"

#include <pugixml.hpp>

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

// Texts in the package escape characters XML cannot carry as "_xHHHH_".
QString decodeEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out.append(QChar(code));
                i += 6;
                continue;
            }
        }
        out.append(text[i]);
    }
    return out;
}

QString encodeEscapes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool control = c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        const bool looksEscaped =
            c == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_';
        if (control || looksEscaped)
            out.append(QStringLiteral("_x%1_")
                           .arg(c.unicode(), 4, 16, QChar(u'0'))
                           .toUpper()
                           .replace(QLatin1String("_X"), QLatin1String("_x")));
        else
            out.append(c);
    }
    return out;
}

// The text of a shared string item or an inline string: plain, or the runs of a rich text;
// phonetic hints are not part of the value.
QString stringItemText(const pugi::xml_node& item) {
    QString text;
    for (pugi::xml_node n = item.first_child(); n; n = n.next_sibling()) {
        if (isElement(n, "t"))
            text += QString::fromUtf8(n.text().get());
        else if (isElement(n, "r"))
            text += QString::fromUtf8(child(n, "t").text().get());
    }
    return decodeEscapes(text);
}

// Package part names are absolute without the leading slash; relationship targets are relative
// to the folder of the part that owns them.
QString resolveTarget(const QString& ownerPart, const QString& target) {
    QStringList parts;
    if (!target.startsWith(u'/')) {
        parts = ownerPart.split(u'/');
        parts.removeLast();
    }
    for (const QString& piece : target.split(u'/', Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (piece != QLatin1String("."))
            parts.append(piece);
    }
    return parts.join(u'/');
}

QString relsPathFor(const QString& part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct TRelationship {
    QString id;
    QString type;
    QString target;
};

std::vector<TRelationship> readRelationships(const TZipPackage& package, const QString& part) {
    std::vector<TRelationship> result;
    pugi::xml_document doc;
    if (!parseXml(package.entry(relsPathFor(part)), &doc))
        return result;
    for (pugi::xml_node n = child(doc, "Relationships").first_child(); n; n = n.next_sibling())
        if (isElement(n, "Relationship") && attribute(n, "TargetMode") != QLatin1String("External"))
            result.push_back(
                {attribute(n, "Id"), attribute(n, "Type"), resolveTarget(part, attribute(n, "Target"))});
    return result;
}

// The relationship id attribute of a <sheet> element, whatever its namespace prefix.
QString relationshipIdOf(const pugi::xml_node& sheet) {
    for (pugi::xml_attribute a = sheet.first_attribute(); a; a = a.next_attribute()) {
        const QString name = QString::fromUtf8(a.name());
        if (name.endsWith(QLatin1String(":id")))
            return QString::fromUtf8(a.value());
    }
    return {};
}

class TOoxmlWorksheet final : public IWorksheet {
public:
    TOoxmlWorksheet(const QLocale& locale, const ITranslator& translator)
        : m_locale(locale), m_translator(translator),
          m_package(TZipPackage::DefaultInflateLimit, translator) {}

    bool open(const QString& fileName, const QString& sheetName, QString* error);
    bool openBytes(const QByteArray& bytes, const QString& fileName, const QString& sheetName,
                   QString* error);

    QString cellText(int row, int column) const override;
    bool isUncalculatedFormula(int row, int column) const override;
    bool unprotect(const QString& password, QString* error) override;
    bool mayWrite(int row, int column, QString* error) override;
    bool setCellText(int row, int column, const QString& text, QString* error) override;
    bool save(QString* error) override;

private:
    bool findSheet(const QString& sheetName, QString* error);
    bool readPart(const QString& part, pugi::xml_document* doc, QString* error) const;
    void readNumberFormats(const QString& stylesPart);
    QString numberText(const pugi::xml_node& cell, double number) const;
    pugi::xml_node findCell(int row, int column) const;
    pugi::xml_node rowNode(int row);
    pugi::xml_node cellNode(pugi::xml_node rowNode, int row, int column);
    void dropCalculationChain();
    void askForRecalculation();
    void dropCachedResults();
    void indexRows();
    QString damaged(const QString& what) const;

    QLocale m_locale;
    const ITranslator& m_translator;
    TZipPackage m_package;
    QString m_workbookPart;
    QString m_sheetPart;
    // Every worksheet of the book, this one included.
    QStringList m_worksheetParts;
    pugi::xml_document m_sheet;
    pugi::xml_node m_sheetData;
    std::map<int, pugi::xml_node> m_rows;
    TSheetFormulas m_formulas{m_rows, m_translator};
    std::vector<QString> m_sharedStrings;
    // Per cell style: what its number format makes of a number.
    std::vector<TDateKind> m_styleDates;
    bool m_date1904 = false;
    bool m_changed = false;
    bool m_cellsWritten = false;
    bool m_formulaRemoved = false;
};

bool TOoxmlWorksheet::open(const QString& fileName, const QString& sheetName, QString* error) {
    return m_package.open(fileName, error) && findSheet(sheetName, error);
}

bool TOoxmlWorksheet::openBytes(const QByteArray& bytes, const QString& fileName, const QString& sheetName,
                                QString* error) {
    return m_package.openBytes(bytes, fileName, error) && findSheet(sheetName, error);
}

bool TOoxmlWorksheet::readPart(const QString& part, pugi::xml_document* doc, QString* error) const {
    QByteArray bytes;
    if (!m_package.readEntry(part, &bytes, error))
        return false;
    if (parseXml(bytes, doc))
        return true;
    if (error)
        *error = damaged(part);
    return false;
}

QString TOoxmlWorksheet::damaged(const QString& what) const {
    return m_translator.Translate(QStringLiteral("The workbook %1 is damaged: %2."))
        .arg(m_package.fileName(), what);
}

bool TOoxmlWorksheet::findSheet(const QString& sheetName, QString* error) {
    const QString fileName = m_package.fileName();
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    m_workbookPart = QStringLiteral("xl/workbook.xml");
    for (const TRelationship& r : readRelationships(m_package, QString()))
        if (r.type.endsWith(QLatin1String("/officeDocument")))
            m_workbookPart = r.target;
    pugi::xml_document workbook;
    if (!readPart(m_workbookPart, &workbook, error))
        return false;
    const pugi::xml_node workbookRoot = child(workbook, "workbook");
    const QString date1904 = attribute(child(workbookRoot, "workbookPr"), "date1904");
    m_date1904 = date1904 == QLatin1String("1") || date1904 == QLatin1String("true");
    QString relationshipId;
    bool found = false;
    for (pugi::xml_node s = child(child(workbookRoot, "sheets"), "sheet"); s; s = s.next_sibling()) {
        if (isElement(s, "sheet") && attribute(s, "name").compare(sheetName, Qt::CaseInsensitive) == 0) {
            relationshipId = relationshipIdOf(s);
            found = true;
            break;
        }
    }
    if (!found)
        return fail(m_translator.Translate(QStringLiteral("The workbook %1 has no worksheet \"%2\"."))
                        .arg(fileName, sheetName));

    const std::vector<TRelationship> relationships = readRelationships(m_package, m_workbookPart);
    for (const TRelationship& r : relationships) {
        if (r.type.endsWith(QLatin1String("/worksheet")))
            m_worksheetParts.append(r.target);
        if (r.id == relationshipId) {
            if (!r.type.endsWith(QLatin1String("/worksheet")))
                return fail(
                    m_translator.Translate(QStringLiteral("\"%1\" in the workbook %2 is not a worksheet."))
                        .arg(sheetName, fileName));
            m_sheetPart = r.target;
        }
        if (r.type.endsWith(QLatin1String("/sharedStrings"))) {
            pugi::xml_document strings;
            if (!readPart(r.target, &strings, error))
                return false;
            for (pugi::xml_node si = child(strings, "sst").first_child(); si; si = si.next_sibling())
                if (isElement(si, "si"))
                    m_sharedStrings.push_back(stringItemText(si));
        }
        if (r.type.endsWith(QLatin1String("/styles")))
            readNumberFormats(r.target);
    }
    if (m_sheetPart.isEmpty())
        return fail(damaged(sheetName));
    if (!readPart(m_sheetPart, &m_sheet, error))
        return false;
    m_sheetData = child(child(m_sheet, "worksheet"), "sheetData");
    if (!m_sheetData)
        return fail(damaged(m_sheetPart));
    indexRows();
    return true;
}

// Only which cell styles show dates or times matters here; an unreadable style part leaves every
// number a number.
void TOoxmlWorksheet::readNumberFormats(const QString& stylesPart) {
    pugi::xml_document styles;
    if (!readPart(stylesPart, &styles, nullptr))
        return;
    const pugi::xml_node root = child(styles, "styleSheet");
    std::map<int, QString> codes;
    for (pugi::xml_node n = child(root, "numFmts").first_child(); n; n = n.next_sibling())
        if (isElement(n, "numFmt"))
            codes[attribute(n, "numFmtId").toInt()] = attribute(n, "formatCode");
    for (pugi::xml_node xf = child(root, "cellXfs").first_child(); xf; xf = xf.next_sibling()) {
        if (!isElement(xf, "xf"))
            continue;
        const int id = attribute(xf, "numFmtId").toInt();
        const auto code = codes.find(id);
        m_styleDates.push_back(DateKindOfNumberFormat(id, code == codes.end() ? QString() : code->second));
    }
}

// Rows may leave their index implicit (one after the previous); inserting rows would shift such
// rows, so every row gets its index written out (only saved when a cell is set).
void TOoxmlWorksheet::indexRows() {
    int previous = 0;
    for (pugi::xml_node r = m_sheetData.first_child(); r; r = r.next_sibling()) {
        if (!isElement(r, "row"))
            continue;
        bool ok = false;
        int index = attribute(r, "r").toInt(&ok);
        if (!ok || index <= previous || index > MaxSheetRow) {
            if (r.attribute("r"))
                continue; // out of order or out of range: unreadable, left alone
            index = previous + 1;
            r.append_attribute("r").set_value(index);
        }
        m_rows[index] = r;
        previous = index;
    }
}

pugi::xml_node TOoxmlWorksheet::findCell(int row, int column) const {
    const auto it = m_rows.find(row);
    if (it == m_rows.end())
        return {};
    pugi::xml_node found;
    forEachCell(it->second, [&](int col, const pugi::xml_node& c) {
        if (col == column)
            found = c;
        return col < column;
    });
    return found;
}

QString TOoxmlWorksheet::cellText(int row, int column) const {
    if (row < 1 || row > MaxSheetRow || column < 1 || column > MaxSheetColumn)
        return {};
    const pugi::xml_node c = findCell(row, column);
    if (!c)
        return {};
    const QString type = attribute(c, "t");
    if (type == QLatin1String("inlineStr"))
        return stringItemText(child(c, "is"));
    const QString value = QString::fromUtf8(child(c, "v").text().get());
    if (type == QLatin1String("s")) {
        bool ok = false;
        const qsizetype index = value.trimmed().toLongLong(&ok);
        if (!ok || index < 0 || size_t(index) >= m_sharedStrings.size())
            return {};
        return m_sharedStrings[size_t(index)];
    }
    if (type == QLatin1String("b"))
        return value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == QLatin1String("str") || type == QLatin1String("d"))
        return decodeEscapes(value);
    if (type == QLatin1String("e"))
        return {};
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    return ok ? numberText(c, number) : QString();
}

bool TOoxmlWorksheet::isUncalculatedFormula(int row, int column) const {
    if (row < 1 || row > MaxSheetRow || column < 1 || column > MaxSheetColumn)
        return false;
    const pugi::xml_node c = findCell(row, column);
    if (!c || !child(c, "f"))
        return false;
    const QString type = attribute(c, "t");
    if (type == QLatin1String("inlineStr"))
        return false;
    const pugi::xml_node value = child(c, "v");
    if (!value)
        return true;
    // An empty text is a result ("" from an IF); an empty number, boolean or index is none.
    return QString::fromUtf8(value.text().get()).trimmed().isEmpty() && type != QLatin1String("str");
}

// A number as its cell shows it: a date or time in the locale's short form when the cell's style
// says so, the number otherwise.
QString TOoxmlWorksheet::numberText(const pugi::xml_node& cell, double number) const {
    bool ok = false;
    const int style = attribute(cell, "s").toInt(&ok);
    const std::size_t index = ok && style >= 0 ? std::size_t(style) : 0;
    const TDateKind kind = index < m_styleDates.size() ? m_styleDates[index] : TDateKind::None;
    if (kind != TDateKind::None)
        if (const auto when = SerialDateTime(number, m_date1904))
            return DateTimeCellText(*when, kind, m_locale);
    return FormatCellNumber(number, m_locale);
}

bool TOoxmlWorksheet::unprotect(const QString& password, QString* error) {
    const pugi::xml_node protection = child(child(m_sheet, "worksheet"), "sheetProtection");
    if (!protection)
        return true;
    TSheetProtection check{attribute(protection, "password"), attribute(protection, "algorithmName"),
                           attribute(protection, "hashValue"), attribute(protection, "saltValue"),
                           attribute(protection, "spinCount")};
    if (!SheetPasswordMatches(check, password, error, m_translator))
        return false;
    protection.parent().remove_child(protection);
    m_changed = true;
    return true;
}

pugi::xml_node TOoxmlWorksheet::rowNode(int row) {
    const auto it = m_rows.lower_bound(row);
    if (it != m_rows.end() && it->first == row)
        return it->second;
    const std::string name = siblingName(m_sheetData, "row");
    pugi::xml_node created = it == m_rows.end() ? m_sheetData.append_child(name.c_str())
                                                : m_sheetData.insert_child_before(name.c_str(), it->second);
    created.append_attribute("r").set_value(row);
    m_rows[row] = created;
    return created;
}

pugi::xml_node TOoxmlWorksheet::cellNode(pugi::xml_node rowNode, int row, int column) {
    // Cells may leave their reference implicit; write them out before inserting among them.
    int previous = 0;
    for (pugi::xml_node c = rowNode.first_child(); c; c = c.next_sibling()) {
        if (!isElement(c, "c"))
            continue;
        int r = 0;
        int col = previous + 1;
        if (!c.attribute("r"))
            c.append_attribute("r").set_value(CellReference(row, col).toUtf8().constData());
        else if (!ParseCellReference(attribute(c, "r"), &r, &col))
            continue;
        previous = col;
    }
    const std::string name = siblingName(rowNode, "c");
    for (pugi::xml_node c = rowNode.first_child(); c; c = c.next_sibling()) {
        int r = 0;
        int col = 0;
        if (!isElement(c, "c") || !ParseCellReference(attribute(c, "r"), &r, &col))
            continue;
        if (col == column)
            return c;
        if (col > column) {
            pugi::xml_node created = rowNode.insert_child_before(name.c_str(), c);
            created.append_attribute("r").set_value(CellReference(row, column).toUtf8().constData());
            return created;
        }
    }
    // After the last cell, but before any extension list a writer may have put in the row.
    pugi::xml_node created = rowNode.append_child(name.c_str());
    created.append_attribute("r").set_value(CellReference(row, column).toUtf8().constData());
    return created;
}

bool TOoxmlWorksheet::mayWrite(int row, int column, QString* error) {
    return m_formulas.mayOverwrite(row, column, error);
}

bool TOoxmlWorksheet::setCellText(int row, int column, const QString& text, QString* error) {
    if (row < 1 || row > MaxSheetRow || column < 1 || column > MaxSheetColumn) {
        if (error)
            *error =
                m_translator
                    .Translate(QStringLiteral("The cell in row %1, column %2 lies outside the worksheet."))
                    .arg(row)
                    .arg(column);
        return false;
    }
    if (!m_formulas.mayOverwrite(row, column, error))
        return false;
    pugi::xml_node c = cellNode(rowNode(row), row, column);
    m_formulas.releaseSharedMaster(c, row, column);
    while (pugi::xml_node n = c.first_child()) {
        if (isElement(n, "f"))
            m_formulaRemoved = true;
        c.remove_child(n);
    }
    // The value type and the metadata references belong to the old value; the style stays.
    c.remove_attribute("t");
    c.remove_attribute("vm");
    c.remove_attribute("cm");
    // As the spreadsheet program stores what the user types: a plain decimal number is a number,
    // so that formulas can calculate with it.
    static const QRegularExpression plainNumber(QStringLiteral("^ *(-?[0-9]{1,15}(\\.[0-9]{1,15})?) *$"));
    const QRegularExpressionMatch number = plainNumber.match(text);
    if (number.hasMatch()) {
        c.append_child(siblingName(c, "v").c_str()).text().set(number.captured(1).toUtf8().constData());
    } else if (!text.isEmpty()) {
        c.append_attribute("t").set_value("inlineStr");
        pugi::xml_node t =
            c.append_child(siblingName(c, "is").c_str()).append_child(siblingName(c, "t").c_str());
        if (text.front().isSpace() || text.back().isSpace())
            t.append_attribute("xml:space").set_value("preserve");
        t.text().set(encodeEscapes(text).toUtf8().constData());
    }
    m_changed = true;
    m_cellsWritten = true;
    return true;
}

// Formulas elsewhere (on this sheet or others) hold results of the old values; the spreadsheet
// program recalculates them all on opening when the workbook asks for it.
void TOoxmlWorksheet::askForRecalculation() {
    pugi::xml_document workbook;
    if (!readPart(m_workbookPart, &workbook, nullptr))
        return;
    pugi::xml_node root = child(workbook, "workbook");
    pugi::xml_node calc = child(root, "calcPr");
    if (!calc) {
        // Its place in the schema: after the sheets and the parts that follow them.
        pugi::xml_node after;
        for (const char* name : {"sheets", "functionGroups", "externalReferences", "definedNames"})
            if (const pugi::xml_node n = child(root, name))
                after = n;
        const std::string name = siblingName(root, "calcPr");
        calc = after ? root.insert_child_after(name.c_str(), after) : root.append_child(name.c_str());
    }
    if (attribute(calc, "fullCalcOnLoad") == QLatin1String("1"))
        return;
    if (!calc.attribute("fullCalcOnLoad"))
        calc.append_attribute("fullCalcOnLoad");
    calc.attribute("fullCalcOnLoad").set_value("1");
    m_package.setEntry(m_workbookPart, serializeXml(workbook, m_package.entry(m_workbookPart)));
}

// The calculation chain lists formula cells; one that lists a cell no longer holding a formula
// makes the spreadsheet program repair the file. Without the chain it simply rebuilds it.
void TOoxmlWorksheet::dropCalculationChain() {
    const QString relsPath = relsPathFor(m_workbookPart);
    pugi::xml_document rels;
    if (!parseXml(m_package.entry(relsPath), &rels))
        return;
    QString chainPart;
    pugi::xml_node root = child(rels, "Relationships");
    for (pugi::xml_node n = root.first_child(); n; n = n.next_sibling()) {
        if (isElement(n, "Relationship") && attribute(n, "Type").endsWith(QLatin1String("/calcChain"))) {
            chainPart = resolveTarget(m_workbookPart, attribute(n, "Target"));
            root.remove_child(n);
            break;
        }
    }
    if (chainPart.isEmpty())
        return;
    m_package.setEntry(relsPath, serializeXml(rels, m_package.entry(relsPath)));
    m_package.removeEntry(chainPart);

    const QString typesPath = QStringLiteral("[Content_Types].xml");
    pugi::xml_document types;
    if (!parseXml(m_package.entry(typesPath), &types))
        return;
    pugi::xml_node typesRoot = child(types, "Types");
    for (pugi::xml_node n = typesRoot.first_child(); n; n = n.next_sibling()) {
        if (isElement(n, "Override") && attribute(n, "PartName") == QLatin1Char('/') + chainPart) {
            typesRoot.remove_child(n);
            m_package.setEntry(typesPath, serializeXml(types, m_package.entry(typesPath)));
            break;
        }
    }
}

// Formulas anywhere in the book may depend on the written cells. A spreadsheet program that does not
// recalculate on opening (LibreOffice by default ignores fullCalcOnLoad) shows a cached result as it
// stands; one that is missing it has to calculate.
void TOoxmlWorksheet::dropCachedResults() {
    DropCachedFormulaResults(m_sheetData);
    for (const QString& part : m_worksheetParts) {
        if (part == m_sheetPart)
            continue;
        pugi::xml_document other;
        // A part that cannot be read is left as it is: the program opening the book judges it.
        if (!parseXml(m_package.entry(part), &other))
            continue;
        if (DropCachedFormulaResults(child(child(other, "worksheet"), "sheetData")))
            m_package.setEntry(part, serializeXml(other, m_package.entry(part)));
    }
}

bool TOoxmlWorksheet::save(QString* error) {
    if (!m_changed)
        return true;
    if (m_cellsWritten)
        dropCachedResults();
    m_package.setEntry(m_sheetPart, serializeXml(m_sheet, m_package.entry(m_sheetPart)));
    if (m_formulaRemoved)
        dropCalculationChain();
    if (m_cellsWritten)
        askForRecalculation();
    if (!m_package.save(error))
        return false;
    m_changed = false;
    m_cellsWritten = false;
    m_formulaRemoved = false;
    return true;
}

} // namespace

QString FormatCellNumber(double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return {};
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    // Fifteen significant digits, as the spreadsheet program shows a cell's value.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    if (rounded == 0)
        return QStringLiteral("0");
    const int exponent = int(std::floor(std::log10(std::fabs(rounded))));
    if (exponent >= -5 && exponent < 15)
        return l.toString(rounded, 'f', QLocale::FloatingPointShortest);
    return l.toString(rounded, 'E', QLocale::FloatingPointShortest);
}

std::unique_ptr<IWorksheet> OpenOoxmlWorksheetFromBytes(const QByteArray& bytes, const QString& fileName,
                                                        const QString& sheetName, const QLocale& locale,
                                                        QString* error, const ITranslator& translator) {
    auto sheet = std::make_unique<TOoxmlWorksheet>(locale, translator);
    if (!sheet->openBytes(bytes, fileName, sheetName, error))
        return nullptr;
    return sheet;
}

std::unique_ptr<IWorksheet> OpenOoxmlWorksheet(const QString& fileName, const QString& sheetName,
                                               const QLocale& locale, QString* error,
                                               const ITranslator& translator) {
    auto sheet = std::make_unique<TOoxmlWorksheet>(locale, translator);
    if (!sheet->open(fileName, sheetName, error))
        return nullptr;
    return sheet;
}
