// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintReport.h"

#include <QStringList>

class ITranslator;
class TRecordChart;
class TRecordSamples;
struct TUnits;
struct TZaznam;

// The first page of the records report with charts: the record header as the records window's
// left panel shows it, then the pressure chart and the flow chart, one above the other. The
// statistics lines stand to the right of the header, in a smaller type where they would not fit
// there otherwise, so that the header and the charts keep their places.
TFirstPage RecordChartsPage(const TZaznam& header, const ITranslator& translator, const TRecordChart& pressure,
                            const TRecordChart& flow, const QStringList& statistics = {});

// The statistics of each quantity over the range its chart shows, for that page.
QStringList ChartedStatistics(const TRecordSamples& samples, const TRecordChart& pressure, const TRecordChart& flow,
                              const TUnits& units, const ITranslator& translator);
