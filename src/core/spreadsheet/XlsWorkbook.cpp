// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/XlsWorkbook.h"

#include "spreadsheet/CellDates.h"
#include "spreadsheet/WorkbookFile.h"
#include "spreadsheet/XlsCellDump.h"

namespace {

// The helper's exit status when the workbook has no worksheet of that name.
constexpr int NoSuchSheet = 3;

class TXlsWorksheet final : public IWorksheet {
public:
    TXlsWorksheet(TXlsCells cells, const QLocale& locale, const ITranslator& translator)
        : m_cells(std::move(cells)), m_locale(locale), m_translator(translator) {
        // Cell texts are read back as numbers: no thousands separators in them.
        m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
    }

    QString cellText(int row, int column) const override {
        const auto it = m_cells.find({row, column});
        if (it == m_cells.end())
            return {};
        const TXlsCell& cell = it->second;
        bool ok = false;
        switch (cell.Type) {
        case TXlsCellType::Integer: {
            const qlonglong value = cell.Text.toLongLong(&ok);
            return ok ? m_locale.toString(value) : QString();
        }
        case TXlsCellType::Double: {
            const double value = cell.Text.toDouble(&ok);
            return ok ? m_locale.toString(value, 'f', QLocale::FloatingPointShortest) : QString();
        }
        case TXlsCellType::Text:
            return cell.Text;
        case TXlsCellType::Date:
            return dateTimeText(QDateTime(QDate::fromString(cell.Text, Qt::ISODate), QTime(0, 0)),
                                TDateKind::Date);
        case TXlsCellType::DateTime:
            return dateTimeText(QDateTime::fromString(cell.Text, QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                TDateKind::DateTime);
        case TXlsCellType::Time:
            return dateTimeText(QDateTime(QDate(1899, 12, 30), QTime::fromString(cell.Text, Qt::ISODate)),
                                TDateKind::Time);
        }
        return {};
    }

    // Nothing of a legacy workbook can be written: refused before anything is tried.
    bool mayWrite(int, int, QString* error) override {
        if (error)
            *error = XlsReadOnlyMessage(m_translator);
        return false;
    }

    // The helper does not tell whether the sheet is protected; every write is refused anyway.
    bool unprotect(const QString&, QString*) override { return true; }

    bool setCellText(int, int, const QString&, QString* error) override {
        if (error)
            *error = XlsReadOnlyMessage(m_translator);
        return false;
    }

    bool save(QString* error) override {
        if (error)
            *error = XlsReadOnlyMessage(m_translator);
        return false;
    }

private:
    // The same text as the same cell gives from an .xlsx; what the library gave when it is no
    // date after all.
    QString dateTimeText(const QDateTime& value, TDateKind kind) const {
        const bool valid = kind == TDateKind::Time ? value.time().isValid() : value.isValid();
        return valid ? DateTimeCellText(value, kind, m_locale) : QString();
    }

    TXlsCells m_cells;
    QLocale m_locale;
    const ITranslator& m_translator;
};

} // namespace

QString XlsReadOnlyMessage(const ITranslator& translator) {
    return translator.Translate(
        QStringLiteral("This workbook is in the old Excel format (.xls) and cannot be "
                       "written. Save it as an Excel workbook (.xlsx) and export again."));
}

std::unique_ptr<IWorksheet> OpenXlsWorksheetFromBytes(const QByteArray& bytes, const QString& fileName,
                                                      const QString& sheetName, const QLocale& locale,
                                                      QString* error, const TXlsReader& reader,
                                                      const ITranslator& translator) {
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return nullptr;
    };
    const THelperRun run =
        RunHelper(reader.Program, reader.Arguments + QStringList{sheetName}, bytes, reader.Limits);
    if (!run.Started)
        return fail(translator
                        .Translate(QStringLiteral("The workbook %1 cannot be read: %2, which reads .xls "
                                                  "workbooks, cannot be started."))
                        .arg(fileName, reader.Program));
    if (run.Finished && run.ExitCode == NoSuchSheet)
        return fail(translator.Translate(QStringLiteral("The workbook %1 has no worksheet \"%2\"."))
                        .arg(fileName, sheetName));
    TXlsCells cells;
    if (!run.Finished || run.ExitCode != 0 || !ParseXlsCellDump(run.Output, &cells, nullptr))
        return fail(translator.Translate(QStringLiteral("The workbook %1 cannot be read.")).arg(fileName));
    return std::make_unique<TXlsWorksheet>(std::move(cells), locale, translator);
}

std::unique_ptr<IWorksheet> OpenXlsWorksheet(const QString& fileName, const QString& sheetName,
                                             const QLocale& locale, QString* error,
                                             const ITranslator& translator) {
    QByteArray bytes;
    if (!ReadWorkbookFile(fileName, &bytes, error, translator))
        return nullptr;
    return OpenXlsWorksheetFromBytes(bytes, fileName, sheetName, locale, error, {}, translator);
}
