// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/BalancingSummaryFile.h"
#include "files/IniFile.h"
#include "files/ProjectCheck.h"
#include "files/ProjectFile.h"
#include "files/Settings.h"
#include "model/Translator.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/InstrumentText.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

TBranch branch(double requested, double final) {
    TBranch b{};
    b.Request_Flow = requested;
    b.Final_Flow = final;
    b.Initial_Flow = NoValue;
    b.Initial_Presetting = PresettingEmpty;
    b.Final_Presetting = PresettingEmpty;
    return b;
}

struct BalanceCase {
    double Requested;
    double Final;
    TBalanceState State;
    std::optional<double> Deviation;
};

} // namespace

TEST(Balancing, DeviationAndStateOfOneBranch) {
    const BalanceCase cases[] = {
        {100.0, 100.0, TBalanceState::Within, 0.0},
        {100.0, 110.0, TBalanceState::Within, 10.0}, // exactly on the tolerance counts as within
        {100.0, 90.0, TBalanceState::Within, -10.0},
        {100.0, 110.5, TBalanceState::Outside, 10.5},
        {200.0, 150.0, TBalanceState::Outside, -25.0},
        {250.0, 0.0, TBalanceState::Outside, -100.0},     // measured no flow at all
        {NoValue, 100.0, TBalanceState::NotMeasured, {}}, // markers
        {100.0, NoValue, TBalanceState::NotMeasured, {}},
        {0.0, 100.0, TBalanceState::NotMeasured, {}},     // nothing to divide by
        {100.0, 2e7, TBalanceState::NotMeasured, {}},     // outside the valid range, shown as "-----"
        {-5.0, 100.0, TBalanceState::NotMeasured, {}},
        // A requested flow too small to show, or no number, is no requirement: no deviation of
        // 7e53 % "outside", and none that prints as inf.
        {1e-45, 100.0, TBalanceState::NotMeasured, {}},
        {4.9e-324, 1e7, TBalanceState::NotMeasured, {}},
        {0.0009, 0.001, TBalanceState::NotMeasured, {}},
        {std::nan(""), 100.0, TBalanceState::NotMeasured, {}},
        {std::numeric_limits<double>::infinity(), 100.0, TBalanceState::NotMeasured, {}},
        {100.0, std::nan(""), TBalanceState::NotMeasured, {}},
        {0.001, 0.00105, TBalanceState::Within, 5.0},
        // Rated as shown, to one decimal: "+10.0" is within 10 %, "+10.1" is not.
        {100.0, 110.04, TBalanceState::Within, 10.04},
        {100.0, 110.06, TBalanceState::Outside, 10.06},
    };
    for (const BalanceCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Requested << " -> " << c.Final);
        const TBranchBalance b = BranchBalance(branch(c.Requested, c.Final), 10.0);
        EXPECT_EQ(b.State, c.State);
        ASSERT_EQ(b.Deviation.has_value(), c.Deviation.has_value());
        if (c.Deviation)
            EXPECT_NEAR(*b.Deviation, *c.Deviation, 1e-9);
    }
}

TEST(Balancing, SummaryCountsOnlyTheProjectsBranches) {
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = 4;
    project->Branches[0] = branch(100.0, 105.0);
    project->Branches[1] = branch(100.0, 130.0);
    project->Branches[2] = branch(NoValue, NoValue);
    project->Branches[3] = branch(100.0, 95.0);
    project->Branches[4] = branch(100.0, 500.0); // beyond Branch_Count: never looked at
    TBalancingSummary s = BalanceProject(*project, 10.0);
    EXPECT_EQ(s.Branches.size(), 4u);
    EXPECT_EQ(s.Within, 2);
    EXPECT_EQ(s.Outside, 1);
    EXPECT_EQ(s.NotMeasured, 1);
    EXPECT_FALSE(s.allWithin());
    EXPECT_TRUE(BalanceProject(*project, 30.0).allWithin());

    // A count a file got wrong is clamped.
    project->Header.Branch_Count = 30000;
    EXPECT_EQ(BalanceProject(*project, 10.0).Branches.size(), static_cast<std::size_t>(MaxBranches));
}

TEST(Balancing, DeviationTexts) {
    const QLocale c(QLocale::C);
    const QLocale german(QLocale::German);
    EXPECT_EQ(FormatDeviation(std::nullopt, c), QString());
    EXPECT_EQ(FormatDeviation(12.345, c), QStringLiteral("+12.3"));
    EXPECT_EQ(FormatDeviation(-7.25, german), QStringLiteral("-7,3"));
    EXPECT_EQ(FormatDeviation(-0.01, c), QStringLiteral("0.0"));
    EXPECT_EQ(FormatDeviation(1234.5, german), QStringLiteral("+1234,5")); // no thousands separator
}

TEST(Balancing, SummaryForOtherPrograms) {
    auto project = std::make_unique<TProject>();
    project->Header.Branch_Count = 2;
    project->Branches[0] = branch(123.456789, 130.0);
    EncodeInstrumentText(QStringLiteral("Riser, \"A\""), project->Branches[0].Name, NameFieldSize, 0);
    project->Branches[1] = branch(NoValue, NoValue);
    project->Branches[1].Final_Presetting = 2.5;
    auto catalogue = std::make_unique<TValveCatalogue>();
    const TBalancingSummary summary = BalanceProject(*project, 5.0);
    const std::vector<TBalancingRow> rows = BuildBalancingRows({*project, *catalogue, 0}, summary);
    const TBalancingReportInput input{QStringLiteral("Demo"), summary, rows};

    const QString csv = QString::fromUtf8(BalancingSummaryCsv(input));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4); // header, two branches, the empty rest after the last CR LF
    EXPECT_EQ(lines[0], QStringLiteral("branch,name,valve,requested_flow_l_h,initial_flow_l_h,final_flow_l_h,"
                                       "initial_presetting,final_presetting,deviation_percent,state"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1,\"Riser, \"\"A\"\"\",,123.456789,,130,,,")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",outside")));
    EXPECT_EQ(lines[2], QStringLiteral("2,,,,,,,2.5,,not measured"));

    const QJsonObject json = QJsonDocument::fromJson(BalancingSummaryJson(input)).object();
    EXPECT_EQ(json.value(QStringLiteral("project")).toString(), QStringLiteral("Demo"));
    EXPECT_EQ(json.value(QStringLiteral("outside")).toInt(), 1);
    EXPECT_EQ(json.value(QStringLiteral("not_measured")).toInt(), 1);
    const QJsonArray branches = json.value(QStringLiteral("branches")).toArray();
    ASSERT_EQ(branches.size(), 2);
    const QJsonObject first = branches[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("requested_flow_l_h")).toDouble(), 123.456789);
    EXPECT_DOUBLE_EQ(first.value(QStringLiteral("deviation_percent")).toDouble(),
                     (130.0 - 123.456789) * 100.0 / 123.456789);
    EXPECT_TRUE(branches[1].toObject().value(QStringLiteral("deviation_percent")).isNull());

    TUnits units;
    units.FlowUnit = 5;
    units.Locale = QLocale::c();
    const QString text = BalancingSummaryText(input, units, TIdentityTranslator());
    EXPECT_TRUE(text.contains(QStringLiteral("Outside tolerance: 1\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Requested flow [l/h]")));
    EXPECT_TRUE(text.contains(QStringLiteral("+5.3")));
}

TEST(Balancing, ToleranceSetting) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zrv10.ini"));
    EXPECT_EQ(LoadSettings(path).BalancingTolerance, DefaultBalancingTolerance);

    // The default is not written: the file keeps exactly its usual keys.
    TSettings settings;
    ASSERT_TRUE(SaveSettings(path, settings, nullptr));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("Balancing"));
    file.close();

    settings.BalancingTolerance = 5;
    ASSERT_TRUE(SaveSettings(path, settings, nullptr));
    EXPECT_EQ(LoadSettings(path).BalancingTolerance, 5);
    // Back to the default once named: written again, not left at 5.
    settings.BalancingTolerance = DefaultBalancingTolerance;
    ASSERT_TRUE(SaveSettings(path, settings, nullptr));
    EXPECT_EQ(LoadSettings(path).BalancingTolerance, DefaultBalancingTolerance);

    // Decimals are kept, written with a point, and read with a point or a comma.
    settings.BalancingTolerance = 2.5;
    ASSERT_TRUE(SaveSettings(path, settings, nullptr));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Tolerance=2.5"));
    file.close();
    EXPECT_EQ(LoadSettings(path).BalancingTolerance, 2.5);

    const struct {
        const char* text;
        double tolerance;
    } edits[] = {{"-4", 0.0}, {"0,5", 0.5}, {"7.25", 7.25}, {"5000", 1000.0}, {"nan", 10.0}, {"inf", 10.0},
                 {"ten", 10.0}};
    for (const auto& e : edits) {
        SCOPED_TRACE(e.text);
        IniFile ini;
        ini.setValue(QStringLiteral("Balancing"), QStringLiteral("Tolerance"), QString::fromLatin1(e.text));
        QFile edited(path);
        ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
        edited.write(ini.bytes());
        edited.close();
        EXPECT_EQ(LoadSettings(path).BalancingTolerance, e.tolerance);
    }
}

TEST(Balancing, ProjectCheckOfAHandEditedFileNeverPrintsAnEndlessDeviation) {
    // The first branch asks for 1e-45 l/h, shown as 0.0: not measured, in every format.
    auto project = std::make_unique<TProject>();
    QString error;
    ASSERT_TRUE(LoadProjectFile(QStringLiteral(ZRV_FIXTURES "/files/tiny-request.proj"), *project, 0,
                                QLocale::c(), &error))
        << qPrintable(error);
    const double request = project->Branches[0].Request_Flow; // a copy: the branch is packed
    ASSERT_GT(request, 0.0);
    ASSERT_LT(request, 1e-40);
    auto catalogue = std::make_unique<TValveCatalogue>();
    TUnits units;
    units.Locale = QLocale::c();
    const TProjectCheckInput input{*project, *catalogue, 0, 10.0};
    const TIdentityTranslator english;
    for (const TProjectCheckFormat format : {TProjectCheckFormat::Text, TProjectCheckFormat::Csv, TProjectCheckFormat::Json}) {
        const TProjectCheckResult result = CheckProject(input, format, units, english);
        EXPECT_EQ(result.ExitStatus, 0);
        EXPECT_FALSE(result.Output.contains(QStringLiteral("e+"))) << qPrintable(result.Output);
        EXPECT_FALSE(result.Output.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
    }
    const QJsonObject json =
        QJsonDocument::fromJson(CheckProject(input, TProjectCheckFormat::Json, units, english).Output.toUtf8()).object();
    EXPECT_EQ(json.value(QStringLiteral("outside")).toInt(), 0);
    const QJsonArray branches = json.value(QStringLiteral("branches")).toArray();
    ASSERT_FALSE(branches.isEmpty());
    EXPECT_EQ(branches[0].toObject().value(QStringLiteral("state")).toString(), QStringLiteral("not measured"));
    // Every measured branch has its deviation as a number.
    for (const QJsonValue& b : branches) {
        const QJsonObject o = b.toObject();
        if (o.value(QStringLiteral("state")).toString() != QLatin1String("not measured"))
            EXPECT_TRUE(o.value(QStringLiteral("deviation_percent")).isDouble());
    }
}
