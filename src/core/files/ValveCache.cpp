// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ValveCache.h"

#include "files/SafeFileWriter.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// At most `size` bytes; the rest of the file does not belong to the cache.
std::optional<QByteArray> readHead(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(size);
    if (bytes.isNull() && file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

void copyHead(const QByteArray& bytes, void* into, std::size_t size) {
    std::memcpy(into, bytes.constData(), std::min(static_cast<std::size_t>(bytes.size()), size));
}

} // namespace

bool LoadValveCache(const QString& directory, TValveCatalogue& catalogue) {
    const QDir dir(directory);
    // Both read before either is used, so that a missing second file cannot leave half a catalogue behind.
    const auto manufacturers =
        readHead(dir.filePath(QLatin1String(ManufacturersCacheName)), ManufacturersFileSize);
    if (!manufacturers)
        return false;
    const auto valves = readHead(dir.filePath(QLatin1String(ValvesCacheName)), ValvesFileSize);
    if (!valves)
        return false;
    LoadValveCacheBytes(*manufacturers, *valves, catalogue);
    return true;
}

void LoadValveCacheBytes(const QByteArray& manufacturers, const QByteArray& valves,
                         TValveCatalogue& catalogue) {
    // Short files leave the bytes they lack as they were.
    copyHead(manufacturers, &catalogue, ManufacturersFileSize);
    copyHead(valves, catalogue.Valves, ValvesFileSize);
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
