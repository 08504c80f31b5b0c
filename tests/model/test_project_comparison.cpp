// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ProjectComparisonFile.h"
#include "model/ComparisonTable.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/ProjectComparison.h"
#include "model/ProjectRecords.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "printing/PrintQString.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

// A project of the named branches in order; each branch's final flow is its position times 100.
std::unique_ptr<TProject> projectOf(std::initializer_list<const char*> names, int codePage = 0) {
    auto project = std::make_unique<TProject>();
    project->NamesCodePage = codePage;
    int i = 0;
    for (const char* name : names) {
        TBranch& b = project->Branches[static_cast<std::size_t>(i)];
        EncodeInstrumentText(QString::fromUtf8(name), b.Name, NameFieldSize, codePage);
        b.Request_Flow = 100.0;
        b.Final_Flow = 100.0 * (i + 1);
        b.Final_Presetting = PresettingEmpty;
        b.Final_Pressure = NoValue;
        ++i;
    }
    project->Header.Branch_Count = static_cast<std::int16_t>(i);
    return project;
}

// A comparison as "old>new" for each pair, "old>" and ">new" for the branches of one project only
// (positions from 1), in the comparison's order.
std::string pairing(const TProjectComparison& comparison) {
    std::string text;
    for (const TComparedBranch& b : comparison.Branches) {
        if (!text.empty())
            text += ' ';
        if (b.Old.present())
            text += std::to_string(b.Old.Branch + 1);
        text += '>';
        if (b.New.present())
            text += std::to_string(b.New.Branch + 1);
    }
    return text;
}

struct MatchingCase {
    const char* What;
    std::initializer_list<const char*> Old;
    std::initializer_list<const char*> New;
    const char* Pairing;
    int Matched, OnlyOld, OnlyNew;
};

int runCli(const QStringList& args, QString* out, QString* err) {
    QProcess cli;
    cli.start(QStringLiteral(ZRV_CLI), args);
    cli.waitForFinished(60000);
    *out = QString::fromUtf8(cli.readAllStandardOutput());
    *err = QString::fromUtf8(cli.readAllStandardError());
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

QString fixture(const char* name) {
    return QStringLiteral(ZRV_FIXTURES "/files/") + QLatin1String(name);
}

} // namespace

TEST(ProjectComparison, BranchesArePairedByNameInOrder) {
    const MatchingCase cases[] = {
        {"same projects", {"A", "B", "C"}, {"A", "B", "C"}, "1>1 2>2 3>3", 3, 0, 0},
        {"moved", {"A", "B", "C"}, {"C", "A", "B"}, "3>1 1>2 2>3", 3, 0, 0},
        {"renamed: old name gone, new name new", {"A", "B"}, {"A", "B2"}, "1>1 2> >2", 1, 1, 1},
        {"duplicates pair first with first", {"X", "Y", "X"}, {"X", "X", "Y"}, "1>1 3>2 2>3", 3, 0, 0},
        {"a duplicate more in the new", {"X"}, {"X", "X"}, "1>1 >2", 1, 0, 1},
        {"a duplicate more in the old", {"X", "X", "X"}, {"X"}, "1>1 2> 3>", 1, 2, 0},
        {"names differ in case or blanks",
         {"Flat 1", "flat 2"},
         {"flat 1", "flat 2 "},
         "1> 2> >1 >2",
         0,
         2,
         2},
        {"only in the old", {"A", "B"}, {}, "1> 2>", 0, 2, 0},
        {"only in the new", {}, {"A", "B"}, ">1 >2", 0, 0, 2},
        {"both empty", {}, {}, "", 0, 0, 0},
        {"empty names pair too", {"", "A"}, {"A", ""}, "2>1 1>2", 2, 0, 0},
        // 16 characters are stored; what follows is not the name.
        {"long names as stored", {"Riser 12 floor 3 east"}, {"Riser 12 floor 3 west"}, "1>1", 1, 0, 0},
    };
    for (const MatchingCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TProjectComparison result = CompareProjects(*projectOf(c.Old), *projectOf(c.New), 10.0);
        EXPECT_EQ(pairing(result), c.Pairing);
        EXPECT_EQ(result.Matched, c.Matched);
        EXPECT_EQ(result.OnlyOld, c.OnlyOld);
        EXPECT_EQ(result.OnlyNew, c.OnlyNew);
        for (const TComparedBranch& b : result.Branches) {
            const TComparedKind kind = b.Old.present() && b.New.present() ? TComparedKind::Matched
                                       : b.Old.present()                  ? TComparedKind::OnlyOld
                                                                          : TComparedKind::OnlyNew;
            EXPECT_EQ(b.Kind, kind);
        }
    }
}

// The same bytes are other letters in another table: each project's names read in its own.
TEST(ProjectComparison, NamesAreReadInEachProjectsOwnTable) {
    const auto czech = projectOf({"Č 1", "Flat"}, 0);
    auto cyrillic = projectOf({"Flat"}, 11);
    // Byte 200 is Č in the Czech table and И in the Cyrillic one.
    cyrillic->Header.Branch_Count = 2;
    std::memcpy(cyrillic->Branches[1].Name, czech->Branches[0].Name, NameFieldSize);
    const TProjectComparison result = CompareProjects(*czech, *cyrillic, 10.0);
    EXPECT_EQ(pairing(result), "2>1 1> >2");
    EXPECT_EQ(result.Branches[1].Name, QStringLiteral("Č 1"));
    EXPECT_EQ(result.Branches[2].Name, QStringLiteral("И 1"));
    // "Flat" reads the same in both tables and is paired.
}

TEST(ProjectComparison, ChangeOfTheFinalFlowAndWhetherItMoved) {
    const struct {
        double Old, New;
        std::optional<double> Change;
        bool Moved; // at 10 %
    } cases[] = {
        {100.0, 110.0, 10.0, false}, // on the tolerance is within it, as in the balancing summary
        {100.0, 90.0, -10.0, false},
        {100.0, 110.04, 10.04, false}, // shown as +10.0
        {100.0, 110.06, 10.06, true},  // shown as +10.1
        {200.0, 150.0, -25.0, true},
        {250.0, 0.0, -100.0, true},      // a branch shut since: the largest drift there is
        {0.0, 50.0, std::nullopt, true}, // flowing since: no per cent, but a drift
        {0.0, 0.0, std::nullopt, false},
        {NoValue, 100.0, std::nullopt, false}, // not measured then
        {100.0, NoValue, std::nullopt, false}, // not measured now
        {100.0, 2e7, std::nullopt, false},     // outside the valid range, shown as "-----"
        {std::numeric_limits<double>::quiet_NaN(), 100.0, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Old << " -> " << c.New);
        const std::optional<double> change = FinalFlowChange(c.Old, c.New);
        ASSERT_EQ(change.has_value(), c.Change.has_value());
        if (change)
            EXPECT_NEAR(*change, *c.Change, 1e-9);
        EXPECT_EQ(FinalFlowMoved(c.Old, c.New, 10.0), c.Moved);
    }
    // The tolerance given is the one rated against, the same either way.
    EXPECT_FALSE(FinalFlowMoved(100.0, 124.0, 25.0));
    EXPECT_FALSE(FinalFlowMoved(100.0, 76.0, 25.0));
    EXPECT_TRUE(FinalFlowMoved(100.0, 74.0, 25.0));
    EXPECT_TRUE(FinalFlowMoved(100.0, 100.1, 0.0));
}

TEST(ProjectComparison, FiguresOfAPairAndTheCounts) {
    auto older = projectOf({"A", "B", "C", "D"});
    auto newer = projectOf({"A", "B", "C", "E"});
    // A: valve index changed; B: only the catalogue checksum; C: the same valve, moved by +50 %.
    newer->Branches[0].Valve_Index = 3;
    newer->Branches[1].Valve_Chksm = 0x1234;
    older->Branches[2].Final_Flow = 200.0;
    newer->Branches[2].Final_Flow = 300.0;
    older->Branches[2].Final_Presetting = 2.5;
    newer->Branches[2].Final_Presetting = PresettingNone;
    older->Branches[2].Final_Pressure = 12000.0;
    newer->Branches[2].Final_Pressure = 9000.0;
    const TProjectComparison result = CompareProjects(*older, *newer, 10.0);
    ASSERT_EQ(result.Branches.size(), 5u);
    EXPECT_EQ(result.Matched, 3);
    EXPECT_EQ(result.OnlyOld, 1);
    EXPECT_EQ(result.OnlyNew, 1);
    EXPECT_EQ(result.Moved, 1);
    EXPECT_EQ(result.TolerancePercent, 10.0);
    EXPECT_TRUE(result.Branches[0].ValveChanged);
    EXPECT_TRUE(result.Branches[1].ValveChanged);
    EXPECT_FALSE(result.Branches[2].ValveChanged);
    EXPECT_TRUE(result.Branches[2].Moved);
    // Branches of one project are not rated.
    EXPECT_FALSE(result.Branches[3].ValveChanged);
    EXPECT_FALSE(result.Branches[3].FlowChange.has_value());

    // As the window and the text show them, in the user's units.
    TUnits units;
    units.FlowUnit = 2;     // m3/h
    units.PressureUnit = 2; // kPa
    units.Locale = QLocale::c();
    auto catalogue = std::make_unique<TValveCatalogue>();
    const TIdentityTranslator english;
    auto cell = [&](int row, int column) {
        return ComparisonCell(result.Branches[static_cast<std::size_t>(row)], column, units, english,
                              *catalogue, 0);
    };
    EXPECT_EQ(ComparisonCaptions(units, english).at(ComparisonColumnFinalOld),
              QStringLiteral("Final flow, old [m3/h]"));
    EXPECT_EQ(ComparisonCaptions(units, english).at(ComparisonColumnPressureNew),
              QStringLiteral("Final pressure, new [kPa]"));
    const QStringList row2 = {"3",     "3",    "C",    "both", "0.200", "0.300", "+50.0", "Yes", "0.100",
                              "0.100", "2.50", "None", "12.0", "9.00",  "No",    "",      ""};
    for (int column = 0; column < ComparisonColumnCount; ++column)
        EXPECT_EQ(cell(2, column), row2.at(column)) << column;
    EXPECT_EQ(cell(0, ComparisonColumnValveChanged), QStringLiteral("Yes"));
    // Only in the old: its side only, nothing rated.
    EXPECT_EQ(cell(3, ComparisonColumnOldNumber), QStringLiteral("4"));
    EXPECT_EQ(cell(3, ComparisonColumnNewNumber), QString());
    EXPECT_EQ(cell(3, ComparisonColumnFoundIn), QStringLiteral("old only"));
    EXPECT_EQ(cell(3, ComparisonColumnFinalNew), QString());
    EXPECT_EQ(cell(3, ComparisonColumnMoved), QString());
    EXPECT_EQ(cell(3, ComparisonColumnValveChanged), QString());
    EXPECT_EQ(cell(4, ComparisonColumnFoundIn), QStringLiteral("new only"));
    EXPECT_EQ(ComparisonCountsText(result, units, english),
              QStringLiteral("Matched: 3     Only in the old project: 1     Only in the new project: 1     "
                             "Moved beyond the tolerance (\u00B110 %): 1"));
}

// 1500 branches on either side, all under one name: paired first with first, without a scan of
// the whole old project for each new branch.
TEST(ProjectComparison, FullProjectsOfOneName) {
    auto older = std::make_unique<TProject>();
    older->Header.Branch_Count = MaxBranches;
    for (TBranch& b : older->Branches) {
        EncodeInstrumentText(QStringLiteral("Radiator"), b.Name, NameFieldSize, 0);
        b.Final_Flow = NoValue;
    }
    auto newer = std::make_unique<TProject>(*older);
    const TProjectComparison result = CompareProjects(*older, *newer, 10.0);
    ASSERT_EQ(result.Matched, MaxBranches);
    for (int i = 0; i < MaxBranches; ++i)
        ASSERT_EQ(result.Branches[static_cast<std::size_t>(i)].Old.Branch, i);
    // A Branch_Count a file or the instrument spoiled is no loop bound.
    older->Header.Branch_Count = -4;
    newer->Header.Branch_Count = 32000;
    const TProjectComparison spoiled = CompareProjects(*older, *newer, 10.0);
    EXPECT_EQ(spoiled.OnlyNew, MaxBranches);
    EXPECT_EQ(spoiled.OnlyOld, 0);
}

// The companion on two fixture projects: a hand-over and its re-check a year later.
TEST(ProjectComparisonCli, JsonCsvAndTextOfTwoProjectFiles) {
    const QStringList files = {fixture("handover.proj"), fixture("recheck.proj")};
    QString out, err;
    ASSERT_EQ(runCli(QStringList{QStringLiteral("project"), QStringLiteral("compare")} + files +
                         QStringList{QStringLiteral("--format"), QStringLiteral("json")},
                     &out, &err),
              0)
        << qPrintable(err);
    QJsonParseError parseError{};
    const QJsonObject root = QJsonDocument::fromJson(out.toUtf8(), &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << qPrintable(out);
    EXPECT_EQ(root.value(u"old_project").toString(), QStringLiteral("Riser A"));
    EXPECT_EQ(root.value(u"matched").toInt(), 5);
    EXPECT_EQ(root.value(u"old_only").toInt(), 1);
    EXPECT_EQ(root.value(u"new_only").toInt(), 1);
    // Flat 2 by +50 % and the second radiator shut; the rest did not move (whatever the settings'
    // tolerance up to 50 %).
    EXPECT_EQ(root.value(u"moved").toInt(), 2);
    const QJsonArray branches = root.value(u"branches").toArray();
    ASSERT_EQ(branches.size(), 7);
    const QJsonObject flat2 = branches.at(0).toObject();
    EXPECT_EQ(flat2.value(u"name").toString(), QStringLiteral("Flat 2"));
    EXPECT_EQ(flat2.value(u"found_in").toString(), QStringLiteral("matched"));
    EXPECT_EQ(flat2.value(u"old").toObject().value(u"branch").toInt(), 2);
    EXPECT_EQ(flat2.value(u"new").toObject().value(u"branch").toInt(), 1);
    EXPECT_EQ(flat2.value(u"old").toObject().value(u"final_flow_l_h").toDouble(), 250.0);
    EXPECT_EQ(flat2.value(u"new").toObject().value(u"final_flow_l_h").toDouble(), 375.0);
    EXPECT_EQ(flat2.value(u"new").toObject().value(u"final_pressure_pa").toDouble(), 9000.0);
    EXPECT_EQ(flat2.value(u"final_flow_change_percent").toDouble(), 50.0);
    EXPECT_TRUE(flat2.value(u"moved").toBool());
    EXPECT_FALSE(flat2.value(u"valve_changed").toBool());
    const QJsonObject radiator = branches.at(3).toObject();
    EXPECT_EQ(radiator.value(u"old").toObject().value(u"branch").toInt(), 4);
    EXPECT_TRUE(radiator.value(u"valve_changed").toBool()); // the catalogue's checksum changed
    EXPECT_EQ(radiator.value(u"final_flow_change_percent").toDouble(), -100.0);
    // Not measured at the re-check: no change, nothing rated.
    const QJsonObject flat3 = branches.at(4).toObject();
    EXPECT_TRUE(flat3.value(u"final_flow_change_percent").isNull());
    EXPECT_TRUE(flat3.value(u"moved").isNull());
    EXPECT_TRUE(flat3.value(u"new").toObject().value(u"final_flow_l_h").isNull());
    EXPECT_TRUE(flat3.value(u"new").toObject().value(u"final_presetting").isNull());
    const QJsonObject oldWing = branches.at(5).toObject();
    EXPECT_EQ(oldWing.value(u"found_in").toString(), QStringLiteral("old only"));
    EXPECT_TRUE(oldWing.value(u"new").isNull());
    EXPECT_TRUE(oldWing.value(u"moved").isNull());
    EXPECT_EQ(branches.at(6).toObject().value(u"found_in").toString(), QStringLiteral("new only"));

    ASSERT_EQ(runCli(QStringList{QStringLiteral("project"), QStringLiteral("compare")} + files +
                         QStringList{QStringLiteral("--format"), QStringLiteral("csv")},
                     &out, &err),
              0);
    const QStringList lines = out.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 9) << qPrintable(out); // a header, seven branches, the empty end
    EXPECT_TRUE(lines.at(0).startsWith(
        QStringLiteral("found_in,name,old_branch,new_branch,old_requested_flow_l_h,")));
    // The valves' names at the end depend on the catalogue beside the companion; the rest does not.
    const auto beforeNames = [&](int line) { return lines.at(line).section(u',', 0, 16); };
    EXPECT_EQ(beforeNames(1),
              QStringLiteral("matched,Flat 2,2,1,250,250,250,375,50,yes,3,3,5100,9000,no,0,0"));
    EXPECT_EQ(beforeNames(5), QStringLiteral("matched,Flat 3,5,5,250,250,240,,,,3.5,,5000,,no,0,0"));
    EXPECT_EQ(beforeNames(6), QStringLiteral("old only,Old wing,6,,100,,100,,,,1,,4000,,,2,"));
    EXPECT_EQ(lines.at(6).count(u','), 18);
    EXPECT_EQ(lines.at(8), QString());

    // Text in the units asked for.
    ASSERT_EQ(runCli(QStringList{QStringLiteral("project"), QStringLiteral("compare")} + files +
                         QStringList{QStringLiteral("--flow-unit"), QStringLiteral("m3/h")},
                     &out, &err),
              0);
    EXPECT_TRUE(
        out.contains(QStringLiteral("Matched: 5\nOnly in the old project: 1\nOnly in the new project: 1\n")))
        << qPrintable(out);
    EXPECT_TRUE(out.contains(QStringLiteral("Final flow, old [m3/h]")));
    EXPECT_TRUE(out.contains(
        QRegularExpression(QStringLiteral("\n +2 +1  Flat 2 +both +0\\.250 +0\\.375 +\\+50\\.0  Yes "))))
        << qPrintable(out);
}

TEST(ProjectComparisonCli, AFileThatCannotBeReadFailsAsTheOtherProjectCommands) {
    const QString missing = fixture("no_such.proj");
    for (const QStringList& files :
         {QStringList{missing, fixture("recheck.proj")}, QStringList{fixture("handover.proj"), missing}}) {
        QString out, err, checkOut, checkErr;
        EXPECT_EQ(
            runCli(QStringList{QStringLiteral("project"), QStringLiteral("compare")} + files, &out, &err), 1);
        EXPECT_EQ(runCli({QStringLiteral("project"), QStringLiteral("check"), missing}, &checkOut, &checkErr),
                  1);
        EXPECT_EQ(err, checkErr);
        EXPECT_TRUE(out.isEmpty());
    }
    QString out, err;
    EXPECT_EQ(
        runCli({QStringLiteral("project"), QStringLiteral("compare"), fixture("recheck.proj")}, &out, &err),
        2);
    EXPECT_EQ(runCli({QStringLiteral("project"), QStringLiteral("compare"), fixture("handover.proj"),
                      fixture("recheck.proj"), QStringLiteral("--format"), QStringLiteral("xml")},
                     &out, &err),
              2);
}
