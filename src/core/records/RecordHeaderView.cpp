// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordHeaderView.h"

#include "model/Translator.h"
#include "model/RecordModel.h"

QList<TRecordHeaderField> RecordHeaderFields(const TZaznam& header, const ITranslator& translator) {
    QList<TRecordHeaderField> fields = {
        {translator.Translate(QStringLiteral("Description")), header.Description},
        {translator.Translate(QStringLiteral("Valve")), header.Valve_Manufacturer},
        {QString(), header.Valve_Type},
        {translator.Translate(QStringLiteral("Presetting")), header.Presetting},
        {translator.Translate(QStringLiteral("Medium")),
         translator.Translate(MediumName(header.Medium_Index))},
    };
    if (header.Medium_Index > 0) {
        fields.append(
            {translator.Translate(QStringLiteral("Concentration")), QString::number(header.Concentration)});
        fields.append(
            {translator.Translate(QStringLiteral("Temperature")), QString::number(header.Temperature)});
    }
    return fields;
}
