// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/RecordChartsPage.h"

#include "records/ChartExport.h"
#include "records/RecordHeaderView.h"
#include "model/RecordModel.h"

#include <QFontMetrics>
#include <QPainter>

TFirstPage RecordChartsPage(const TZaznam& header, const ITranslator& translator, const TRecordChart& pressure,
                            const TRecordChart& flow) {
    const QList<TRecordHeaderField> fields = RecordHeaderFields(header, translator);
    return [fields, &pressure, &flow](QPainter& painter, const QRect& area, int) {
        const QFontMetrics metrics = painter.fontMetrics();
        const int step = metrics.lineSpacing();
        int y = area.top();
        QString label;
        for (const TRecordHeaderField& field : fields) {
            if (!field.Label.isEmpty())
                label = field.Label;
            // The second line of a field (the valve type) stands under the first one's value.
            const QString shown = (field.Label.isEmpty() ? QString() : label).leftJustified(20) +
                                  (field.Label.isEmpty() ? QStringLiteral("   ") : QStringLiteral(" : ")) + field.Value;
            painter.drawText(QPointF(area.left(), y + metrics.ascent()), shown);
            y += step;
        }
        y += step;
        const int gap = step;
        const int chartHeight = std::max(0, (area.bottom() - y - gap) / 2);
        DrawChart(pressure, painter, QRectF(area.left(), y, area.width(), chartHeight));
        DrawChart(flow, painter, QRectF(area.left(), y + chartHeight + gap, area.width(), chartHeight));
    };
}
