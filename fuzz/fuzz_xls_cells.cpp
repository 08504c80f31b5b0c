// SPDX-License-Identifier: GPL-3.0-or-later
// The legacy-workbook helper's cell dump, both ways: any input that parses is written again cell by
// cell and parses to the same cells; and cells made from the input (any text, any place on the
// sheet) are written and read back unchanged.
#include "FuzzInput.h"

#include "spreadsheet/XlsCellDump.h"

namespace {

constexpr TXlsCellType Types[] = {TXlsCellType::Integer, TXlsCellType::Double,   TXlsCellType::Text,
                                  TXlsCellType::Date,    TXlsCellType::DateTime, TXlsCellType::Time};

QByteArray dumpOf(const TXlsCells& cells) {
    QByteArray dump = XlsDumpHeader();
    for (const auto& [at, cell] : cells)
        dump += XlsDumpCellLine(at.first, at.second, cell.Type, cell.Text.toUtf8());
    return dump + XlsDumpEnd();
}

bool same(const TXlsCells& a, const TXlsCells& b) {
    if (a.size() != b.size())
        return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
        if (i->first != j->first || i->second.Type != j->second.Type || i->second.Text != j->second.Text)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);

    TXlsCells parsed;
    QString error;
    if (ParseXlsCellDump(bytes, &parsed, &error)) {
        FUZZ_CHECK(parsed.size() <= std::size_t(MaxXlsCells));
        TXlsCells again;
        FUZZ_CHECK(ParseXlsCellDump(dumpOf(parsed), &again, &error));
        FUZZ_CHECK(same(parsed, again));
    } else {
        FUZZ_CHECK(!error.isEmpty());
    }

    // Cells from the input: per cell a row (2 bytes), a column, a type, a length and that many bytes of text.
    TXlsCells made;
    qsizetype at = 0;
    while (at + 5 <= bytes.size()) {
        const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
        const int row = 1 + (byte(0) << 8 | byte(1));
        const int column = 1 + byte(2);
        const TXlsCellType type = Types[byte(3) % 6];
        const qsizetype length = std::min<qsizetype>(byte(4), bytes.size() - at - 5);
        made[{row, column}] = TXlsCell{type, QString::fromUtf8(bytes.mid(at + 5, length))};
        at += 5 + length;
    }
    TXlsCells read;
    FUZZ_CHECK(ParseXlsCellDump(dumpOf(made), &read, &error));
    FUZZ_CHECK(same(made, read));
    return 0;
}
