// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every form of the balancing summary must agree on, for the balancing and project_check
// targets: counts that add up, a deviation exactly where a branch was measured, always finite, and a
// state that follows from the deviation as shown and the tolerance.
#include "FuzzInput.h"

#include "files/BalancingSummaryFile.h"
#include "model/Balancing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>
#include <vector>

// RFC 4180 records; nothing for text that is not well formed.
inline std::optional<std::vector<QStringList>> fuzzCsvRecords(const QString& text) {
    std::vector<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            fields << field;
            records.push_back(fields);
            fields.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else if (c == u'"' || c == u'\r' || c == u'\n') {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !fields.isEmpty())
        return std::nullopt;
    return records;
}

inline bool fuzzFiniteNumber(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

inline TBalanceState fuzzStateOf(const QString& key) {
    if (key == QLatin1String("within"))
        return TBalanceState::Within;
    if (key == QLatin1String("outside"))
        return TBalanceState::Outside;
    FUZZ_CHECK(key == QLatin1String("not measured"));
    return TBalanceState::NotMeasured;
}

// One branch's state agrees with its deviation and the tolerance.
inline void fuzzCheckBalance(const std::optional<double>& deviation, TBalanceState state, const TTolerance& tolerance) {
    FUZZ_CHECK(deviation.has_value() == (state != TBalanceState::NotMeasured));
    if (!deviation)
        return;
    FUZZ_CHECK(std::isfinite(*deviation));
    const double shown = ShownDeviation(*deviation);
    const bool within = shown >= -tolerance.Lower - 1e-9 && shown <= tolerance.Upper + 1e-9;
    FUZZ_CHECK(within == (state == TBalanceState::Within));
}

inline void fuzzCheckSummary(const TBalancingSummary& summary, int branchCount) {
    FUZZ_CHECK(static_cast<int>(summary.Branches.size()) == branchCount);
    int counts[3] = {0, 0, 0};
    for (const TBranchBalance& b : summary.Branches) {
        fuzzCheckBalance(b.Deviation, b.State, summary.Tolerance);
        ++counts[static_cast<int>(b.State)];
    }
    FUZZ_CHECK(counts[static_cast<int>(TBalanceState::NotMeasured)] == summary.NotMeasured);
    FUZZ_CHECK(counts[static_cast<int>(TBalanceState::Within)] == summary.Within);
    FUZZ_CHECK(counts[static_cast<int>(TBalanceState::Outside)] == summary.Outside);
}

// The CSV: a header and one record per branch, numbers where a value is, the states of `summary`.
inline void fuzzCheckCsv(const QString& csv, const TBalancingSummary& summary) {
    const auto records = fuzzCsvRecords(csv);
    FUZZ_CHECK(records.has_value());
    FUZZ_CHECK(records->size() == summary.Branches.size() + 1);
    for (std::size_t i = 1; i < records->size(); ++i) {
        const QStringList& f = (*records)[i];
        FUZZ_CHECK(f.size() == 10);
        for (int column = 3; column <= 8; ++column)
            FUZZ_CHECK(f.at(column).isEmpty() || fuzzFiniteNumber(f.at(column)));
        const TBalanceState state = fuzzStateOf(f.at(9));
        FUZZ_CHECK(state == summary.Branches[i - 1].State);
        FUZZ_CHECK(f.at(8).isEmpty() == (state == TBalanceState::NotMeasured));
    }
}

// The JSON: it parses, its counts add up to its branches, each branch as in the CSV.
inline void fuzzCheckJson(const QByteArray& json, const TBalancingSummary& summary) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && document.isObject());
    const QJsonObject root = document.object();
    const QJsonArray branches = root.value(QStringLiteral("branches")).toArray();
    FUZZ_CHECK(branches.size() == static_cast<qsizetype>(summary.Branches.size()));
    FUZZ_CHECK(root.value(QStringLiteral("within")).toInt() == summary.Within);
    FUZZ_CHECK(root.value(QStringLiteral("outside")).toInt() == summary.Outside);
    FUZZ_CHECK(root.value(QStringLiteral("not_measured")).toInt() == summary.NotMeasured);
    for (qsizetype i = 0; i < branches.size(); ++i) {
        const QJsonObject b = branches.at(i).toObject();
        const TBalanceState state = fuzzStateOf(b.value(QStringLiteral("state")).toString());
        FUZZ_CHECK(state == summary.Branches[static_cast<std::size_t>(i)].State);
        const QJsonValue deviation = b.value(QStringLiteral("deviation_percent"));
        FUZZ_CHECK(deviation.isDouble() == (state != TBalanceState::NotMeasured));
        FUZZ_CHECK(deviation.isDouble() || deviation.isNull());
    }
}
