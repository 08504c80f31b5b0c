// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <limits>
#include <vector>

class ITranslator;
struct TRecordStore;
struct TZaznamData;
struct TUnits;

// Another record drawn over the charts of the one shown, for comparison. Both are laid on one time
// axis measured from each record's first sample: the overlay's sample taken t seconds after its
// first one stands where the shown record was t seconds after its own first sample.
struct TRecordOverlay {
    // "Description, 05.03.2012 07:04:09": what the legend names.
    QString Name;
    // x on the shown record's axis (its sample rows), y in the user's units.
    QList<QPointF> Pressure;
    QList<QPointF> Flow;
};

// "Description, 05.03.2012 07:04:09": the current record of a store as a chart legend names it.
QString RecordLegendName(const TRecordStore& store);

// The sample's date and time on the instrument's clock, in seconds of a day count; NaN when either
// does not read.
double SampleClockSeconds(const TZaznamData& sample);
// The same for the samples of a record one after the other, quicker where they share a date.
class TSampleClock {
public:
    double seconds(const TZaznamData& sample);

private:
    QString m_date;
    double m_day = std::numeric_limits<double>::quiet_NaN();
};

// Seconds since the first shown sample, one per shown sample of the current record; NaN for a
// sample whose date or time does not read.
std::vector<double> ElapsedSeconds(const TRecordStore& store);

// Where t seconds after the first sample lie on an axis whose rows have the given elapsed times:
// between two rows in proportion, beyond the ends at the pace of the nearest two rows (one row a
// second when there are fewer).
double AxisPositionOf(double seconds, const std::vector<double>& rowSeconds);

// The current record of `other` as an overlay for a shown record whose rows have `shownSeconds`.
TRecordOverlay BuildRecordOverlay(const TRecordStore& other, const std::vector<double>& shownSeconds,
                                  const TUnits& units, const ITranslator& translator);
