// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/RecordChartsPage.h"

#include "records/ChartExport.h"
#include "records/RecordChart.h"
#include "records/RecordStatistics.h"
#include "records/RecordStatisticsText.h"
#include "records/RecordHeaderView.h"
#include "model/RecordModel.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// The lines in the band right of the header, from `left` to the area's right edge and down to
// `bottom`, right-aligned; scaled down until they fit.
void drawBeside(QPainter& painter, const QStringList& lines, int left, const QRect& area, int bottom) {
    if (lines.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int height = metrics.lineSpacing() * int(lines.size());
    const double room = std::max(0, area.right() - left);
    const double scale = std::min({1.0, room / std::max(1, width), double(bottom - area.top()) / std::max(1, height)});
    if (scale <= 0.0)
        return;
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * scale);
    painter.setFont(font);
    const QFontMetrics scaled = painter.fontMetrics();
    int shownWidth = 0;
    for (const QString& line : lines)
        shownWidth = std::max(shownWidth, scaled.horizontalAdvance(line));
    const int x = area.right() - shownWidth;
    int y = area.top();
    for (const QString& line : lines) {
        painter.drawText(QPointF(x, y + scaled.ascent()), line);
        y += scaled.lineSpacing();
    }
    painter.restore();
}

} // namespace

QStringList ChartedStatistics(const TRecordSamples& samples, const TRecordChart& pressure, const TRecordChart& flow,
                              const TUnits& units, const ITranslator& translator) {
    const TAxisRange p = pressure.limits().X;
    const TAxisRange f = flow.limits().X;
    return ChartedRangeLines(samples.visible(p.Min, p.Max), samples.visible(f.Min, f.Max), samples, units, translator);
}

TFirstPage RecordChartsPage(const TZaznam& header, const ITranslator& translator, const TRecordChart& pressure,
                            const TRecordChart& flow, const QStringList& statistics) {
    const QList<TRecordHeaderField> fields = RecordHeaderFields(header, translator);
    return [fields, statistics, &pressure, &flow](QPainter& painter, const QRect& area, int) {
        const QFontMetrics metrics = painter.fontMetrics();
        const int step = metrics.lineSpacing();
        int y = area.top();
        int headerRight = area.left();
        QString label;
        for (const TRecordHeaderField& field : fields) {
            if (!field.Label.isEmpty())
                label = field.Label;
            // The second line of a field (the valve type) stands under the first one's value.
            const QString shown = (field.Label.isEmpty() ? QString() : label).leftJustified(20) +
                                  (field.Label.isEmpty() ? QStringLiteral("   ") : QStringLiteral(" : ")) + field.Value;
            painter.drawText(QPointF(area.left(), y + metrics.ascent()), shown);
            headerRight = std::max(headerRight, area.left() + metrics.horizontalAdvance(shown));
            y += step;
        }
        drawBeside(painter, statistics, headerRight + 2 * metrics.horizontalAdvance(u' '), area, y + step / 2);
        y += step;
        const int gap = step;
        const int chartHeight = std::max(0, (area.bottom() - y - gap) / 2);
        DrawChart(pressure, painter, QRectF(area.left(), y, area.width(), chartHeight));
        DrawChart(flow, painter, QRectF(area.left(), y + chartHeight + gap, area.width(), chartHeight));
    };
}
