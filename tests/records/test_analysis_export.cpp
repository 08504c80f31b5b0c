// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/AnalysisExport.h"

#include "model/Units.h"
#include "model/Translator.h"
#include "model/RecordModel.h"
#include "records/RecordTable.h"
#include "records/TextTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <memory>

namespace {

// Record 1 is current; the samples of record 0 around it are never exported.
std::unique_ptr<TRecordStore> store() {
    auto s = std::make_unique<TRecordStore>();
    s->CurrentRecord = 1;
    s->CurrentHeader = {QStringLiteral("Riser, \"east\""), QStringLiteral("Maker"), QStringLiteral("Type 15"),
                        QStringLiteral("2,50"), 2, 30, -5};
    s->Samples[0] = {0, QStringLiteral("01.01.2011"), QStringLiteral("00:00:00"), QStringLiteral("1.000000"),
                     QStringLiteral("1.000000")};
    s->Samples[1] = {1, QStringLiteral("05.03.2012"), QStringLiteral("07:04:09"), QStringLiteral("1234.567871"),
                     QStringLiteral("250.250000")};
    s->Samples[2] = {1, QStringLiteral("05.03.2012"), QStringLiteral("07:04:19"), QStringLiteral("abc"),
                     QStringLiteral("-0.500000")};
    s->SampleCount = 3;
    return s;
}

TUnits kpaAndCubicMetresPerHour() {
    TUnits units;
    units.PressureUnit = 2; // kPa
    units.FlowUnit = 2;     // m3/h
    units.Locale = QLocale(QLocale::German);
    return units;
}

} // namespace

TEST(AnalysisExport, CsvHasTheHeaderAsCommentsAndFullPrecisionNumbers) {
    const QString csv = QString::fromUtf8(RecordAnalysisCsv(*store(), kpaAndCubicMetresPerHour()));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], QStringLiteral("# Description: Riser, \"east\""));
    EXPECT_EQ(lines[3], QStringLiteral("# Presetting: 2,50"));
    EXPECT_EQ(lines[4], QStringLiteral("# Medium: Propylenglykol"));
    EXPECT_EQ(lines[6], QStringLiteral("# Temperature [\u00B0C]: -5"));
    EXPECT_EQ(lines[7], QStringLiteral("time,pressure [Pa],flow [l/h],pressure [kPa],flow [m3/h]"));
    // Not the rounded display texts and not the user's decimal comma: what was measured.
    const QStringList first = lines[8].split(u',');
    ASSERT_EQ(first.size(), 5);
    EXPECT_EQ(first[0], QStringLiteral("2012-03-05T07:04:09"));
    EXPECT_EQ(first[1], QStringLiteral("1234.567871"));
    EXPECT_EQ(first[2], QStringLiteral("250.25"));
    EXPECT_EQ(first[3], QStringLiteral("1.234567871"));
    EXPECT_EQ(first[4], QStringLiteral("0.25025"));
    // A value that is no number is 0, as the table shows it.
    EXPECT_TRUE(lines[9].startsWith(QStringLiteral("2012-03-05T07:04:19,0,-0.5,0,")));
    EXPECT_EQ(lines[10], QString());
}

TEST(AnalysisExport, InstrumentUnitsAreNotRepeated) {
    TUnits units;
    units.PressureUnit = 0;
    units.FlowUnit = 5;
    const QString csv = QString::fromUtf8(RecordAnalysisCsv(*store(), units));
    EXPECT_TRUE(csv.contains(QStringLiteral("\r\ntime,pressure [Pa],flow [l/h]\r\n")));
}

TEST(AnalysisExport, JsonHoldsTheSameFields) {
    const QJsonDocument doc = QJsonDocument::fromJson(RecordAnalysisJson(*store(), kpaAndCubicMetresPerHour()));
    ASSERT_TRUE(doc.isObject());
    const QJsonObject header = doc.object().value(QStringLiteral("header")).toObject();
    EXPECT_EQ(header.value(QStringLiteral("description")).toString(), QStringLiteral("Riser, \"east\""));
    EXPECT_EQ(header.value(QStringLiteral("presetting")).toDouble(), 2.5);
    EXPECT_EQ(header.value(QStringLiteral("temperature")).toInt(), -5);
    const QJsonArray samples = doc.object().value(QStringLiteral("samples")).toArray();
    ASSERT_EQ(samples.size(), 2);
    const QJsonObject first = samples[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("time")).toString(), QStringLiteral("2012-03-05T07:04:09"));
    EXPECT_EQ(first.value(QStringLiteral("pressure [Pa]")).toDouble(), 1234.567871);
    EXPECT_EQ(first.value(QStringLiteral("flow [m3/h]")).toDouble(), 0.25025);
    EXPECT_EQ(samples[1].toObject().value(QStringLiteral("pressure [kPa]")).toDouble(-1), 0.0);
}

// The statistics of the whole record join the keys that were there, with the samples' own precision.
TEST(AnalysisExport, JsonAddsTheWholeRecordsStatistics) {
    const QJsonObject root =
        QJsonDocument::fromJson(RecordAnalysisJson(*store(), kpaAndCubicMetresPerHour())).object();
    EXPECT_EQ(root.keys(), (QStringList{QStringLiteral("header"), QStringLiteral("samples"),
                                        QStringLiteral("statistics"), QStringLiteral("units")}));
    const QJsonObject statistics = root.value(QStringLiteral("statistics")).toObject();
    EXPECT_EQ(statistics.value(QStringLiteral("count")).toInt(), 2);
    EXPECT_EQ(statistics.value(QStringLiteral("last")).toString(), QStringLiteral("2012-03-05T07:04:19"));
    EXPECT_EQ(statistics.value(QStringLiteral("duration_seconds")).toDouble(), 10.0);
    const QJsonObject pressure = statistics.value(QStringLiteral("pressure")).toObject();
    EXPECT_EQ(pressure.value(QStringLiteral("max")).toDouble(), 1234.567871);
    EXPECT_EQ(pressure.value(QStringLiteral("min")).toDouble(-1), 0.0); // "abc" reads as the table shows it
    // -0.5 l/h lies out of range: the flow figures come from the one value left.
    const QJsonObject flow = statistics.value(QStringLiteral("flow")).toObject();
    EXPECT_EQ(flow.value(QStringLiteral("mean")).toDouble(), 250.25);
    EXPECT_EQ(flow.value(QStringLiteral("std")).toDouble(-1), 0.0);
}

// A hand-edited record's "nan", "inf" or 1e308: every view and export reads them as the table does,
// as 0.
TEST(AnalysisExport, ValuesThatAreNoNumberReadAsTheTableShowsThem) {
    auto s = std::make_unique<TRecordStore>();
    const char* texts[] = {"nan", "inf", "-inf", "1e308", "-1e308", "1250.5"};
    for (int i = 0; i < 6; ++i)
        s->Samples[static_cast<std::size_t>(i)] = {0, QStringLiteral("05.03.2012"),
                                                   QStringLiteral("07:04:%1").arg(i, 2, 10, QLatin1Char('0')),
                                                   QString::fromLatin1(texts[i]), QString::fromLatin1(texts[i])};
    s->SampleCount = 6;
    const TUnits units = kpaAndCubicMetresPerHour();
    const TTextTable table = BuildRecordTable(*s, units, TIdentityTranslator());
    const QString csv = QString::fromUtf8(RecordAnalysisCsv(*s, units));
    const QJsonArray samples =
        QJsonDocument::fromJson(RecordAnalysisJson(*s, units)).object().value(QStringLiteral("samples")).toArray();
    ASSERT_EQ(samples.size(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(texts[i]);
        const bool number = i == 5;
        const QString shown = number ? QStringLiteral("1,3") : QStringLiteral("0,0");
        EXPECT_EQ(table.cell(2, i + 1), shown);
        EXPECT_EQ(table.cell(3, i + 1), shown);
        const QJsonObject o = samples[i].toObject();
        EXPECT_EQ(o.value(QStringLiteral("pressure [Pa]")).toDouble(-1), number ? 1250.5 : 0.0);
        EXPECT_EQ(o.value(QStringLiteral("flow [l/h]")).toDouble(-1), number ? 1250.5 : 0.0);
        if (!number)
            for (const QString& key : {QStringLiteral("pressure [kPa]"), QStringLiteral("flow [m3/h]")})
                EXPECT_EQ(o.value(key).toDouble(-1), 0.0) << qPrintable(key);
        if (!number)
            EXPECT_TRUE(csv.contains(QStringLiteral("\r\n2012-03-05T07:04:%1,0,0,0,0\r\n").arg(i, 2, 10, QLatin1Char('0'))));
    }
    EXPECT_FALSE(csv.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
    EXPECT_FALSE(csv.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
}

// The display factors are single-precision; the exports convert with the decimal factors they stand
// for, so a round value stays round in every unit, in the CSV and in the JSON alike.
TEST(AnalysisExport, UserUnitsCarryNoSinglePrecisionNoise) {
    const struct {
        int pressureUnit;
        const char* pa;
        const char* pressure;
        int flowUnit;
        const char* lh;
        const char* flow;
    } cases[] = {
        {2, "12400", "12.4", 1, "250.125", "0.00416875"}, // kPa, m3/min
        {1, "12345", "123.45", 0, "3600", "0.001"},       // hPa, m3/s
        {5, "12345", "0.12345", 3, "900", "0.25"},        // bar, l/s
        {6, "10000", "1.45", 8, "1000", "264.1708"},      // psi, gal/h
        {10, "1000", "7.501", 4, "99", "1.65"},           // mmHg, l/min
        {7, "1000", "0.0102", 7, "600", "2.641708"},      // at, gal/min
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressure);
        auto s = std::make_unique<TRecordStore>();
        s->Samples[0] = {0, QStringLiteral("05.03.2012"), QStringLiteral("07:04:09"), QLatin1String(c.pa),
                         QLatin1String(c.lh)};
        s->SampleCount = 1;
        TUnits units;
        units.PressureUnit = c.pressureUnit;
        units.FlowUnit = c.flowUnit;
        const QStringList lines =
            QString::fromUtf8(RecordAnalysisCsv(*s, units)).split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 9);
        const QStringList fields = lines[8].split(u',');
        ASSERT_EQ(fields.size(), 5);
        EXPECT_EQ(fields[3], QLatin1String(c.pressure));
        EXPECT_EQ(fields[4], QLatin1String(c.flow));
        // The JSON holds the same doubles: the ones nearest the decimal values.
        const QJsonObject sample = QJsonDocument::fromJson(RecordAnalysisJson(*s, units))
                                       .object()
                                       .value(QStringLiteral("samples"))
                                       .toArray()[0]
                                       .toObject();
        EXPECT_EQ(sample.value(QStringLiteral("pressure [") + units.PressureUnitName() + u']').toDouble(),
                  QByteArray(c.pressure).toDouble());
        EXPECT_EQ(sample.value(QStringLiteral("flow [") + units.FlowUnitName() + u']').toDouble(),
                  QByteArray(c.flow).toDouble());
    }
}

TEST(AnalysisExport, FileNamesTimestampsAndFailures) {
    EXPECT_EQ(AnalysisFileName(QStringLiteral("/a/b"), TAnalysisFormat::Json), QStringLiteral("/a/b.json"));
    EXPECT_EQ(AnalysisFileName(QStringLiteral("/a/b.txt"), TAnalysisFormat::CsvUtf8), QStringLiteral("/a/b.txt"));
    EXPECT_EQ(IsoTimestamp(QStringLiteral("31.12.2024"), QStringLiteral("23:59:58")),
              QStringLiteral("2024-12-31T23:59:58"));
    EXPECT_EQ(IsoTimestamp(QStringLiteral("odd"), QStringLiteral("12:00")), QStringLiteral("odd 12:00"));

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out"));
    QString error;
    ASSERT_TRUE(ExportRecordAnalysis(*store(), TUnits(), TAnalysisFormat::CsvUtf8, target, &error));
    EXPECT_TRUE(QFile::exists(target + QStringLiteral(".csv")));
    EXPECT_FALSE(ExportRecordAnalysis(*store(), TUnits(), TAnalysisFormat::Json,
                                      dir.filePath(QStringLiteral("no_such/out.json")), &error));
    EXPECT_FALSE(error.isEmpty());
}

#include "model/Translator.h"
#include "records/RecordOverlay.h"

TEST(RecordOverlay, PlacesSamplesByTheTimeSinceEachRecordsFirstSample) {
    // The shown record: a sample every 10 s, one missing at 30 s.
    const std::vector<double> shown = {0.0, 10.0, 20.0, 40.0};
    const struct {
        double Seconds;
        double Row;
    } cases[] = {{0.0, 0.0}, {5.0, 0.5}, {30.0, 2.5}, {40.0, 3.0}, {60.0, 4.0}, {-10.0, -1.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(AxisPositionOf(c.Seconds, shown), c.Row) << c.Seconds;
    // Fewer than two rows with a time: one row a second.
    EXPECT_DOUBLE_EQ(AxisPositionOf(7.0, {0.0}), 7.0);

    // Record 1 of the store: samples at 07:04:09 and 07:04:19 of one day.
    auto other = store();
    other->Samples[2].Pressure = QStringLiteral("2000.000000");
    TUnits pascal;
    pascal.PressureUnit = 0;
    pascal.FlowUnit = 5;
    pascal.Locale = QLocale::c();
    const TRecordOverlay overlay = BuildRecordOverlay(*other, shown, pascal, TIdentityTranslator());
    EXPECT_EQ(overlay.Name, QStringLiteral("Riser, \"east\", 05.03.2012 07:04:09"));
    ASSERT_EQ(overlay.Pressure.size(), 2);
    EXPECT_EQ(overlay.Pressure[0], QPointF(0.0, static_cast<float>(1234.567871)));
    EXPECT_DOUBLE_EQ(overlay.Pressure[1].x(), 1.0); // 10 s after its first sample: the shown row at 10 s
    EXPECT_EQ(ElapsedSeconds(*other), (std::vector<double>{0.0, 10.0}));
}

TEST(RecordOverlay, CountsTheInstrumentsTimesAsTheyReadWhateverTheLocalZone) {
    // A zone that moves its clocks: at 02:00 on 26 March 2023 local time skips to 03:00.
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const struct {
        const char* Date;
        const char* Time;
        double Seconds;
    } samples[] = {
        {"26.03.2023", "01:59:30", 0.0},  {"26.03.2023", "02:30:00", 1830.0}, // in the skipped hour
        {"26.03.2023", "03:00:30", 3660.0}, {"27.03.2023", "01:59:30", 86400.0},
        {"27.03.2023", "25:00:00", std::nan("")}, {"31.02.2023", "01:00:00", std::nan("")},
    };
    auto s = std::make_unique<TRecordStore>();
    s->CurrentRecord = 0;
    for (const auto& c : samples) {
        s->Samples[static_cast<std::size_t>(s->SampleCount)] = {0, QString::fromLatin1(c.Date),
                                                                QString::fromLatin1(c.Time), QStringLiteral("1"),
                                                                QStringLiteral("1")};
        ++s->SampleCount;
    }
    const std::vector<double> seconds = ElapsedSeconds(*s);
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
    tzset();
    ASSERT_EQ(seconds.size(), std::size(samples));
    for (std::size_t i = 0; i < seconds.size(); ++i) {
        if (std::isnan(samples[i].Seconds))
            EXPECT_TRUE(std::isnan(seconds[i])) << i;
        else
            EXPECT_EQ(seconds[i], samples[i].Seconds) << i;
    }
}
