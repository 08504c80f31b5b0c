// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordStatisticsText.h"

#include "files/AnalysisText.h"
#include "model/ExactUnits.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "records/RecordStatistics.h"

#include <QJsonValue>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

TQuantityCells quantityCells(const std::optional<TQuantityFigures>& f, const TRecordSamples& samples,
                             QString (TUnits::*readout)(double) const, const TUnits& units) {
    if (!f)
        return {};
    return {(units.*readout)(f->Min),    samples.timeText(f->MinRow), (units.*readout)(f->Max),
            samples.timeText(f->MaxRow), (units.*readout)(f->Mean),   (units.*readout)(f->Std)};
}

QJsonValue isoOrNull(const TRecordSamples& samples, std::int32_t row) {
    const QString text = samples.isoTime(row);
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue quantityJson(const std::optional<TQuantityFigures>& f, const TRecordSamples& samples) {
    if (!f)
        return {};
    return QJsonObject{
        {QStringLiteral("min"), f->Min},   {QStringLiteral("min_time"), isoOrNull(samples, f->MinRow)},
        {QStringLiteral("max"), f->Max},   {QStringLiteral("max_time"), isoOrNull(samples, f->MaxRow)},
        {QStringLiteral("mean"), f->Mean}, {QStringLiteral("std"), f->Std}};
}

} // namespace

QString DurationText(double seconds) {
    const auto total = static_cast<qint64>(std::llround(std::max(0.0, seconds)));
    return QStringLiteral("%1:%2:%3")
        .arg(total / 3600)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

TStatisticsCells StatisticsCells(const TRecordStatistics& statistics, const TRecordSamples& samples,
                                 const TUnits& units) {
    TStatisticsCells cells;
    cells.Samples = units.Locale.toString(statistics.Count);
    cells.First = samples.timeText(statistics.FirstRow);
    cells.Last = samples.timeText(statistics.LastRow);
    if (statistics.FirstRow >= 0)
        cells.Duration = DurationText(statistics.DurationSeconds);
    cells.Pressure = quantityCells(statistics.Pressure, samples, &TUnits::ReadoutPressure, units);
    cells.Flow = quantityCells(statistics.Flow, samples, &TUnits::ReadoutFlow, units);
    return cells;
}

QJsonObject RecordStatisticsJson(const TRecordStatistics& statistics, const TRecordSamples& samples) {
    return QJsonObject{
        {QStringLiteral("count"), statistics.Count},
        {QStringLiteral("first"), isoOrNull(samples, statistics.FirstRow)},
        {QStringLiteral("last"), isoOrNull(samples, statistics.LastRow)},
        {QStringLiteral("duration_seconds"),
         statistics.FirstRow >= 0 ? QJsonValue(statistics.DurationSeconds) : QJsonValue()},
        {QStringLiteral("pressure"), quantityJson(statistics.Pressure, samples)},
        {QStringLiteral("flow"), quantityJson(statistics.Flow, samples)},
    };
}

QByteArray RecordStatisticsCsv(const TRecordStatistics& statistics, const TRecordSamples& samples,
                               const TUnits& units) {
    QString text = CsvLine({QStringLiteral("quantity"), QStringLiteral("unit"), QStringLiteral("count"),
                            QStringLiteral("first"), QStringLiteral("last"),
                            QStringLiteral("duration_seconds"), QStringLiteral("values"),
                            QStringLiteral("min"), QStringLiteral("min_time"), QStringLiteral("max"),
                            QStringLiteral("max_time"), QStringLiteral("mean"), QStringLiteral("std")});
    const QStringList times = {QString::number(statistics.Count), samples.isoTime(statistics.FirstRow),
                               samples.isoTime(statistics.LastRow),
                               statistics.FirstRow >= 0 ? AnalysisNumber(statistics.DurationSeconds)
                                                        : QString()};
    auto line = [&](const char* quantity, const QString& unit, const std::optional<TQuantityFigures>& f,
                    auto toUnit) {
        QStringList fields = QStringList{QLatin1String(quantity), unit} + times;
        if (f)
            fields << QString::number(f->Count) << AnalysisNumber(toUnit(f->Min))
                   << samples.isoTime(f->MinRow) << AnalysisNumber(toUnit(f->Max))
                   << samples.isoTime(f->MaxRow) << AnalysisNumber(toUnit(f->Mean))
                   << AnalysisNumber(toUnit(f->Std));
        else
            fields << QStringLiteral("0") << QString() << QString() << QString() << QString() << QString()
                   << QString();
        text += CsvLine(fields);
    };
    line("pressure", units.PressureUnitName(), statistics.Pressure,
         [&](double v) { return ToPressureUnitExactly(v, units.PressureUnit); });
    line("flow", units.FlowUnitName(), statistics.Flow,
         [&](double v) { return ToFlowUnitExactly(v, units.FlowUnit); });
    return text.toUtf8();
}

QString RecordStatisticsText(const TRecordStatistics& statistics, const TRecordSamples& samples,
                             const TUnits& units, const ITranslator& translator) {
    const TStatisticsCells cells = StatisticsCells(statistics, samples, units);
    auto tr = [&](const char* english) { return translator.Translate(QString::fromUtf8(english)); };
    QStringList labels = {tr("Samples"), tr("First"), tr("Last"), tr("Duration")};
    const QStringList values = {cells.Samples, cells.First, cells.Last, cells.Duration};
    qsizetype width = 0;
    for (const QString& l : labels)
        width = std::max(width, l.size() + 1);
    QString text;
    for (qsizetype i = 0; i < labels.size(); ++i)
        text += (values[i].isEmpty() ? labels[i] + u':'
                                     : (labels[i] + u':').leftJustified(width + 2) + values[i]) +
                u'\n';

    // A table of the figures, each column as wide as its widest cell.
    const QList<QStringList> rows = {
        {QString(), tr("Minimum"), tr("at"), tr("Maximum"), tr("at"), tr("Mean"), tr("Std. deviation")},
        {units.PressureCaption(tr("Pressure")), cells.Pressure.Min, cells.Pressure.MinTime,
         cells.Pressure.Max, cells.Pressure.MaxTime, cells.Pressure.Mean, cells.Pressure.Std},
        {units.FlowCaption(tr("Flow")), cells.Flow.Min, cells.Flow.MinTime, cells.Flow.Max,
         cells.Flow.MaxTime, cells.Flow.Mean, cells.Flow.Std}};
    QList<qsizetype> widths(rows.first().size(), 0);
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    text += u'\n';
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            // Numbers right-aligned, texts and times left-aligned.
            const bool number = c == 1 || c == 3 || c == 5 || c == 6;
            line += number && &row != &rows.first() ? row[c].rightJustified(widths[c])
                                                    : row[c].leftJustified(widths[c]);
        }
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    if (!statistics.Pressure && !statistics.Flow)
        text += tr("No values in this range.") + u'\n';
    return text;
}

QStringList ChartedRangeLines(const TRecordStatistics& pressureRange, const TRecordStatistics& flowRange,
                              const TRecordSamples& samples, const TUnits& units,
                              const ITranslator& translator) {
    auto tr = [&](const char* english) { return translator.Translate(QString::fromUtf8(english)); };
    const TStatisticsCells p = StatisticsCells(pressureRange, samples, units);
    const TStatisticsCells f = StatisticsCells(flowRange, samples, units);
    const QList<QStringList> rows = {
        {QString(), units.PressureCaption(tr("Pressure")), units.FlowCaption(tr("Flow"))},
        {tr("Samples"), p.Samples, f.Samples},
        {tr("First"), p.First, f.First},
        {tr("Last"), p.Last, f.Last},
        {tr("Duration"), p.Duration, f.Duration},
        {tr("Minimum"), p.Pressure.Min, f.Flow.Min},
        {tr("Maximum"), p.Pressure.Max, f.Flow.Max},
        {tr("Mean"), p.Pressure.Mean, f.Flow.Mean},
        {tr("Std. deviation"), p.Pressure.Std, f.Flow.Std},
    };
    qsizetype widths[3] = {0, 0, 0};
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < 3; ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QStringList lines = {tr("Statistics of the charted range")};
    for (const QStringList& row : rows) {
        QString line = row[0].leftJustified(widths[0] + 2) + row[1].leftJustified(widths[1] + 3) + row[2];
        while (line.endsWith(u' '))
            line.chop(1);
        lines << line;
    }
    return lines;
}
