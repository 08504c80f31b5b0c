// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class ITranslator;
struct TRecordStore;
struct TUnits;

// The current record for further analysis in other programs: every sample with an ISO 8601
// timestamp (the instrument's local time, no zone) and its values in full precision, in Pa and l/h
// and in the user's units. Unlike the table exports nothing is rounded for display.
enum class TAnalysisFormat { CsvUtf8, Json };

// RFC 4180 comma-separated UTF-8 with a header row; the record header as leading "#" lines.
QByteArray RecordAnalysisCsv(const TRecordStore& store, const TUnits& units);
// {"header": {...}, "units": {...}, "samples": [{...}, ...]}; the samples have the CSV's fields.
QByteArray RecordAnalysisJson(const TRecordStore& store, const TUnits& units);
QByteArray RecordAnalysisBytes(const TRecordStore& store, const TUnits& units, TAnalysisFormat format);

// ".csv" or ".json" added to a name without extension.
QString AnalysisFileName(const QString& chosen, TAnalysisFormat format);
// Written through a temporary file; on failure the old file is untouched and *error says why.
bool ExportRecordAnalysis(const TRecordStore& store, const TUnits& units, TAnalysisFormat format,
                          const QString& fileName, QString* error);

// "dd.mm.yyyy" and "hh:mm:ss" as "yyyy-mm-ddThh:mm:ss"; texts of another form are joined by a blank.
QString IsoTimestamp(const QString& date, const QString& time);
