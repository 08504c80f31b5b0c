// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/RecordStatisticsText.h"

#include <QWidget>

class ITranslator;
class QLabel;
struct TUnits;

// The records window's statistics under the charts: for the whole record and for the range the
// chart shows, the samples, duration, first and last time, then pressure and flow with their mean,
// standard deviation, minimum and maximum (each with its time).
class TRecordStatisticsPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int Rows = 9;
    static constexpr int Columns = 5;

    explicit TRecordStatisticsPanel(QWidget* parent = nullptr);

    // The headings in the user's language, the quantities with the user's units.
    void applyTexts(const ITranslator& translator, const TUnits& units);
    void showFigures(const TStatisticsCells& whole, const TStatisticsCells& visible);
    // What a cell shows; row 0 and every third row are headings, column 0 names the range.
    QString cellText(int row, int column) const;

private:
    QLabel* m_cells[Rows][Columns] = {};
};
