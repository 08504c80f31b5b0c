// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis exports of a record: whatever the record holds, the CSV parses as RFC 4180 with one
// row per sample and as many fields as its header, the JSON parses, and both carry the same values,
// which read back as the doubles the samples hold (in the user's unit: converted exactly).
#include "FuzzInput.h"

#include "model/ExactUnits.h"
#include "model/ParseNumber.h"
#include "model/Units.h"
#include "records/AnalysisExport.h"
#include "model/RecordModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <memory>
#include <optional>

namespace {

constexpr int MaxFuzzSamples = 300;

// RFC 4180 records after the "#" comment lines; null when the text does not parse.
std::optional<QList<QStringList>> parseCsv(const QString& text) {
    qsizetype at = 0;
    // Comment lines hold no line break of their own.
    while (at < text.size() && text[at] == u'#') {
        const qsizetype end = text.indexOf(QLatin1String("\r\n"), at);
        if (end < 0)
            return std::nullopt;
        at = end + 2;
    }
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    while (at < text.size()) {
        const QChar c = text[at];
        if (quoted) {
            if (c == u'"' && at + 1 < text.size() && text[at + 1] == u'"') {
                field += u'"';
                at += 2;
            } else if (c == u'"') {
                quoted = false;
                ++at;
                if (at < text.size() && text[at] != u',' && text[at] != u'\r')
                    return std::nullopt;
            } else {
                field += c;
                ++at;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            ++at;
        } else if (c == u',') {
            row << field;
            field.clear();
            ++at;
        } else if (c == u'\r') {
            if (at + 1 >= text.size() || text[at + 1] != u'\n')
                return std::nullopt;
            row << field;
            field.clear();
            rows << row;
            row.clear();
            at += 2;
        } else if (c == u'"' || c == u'\n') {
            return std::nullopt;
        } else {
            field += c;
            ++at;
        }
    }
    if (quoted || !row.isEmpty() || !field.isEmpty())
        return std::nullopt; // every record ends with CR LF
    return rows;
}

// What a sample's text stands for in every view: the number the table reads (0 where it reads none),
// in the text's full precision where the text is a finite double or a plain decimal with a comma.
std::optional<double> held(const QString& text, const QLocale& locale) {
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
    if (text.size() < 64 && plain.match(text).hasMatch()) {
        bool ok = false;
        const double value = QString(text).replace(u',', u'.').toDouble(&ok);
        if (ok && std::isfinite(value) && std::fabs(value) <= 3.4e38)
            return value;
    }
    const std::optional<double> shown = TryParseNumber(text, locale);
    if (!shown)
        return 0.0;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : *shown;
}

// The CSV field and the JSON value of one number, against what the sample holds.
void checkNumber(const QString& csv, const QJsonValue& json, std::optional<double> expected) {
    if (!expected) {
        FUZZ_CHECK(csv.isEmpty() && json.isNull());
        return;
    }
    FUZZ_CHECK(std::isfinite(*expected));
    bool ok = false;
    FUZZ_CHECK(csv.toDouble(&ok) == *expected && ok);
    FUZZ_CHECK(json.isDouble() && json.toDouble() == *expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    TUnits units;
    units.PressureUnit = data[0] % (PressureUnitCount + 1); // one past the table: shown as "---"
    units.FlowUnit = data[1] % (FlowUnitCount + 1);
    units.Locale = QLocale::c();
    const QStringList lines = QString::fromUtf8(fuzzBytes(data + 2, size - 2)).split(u'\n');

    static auto store = std::make_unique<TRecordStore>();
    store->CurrentRecord = 1;
    store->CurrentHeader = {};
    QStringList header = lines.mid(0, 4);
    while (header.size() < 4)
        header << QString();
    store->CurrentHeader.Description = header[0];
    store->CurrentHeader.Valve_Manufacturer = header[1];
    store->CurrentHeader.Valve_Type = header[2];
    store->CurrentHeader.Presetting = header[3];
    // Each further line a sample: "R<tab>date<tab>time<tab>pressure<tab>flow", R "1" for the current record.
    int count = 0;
    QList<const TZaznamData*> current;
    for (qsizetype i = 4; i < lines.size() && count < MaxFuzzSamples; ++i, ++count) {
        QStringList f = lines[i].split(u'\t');
        while (f.size() < 5)
            f << QString();
        TZaznamData& s = store->Samples[static_cast<std::size_t>(count)];
        s = {f[0] == QLatin1String("1") ? 1 : 0, f[1], f[2], f[3], f[4]};
        if (s.RecordIndex == 1)
            current << &s;
    }
    store->SampleCount = count;

    const QString csv = QString::fromUtf8(RecordAnalysisCsv(*store, units));
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(RecordAnalysisJson(*store, units), &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && json.isObject());
    const QJsonArray samples = json.object().value(QStringLiteral("samples")).toArray();
    FUZZ_CHECK(samples.size() == current.size());

    const std::optional<QList<QStringList>> rows = parseCsv(csv);
    FUZZ_CHECK(rows.has_value());
    FUZZ_CHECK(rows->size() == current.size() + 1);
    const QStringList& names = rows->first();
    FUZZ_CHECK(names.size() >= 3 && names[0] == QLatin1String("time"));
    for (qsizetype r = 0; r < current.size(); ++r) {
        const QStringList& fields = (*rows)[r + 1];
        const QJsonObject sample = samples[r].toObject();
        const TZaznamData& s = *current[r];
        FUZZ_CHECK(fields.size() == names.size() && sample.size() == names.size());
        FUZZ_CHECK(fields[0] == sample.value(QStringLiteral("time")).toString());
        const std::optional<double> pa = held(s.Pressure, units.Locale);
        const std::optional<double> lh = held(s.Flow, units.Locale);
        for (qsizetype f = 1; f < names.size(); ++f) {
            const QString& name = names[f];
            const QJsonValue value = sample.value(name);
            if (name == QLatin1String("pressure [Pa]"))
                checkNumber(fields[f], value, pa);
            else if (name == QLatin1String("flow [l/h]"))
                checkNumber(fields[f], value, lh);
            else if (name.startsWith(QLatin1String("pressure [")))
                checkNumber(fields[f], value,
                            pa ? std::optional<double>(ToPressureUnitExactly(*pa, units.PressureUnit))
                               : std::nullopt);
            else
                checkNumber(fields[f], value,
                            lh ? std::optional<double>(ToFlowUnitExactly(*lh, units.FlowUnit))
                               : std::nullopt);
        }
    }
    return 0;
}
