// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "commands/DeviceRecordRead.h"
#include "commands/DeviceUserInterface.h"
#include "link/SimulatorDriver.h"
#include "link/ValveTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/Markers.h"
#include "model/Units.h"
#include "files/ValveCache.h"
#include "model/RecordModel.h"
#include "simulator/DemoContent.h"
#include "commands/ScriptedUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <limits>
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
    TDeviceUserInterface events(ui, catalogue);
    const TDeviceOperationContext context{guard, driver, pause, events};
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

    // The balancing summary: unit, tolerance, then the project's bytes; once as read, once with the
    // values a damaged instrument or a hand-edited file can give.
    const auto balancingInput = [](int flowUnit, double tolerance, const TProject& p) {
        QByteArray bytes(1, char(flowUnit));
        bytes.append(reinterpret_cast<const char*>(&tolerance), sizeof tolerance);
        bytes.append(reinterpret_cast<const char*>(&p.Header), sizeof p.Header);
        bytes.append(reinterpret_cast<const char*>(p.Branches.data()),
                     static_cast<qsizetype>(sizeof(TBranch)) * p.branchCount());
        return bytes;
    };
    ok = write(out.filePath(QStringLiteral("balancing/sim-demo")), balancingInput(5, 10.0, *project)) && ok;
    {
        auto odd = std::make_unique<TProject>();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const double flows[][2] = {{1e-45, 100.0}, {nan, 100.0},  {100.0, inf},    {100.0, 1e308},
                                   {0.0009, 0.001}, {0.001, 0.001}, {250.0, 252.5}, {100.0, 102.54},
                                   {-inf, 5.0},     {100.0, 4.9e-324}};
        int count = 0;
        for (const auto& f : flows) {
            TBranch& b = odd->Branches[static_cast<std::size_t>(count++)];
            b.Request_Flow = f[0];
            b.Final_Flow = f[1];
            b.Initial_Flow = NoValue;
            b.Initial_Presetting = nan;
            b.Final_Presetting = inf;
        }
        odd->Header.Branch_Count = static_cast<std::int16_t>(count);
        ok = write(out.filePath(QStringLiteral("balancing/odd-values")), balancingInput(1, 2.5, *odd)) && ok;
    }
    // "project check": the tolerance in quarter per cent, then the file; once with a requested flow
    // far below anything shown, as a hand-edited file may hold it.
    const QByteArray demoFile = readAll(projectPath);
    ok = write(out.filePath(QStringLiteral("project_check/sim-demo")), QByteArray(1, char(40)) + demoFile) && ok;
    {
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(demoFile.constData() + 2),
                                          (demoFile.size() - 2) / 2);
        const qsizetype from = text.indexOf(QStringLiteral("<Request_Flow>")) + 14;
        const qsizetype to = text.indexOf(u'<', from);
        if (from >= 14 && to > from)
            text.replace(from, to - from, QStringLiteral("1e-45"));
        const QByteArray edited = demoFile.left(2) + QByteArray(reinterpret_cast<const char*>(text.utf16()),
                                                                text.size() * 2);
        ok = write(out.filePath(QStringLiteral("project_check/tiny-request")), QByteArray(1, char(10)) + edited) && ok;
    }

    auto store = std::make_unique<TRecordStore>();
    replies(2, QStringLiteral("records"), [&] {
        const auto first = [](const QStringList&) { return std::optional<int>(0); };
        return ReadRecordsFromDevice(context, *store, 0, units, catalogue, first) == TDeviceResult::Done;
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
