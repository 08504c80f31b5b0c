// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/BranchConfirmation.h"

#include "test_project_editor_catalogue.h"

#include "model/BranchList.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/Units.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

struct BranchChecks : ::testing::Test {
    TValveCatalogue catalogue;
    TValveSelection selection;
    TUnits units; // l/h and Pa below
    TBranch stored{};
    TBranchInput input;

    void SetUp() override {
        fillCatalogue(catalogue);
        units.FlowUnit = 5;
        units.PressureUnit = 0;
        units.Locale = QLocale::c();
        TProject project;
        InitBranch(project, 0);
        stored = project.Branches[0];
        EncodeInstrumentText(QStringLiteral("Old"), stored.Name, 16, 0);
        stored.Valve_Index = 1;
        stored.Request_Flow = 50;
        stored.Reserved = 0xBEEF;
        input = {QStringLiteral("Riser 1"),
                 1,
                 0,
                 QStringLiteral("1000"),
                 QStringLiteral("2000"),
                 QStringLiteral("120.5"),
                 QStringLiteral("100"),
                 QStringLiteral("118"),
                 QStringLiteral("2.5"),
                 QStringLiteral("3")};
    }

    TBranchCheck check() const { return CheckBranchInput(stored, input, catalogue, selection, units, 0); }
};

TEST_F(BranchChecks, FirstRefusedFieldInOrderLeavesBranchAndSelectionUntouched) {
    struct Case {
        const char* name;
        std::function<void(TBranchInput&)> spoil;
        TBranchField field;
        const char* message;
    };
    const Case cases[] = {
        // Later faults too: the first one in order is the one reported.
        {"empty name",
         [](TBranchInput& in) {
             in.Name.clear();
             in.Manufacturer = -1;
         },
         TBranchField::Name, "Please fill name"},
        {"no manufacturer",
         [](TBranchInput& in) {
             in.Manufacturer = -1;
             in.Type = -1;
         },
         TBranchField::Manufacturer, "Select manufacturer"},
        {"no type", [](TBranchInput& in) { in.Type = -1; }, TBranchField::Type, "Select type"},
        {"initial pressure below range",
         [](TBranchInput& in) {
             in.InitialPressure = "-200001";
             in.RequestedFlow = "-1";
         },
         TBranchField::InitialPressure, "Please fill valid pressure"},
        {"final pressure above range", [](TBranchInput& in) { in.FinalPressure = "2000001"; },
         TBranchField::FinalPressure, "Please fill valid pressure"},
        {"negative requested flow", [](TBranchInput& in) { in.RequestedFlow = "-0.5"; },
         TBranchField::RequestedFlow, "Please fill valid flow"},
        {"initial flow too large", [](TBranchInput& in) { in.InitialFlow = "10000001"; },
         TBranchField::InitialFlow, "Please fill valid flow"},
        {"final flow negative", [](TBranchInput& in) { in.FinalFlow = "-3"; }, TBranchField::FinalFlow,
         "Please fill valid flow"},
        {"initial presetting above max", [](TBranchInput& in) { in.InitialPresetting = "5.01"; },
         TBranchField::InitialPresetting, "Please fill valid presetting"},
        {"final presetting below min", [](TBranchInput& in) { in.FinalPresetting = "0.99"; },
         TBranchField::FinalPresetting, "Please fill valid presetting"},
        {"final presetting not a number reads 0", [](TBranchInput& in) { in.FinalPresetting = "abc"; },
         TBranchField::FinalPresetting, "Please fill valid presetting"},
    };
    selection.CurrentValve = 1;
    selection.Copy = catalogue.Valves[1];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBranchInput spoilt = input;
        c.spoil(spoilt);
        const TBranchCheck result = CheckBranchInput(stored, spoilt, catalogue, selection, units, 0);
        ASSERT_TRUE(result.Refusal.has_value());
        EXPECT_EQ(result.Refusal->Field, c.field);
        EXPECT_EQ(result.Refusal->Message, QString::fromLatin1(c.message));
        EXPECT_EQ(std::memcmp(&result.Branch, &stored, sizeof(TBranch)), 0);
        EXPECT_EQ(result.Valve.CurrentValve, 1);
    }
}

TEST_F(BranchChecks, AcceptedInputWritesEveryFieldAndKeepsTheRest) {
    const TBranchCheck result = check();
    ASSERT_FALSE(result.Refusal.has_value());
    const TBranch& b = result.Branch;
    EXPECT_EQ(DecodeInstrumentText(b.Name, 16, 0), QStringLiteral("Riser 1"));
    EXPECT_EQ(int{b.Valve_Index}, 2);
    EXPECT_EQ(result.Valve.CurrentValve, 2);
    EXPECT_EQ(double{result.Valve.Copy.PresettingMax}, 5.0);
    EXPECT_EQ(double{b.Initial_Pressure}, 1000.0);
    EXPECT_EQ(double{b.Final_Pressure}, 2000.0);
    EXPECT_EQ(double{b.Request_Flow}, 120.5);
    EXPECT_EQ(double{b.Initial_Flow}, 100.0);
    EXPECT_EQ(double{b.Final_Flow}, 118.0);
    EXPECT_EQ(double{b.Initial_Presetting}, 2.5);
    EXPECT_EQ(double{b.Final_Presetting}, 3.0);
    EXPECT_EQ(int{b.Reserved}, 0xBEEF);
}

TEST_F(BranchChecks, EdgeValues) {
    struct Case {
        const char* name;
        std::function<void(TBranchInput&)> edit;
        std::function<void(const TBranchCheck&)> expect;
    };
    const Case cases[] = {
        {"limits themselves pass",
         [](TBranchInput& in) {
             in.InitialPressure = "-200000";
             in.FinalPressure = "2000000";
             in.RequestedFlow = "0";
             in.InitialFlow = "10000000";
             in.InitialPresetting = "1";
             in.FinalPresetting = "5";
         },
         [](const TBranchCheck& r) {
             ASSERT_FALSE(r.Refusal);
             EXPECT_EQ(double{r.Branch.Initial_Pressure}, -200000.0);
             EXPECT_EQ(double{r.Branch.Final_Presetting}, 5.0);
         }},
        {"typed text that is no number is refused, not stored as 0",
         [](TBranchInput& in) { in.RequestedFlow = "-----"; },
         [](const TBranchCheck& r) {
             ASSERT_TRUE(r.Refusal);
             EXPECT_EQ(r.Refusal->Field, TBranchField::RequestedFlow);
             EXPECT_EQ(r.Refusal->Message, QStringLiteral("Please fill valid flow"));
         }},
        {"empty values are no value",
         [](TBranchInput& in) {
             in.InitialFlow.clear();
             in.InitialPresetting.clear();
         },
         [](const TBranchCheck& r) {
             ASSERT_FALSE(r.Refusal);
             EXPECT_EQ(double{r.Branch.Initial_Flow}, NoValue);
             EXPECT_EQ(double{r.Branch.Initial_Presetting}, PresettingEmpty);
         }},
        {"valve without presetting stores the presettings as read, 0 when empty",
         [](TBranchInput& in) {
             in.Manufacturer = 0;
             in.Type = 1;
             in.InitialPresetting.clear();
             in.FinalPresetting = "99";
         },
         [](const TBranchCheck& r) {
             ASSERT_FALSE(r.Refusal);
             EXPECT_EQ(int{r.Branch.Valve_Index}, 1);
             EXPECT_EQ(double{r.Branch.Initial_Presetting}, 0.0);
             EXPECT_EQ(double{r.Branch.Final_Presetting}, 99.0);
         }},
        {"a name of 40 characters is cut to 32 in the edit and 16 in the branch",
         [](TBranchInput& in) { in.Name = QString(40, u'x').replace(0, 3, QStringLiteral("abc")); },
         [](const TBranchCheck& r) {
             ASSERT_FALSE(r.Refusal);
             EXPECT_EQ(r.EditName.size(), 32);
             EXPECT_EQ(DecodeInstrumentText(r.Branch.Name, 16, 0), QStringLiteral("abc") + QString(13, u'x'));
         }},
        {"the cut name is reported even when a later field is refused",
         [](TBranchInput& in) {
             in.Name = QString(33, u'n');
             in.FinalFlow = "-1";
         },
         [](const TBranchCheck& r) {
             ASSERT_TRUE(r.Refusal);
             EXPECT_EQ(r.EditName.size(), 32);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBranchInput edited = input;
        c.edit(edited);
        c.expect(CheckBranchInput(stored, edited, catalogue, selection, units, 0));
    }
}

TEST_F(BranchChecks, ValuesAreReadInTheDisplayUnits) {
    units.FlowUnit = 3;     // l/s
    units.PressureUnit = 5; // bar
    input.RequestedFlow = QStringLiteral("1");
    input.InitialPressure = QStringLiteral("0.5");
    input.FinalPressure = QStringLiteral("21"); // 2.1 MPa: beyond the range
    const TBranchCheck refused = check();
    ASSERT_TRUE(refused.Refusal);
    EXPECT_EQ(refused.Refusal->Field, TBranchField::FinalPressure);
    input.FinalPressure = QStringLiteral("1");
    const TBranchCheck result = check();
    ASSERT_FALSE(result.Refusal);
    EXPECT_NEAR(double{result.Branch.Request_Flow}, 3600.0, 0.01);
    EXPECT_NEAR(double{result.Branch.Initial_Pressure}, 50000.0, 0.01);
}

} // namespace
