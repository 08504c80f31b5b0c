// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordTable.h"

#include "model/Translator.h"
#include "model/ParseNumber.h"
#include "model/Units.h"
#include "model/DisplayNumber.h"
#include "model/RecordModel.h"

#include <cmath>

namespace {

// ParseNumber, without its locale round trips for the "%f" texts samples are held as.
double sampleValue(const QString& text, const TDisplayNumberReader& reader, const QLocale& locale) {
    if (reader.plainShortcut())
        if (const auto value = ReadPlainDecimal(text); value && std::fabs(*value) <= 3.4e38)
            return static_cast<double>(static_cast<float>(*value));
    return ParseNumber(text, locale);
}

} // namespace

TTextTable BuildRecordTable(const TRecordStore& store, const TUnits& units, const ITranslator& translator,
                            std::int32_t* shownRows) {
    const std::int32_t held = store.heldSamples();
    std::int32_t rows = 0;
    for (std::int32_t i = 0; i < held; ++i)
        rows += store.Samples[i].RecordIndex == store.CurrentRecord;

    TTextTable table(RecordTableColumns, rows > 0 ? rows + 1 : 2);
    table.setCell(0, 0, translator.Translate(QStringLiteral("Date")));
    table.setCell(1, 0, translator.Translate(QStringLiteral("Time")));
    table.setCell(2, 0,
                  translator.Translate(QStringLiteral("Pressure")) + QStringLiteral(" [") +
                      units.PressureUnitName() + u']');
    table.setCell(3, 0,
                  translator.Translate(QStringLiteral("Flow")) + QStringLiteral(" [") + units.FlowUnitName() +
                      u']');

    const TDisplayNumberReader reader(units.Locale);
    int row = 1;
    for (std::int32_t i = 0; i < held; ++i) {
        const TZaznamData& sample = store.Samples[i];
        if (sample.RecordIndex != store.CurrentRecord)
            continue;
        table.setCell(0, row, sample.Date);
        table.setCell(1, row, sample.Time);
        table.setCell(2, row, units.FormatPressure(sampleValue(sample.Pressure, reader, units.Locale)));
        table.setCell(3, row, units.FormatFlow(sampleValue(sample.Flow, reader, units.Locale)));
        ++row;
    }
    if (shownRows)
        *shownRows = rows;
    return table;
}
