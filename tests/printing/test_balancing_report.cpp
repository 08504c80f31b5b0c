// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/BalancingReport.h"

#include "model/Translator.h"
#include "model/Units.h"
#include "printing/ReportText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// n branches: every third not measured, every fifth 20 % above its requested flow.
struct Fixture {
    explicit Fixture(int n) {
        summary.TolerancePercent = 10.0;
        for (int i = 0; i < n; ++i) {
            TBalancingRow row;
            row.Branch = i;
            row.Name = QStringLiteral("Branch %1").arg(i + 1);
            row.RequestFlow = 100.0;
            row.InitialFlow = -9999999.0;
            row.InitialPresetting = -1000.0;
            row.FinalPresetting = 2.5;
            if (i % 3 == 2) {
                row.FinalFlow = -9999999.0;
                ++summary.NotMeasured;
            } else {
                row.FinalFlow = i % 5 == 4 ? 120.0 : 100.0;
                row.Balance.Deviation = (row.FinalFlow - 100.0);
                row.Balance.State = i % 5 == 4 ? TBalanceState::Outside : TBalanceState::Within;
                ++(i % 5 == 4 ? summary.Outside : summary.Within);
            }
            rows.push_back(row);
        }
        units.FlowUnit = 5;
        units.Locale = QLocale::c();
    }
    QStringList build() const {
        return BuildBalancingReport({QStringLiteral("Riser A"), QStringLiteral("1.3.2024 09:05"), summary, rows},
                                    units, translator);
    }

    TBalancingSummary summary;
    std::vector<TBalancingRow> rows;
    TUnits units;
    TIdentityTranslator translator;
};

int pageBreaks(const QStringList& lines) {
    return static_cast<int>(std::count_if(lines.cbegin(), lines.cend(), IsPageBreakLine));
}

} // namespace

TEST(BalancingReport, HeaderCountsAndOneLinePerBranch) {
    const Fixture f(5);
    const QStringList lines = f.build();
    const QString text = lines.join(u'\n');
    EXPECT_EQ(lines.first(), QStringLiteral("Balancing report"));
    EXPECT_TRUE(text.contains(QStringLiteral("Project              : Riser A           Page 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Tolerance            : \u00B110 %")));
    EXPECT_TRUE(text.contains(QStringLiteral("Outside tolerance    : 1 ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Not measured         : 1 ")));
    EXPECT_TRUE(text.contains(QStringLiteral("[l/h]")));
    EXPECT_EQ(lines.last(), QStringLiteral("   5 Branch 5                   100.0           120.0             2.50      +20.0 No"));
    EXPECT_EQ(pageBreaks(lines), 0);
}

TEST(BalancingReport, SixtyBranchesToAPageWithinItsLines) {
    for (const auto& [branches, breaks] : {std::pair{0, 0}, {60, 0}, {61, 1}, {120, 1}, {121, 2}}) {
        SCOPED_TRACE(branches);
        const QStringList lines = Fixture(branches).build();
        EXPECT_EQ(pageBreaks(lines), breaks);
        // Every page fits the 75 lines a printed page holds.
        int onPage = 0;
        for (const QString& line : lines) {
            onPage = IsPageBreakLine(line) ? 0 : onPage + 1;
            EXPECT_LE(onPage, 75);
        }
    }
}
