// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ProjectComparison.h"

#include <QByteArray>
#include <QString>

class ITranslator;
struct TUnits;
struct TValveCatalogue;

// A project comparison for people (aligned text in the user's units) and for other programs (UTF-8
// CSV and JSON with flows in l/h and pressures in Pa in full precision).
struct TComparisonReportInput {
    QString OldProject; // the projects' names
    QString NewProject;
    const TProjectComparison& Comparison;
    const TValveCatalogue& Catalogue;
    int CodePage = 0; // of the catalogue's names
};

QString ProjectComparisonText(const TComparisonReportInput& input, const TUnits& units,
                              const ITranslator& translator);
QByteArray ProjectComparisonCsv(const TComparisonReportInput& input);
QByteArray ProjectComparisonJson(const TComparisonReportInput& input);
// "matched", "old only" or "new only": as other programs read it, never translated.
QString ComparedKindKey(TComparedKind kind);
