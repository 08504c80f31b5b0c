// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Translator.h"
#include "model/Markers.h"
#include "model/ParseNumber.h"
#include "model/Units.h"

#include <gtest/gtest.h>

#include <QHash>
#include <climits>
#include <cmath>
#include <limits>

namespace {

const QLocale english = QLocale::c();
const QLocale german(QLocale::German, QLocale::Germany);

double single(double value) {
    return static_cast<double>(static_cast<float>(value));
}

TUnits unitsIn(int32_t flowUnit, int32_t pressureUnit, const QLocale& locale) {
    TUnits units;
    units.FlowUnit = flowUnit;
    units.PressureUnit = pressureUnit;
    units.Locale = locale;
    return units;
}

class TFixedTranslator final : public ITranslator {
public:
    explicit TFixedTranslator(QHash<QString, QString> dictionary) : texts(std::move(dictionary)) {}
    QString Translate(const QString& key) const override { return texts.value(key, key); }

private:
    QHash<QString, QString> texts;
};

struct TUnitRow {
    const char* name;
    double nominal;
    int decimals;
};

TEST(UnitTables, FactorsAreTheWidenedSingleNearestTheNominal) {
    const TUnitRow flows[] = {
        {"m3/s", 1.0 / 3600000, 1},  {"m3/min", 1.0 / 60000, 1}, {"m3/h", 0.001, 1},
        {"l/s", 1.0 / 3600, 3},      {"l/min", 1.0 / 60, 1},     {"l/h", 1.0, 1},
        {"gal/s", 7.3380776e-05, 3}, {"gal/m", 0.0044028466, 2}, {"gal/h", 0.2641708, 1},
    };
    const TUnitRow pressures[] = {
        {"Pa", 1.0, 0},       {"hPa", 0.01, 0},   {"kPa", 0.001, 1},     {"MPa", 1e-06, 4},
        {"mbar", 0.01, 0},    {"bar", 1e-05, 3},  {"psi", 0.000145, 2},  {"at", 1.02e-05, 3},
        {"mWs", 0.000102, 2}, {"mmWs", 0.102, 0}, {"mmHg", 0.007501, 0},
    };
    ASSERT_EQ(std::size(flows), static_cast<std::size_t>(FlowUnitCount));
    ASSERT_EQ(std::size(pressures), static_cast<std::size_t>(PressureUnitCount));
    for (int32_t i = 0; i < FlowUnitCount; ++i) {
        SCOPED_TRACE(flows[i].name);
        EXPECT_EQ(FlowUnitName(i), QString::fromLatin1(flows[i].name));
        EXPECT_EQ(FlowFactor(i), single(flows[i].nominal));
        EXPECT_EQ(FlowDecimals(i), flows[i].decimals);
    }
    for (int32_t i = 0; i < PressureUnitCount; ++i) {
        SCOPED_TRACE(pressures[i].name);
        EXPECT_EQ(PressureUnitName(i), QString::fromLatin1(pressures[i].name));
        EXPECT_EQ(PressureFactor(i), single(pressures[i].nominal));
        EXPECT_EQ(PressureDecimals(i), pressures[i].decimals);
    }
}

TEST(UnitTables, ListNamesSpellOutGallonsPerMinuteOnly) {
    for (int32_t i = 0; i < FlowUnitCount; ++i)
        EXPECT_EQ(FlowUnitListName(i), i == 7 ? QStringLiteral("gal/min") : FlowUnitName(i));
}

TEST(UnitTables, UnknownIndexIsNeutralAndNeverReadsPastTheTable) {
    for (const int32_t unit : {-1, FlowUnitCount, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(unit);
        EXPECT_EQ(FlowUnitName(unit), QStringLiteral("---"));
        EXPECT_EQ(FlowUnitListName(unit), QStringLiteral("---"));
        EXPECT_EQ(FlowFactor(unit), 1.0);
        EXPECT_EQ(FlowDecimals(unit), 1);
    }
    for (const int32_t unit : {-1, PressureUnitCount, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(unit);
        EXPECT_EQ(PressureUnitName(unit), QStringLiteral("---"));
        EXPECT_EQ(PressureFactor(unit), 1.0);
        EXPECT_EQ(PressureDecimals(unit), 1);
    }
    const TUnits units = unitsIn(42, -3, english);
    EXPECT_EQ(units.FormatFlow(1234.56), QStringLiteral("1234.6"));
    EXPECT_EQ(units.FormatPressure(-1500.04), QStringLiteral("-1500.0"));
    EXPECT_EQ(units.FlowCaption({}), QStringLiteral("Flow [---]"));
}

TEST(UnitValidity, RangesIncludeTheirBoundsAndNoValueButNeverNaN) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        bool flow;
        bool pressure;
    } cases[] = {
        {NoValue, true, true},        {0.0, true, true},
        {-0.0, true, true},           {10000000.0, true, false},
        {10000000.001, false, false}, {-0.001, false, true},
        {-200000.0, false, true},     {-200000.001, false, false},
        {2000000.0, true, true},      {2000000.001, true, false},
        {nan, false, false},          {inf, false, false},
        {-inf, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(IsValidFlow(c.value), c.flow);
        EXPECT_EQ(IsValidPressure(c.value), c.pressure);
    }
}

TEST(UnitFormat, FlowsInSeveralUnits) {
    const struct {
        int32_t unit;
        double litresPerHour;
        const QLocale& locale;
        const char* shown;
    } cases[] = {
        {2, 1234.56, english, "1.2"},
        {3, 1234.56, english, "0.343"},
        {7, 1234.56, english, "5.44"},
        {5, 1234.56, english, "1234.6"},
        {5, 1234.56, german, "1234,6"},
        {8, 10000000.0, german, "2641708,0"},
        {0, 0.0, english, "0.0"},
        {5, -0.0, english, "0.0"},
        {5, 10000000.0, english, "10000000.0"},
        {5, 10000000.5, english, "-----"},
        {5, -1.0, english, "-----"},
        {5, std::numeric_limits<double>::quiet_NaN(), english, "-----"},
        {5, NoValue, english, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unit << " " << c.litresPerHour);
        EXPECT_EQ(unitsIn(c.unit, 0, c.locale).FormatFlow(c.litresPerHour), QString::fromUtf8(c.shown));
    }
}

TEST(UnitFormat, PressuresInSeveralUnits) {
    const struct {
        int32_t unit;
        double pascal;
        const QLocale& locale;
        const char* shown;
    } cases[] = {
        {2, 150000.0, english, "150.0"},
        {5, 150000.0, english, "1.500"},
        {6, 150000.0, english, "21.75"},
        {9, 150000.0, english, "15300"},
        {5, 150000.0, german, "1,500"},
        {2, -200000.0, german, "-200,0"},
        {0, 1234567.0, german, "1234567"},
        {3, 2000000.0, english, "2.0000"},
        // Rounds to zero: no minus sign in front of a zero.
        {2, -0.01, english, "0.0"},
        {0, -0.4, english, "0"},
        {2, -250000.0, english, "-----"},
        {2, 2000000.5, english, "-----"},
        {2, NoValue, english, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unit << " " << c.pascal);
        EXPECT_EQ(unitsIn(0, c.unit, c.locale).FormatPressure(c.pascal), QString::fromUtf8(c.shown));
    }
}

TEST(UnitFormat, PresettingMarkersAndTwoDecimals) {
    const TFixedTranslator czech({{QStringLiteral("None"), QStringLiteral("Žádné")}});
    const TUnits units = unitsIn(5, 2, german);
    EXPECT_EQ(units.FormatPresetting(PresettingNone, czech), QStringLiteral("Žádné"));
    EXPECT_EQ(units.FormatPresetting(PresettingNone, TIdentityTranslator()), QStringLiteral("None"));
    EXPECT_EQ(units.FormatPresetting(PresettingEmpty, czech), QString());

    const struct {
        double presetting;
        const char* shown;
    } cases[] = {
        {2.5, "2,50"},
        {0.0, "0,00"},
        {-0.001, "0,00"},
        {-1.005, "-1,00"}, // -1.005 is held just above -1.005
        {-999.0, "-999,00"},
        // At most ten significant digits; the rest become zeros.
        {123456789.126, "123456789,10"},
        {12345678901.234, "12345678900,00"},
        {1.5e20, "150000000000000000000,00"},
        // From the instrument's bytes: no "nan" or "inf" on the page.
        {std::numeric_limits<double>::quiet_NaN(), "-----"},
        {-std::numeric_limits<double>::infinity(), "-----"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.presetting);
        EXPECT_EQ(units.FormatPresetting(c.presetting, czech), QString::fromLatin1(c.shown));
    }
    EXPECT_EQ(unitsIn(5, 2, english).FormatPresetting(2.5, czech), QStringLiteral("2.50"));
}

TEST(UnitCaptions, TextAndUnitOrTheUntranslatedDefault) {
    const TUnits units = unitsIn(5, 2, german);
    EXPECT_EQ(units.FlowCaption(QStringLiteral("Požadovaný průtok")),
              QStringLiteral("Požadovaný průtok [l/h]"));
    EXPECT_EQ(units.FlowCaption({}), QStringLiteral("Flow [l/h]"));
    EXPECT_EQ(units.PressureCaption(QStringLiteral("Tlak")), QStringLiteral("Tlak [kPa]"));
    EXPECT_EQ(units.PressureCaption({}), QStringLiteral("Pressure [kPa]"));
    EXPECT_EQ(unitsIn(7, 10, german).FlowCaption(QStringLiteral("Q")), QStringLiteral("Q [gal/m]"));
}

TEST(ParseNumberTest, AcceptsPointOrCommaAndRejectsEverythingElse) {
    const struct {
        const QLocale& locale;
        const char* text;
        double value;
    } cases[] = {
        {english, "1.5", 1.5},
        {english, "1,5", 1.5},
        {german, "1.5", 1.5},
        {german, "1,5", 1.5},
        {german, "-2,25", -2.25},
        {english, "+4", 4.0},
        {english, " 7 ", 7.0},
        {english, "2.5e3", 2500.0},
        {german, "2,5E3", 2500.0},
        // Group separators are never read: "1.234" is not 1234 in a German locale.
        {german, "1.234", single(1.234)},
        {english, "1,234.5", 0.0},
        {english, "1.234,5", 0.0},
        {german, "1.234,5", 0.0},
        {english, "abc", 0.0},
        {german, "abc", 0.0},
        {english, "", 0.0},
        {german, "", 0.0},
        {english, "1.5abc", 0.0},
        // Single precision: rounded in range, refused beyond it.
        {english, "12.34", single(12.34)},
        {german, "0,1", single(0.1)},
        {english, "3.3e38", single(3.3e38)},
        {english, "3.5e38", 0.0},
        {german, "-1e39", 0.0},
        {english, "1e400", 0.0},
        {english, "1e-50", 0.0},
        {english, "inf", 0.0},
        {english, "-inf", 0.0},
        {english, "nan", 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale.name().toStdString() << " \"" << c.text << "\"");
        EXPECT_EQ(ParseNumber(QString::fromLatin1(c.text), c.locale), c.value);
    }
}

TEST(UnitParse, EmptyIsNoValueAndEverythingElseIsDividedByTheHeldFactor) {
    const TUnits kpa = unitsIn(2, 2, german);
    const double stored = kpa.ParsePressure(QStringLiteral("12,34"));
    EXPECT_EQ(stored, single(12.34) / 0.0010000000474974513);
    EXPECT_NEAR(stored, 12339.99957, 1e-5);
    EXPECT_EQ(kpa.FormatPressure(stored), QStringLiteral("12,3"));

    EXPECT_EQ(kpa.ParseFlow(QStringLiteral("1.2")), single(1.2) / 0.0010000000474974513);
    EXPECT_EQ(kpa.ParseFlow({}), NoValue);
    EXPECT_EQ(kpa.ParsePressure({}), NoValue);
    EXPECT_EQ(kpa.ParsePressure(QStringLiteral("-----")), 0.0);
    EXPECT_EQ(kpa.ParseFlow(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(unitsIn(99, 99, english).ParseFlow(QStringLiteral("3.5")), 3.5);
}

TEST(UnitParse, ShownTextReadsBackUnderEveryLocale) {
    // Locales whose own number text differs from plain digits: a Unicode minus, a space as group
    // separator, an Arabic decimal separator.
    const QLocale locales[] = {english, german, QLocale(QLocale::Swedish, QLocale::Sweden),
                               QLocale(QLocale::French, QLocale::France),
                               QLocale(QLocale::Arabic, QLocale::Egypt)};
    for (const QLocale& locale : locales) {
        SCOPED_TRACE(locale.name().toStdString());
        const TUnits units = unitsIn(5, 0, locale);
        EXPECT_EQ(units.ParsePressure(units.FormatPressure(-150000.0)), -150000.0);
        EXPECT_EQ(units.ParseFlow(units.FormatFlow(1234567.5)), single(1234567.5));
        EXPECT_EQ(ParseNumber(units.FormatPresetting(-2.75, TIdentityTranslator()), locale), -2.75);
    }
}

} // namespace

// People round half-way values away from zero; the C library rounds exact ties to even (7.25 → 7.2).
TEST(UnitFormat, ExactlyHalfWayRoundsAwayFromZero) {
    const TUnits litres = unitsIn(5, 0, english); // l/h with one decimal, Pa with none
    const struct {
        double value;
        const char* flow;
        const char* pressure;
        const char* presetting;
    } cases[] = {
        {7.25, "7.3", "7", "7.25"},
        {2.5, "2.5", "3", "2.50"},
        {0.5, "0.5", "1", "0.50"},
        {9.95, "9.9", "10", "9.95"}, // 9.95 is held just below the half
        {9.75, "9.8", "10", "9.75"},
        {99.5, "99.5", "100", "99.50"},
        {1.125, "1.1", "1", "1.13"},
        {0.375, "0.4", "0", "0.38"},
        {0.005, "0.0", "0", "0.01"}, // not exactly half-way: held just above 0.005
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(litres.FormatFlow(c.value), QString::fromLatin1(c.flow));
        EXPECT_EQ(litres.FormatPressure(c.value), QString::fromLatin1(c.pressure));
        EXPECT_EQ(litres.FormatPresetting(c.value, TIdentityTranslator()), QString::fromLatin1(c.presetting));
    }
    // Below zero the same, away from zero.
    EXPECT_EQ(litres.FormatPressure(-2.5), QStringLiteral("-3"));
    EXPECT_EQ(litres.FormatPressure(-9.5), QStringLiteral("-10"));
    EXPECT_EQ(litres.FormatPresetting(-1.125, TIdentityTranslator()), QStringLiteral("-1.13"));
    EXPECT_EQ(unitsIn(5, 0, german).FormatFlow(7.25), QStringLiteral("7,3"));
}

// The readouts beside the specified displays (the crosshair, the balancing summary) keep three
// significant digits where the unit's decimals would show 0.0.
TEST(UnitFormat, ReadoutsShowThreeSignificantDigitsInEveryUnit) {
    const struct {
        int32_t flowUnit;
        double litresPerHour;
        const char* display; // FormatFlow, unchanged
        const char* readout;
    } flows[] = {
        {1, 250.0, "0.0", "0.00417"},        // m3/min
        {0, 250.0, "0.0", "0.0000694"},      // m3/s
        {2, 1234.56, "1.2", "1.23"},         // m3/h
        {3, 1234.56, "0.343", "0.343"},      // l/s: its decimals suffice
        {5, 1234.56, "1234.6", "1234.6"},    // l/h: never fewer decimals than the unit's
        {5, 0.0, "0.0", "0.0"},
        {5, 0.0004, "0.0", "0.000400"},
        {0, 0.001, "0.0", "0.000000000278"}, // the smallest flow rated: twelve decimals
        {5, NoValue, "", ""},
        {5, 2e7, "-----", "-----"},
    };
    for (const auto& c : flows) {
        SCOPED_TRACE(testing::Message() << c.flowUnit << " " << c.litresPerHour);
        const TUnits units = unitsIn(c.flowUnit, 2, english);
        EXPECT_EQ(units.FormatFlow(c.litresPerHour), QString::fromLatin1(c.display));
        EXPECT_EQ(units.ReadoutFlow(c.litresPerHour), QString::fromLatin1(c.readout));
    }
    const TUnits kpa = unitsIn(5, 2, german);
    EXPECT_EQ(kpa.ReadoutPressure(12.0), QStringLiteral("0,0120"));
    EXPECT_EQ(kpa.ReadoutPressure(150000.0), QStringLiteral("150,0"));
    EXPECT_EQ(unitsIn(5, 5, english).ReadoutPressure(150000.0), QStringLiteral("1.500")); // bar
    // Values already in the display unit, as the chart holds them.
    EXPECT_EQ(FormatReadout(-0.0123456, 1, english), QStringLiteral("-0.0123"));
    EXPECT_EQ(FormatReadout(43.0, 1, english), QStringLiteral("43.0"));
    EXPECT_EQ(FormatReadout(1e-20, 1, english), QStringLiteral("0.000000000000"));
}
