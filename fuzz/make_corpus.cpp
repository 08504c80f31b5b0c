// Writes the starting inputs that come from the simulated instrument into the corpus folders: what its
// demo content looks like as project and record files, as a record area, as cache files and as the
// replies of each transfer. Run by make-corpus.sh; the output is committed.
#include "FuzzedInstrument.h"

#include "files/ProjectFile.h"
#include "files/RecordFile.h"
#include "link/DeviceConfig.h"
#include "link/LinkScope.h"
#include "link/MemoryMap.h"
#include "link/ProjectTransfer.h"
#include "link/RecordTransfer.h"
#include "link/SimulatorDriver.h"
#include "link/ValveTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/Units.h"
#include "model/ValveCache.h"
#include "records/RecordModel.h"
#include "simulator/DemoContent.h"
#include "ui/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// The simulator behind the link, keeping each reply in the fuzzed instrument's input format.
class TRecordingSimulator final : public TSimulatorDriver {
public:
    using TSimulatorDriver::TSimulatorDriver;
    QByteArray Replies;

    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        const std::uint32_t ok = TSimulatorDriver::Read(pipe, data, length, received, timeoutMs);
        if (ok) {
            Replies.append(char(0));
            Replies.append(static_cast<const char*>(data) + FrameDataOffset, FrameDataSize);
        }
        return ok;
    }
};

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    TSimulatedInstrument instrument;
    WriteDemoContent(instrument);
    TRecordingSimulator driver(instrument);
    TNoPause pause;
    TScriptedUserInterface ui;
    const TMessageCatalogue catalogue(QStringLiteral("/nonexistent/"), QLocale::c());
    TLinkGuard guard;
    const TDeviceOperationContext context{guard, driver, pause, ui, catalogue};
    TUnits units;
    units.Locale = QLocale::c();
    bool ok = true;

    // Each transfer's replies, behind the operation byte fuzz_frames reads first.
    const auto replies = [&](char operation, const QString& name, const std::function<bool()>& transfer) {
        driver.Replies = QByteArray(1, operation);
        ok = transfer() && write(out.filePath(QStringLiteral("frames/sim-") + name), driver.Replies) && ok;
    };
    replies(0, QStringLiteral("ping"), [&] { return TestDeviceConnection(context) == TDeviceResult::Done; });

    std::unique_ptr<TProject> project;
    replies(1, QStringLiteral("project"), [&] {
        TDeviceConfig config{};
        return ReadProjectFromDevice(context, config, project) == TDeviceResult::Done;
    });
    if (!project)
        project = std::make_unique<TProject>();
    const QString projectPath = out.filePath(QStringLiteral("project/sim-demo.proj"));
    ok = SaveProjectFile(projectPath, *project) && ok;

    auto store = std::make_unique<TRecordStore>();
    replies(2, QStringLiteral("records"), [&] {
        const auto first = [](const QStringList&) { return std::optional<int>(0); };
        return ReadRecordsFromDevice(context, *store, 0, units, first) == TDeviceResult::Done;
    });
    for (int record = 0; record < store->RecordCount; ++record) {
        store->CurrentRecord = record;
        store->CurrentHeader = store->RecordHeaders[record];
        ok = SaveRecordFile(*store, out.filePath(QStringLiteral("record/sim-%1.r9q4").arg(record))) && ok;
    }

    auto valves = std::make_unique<TValveCatalogue>();
    replies(3, QStringLiteral("valves"),
            [&] { return ReadValvesFromDevice(context, *valves, scratch.path()) == TDeviceResult::Done; });
    // Only the valves the counts name: the rest of valves.bin is what a fresh catalogue holds.
    ok = write(out.filePath(QStringLiteral("valve_cache/sim-demo")),
               readAll(scratch.filePath(QLatin1String(ManufacturersCacheName))) +
                   readAll(scratch.filePath(QLatin1String(ValvesCacheName)))
                       .left(ValveCountOf(*valves) * static_cast<qsizetype>(sizeof(TValve)))) &&
         ok;

    // The area as the record transfer hands it on, behind fuzz_record_area's code page byte.
    std::vector<std::uint8_t> area = EncodeRecordArea(DemoRecords());
    area.insert(area.end(), RecordEndMarkBytes, 0xFF);
    ok = write(out.filePath(QStringLiteral("record_area/sim-demo")),
               QByteArray(1, char(0)) + QByteArray(reinterpret_cast<const char*>(area.data()),
                                                   static_cast<qsizetype>(area.size()))) &&
         ok;
    return ok ? 0 : 1;
}
