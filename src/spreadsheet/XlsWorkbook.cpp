#include "spreadsheet/XlsWorkbook.h"

#include <QFile>

#include <freexl.h>

#include <limits>

namespace {

class TXlsWorksheet final : public IWorksheet {
public:
    TXlsWorksheet(const void* handle, unsigned rows, unsigned short columns, const QLocale& locale)
        : m_handle(handle), m_rows(rows), m_columns(columns), m_locale(locale) {
        // Cell texts are read back as numbers: no thousands separators in them.
        m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
    }
    ~TXlsWorksheet() override { freexl_close(m_handle); }
    TXlsWorksheet(const TXlsWorksheet&) = delete;
    TXlsWorksheet& operator=(const TXlsWorksheet&) = delete;

    QString cellText(int row, int column) const override {
        if (row < 1 || column < 1 || static_cast<unsigned>(row) > m_rows || column > m_columns)
            return {};
        FreeXL_CellValue value{};
        if (freexl_get_cell_value(m_handle, static_cast<unsigned>(row - 1),
                                  static_cast<unsigned short>(column - 1), &value) != FREEXL_OK)
            return {};
        switch (value.type) {
        case FREEXL_CELL_INT:
            return m_locale.toString(value.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return m_locale.toString(value.value.double_value, 'f', QLocale::FloatingPointShortest);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
        default:
            return {};
        }
    }

    // The library cannot tell whether the sheet is protected; every write is refused anyway.
    bool unprotect(const QString&, QString*) override { return true; }

    bool setCellText(int, int, const QString&, QString* error) override {
        if (error)
            *error = XlsReadOnlyMessage();
        return false;
    }

    bool save(QString* error) override {
        if (error)
            *error = XlsReadOnlyMessage();
        return false;
    }

private:
    const void* m_handle;
    unsigned m_rows;
    unsigned short m_columns;
    QLocale m_locale;
};

} // namespace

QString XlsReadOnlyMessage() {
    return QStringLiteral("This workbook is in the old Excel format (.xls) and cannot be written. Save it as "
                          "an Excel workbook (.xlsx) and export again.");
}

std::unique_ptr<IWorksheet> OpenXlsWorksheet(const QString& fileName, const QString& sheetName,
                                             const QLocale& locale, QString* error) {
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return nullptr;
    };
    const void* handle = nullptr;
    if (freexl_open(QFile::encodeName(fileName).constData(), &handle) != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        return fail(QStringLiteral("The workbook %1 cannot be read.").arg(fileName));
    }
    unsigned sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        sheets = 0;
    const unsigned maxIndex = std::numeric_limits<unsigned short>::max();
    for (unsigned i = 0; i < sheets && i <= maxIndex; ++i) {
        const char* name = nullptr;
        const auto index = static_cast<unsigned short>(i);
        if (freexl_get_worksheet_name(handle, index, &name) != FREEXL_OK || !name ||
            QString::fromUtf8(name) != sheetName)
            continue;
        unsigned rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, index) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            freexl_close(handle);
            return fail(QStringLiteral("The workbook %1 cannot be read.").arg(fileName));
        }
        return std::make_unique<TXlsWorksheet>(handle, rows, columns, locale);
    }
    freexl_close(handle);
    return fail(QStringLiteral("The workbook %1 has no worksheet \"%2\".").arg(fileName, sheetName));
}
