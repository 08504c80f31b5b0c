// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

struct TRecordStore;
struct TUnits;
class ITranslator;

// Record files (*.r9q4): one measurement record, its header and its samples, in the XML dialect.

// Writes CurrentHeader and the samples of CurrentRecord, in table order. False with *error (if
// given) when the file cannot be written; the old file is then untouched.
bool SaveRecordFile(const TRecordStore& store, const QString& fileName, QString* error = nullptr);

// Reads a record file into CurrentHeader and Samples from index 0 (at most MaxFileSamples), makes
// it the current record (0) and leaves RecordHeaders and RecordCount alone. Header fields the file
// lacks keep their values, except the description and the presetting, which become empty; a sample
// starts clean, so one without some element shows an empty text there. A stored presetting that
// reads as a number is shown as the units format it, any other text ("None", empty) as stored.
// The store changes only when the whole file was read: on failure (unreadable, first line without
// "xml", a header integer that is not a whole number, a file that ends inside its record) the
// result is false, the store is as it was and *error (if given) holds a sentence for the user.
bool LoadRecordFile(TRecordStore& store, const QString& fileName, const TUnits& units,
                    const ITranslator& translator, QString* error = nullptr);
// The same over the file's bytes; sourceName stands for the file in the error sentences.
bool LoadRecordBytes(TRecordStore& store, const QByteArray& bytes, const QString& sourceName,
                     const TUnits& units, const ITranslator& translator, QString* error = nullptr);
