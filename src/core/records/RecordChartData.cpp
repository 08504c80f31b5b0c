// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordChartData.h"

#include "model/Translator.h"
#include "model/Markers.h"
#include "model/Units.h"
#include "model/DisplayNumber.h"
#include "model/RecordModel.h"
#include "records/SampleValue.h"

namespace {

// The extent of the plotted values; before the first point it is 0 ... the smallest span.
class TExtent {
public:
    explicit TExtent(double smallestSpan) : m_smallestSpan(smallestSpan), m_max(smallestSpan) {}

    void add(double y) {
        if (m_first) {
            m_min = m_max = y;
            m_first = false;
        }
        if (y < m_min)
            m_min = y;
        if (y > m_max)
            m_max = y;
    }

    TAxisRange axis() const {
        double span = m_max - m_min;
        if (m_smallestSpan > span)
            span = m_smallestSpan;
        return {m_min - span, m_max + span};
    }

private:
    double m_smallestSpan;
    double m_min = 0.0;
    double m_max;
    bool m_first = true;
};

} // namespace

TRecordChartData BuildRecordChartData(const TRecordStore& store, const TUnits& units,
                                      const ITranslator& translator) {
    TRecordChartData data;
    data.Pressure.AxisTitle = translator.Translate(QStringLiteral("Pressure")) + QStringLiteral(" [") +
                              units.PressureUnitName() + u']';
    data.Flow.AxisTitle =
        translator.Translate(QStringLiteral("Flow")) + QStringLiteral(" [") + units.FlowUnitName() + u']';

    const std::int32_t held = store.heldSamples();
    if (held < 1)
        return data;

    const double pressureFactor = units.PressureFactor();
    const double flowFactor = units.FlowFactor();
    TExtent pressureExtent(1000.0 * pressureFactor);
    TExtent flowExtent(10.0 * flowFactor);
    const TDisplayNumberReader reader(units.Locale);

    std::int32_t rows = 0;
    for (std::int32_t i = 0; i < held; ++i)
        rows += store.Samples[i].RecordIndex == store.CurrentRecord;
    data.Pressure.Points.reserve(rows);
    data.Flow.Points.reserve(rows);

    // An empty cell (no value measured) gets no point either, though the range check lets it pass:
    // plotted, it would stretch the axis to millions below the data.
    auto plots = [](double value, bool valid) { return valid && value != NoValue; };

    std::int32_t shown = 0;
    for (std::int32_t i = 0; i < held; ++i) {
        const TZaznamData& sample = store.Samples[i];
        if (sample.RecordIndex != store.CurrentRecord)
            continue;
        const double x = shown;

        const double pressure = SampleValue(sample.Pressure, reader, units.Locale);
        if (plots(pressure, IsValidPressure(pressure))) {
            const double y = pressure * pressureFactor;
            data.Pressure.Points.append(QPointF(x, y));
            pressureExtent.add(y);
        }
        const double flow = SampleValue(sample.Flow, reader, units.Locale);
        if (plots(flow, IsValidFlow(flow))) {
            const double y = flow * flowFactor;
            data.Flow.Points.append(QPointF(x, y));
            flowExtent.add(y);
        }
        ++shown;
    }

    data.ShownRows = shown;
    data.SetsLimits = true;
    data.Pressure.ValueAxis = pressureExtent.axis();
    data.Flow.ValueAxis = flowExtent.axis();
    data.XAxis = {-0.5, shown - 0.5};
    return data;
}
