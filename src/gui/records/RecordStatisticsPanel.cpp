// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordStatisticsPanel.h"

#include "model/Translator.h"
#include "model/Units.h"

#include <QGridLayout>
#include <QLabel>

namespace {

// The table header's colour, so that the headings read as the table's do.
constexpr const char* HeadingStyle = "background-color: rgb(184,214,177); padding: 1px 4px;";
constexpr const char* CellStyle = "padding: 1px 4px;";

bool isHeading(int row) {
    return row % 3 == 0;
}

QString withTime(const QString& value, const QString& time) {
    return value.isEmpty() || time.isEmpty() ? value : value + QStringLiteral("  (") + time + u')';
}

} // namespace

TRecordStatisticsPanel::TRecordStatisticsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("diaStatistics"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 2);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(0);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            auto* label = new QLabel;
            label->setObjectName(QStringLiteral("diaStat%1_%2").arg(r).arg(c));
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setStyleSheet(QLatin1String(isHeading(r) ? HeadingStyle : CellStyle));
            if (!isHeading(r) && c > 0) {
                QFont plain = label->font();
                plain.setBold(false);
                label->setFont(plain);
            }
            // Counts, durations and values to the right under their headings, as in the table; the
            // columns with times to the left.
            const bool number = c == 1 || c == 2;
            label->setAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            grid->addWidget(label, r, c);
            m_cells[r][c] = label;
        }
    }
    grid->setColumnStretch(Columns - 1, 1);
}

void TRecordStatisticsPanel::applyTexts(const ITranslator& translator, const TUnits& units) {
    auto tr = [&](const char* english) { return translator.Translate(QString::fromUtf8(english)); };
    const QString headings[3][Columns] = {
        {QString(), tr("Samples"), tr("Duration"), tr("First"), tr("Last")},
        {units.PressureCaption(tr("Pressure")), tr("Mean"), tr("Std. deviation"), tr("Minimum"),
         tr("Maximum")},
        {units.FlowCaption(tr("Flow")), tr("Mean"), tr("Std. deviation"), tr("Minimum"), tr("Maximum")},
    };
    for (int block = 0; block < 3; ++block) {
        for (int c = 0; c < Columns; ++c)
            m_cells[block * 3][c]->setText(headings[block][c]);
        m_cells[block * 3 + 1][0]->setText(tr("Whole record"));
        m_cells[block * 3 + 2][0]->setText(tr("Visible range"));
    }
}

void TRecordStatisticsPanel::showFigures(const TStatisticsCells& whole, const TStatisticsCells& visible) {
    const TStatisticsCells* ranges[2] = {&whole, &visible};
    for (int i = 0; i < 2; ++i) {
        const TStatisticsCells& s = *ranges[i];
        const QString rows[3][Columns - 1] = {
            {s.Samples, s.Duration, s.First, s.Last},
            {s.Pressure.Mean, s.Pressure.Std, withTime(s.Pressure.Min, s.Pressure.MinTime),
             withTime(s.Pressure.Max, s.Pressure.MaxTime)},
            {s.Flow.Mean, s.Flow.Std, withTime(s.Flow.Min, s.Flow.MinTime),
             withTime(s.Flow.Max, s.Flow.MaxTime)},
        };
        for (int block = 0; block < 3; ++block)
            for (int c = 1; c < Columns; ++c)
                m_cells[block * 3 + 1 + i][c]->setText(rows[block][c - 1]);
    }
}

QString TRecordStatisticsPanel::cellText(int row, int column) const {
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return {};
    return m_cells[row][column]->text();
}
