// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordRows.h"

#include "model/Translator.h"
#include "records/SampleValue.h"

namespace {

const TIdentityTranslator english;

std::array<QString, 4> headerRow(const TUnits& units, const ITranslator& translator) {
    return {translator.Translate(QStringLiteral("Date")), translator.Translate(QStringLiteral("Time")),
            translator.Translate(QStringLiteral("Pressure")) + QStringLiteral(" [") +
                units.PressureUnitName() + u']',
            translator.Translate(QStringLiteral("Flow")) + QStringLiteral(" [") + units.FlowUnitName() +
                u']'};
}

} // namespace

TRecordRows::TRecordRows() : m_header(headerRow(m_units, english)), m_reader(m_units.Locale) {}

TRecordRows::TRecordRows(const TRecordStore& store, const TUnits& units, const ITranslator& translator)
    : m_header(headerRow(units, translator)), m_units(units), m_reader(units.Locale) {
    const std::int32_t held = store.heldSamples();
    qsizetype count = 0;
    for (std::int32_t i = 0; i < held; ++i)
        count += store.Samples[i].RecordIndex == store.CurrentRecord;
    m_samples.reserve(count);
    for (std::int32_t i = 0; i < held; ++i)
        if (store.Samples[i].RecordIndex == store.CurrentRecord)
            m_samples.append(store.Samples[i]);
}

int TRecordRows::rowCount() const {
    return m_samples.isEmpty() ? 2 : static_cast<int>(m_samples.size()) + 1;
}

QString TRecordRows::cell(int column, int row) const {
    if (row == 0)
        return column >= 0 && column < columnCount() ? m_header[static_cast<std::size_t>(column)] : QString();
    if (row < 1 || row > m_samples.size())
        return {};
    const TZaznamData& sample = m_samples[row - 1];
    switch (column) {
    case 0:
        return sample.Date;
    case 1:
        return sample.Time;
    case 2:
        return m_units.FormatPressure(SampleValue(sample.Pressure, m_reader, m_units.Locale));
    case 3:
        return m_units.FormatFlow(SampleValue(sample.Flow, m_reader, m_units.Locale));
    default:
        return {};
    }
}

QString TRecordRows::label(int sampleRow) const {
    if (sampleRow < 0 || sampleRow >= m_samples.size())
        return {};
    const TZaznamData& sample = m_samples[sampleRow];
    return sample.Date + u' ' + sample.Time;
}

TTextTable TRecordRows::toTextTable() const {
    TTextTable table(columnCount(), rowCount());
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columnCount(); ++column)
            table.setCell(column, row, cell(column, row));
    return table;
}
