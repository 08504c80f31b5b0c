// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecordFile.h"

#include "files/ConversionError.h"
#include "files/XmlLoad.h"
#include "files/XmlWrite.h"
#include "model/Units.h"
#include "model/DisplayNumber.h"
#include "model/RecordModel.h"

#include <algorithm>
#include <vector>

namespace {

// The element names are what other installations read: never change them.
const QString Record = QStringLiteral("Record");
const QString Device = QStringLiteral("Device");
const QString Version = QStringLiteral("Version");
const QString Description = QStringLiteral("Description");
const QString ValveManufacturer = QStringLiteral("Valve_Manufacturer");
const QString ValveType = QStringLiteral("Valve_Type");
const QString Presetting = QStringLiteral("Presetting");
const QString MediumIndex = QStringLiteral("Medium_Index");
const QString Concentration = QStringLiteral("Concentration");
const QString Temperature = QStringLiteral("Temperature");
const QString Items = QStringLiteral("Items");
const QString Item = QStringLiteral("Item");
const QString Date = QStringLiteral("Date");
const QString Time = QStringLiteral("Time");
const QString Pressure = QStringLiteral("Pressure");
const QString Flow = QStringLiteral("Flow");

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

QString presettingShown(const QString& stored, const TUnits& units, const ITranslator& translator) {
    if (const auto number = ReadDisplayNumber(stored, units.Locale))
        return units.FormatPresetting(*number, translator);
    return stored;
}

} // namespace

bool SaveRecordFile(const TRecordStore& store, const QString& fileName, QString* error) {
    CXmlWrite xml;
    if (!xml.Open(fileName)) {
        setError(error, QStringLiteral("Cannot write %1: the folder does not exist.").arg(fileName));
        return false;
    }
    const TZaznam& header = store.CurrentHeader;
    xml.WriteHeader();
    xml.BeginElement(Record);
    xml.WriteText(Device, QStringLiteral("ZRV 10"));
    xml.WriteText(Version, QStringLiteral("0.2.4"));
    xml.WriteText(Description, header.Description);
    xml.WriteText(ValveManufacturer, header.Valve_Manufacturer);
    xml.WriteText(ValveType, header.Valve_Type);
    xml.WriteText(Presetting, header.Presetting);
    xml.WriteInt(MediumIndex, header.Medium_Index);
    xml.WriteInt(Concentration, header.Concentration);
    xml.WriteInt(Temperature, header.Temperature);
    xml.BeginElement(Items);
    const std::int32_t held = store.heldSamples();
    for (std::int32_t i = 0; i < held; ++i) {
        const TZaznamData& sample = store.Samples[i];
        if (sample.RecordIndex != store.CurrentRecord)
            continue;
        xml.BeginElement(Item);
        xml.WriteText(Date, sample.Date);
        xml.WriteText(Time, sample.Time);
        xml.WriteText(Pressure, sample.Pressure);
        xml.WriteText(Flow, sample.Flow);
        xml.EndElement(Item);
    }
    xml.EndElement(Items);
    xml.EndElement(Record);
    return xml.Close(error);
}

bool LoadRecordFile(TRecordStore& store, const QString& fileName, const TUnits& units,
                    const ITranslator& translator, QString* error) {
    const std::optional<QByteArray> bytes = CXmlLoad::ReadFile(fileName, error);
    return bytes && LoadRecordBytes(store, *bytes, fileName, units, translator, error);
}

bool LoadRecordBytes(TRecordStore& store, const QByteArray& bytes, const QString& fileName,
                     const TUnits& units, const ITranslator& translator, QString* error) {
    CXmlLoad xml(units.Locale);
    xml.OpenBytes(bytes);
    if (!xml.CheckHeader()) {
        xml.Close();
        setError(error,
                 QStringLiteral("%1 is not a record file: its first line has no \"xml\".").arg(fileName));
        return false;
    }

    TZaznam header = store.CurrentHeader;
    header.Description.clear();
    QString presetting;
    std::vector<TZaznamData> samples;
    bool entered = false;
    bool complete = false;
    const std::size_t limit = static_cast<std::size_t>(
        std::min<std::int32_t>(MaxFileSamples, static_cast<std::int32_t>(store.Samples.size())));
    try {
        while (!xml.AtEnd()) {
            const std::int32_t depth = xml.ReadTag();
            if (depth == 1) {
                QString ignored;
                xml.GetText(Device, ignored) || xml.GetText(Version, ignored) ||
                    xml.GetText(Description, header.Description) ||
                    xml.GetText(ValveManufacturer, header.Valve_Manufacturer) ||
                    xml.GetText(ValveType, header.Valve_Type) || xml.GetText(Presetting, presetting) ||
                    xml.GetInt(MediumIndex, header.Medium_Index) ||
                    xml.GetInt(Concentration, header.Concentration) ||
                    xml.GetInt(Temperature, header.Temperature);
            } else if (depth == 3) {
                if (xml.Name() == Item) {
                    if (samples.size() >= limit) {
                        complete = true;
                        break;
                    }
                    samples.emplace_back().RecordIndex = 0;
                } else if (!samples.empty()) {
                    TZaznamData& sample = samples.back();
                    xml.GetText(Date, sample.Date) || xml.GetText(Time, sample.Time) ||
                        xml.GetText(Pressure, sample.Pressure) || xml.GetText(Flow, sample.Flow);
                }
            }
            // Whitespace before the record container also reads as depth 0; only its end counts.
            entered = entered || depth > 0;
            if (depth == 0 && entered) {
                complete = true;
                break;
            }
        }
    } catch (const TConversionError& e) {
        xml.Close();
        setError(error, QStringLiteral("%1: %2").arg(fileName, QString::fromUtf8(e.what())));
        return false;
    }
    xml.Close();
    // A file cut off inside its record would show a record that silently lacks samples.
    if (!entered) {
        setError(error, QStringLiteral("%1 holds no record.").arg(fileName));
        return false;
    }
    if (!complete) {
        setError(error, QStringLiteral("%1 ends before its record is complete.").arg(fileName));
        return false;
    }

    header.Presetting = presettingShown(presetting, units, translator);
    store.CurrentHeader = std::move(header);
    std::move(samples.begin(), samples.end(), store.Samples.begin());
    store.SampleCount = static_cast<std::int32_t>(samples.size());
    store.CurrentRecord = 0;
    store.FileName = fileName;
    return true;
}
