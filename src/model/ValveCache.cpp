#include "model/ValveCache.h"

#include "files/SafeFileWriter.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace {

bool readInto(const QString& path, char* into, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(into, size) >= 0;
}

} // namespace

bool LoadValveCache(const QString& directory, TValveCatalogue& catalogue) {
    const QDir dir(directory);
    // Read into a copy so that a missing second file cannot leave half a catalogue behind.
    auto staged = std::make_unique<TValveCatalogue>(catalogue);
    auto* bytes = reinterpret_cast<char*>(staged.get());
    if (!readInto(dir.filePath(QLatin1String(ManufacturersCacheName)), bytes, ManufacturersFileSize))
        return false;
    if (!readInto(dir.filePath(QLatin1String(ValvesCacheName)), reinterpret_cast<char*>(staged->Valves),
                  ValvesFileSize))
        return false;
    catalogue = *staged;
    return true;
}

bool SaveValveCache(const QString& directory, const TValveCatalogue& catalogue, QString* error) {
    const QDir dir(directory);
    const auto* bytes = reinterpret_cast<const char*>(&catalogue);
    if (!writeFileAtomically(dir.filePath(QLatin1String(ManufacturersCacheName)),
                             QByteArray(bytes, ManufacturersFileSize), error))
        return false;
    return writeFileAtomically(dir.filePath(QLatin1String(ValvesCacheName)),
                               QByteArray(reinterpret_cast<const char*>(catalogue.Valves), ValvesFileSize),
                               error);
}
