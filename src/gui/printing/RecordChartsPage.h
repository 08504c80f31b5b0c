// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrintReport.h"

class ITranslator;
class TRecordChart;
struct TZaznam;

// The first page of the records report with charts: the record header as the records window's
// left panel shows it, then the pressure chart and the flow chart, one above the other.
TFirstPage RecordChartsPage(const TZaznam& header, const ITranslator& translator, const TRecordChart& pressure,
                            const TRecordChart& flow);
