// SPDX-License-Identifier: GPL-3.0-or-later
// Reads one worksheet of a legacy .xls workbook from standard input and writes its cells to
// standard output (see XlsCellDump.h). The library that parses the format is not safe with
// damaged files, so it runs here, in a process of its own under the caller's limits, and never
// in the program itself.
//
// Usage: zrv10-xls-cells SHEET < book.xls
// Exit status: 0 the cells follow, 3 no worksheet of that name (case ignored), 1 the workbook
// cannot be read, 2 wrong usage.

#include "Platform.h"
#include "spreadsheet/XlsCellDump.h"

#include <QByteArray>
#include <QString>

#include <freexl.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr qint64 MaxInput = qint64(256) << 20;

// Leaves without tearing down: the library may have left its state damaged or leaking.
[[noreturn]] void finish(int status) {
    std::fflush(stdout);
    std::_Exit(status);
}

void put(const QByteArray& bytes) {
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
        finish(1);
}

bool cellLine(const void* handle, unsigned row, unsigned short column, QByteArray* line) {
    FreeXL_CellValue value{};
    if (freexl_get_cell_value(handle, row, column, &value) != FREEXL_OK)
        return false;
    TXlsCellType type;
    QByteArray text;
    switch (value.type) {
    case FREEXL_CELL_INT:
        type = TXlsCellType::Integer;
        text = QByteArray::number(value.value.int_value);
        break;
    case FREEXL_CELL_DOUBLE:
        type = TXlsCellType::Double;
        text = QByteArray::number(value.value.double_value, 'g', 17);
        break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        type = TXlsCellType::Text;
        break;
    case FREEXL_CELL_DATE:
        type = TXlsCellType::Date;
        break;
    case FREEXL_CELL_DATETIME:
        type = TXlsCellType::DateTime;
        break;
    case FREEXL_CELL_TIME:
        type = TXlsCellType::Time;
        break;
    default:
        return false;
    }
    if (type != TXlsCellType::Integer && type != TXlsCellType::Double) {
        if (!value.value.text_value)
            return false;
        text = QByteArray(value.value.text_value);
    }
    *line = XlsDumpCellLine(int(row) + 1, int(column) + 1, type, text);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        finish(2);
    const QString wanted = QString::fromUtf8(argv[1]);
    // The library opens the workbook by path: standard input as an anonymous in-memory file.
    const QByteArray path = StandardInputAsFile(MaxInput);
    if (path.isEmpty())
        finish(1);
    const void* handle = nullptr;
    if (freexl_open(path.constData(), &handle) != FREEXL_OK)
        finish(1);
    unsigned sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        finish(1);
    for (unsigned i = 0; i < sheets && i <= 0xFFFF; ++i) {
        const char* name = nullptr;
        const auto index = static_cast<unsigned short>(i);
        if (freexl_get_worksheet_name(handle, index, &name) != FREEXL_OK || !name ||
            QString::fromUtf8(name).compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        unsigned rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, index) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
            finish(1);
        put(XlsDumpHeader());
        QByteArray line;
        int cells = 0;
        for (unsigned r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < columns; ++c)
                if (cellLine(handle, r, c, &line)) {
                    // More than the program takes: no need to go on.
                    if (++cells > MaxXlsCells)
                        finish(1);
                    put(line);
                }
        put(XlsDumpEnd());
        finish(0);
    }
    finish(3);
}
