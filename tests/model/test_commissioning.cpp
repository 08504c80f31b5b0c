// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectCheck.h"
#include "model/Balancing.h"
#include "model/BranchList.h"
#include "model/CommissioningFigures.h"
#include "model/Markers.h"
#include "model/ProjectRecords.h"
#include "model/Translator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

TBranch measured(double requested, double final, double finalPressure = NoValue) {
    TBranch b{};
    InitBranchRecord(b);
    b.Request_Flow = requested;
    b.Final_Flow = final;
    b.Final_Pressure = finalPressure;
    return b;
}

const TTolerance minus5plus10{5.0, 10.0};

} // namespace

TEST(CommissioningFigures, PercentOfDesignAndStatusAtTheToleranceEnds) {
    struct Case {
        double Requested;
        double Final;
        std::optional<double> Percent;
        TCommissioningStatus Status;
    } cases[] = {
        {100.0, 100.0, 100.0, TCommissioningStatus::Within},
        {100.0, 95.0, 95.0, TCommissioningStatus::Within},   // exactly -L
        {100.0, 94.9, 94.9, TCommissioningStatus::Below},    // just beyond
        {100.0, 110.0, 110.0, TCommissioningStatus::Within}, // exactly +H
        {100.0, 110.1, 110.1, TCommissioningStatus::Above},
        {1000.0, 949.0, 94.9, TCommissioningStatus::Below},
        {1450.0, 0.0, 0.0, TCommissioningStatus::Below},
        {NoValue, 100.0, std::nullopt, TCommissioningStatus::NotMeasured},
        {100.0, NoValue, std::nullopt, TCommissioningStatus::NotMeasured},
        {0.0, 100.0, std::nullopt, TCommissioningStatus::NotMeasured},
        {std::numeric_limits<double>::quiet_NaN(), 100.0, std::nullopt, TCommissioningStatus::NotMeasured},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Requested << " -> " << c.Final);
        const TBranchFigures f = BranchFigures(measured(c.Requested, c.Final), minus5plus10, 3000.0);
        ASSERT_EQ(f.PercentOfDesign.has_value(), c.Percent.has_value());
        if (c.Percent)
            EXPECT_NEAR(*f.PercentOfDesign, *c.Percent, 1e-9);
        EXPECT_EQ(f.Status, c.Status);
    }
    // The same branch the other way round: the band is not symmetric.
    EXPECT_EQ(BranchFigures(measured(100.0, 108.0), {10.0, 5.0}, 0).Status, TCommissioningStatus::Above);
    EXPECT_EQ(BranchFigures(measured(100.0, 92.0), {10.0, 5.0}, 0).Status, TCommissioningStatus::Within);
}

TEST(CommissioningFigures, AgreesWithTheBalancingSummaryOnASymmetricTolerance) {
    for (const double final : {89.9, 90.0, 97.5, 110.0, 110.04, 110.06, 125.0}) {
        const TBranch b = measured(100.0, final);
        const TBranchFigures f = BranchFigures(b, TTolerance::symmetric(10.0), 0);
        const TBranchBalance balance = BranchBalance(b, 10.0);
        EXPECT_EQ(f.Status == TCommissioningStatus::Within, balance.State == TBalanceState::Within) << final;
    }
}

TEST(CommissioningFigures, KvAndTheUncertainMark) {
    struct Case {
        double Flow;
        double Pressure;
        std::optional<double> Kv;
        bool Uncertain;
    } cases[] = {
        {1450.0, 12000.0, 4.19, false},
        {1080.0, 40000.0, 1.71, false},
        {1450.0, 0.0, std::nullopt, true},
        {1450.0, -500.0, std::nullopt, true},
        {1450.0, NoValue, std::nullopt, false},
        {NoValue, 12000.0, std::nullopt, false},
        {1450.0, std::numeric_limits<double>::infinity(), std::nullopt, false},
        {200.0, 2999.0, 1.15, true},
        {200.0, 3000.0, 1.15, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Flow << " l/h at " << c.Pressure << " Pa");
        const TStateFigures s = StateFigures(c.Flow, c.Pressure, 3000.0);
        ASSERT_EQ(s.Kv.has_value(), c.Kv.has_value());
        if (c.Kv)
            EXPECT_DOUBLE_EQ(*s.Kv, *c.Kv);
        EXPECT_EQ(s.Uncertain, c.Uncertain);
    }
    // The initial state from the initial fields, the final from the final ones.
    TBranch b = measured(1500.0, 1450.0, 12000.0);
    b.Initial_Flow = 1080.0;
    b.Initial_Pressure = 40000.0;
    const TBranchFigures f = BranchFigures(b, minus5plus10, 20000.0);
    EXPECT_EQ(f.Initial.Kv, 1.71);
    EXPECT_FALSE(f.Initial.Uncertain);
    EXPECT_EQ(f.Final.Kv, 4.19);
    EXPECT_EQ(f.Final.Pressure, 12000.0);
    EXPECT_TRUE(f.Final.Uncertain);
}

TEST(CommissioningFigures, SummaryResult) {
    const auto project = std::make_unique<TProject>();
    auto run = [&](std::initializer_list<TBranch> branches) {
        project->Header.Branch_Count = static_cast<std::int16_t>(branches.size());
        int i = 0;
        for (const TBranch& b : branches)
            project->Branches[i++] = b;
        return CommissioningSummary(*project, minus5plus10);
    };
    TCommissioningSummary s = run({measured(100, 100), measured(100, 110)});
    EXPECT_TRUE(s.complete());
    EXPECT_EQ(s.result(), TCommissioningResult::Pass);

    s = run({measured(100, 100), measured(100, NoValue)});
    EXPECT_EQ(s.NotMeasured, 1);
    EXPECT_FALSE(s.complete());
    EXPECT_EQ(s.result(), TCommissioningResult::Incomplete);

    s = run({measured(100, 80), measured(100, 120), measured(100, NoValue), measured(100, 100)});
    EXPECT_EQ(s.Below, 1);
    EXPECT_EQ(s.Above, 1);
    EXPECT_EQ(s.Within, 1);
    EXPECT_EQ(s.NotMeasured, 1);
    EXPECT_EQ(s.result(), TCommissioningResult::Fail);

    // Nothing measured is nothing certified.
    s = run({});
    EXPECT_EQ(s.result(), TCommissioningResult::Incomplete);

    const TIdentityTranslator english;
    EXPECT_EQ(CommissioningStatusText(TCommissioningStatus::NotMeasured, english), QStringLiteral("not measured"));
    EXPECT_EQ(CommissioningStatusText(TCommissioningStatus::Below, english), QStringLiteral("below"));
    EXPECT_EQ(CommissioningResultText(TCommissioningResult::Incomplete, english), QStringLiteral("INCOMPLETE"));
}

TEST(CommissioningFigures, ToleranceOption) {
    struct Case {
        const char* Text;
        std::optional<TTolerance> Tolerance;
    } cases[] = {
        {"10", TTolerance{10, 10}},
        {"2,5", TTolerance{2.5, 2.5}},
        {"-5,+10", TTolerance{5, 10}},
        {"5,+10", TTolerance{5, 10}},
        {"-2.5,+0", TTolerance{2.5, 0}},
        {"-5,10", TTolerance{5, 10}},
        {"+10,-5", std::nullopt},
        {"-5,+10,+3", std::nullopt},
        {"-5", std::nullopt},
        {"-5,", std::nullopt},
        {"--5,+10", std::nullopt},
        {"-5,+1001", std::nullopt},
        {"-nan,+5", std::nullopt},
        {"ten", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const std::optional<TTolerance> t = ParseToleranceOption(QString::fromLatin1(c.Text));
        ASSERT_EQ(t.has_value(), c.Tolerance.has_value());
        if (t) {
            EXPECT_EQ(t->Lower, c.Tolerance->Lower);
            EXPECT_EQ(t->Upper, c.Tolerance->Upper);
        }
    }
}
