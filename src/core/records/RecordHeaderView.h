// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

struct TZaznam;
class ITranslator;

struct TRecordHeaderField {
    QString Label; // translated; empty for the second line of a field (the valve type)
    QString Value;
};

// The header as the records window's left panel shows it, top to bottom: description, valve
// manufacturer and type, presetting, medium, and for a glycol its concentration and temperature.
QList<TRecordHeaderField> RecordHeaderFields(const TZaznam& header, const ITranslator& translator);
