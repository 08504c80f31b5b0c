// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintQString.h"
#include "files/Settings.h"
#include "printing/PrintGeometry.h"
#include "printing/ReportText.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

struct TLineCase {
    const char* name;
    std::function<void(TReportText&)> build;
    QStringList expected;
};

const QString text25 = QStringLiteral("abcdefghijklmnopqrstuvwxy");
const QString text30 = QStringLiteral("abcdefghijklmnopqrstuvwxyz1234");

void PrintTo(const TLineCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportLine : public ::testing::TestWithParam<TLineCase> {};

TEST_P(ReportLine, BuildsTheLines) {
    TReportText r;
    GetParam().build(r);
    EXPECT_EQ(r.lines(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ReportLine,
    ::testing::Values(
        TLineCase{"CellPadsShortTextTo18",
                  [](TReportText& r) {
                      r.ReportCell(QStringLiteral("abcde"));
                      r.ReportNewLine();
                  },
                  {QStringLiteral("abcde             ")}},
        TLineCase{"CellKeepsLongTextWhole",
                  [](TReportText& r) {
                      r.ReportCell(text25);
                      r.ReportCell(QStringLiteral("x"));
                      r.ReportNewLine();
                  },
                  {text25 + QStringLiteral("x                 ")}},
        TLineCase{"RightCellPrecedesWithBlanks",
                  [](TReportText& r) {
                      r.ReportRightCell(QStringLiteral("abcde"));
                      r.ReportNewLine();
                  },
                  {QStringLiteral("             abcde")}},
        TLineCase{"RightCellKeepsLongTextWhole",
                  [](TReportText& r) {
                      r.ReportRightCell(text25);
                      r.ReportNewLine();
                  },
                  {text25}},
        TLineCase{"LabelPadsTo20ThenColon",
                  [](TReportText& r) {
                      r.ReportLabel(QStringLiteral("Valve"));
                      r.ReportCell(QStringLiteral("v"));
                      r.ReportNewLine();
                  },
                  {QStringLiteral("Valve                : v                 ")}},
        TLineCase{"LongLabelKeepsTextAndColon",
                  [](TReportText& r) {
                      r.ReportLabel(text30);
                      r.ReportNewLine();
                  },
                  {text30 + QStringLiteral(" : ")}},
        TLineCase{"EmptyBufferGivesEmptyLine", [](TReportText& r) { r.ReportNewLine(); }, {QString()}},
        TLineCase{"AddLineDropsTheBuffer",
                  [](TReportText& r) {
                      r.ReportCell(QStringLiteral("lost"));
                      r.ReportAddLine(QStringLiteral("kept"));
                      r.ReportNewLine();
                  },
                  {QStringLiteral("kept"), QString()}},
        TLineCase{"PageBreakIsALoneFormFeed",
                  [](TReportText& r) {
                      r.ReportCell(QStringLiteral("lost"));
                      r.ReportPageBreak();
                      r.ReportNewLine();
                  },
                  {QStringLiteral("\f"), QString()}},
        // A name holding a line break or form feed must neither split the line nor break the page.
        TLineCase{"ControlCharactersPrintAsBlanks",
                  [](TReportText& r) {
                      r.ReportCell(QStringLiteral("a\nb\fc"));
                      r.ReportNewLine();
                      r.ReportAddLine(QStringLiteral("\f"));
                      r.ReportRightCell(QString(QChar::ParagraphSeparator));
                      r.ReportNewLine();
                  },
                  {QStringLiteral("a b c             "), QStringLiteral(" "), QString(18, u' ')}}),
    [](const ::testing::TestParamInfo<TLineCase>& info) { return std::string(info.param.name); });

TEST(ReportText, TextJoinsLinesAndClearEmptiesEverything) {
    TReportText r;
    r.ReportAddLine(QStringLiteral(" "));
    r.ReportPageBreak();
    r.ReportAddLine(QStringLiteral("end"));
    EXPECT_EQ(r.text(), QStringLiteral(" \n\f\nend"));
    r.ReportCell(QStringLiteral("pending"));
    r.clear();
    r.ReportNewLine();
    EXPECT_EQ(r.lines(), QStringList{QString()});
}

TEST(ReportText, OnlyALoneFormFeedIsAPageBreak) {
    EXPECT_TRUE(IsPageBreakLine(QStringLiteral("\f")));
    for (const QString& line :
         {QString(), QStringLiteral("\f\f"), QStringLiteral(" \f"), QStringLiteral("f")})
        EXPECT_FALSE(IsPageBreakLine(line)) << line.toStdString();
}

struct TGeometryCase {
    const char* name;
    double dpiX;
    double dpiY;
    int pageHeight;
    TPrintMargins margins;
    TPrintGeometry expected;
};

void PrintTo(const TGeometryCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintGeometry : public ::testing::TestWithParam<TGeometryCase> {};

TEST_P(PrintGeometry, TruncatesEachStep) {
    const TGeometryCase& c = GetParam();
    const TPrintGeometry g = ComputePrintGeometry(c.dpiX, c.dpiY, c.pageHeight, c.margins);
    EXPECT_EQ(g.LineStep, c.expected.LineStep);
    EXPECT_EQ(g.FontPoints, c.expected.FontPoints);
    EXPECT_EQ(g.Top, c.expected.Top);
    EXPECT_EQ(g.Left, c.expected.Left);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PrintGeometry,
    ::testing::Values(
        // (7014 - 472.4) / 75 = 87.2; 87 * 27.8 / 236.2 = 10.2; 10 * 23.62; 20 * 236.2 * 0.05.
        TGeometryCase{"WorkedExample600Dpi", 600, 600, 7014, {10, 10, 20, 99}, {87, 10, 236, 236}},
        // The top follows the horizontal resolution, the font and the left edge the vertical one.
        TGeometryCase{"UnequalResolutions", 600, 300, 7014, {10, 10, 20, 0}, {87, 20, 236, 118}},
        TGeometryCase{"DefaultMargins1200Dpi", 1200, 1200, 14031, {25, 25, 25, 25}, {155, 9, 1181, 590}},
        // Margins taller than the page: a negative step, for the printing to refuse.
        TGeometryCase{"MarginsTallerThanThePage", 600, 600, 7014, {200, 200, 0, 0}, {-32, -3, 4724, 0}},
        // No resolution gives no margin and a font size that cannot be used, never undefined values.
        TGeometryCase{
            "NoResolution", 0, 0, 7014, {10, 10, 20, 0}, {93, std::numeric_limits<int>::max(), 0, 0}}),
    [](const ::testing::TestParamInfo<TGeometryCase>& info) { return std::string(info.param.name); });

} // namespace
