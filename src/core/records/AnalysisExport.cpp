// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/AnalysisExport.h"

#include "files/AnalysisText.h"
#include "files/SafeFileWriter.h"
#include "model/DisplayNumber.h"
#include "model/ExactUnits.h"
#include "model/ParseNumber.h"
#include "model/Units.h"
#include "model/RecordModel.h"
#include "records/RecordStatistics.h"
#include "records/RecordStatisticsText.h"
#include "records/SampleValue.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>
#include <vector>

namespace {

// Pa and l/h, the units the instrument measures in.
constexpr int32_t PascalUnit = 0;
constexpr int32_t LitresPerHourUnit = 5;

struct TAnalysisColumns {
    QString Time = QStringLiteral("time");
    QString PressurePa = QStringLiteral("pressure [Pa]");
    QString FlowLh = QStringLiteral("flow [l/h]");
    // Empty when the user's unit is the instrument's: the column would repeat the one before.
    QString PressureUser;
    QString FlowUser;
};

TAnalysisColumns columnsFor(const TUnits& units) {
    TAnalysisColumns c;
    if (units.PressureUnit != PascalUnit)
        c.PressureUser = QStringLiteral("pressure [") + units.PressureUnitName() + u']';
    if (units.FlowUnit != LitresPerHourUnit)
        c.FlowUser = QStringLiteral("flow [") + units.FlowUnitName() + u']';
    return c;
}

struct TAnalysisSample {
    QString Time;
    std::optional<double> Pressure;
    std::optional<double> Flow;
};

std::vector<TAnalysisSample> currentSamples(const TRecordStore& store, const QLocale& locale) {
    std::vector<TAnalysisSample> samples;
    const TDisplayNumberReader reader(locale);
    const std::int32_t held = store.heldSamples();
    for (std::int32_t i = 0; i < held; ++i) {
        const TZaznamData& s = store.Samples[static_cast<std::size_t>(i)];
        if (s.RecordIndex != store.CurrentRecord)
            continue;
        samples.push_back({IsoTimestamp(s.Date, s.Time), HeldSampleValue(s.Pressure, reader, locale),
                           HeldSampleValue(s.Flow, reader, locale)});
    }
    return samples;
}

// A held value in the user's unit, converted with the exact decimal factor.
using TToUnit = double (*)(double, std::int32_t);

std::optional<double> inUnit(const std::optional<double>& value, TToUnit convert, std::int32_t unit) {
    return value ? std::optional<double>(convert(*value, unit)) : std::nullopt;
}

QString numberOrEmpty(const std::optional<double>& value) {
    return value ? AnalysisNumber(*value) : QString();
}

QJsonValue jsonNumber(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

// Presettings are held as shown ("2,50", "None", empty): a number where one reads, else the text.
QJsonValue jsonPresetting(const QString& text, const QLocale& locale) {
    if (text.isEmpty())
        return {};
    bool ok = false;
    double value = locale.toDouble(text, &ok);
    if (!ok)
        value = text.toDouble(&ok);
    return ok ? QJsonValue(value) : QJsonValue(text);
}

} // namespace

QString IsoTimestamp(const QString& date, const QString& time) {
    const QStringList d = date.split(u'.');
    const QStringList t = time.split(u':');
    if (d.size() != 3 || t.size() != 3)
        return (date + u' ' + time).trimmed();
    return d[2] + u'-' + d[1] + u'-' + d[0] + u'T' + t[0] + u':' + t[1] + u':' + t[2];
}

QByteArray RecordAnalysisCsv(const TRecordStore& store, const TUnits& units) {
    const TZaznam& h = store.CurrentHeader;
    // Comment lines hold no line break of their own.
    auto comment = [](const QString& label, const QString& value) {
        QString flat = value;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        return QStringLiteral("# ") + label + u':' + (flat.isEmpty() ? QString() : u' ' + flat) +
               QStringLiteral("\r\n");
    };
    QString text = comment(QStringLiteral("Description"), h.Description) +
                   comment(QStringLiteral("Valve manufacturer"), h.Valve_Manufacturer) +
                   comment(QStringLiteral("Valve type"), h.Valve_Type) +
                   comment(QStringLiteral("Presetting"), h.Presetting) +
                   comment(QStringLiteral("Medium"), MediumName(h.Medium_Index)) +
                   comment(QStringLiteral("Concentration [%]"), QString::number(h.Concentration)) +
                   comment(QStringLiteral("Temperature [\u00B0C]"), QString::number(h.Temperature));

    const TAnalysisColumns c = columnsFor(units);
    QStringList header = {c.Time, c.PressurePa, c.FlowLh};
    if (!c.PressureUser.isEmpty())
        header << c.PressureUser;
    if (!c.FlowUser.isEmpty())
        header << c.FlowUser;
    text += CsvLine(header);
    for (const TAnalysisSample& s : currentSamples(store, units.Locale)) {
        QStringList fields = {s.Time, numberOrEmpty(s.Pressure), numberOrEmpty(s.Flow)};
        if (!c.PressureUser.isEmpty())
            fields << numberOrEmpty(inUnit(s.Pressure, ToPressureUnitExactly, units.PressureUnit));
        if (!c.FlowUser.isEmpty())
            fields << numberOrEmpty(inUnit(s.Flow, ToFlowUnitExactly, units.FlowUnit));
        text += CsvLine(fields);
    }
    return text.toUtf8();
}

QByteArray RecordAnalysisJson(const TRecordStore& store, const TUnits& units) {
    const TZaznam& h = store.CurrentHeader;
    const QJsonObject header{
        {QStringLiteral("description"), h.Description},
        {QStringLiteral("valve_manufacturer"), h.Valve_Manufacturer},
        {QStringLiteral("valve_type"), h.Valve_Type},
        {QStringLiteral("presetting"), jsonPresetting(h.Presetting, units.Locale)},
        {QStringLiteral("medium_index"), h.Medium_Index},
        {QStringLiteral("medium"), MediumName(h.Medium_Index)},
        {QStringLiteral("concentration"), h.Concentration},
        {QStringLiteral("temperature"), h.Temperature},
    };
    const TAnalysisColumns c = columnsFor(units);
    const TRecordSamples wholeRecord(store, units.Locale);
    QJsonArray samples;
    for (const TAnalysisSample& s : currentSamples(store, units.Locale)) {
        QJsonObject o{{c.Time, s.Time}, {c.PressurePa, jsonNumber(s.Pressure)}, {c.FlowLh, jsonNumber(s.Flow)}};
        if (!c.PressureUser.isEmpty())
            o.insert(c.PressureUser,
                     jsonNumber(inUnit(s.Pressure, ToPressureUnitExactly, units.PressureUnit)));
        if (!c.FlowUser.isEmpty())
            o.insert(c.FlowUser, jsonNumber(inUnit(s.Flow, ToFlowUnitExactly, units.FlowUnit)));
        samples.append(o);
    }
    const QJsonObject root{
        {QStringLiteral("header"), header},
        {QStringLiteral("units"),
         QJsonObject{{QStringLiteral("pressure"), units.PressureUnitName()}, {QStringLiteral("flow"), units.FlowUnitName()}}},
        {QStringLiteral("samples"), samples},
        {QStringLiteral("statistics"), RecordStatisticsJson(wholeRecord.whole(), wholeRecord)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray RecordAnalysisBytes(const TRecordStore& store, const TUnits& units, TAnalysisFormat format) {
    return format == TAnalysisFormat::Json ? RecordAnalysisJson(store, units) : RecordAnalysisCsv(store, units);
}

QString AnalysisFileName(const QString& chosen, TAnalysisFormat format) {
    if (!QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + (format == TAnalysisFormat::Json ? QStringLiteral(".json") : QStringLiteral(".csv"));
}

bool ExportRecordAnalysis(const TRecordStore& store, const TUnits& units, TAnalysisFormat format,
                          const QString& fileName, QString* error) {
    return writeFileAtomically(AnalysisFileName(fileName, format), RecordAnalysisBytes(store, units, format), error);
}
