// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintQString.h"
#include "model/Translator.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "printing/ProjectReport.h"
#include "printing/ReportText.h"

#include <gtest/gtest.h>

#include <QHash>

#include <cstring>
#include <memory>

namespace {

constexpr int FlowUnitLitresPerHour = 5;
const QString Separator(83, u'-');

class TDictionary final : public ITranslator {
public:
    explicit TDictionary(QHash<QString, QString> texts) : m_texts(std::move(texts)) {}
    QString Translate(const QString& english) const override { return m_texts.value(english, english); }

private:
    QHash<QString, QString> m_texts;
};

void setText(std::uint8_t* field, const char* text) {
    EncodeInstrumentText(QString::fromLatin1(text), field, 16, 0);
}

// Two manufacturers: "Acme" (with blanks around it in the cache) with one type, and one whose
// manufacturer and type names fill their 16 characters.
std::unique_ptr<TValveCatalogue> makeCatalogue() {
    auto c = std::make_unique<TValveCatalogue>();
    std::memset(c.get(), 0, sizeof(TValveCatalogue));
    c->ManufacturerCount = 2;
    c->TypeCounts[0] = 1;
    c->TypeCounts[1] = 1;
    setText(c->ManufacturerNames[0], " Acme ");
    setText(c->ManufacturerNames[1], "Hydro-Balance Co");
    setText(c->Valves[0].Name, "STV 20");
    setText(c->Valves[1].Name, "Strangvent 25 PN");
    return c;
}

struct TReportFixture : ::testing::Test {
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TValveCatalogue> catalogue = makeCatalogue();
    TValveSelection valve;
    TUnits units;
    TIdentityTranslator english;

    TReportFixture() {
        units.FlowUnit = FlowUnitLitresPerHour;
        units.Locale = QLocale::c();
        setText(project->Header.Name, "Riser A");
        setText(project->Header.Last_Change, "12.03.2024 10:15");
    }

    TBranch& addBranch(const char* name, int valveIndex) {
        TBranch& b = project->Branches[static_cast<std::size_t>(project->Header.Branch_Count++)];
        setText(b.Name, name);
        b.Valve_Index = static_cast<std::uint16_t>(valveIndex);
        b.Request_Flow = 250.0;
        b.Initial_Flow = 240.0;
        b.Final_Flow = 251.0;
        b.Initial_Presetting = 2.5;
        b.Final_Presetting = 3.0;
        return b;
    }

    void addBranches(int count) {
        for (int i = 1; i <= count; ++i)
            addBranch(QStringLiteral("B%1").arg(i).toLatin1().constData(), i % 2);
    }

    QStringList build(const ITranslator& translator) {
        return BuildProjectReport(*project, *catalogue, valve, 0, units, translator);
    }
    QStringList build() { return build(english); }
};

TEST_F(TReportFixture, OneBranchLineForLine) {
    addBranch("Flat 1", 0);
    const QStringList expected = {
        QStringLiteral(" "),
        QStringLiteral(" "),
        QStringLiteral(" "),
        QStringLiteral("Project              : Riser A                                               Page 1  "
                       "          "),
        Separator,
        QStringLiteral("Last change          : 12.03.2024 10:15  "),
        Separator,
        QStringLiteral("Branch               : Flat 1            "),
        QStringLiteral("Valve                :        Acme STV 20"),
        // 250 l/h: the number, a blank, the unit and two blanks, in a cell of 18.
        QStringLiteral("Requested flow       : 250.0 l/h         "),
        QStringLiteral("Initial flow         : 240.0 l/h         Final flow           : 251.0 l/h         "),
        QStringLiteral("Initial presetting   : 2.50              Final presetting     : 3.00              "),
        QString(),
    };
    EXPECT_EQ(build(), expected);
}

TEST_F(TReportFixture, EmptyValuesAndUnknownValve) {
    TBranch& b = addBranch("Flat 2", 999);
    b.Initial_Flow = NoValue;
    b.Final_Presetting = PresettingNone;
    b.Initial_Presetting = PresettingEmpty;
    const QStringList lines = build();
    ASSERT_EQ(lines.size(), 13);
    // A valve index the catalogue does not hold names no valve.
    EXPECT_EQ(lines[8], QStringLiteral("Valve                : ") + QString(18, u' '));
    EXPECT_TRUE(lines[10].startsWith(QStringLiteral("Initial flow         :  l/h              Final")));
    EXPECT_EQ(
        lines[11],
        QStringLiteral("Initial presetting   :                   Final presetting     : None              "));
}

TEST_F(TReportFixture, LongValveNameIsPrintedWholeAndEndsItsLine) {
    addBranch("Flat 3", 1);
    EXPECT_EQ(build()[8], QStringLiteral("Valve                : Hydro-Balance Co Strangvent 25 PN"));
}

TEST_F(TReportFixture, NoBranchesGiveOneBlankLine) {
    EXPECT_EQ(build(), QStringList{QStringLiteral(" ")});
}

TEST_F(TReportFixture, TenBranchesFillOnePage) {
    addBranches(10);
    const QStringList lines = build();
    // The first blank line, then a full page of 75 lines.
    ASSERT_EQ(lines.size(), 76);
    EXPECT_EQ(lines.filter(QStringLiteral("\f")).size(), 0);
    EXPECT_EQ(lines[69], Separator);
    EXPECT_EQ(lines[70], QStringLiteral("Branch               : B10               "));
    EXPECT_EQ(lines[75], QString());
    EXPECT_EQ(valve.CurrentValve, 0); // the valve of branch 10
}

TEST_F(TReportFixture, EleventhBranchStartsPageTwo) {
    addBranches(11);
    const TDictionary czech({{QStringLiteral("Page"), QStringLiteral("Strana")},
                             {QStringLiteral("Branch"), QStringLiteral("Vetev")}});
    const QStringList lines = build(czech);
    ASSERT_EQ(lines.size(), 76 + 1 + 5 + 7);
    EXPECT_TRUE(IsPageBreakLine(lines[76]));
    EXPECT_EQ(lines.filter(QStringLiteral("\f")).size(), 1);
    EXPECT_EQ(lines[77], QStringLiteral(" "));
    EXPECT_EQ(lines[78], QStringLiteral(" "));
    EXPECT_EQ(lines[3].mid(77), QStringLiteral("Strana 1          "));
    EXPECT_EQ(lines[79].mid(77), QStringLiteral("Strana 2          "));
    EXPECT_EQ(lines[80], Separator);
    EXPECT_TRUE(lines[81].startsWith(QStringLiteral("Last change          : 12.03.2024")));
    EXPECT_EQ(lines[82], Separator);
    EXPECT_EQ(lines[83], QStringLiteral("Vetev                : B11               "));
    EXPECT_EQ(valve.CurrentValve, 1); // the valve of branch 11
}

} // namespace
