// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintQString.h"
#include "model/Translator.h"
#include "printing/RecordsReport.h"
#include "printing/ReportText.h"
#include "model/RecordModel.h"
#include "records/TextTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QString Separator(90, u'-');
constexpr int HeaderBlockLines = 9;

TZaznam recordHeader() {
    TZaznam h;
    h.Description = QStringLiteral("Riser 1");
    h.Valve_Manufacturer = QStringLiteral("Acme");
    h.Valve_Type = QStringLiteral("STV 20");
    h.Presetting = QStringLiteral("2.50");
    return h;
}

// The records table as the window builds it: captions, then `samples` rows, or one empty row.
TTextTable table(int samples) {
    TTextTable t(4, 1 + std::max(samples, 1));
    t.setCell(0, 0, QStringLiteral("Date"));
    t.setCell(1, 0, QStringLiteral("Time"));
    t.setCell(2, 0, QStringLiteral("Pressure [Pa]"));
    t.setCell(3, 0, QStringLiteral("Flow [l/h]"));
    for (int k = 1; k <= samples; ++k) {
        t.setCell(0, k, QStringLiteral("01.02.2024"));
        t.setCell(1, k, QStringLiteral("10:00:01"));
        t.setCell(2, k, QString::number(k));
        t.setCell(3, k, QString::number(k * 10));
    }
    return t;
}

QString sampleLine(int k) {
    return QStringLiteral("        01.02.2024          10:00:01") + QString::number(k).rightJustified(18) +
           QString::number(k * 10).rightJustified(18);
}

QStringList headerBlock(int page) {
    return {QStringLiteral("Records                                                                 Page %1")
                .arg(page)
                .leftJustified(90),
            Separator,
            QStringLiteral("Description          : Riser 1           "),
            QStringLiteral("Valve                : Acme              "),
            QStringLiteral("Type                 : STV 20            "),
            QStringLiteral("Presetting           : 2.50              "),
            Separator,
            QStringLiteral("              Date              Time     Pressure [Pa]        Flow [l/h]"),
            Separator};
}

TEST(RecordsReport, NoSampleGivesTheHeaderBlockOnly) {
    const TIdentityTranslator english;
    int calls = 0;
    const QStringList lines =
        BuildRecordsReport(recordHeader(), table(0), 0, english, [&calls](int) { ++calls; });
    EXPECT_EQ(lines, QStringList{QStringLiteral(" ")} + headerBlock(1));
    EXPECT_EQ(calls, 0);
}

struct TPagingCase {
    int rows;
    int pages;
    std::vector<int> pagesDone;
};

void PrintTo(const TPagingCase& c, std::ostream* os) {
    *os << c.rows << " rows";
}

class RecordsReportPaging : public ::testing::TestWithParam<TPagingCase> {};

TEST_P(RecordsReportPaging, BreaksBeforeEveryMultipleOf61) {
    const TIdentityTranslator english;
    const int rows = GetParam().rows;
    std::vector<int> done;
    const QStringList lines = BuildRecordsReport(recordHeader(), table(rows), rows, english,
                                                 [&done](int page) { done.push_back(page); });
    EXPECT_EQ(done, GetParam().pagesDone);

    // Rebuild what the pages must hold: page 1 rows 1-60, each further page the next 61 rows.
    QStringList expected = QStringList{QStringLiteral(" ")} + headerBlock(1);
    int page = 1;
    for (int k = 1; k <= rows; ++k) {
        if (k % 61 == 0)
            expected << QStringLiteral("\f") << headerBlock(++page);
        expected << sampleLine(k);
    }
    ASSERT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "line " << i;
    EXPECT_EQ(lines.count(QStringLiteral("\f")) + 1, GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(Rows, RecordsReportPaging,
                         ::testing::Values(TPagingCase{60, 1, {}}, TPagingCase{61, 2, {1}},
                                           TPagingCase{121, 2, {1}}, TPagingCase{122, 3, {1, 2}}),
                         [](const ::testing::TestParamInfo<TPagingCase>& info) {
                             return "Rows" + std::to_string(info.param.rows);
                         });

TEST(RecordsReport, SixtyOneRowsPutRow61AloneUnderPage2) {
    const TIdentityTranslator english;
    const QStringList lines = BuildRecordsReport(recordHeader(), table(61), 61, english);
    // A blank line, the header block and 60 rows; the break; the header block and row 61.
    ASSERT_EQ(lines.size(), 1 + HeaderBlockLines + 60 + 1 + HeaderBlockLines + 1);
    EXPECT_TRUE(IsPageBreakLine(lines[70]));
    EXPECT_TRUE(lines[71].contains(QStringLiteral("Page 2")));
    EXPECT_EQ(lines.last(), sampleLine(61));
}

TEST(RecordsReport, RowsBeyondTheTableAreNotPrinted) {
    const TIdentityTranslator english;
    const QStringList lines = BuildRecordsReport(recordHeader(), table(3), 500, english);
    EXPECT_EQ(lines.size(), 1 + HeaderBlockLines + 3);
    EXPECT_EQ(lines.last(), sampleLine(3));
    EXPECT_EQ(BuildRecordsReport(recordHeader(), table(3), -4, english).size(), 1 + HeaderBlockLines);
}

} // namespace
