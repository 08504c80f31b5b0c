// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli device ...: the instrument transfers of the desktop program, through the driver library
// beside the executable (or the one --driver names).
#include "CliOptions.h"
#include "CliUserInterface.h"

#include "commands/DeviceRecordRead.h"
#include "commands/DeviceUserInterface.h"
#include "files/ProcessPaths.h"
#include "files/ProjectFile.h"
#include "files/RecordFile.h"
#include "link/DeviceConfig.h"
#include "link/DriverLibrary.h"
#include "link/LinkScope.h"
#include "link/Pause.h"
#include "link/ProjectTransfer.h"
#include "link/ValveTransfer.h"
#include "localisation/MessageCatalogue.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"
#include "model/RecordModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <memory>
#include <optional>

namespace {

struct TDeviceArgs {
    QStringList Positional;
    bool Yes = false;
    bool Verify = false;
};

TDeviceArgs deviceArgs(const TCliOptions& options) {
    return {options.Positional, options.hasFlag(QStringLiteral("--yes")),
            options.hasFlag(QStringLiteral("--verify"))};
}

// Everything one device command works with; the companion is its own application object.
struct TDeviceSession {
    TDeviceSession(const TCliOptions& options, QTextStream& out, QTextStream& err, bool assumeYes)
        : Ui(out, err, assumeYes), Catalogue(QString()) {
        QString path = options.extraValue(QStringLiteral("--driver"));
        if (path.isEmpty())
            path = ChosenDriverFile(ProcessApplicationPaths());
        Driver = LoadDriver(path);
        Config.InstrumentCodePage = static_cast<std::uint16_t>(options.CodePage);
    }

    TDeviceOperationContext context() { return {Guard, *Driver, Pause, Events}; }

    // The link scope's message (or the refusal) as the program shows it.
    int failed() {
        Ui.finish(false);
        return 1;
    }
    // Whatever the outcome but a failure: the last status text is shown as it is.
    TDeviceResult shown(TDeviceResult result) {
        if (result != TDeviceResult::Failed)
            Ui.finish(true);
        return result;
    }

    TCliUserInterface Ui;
    TMessageCatalogue Catalogue;
    TDeviceUserInterface Events{Ui, Catalogue};
    std::unique_ptr<IUsbDriver> Driver;
    TRealPause Pause;
    TLinkGuard Guard;
    TDeviceConfig Config{};
};

bool usageError(bool wrong, const char* usage, QTextStream& err) {
    if (wrong)
        err << "usage: zrv10-cli " << usage << "\n";
    return wrong;
}

} // namespace

int RunDevicePing(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (usageError(!deviceArgs(options).Positional.isEmpty(), "device ping", err))
        return 2;
    TDeviceSession session(options, out, err, false);
    return session.shown(TestDeviceConnection(session.context())) == TDeviceResult::Done ? 0
                                                                                         : session.failed();
}

int RunDeviceReadProject(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (usageError(!deviceArgs(options).Positional.isEmpty() || options.Output.isEmpty(),
                   "device read-project -o FILE.proj", err))
        return 2;
    TDeviceSession session(options, out, err, false);
    std::unique_ptr<TProject> project;
    switch (session.shown(ReadProjectFromDevice(session.context(), session.Config, project))) {
    case TDeviceResult::Done:
        break;
    case TDeviceResult::NothingDone:
        return 1; // the message box said why
    case TDeviceResult::Failed:
    case TDeviceResult::Cancelled:
        return session.failed();
    }
    const QStringList cut = NamesBreakingProjectFile(*project);
    if (!cut.isEmpty())
        err << "zrv10-cli: warning: a project file cuts these names at \"</\" when it is read again: \""
            << cut.join(QStringLiteral("\", \"")) << '"' << Qt::endl;
    QString error;
    if (!SaveProjectFile(options.Output, *project, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    return 0;
}

int RunDeviceWriteProject(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const TDeviceArgs args = deviceArgs(options);
    if (usageError(args.Positional.size() != 1, "device write-project FILE.proj [--yes] [--verify]", err))
        return 2;
    // Nobody could answer the question: overwriting the instrument's project needs --yes.
    if (!args.Yes && !TCliUserInterface::isInteractive()) {
        err << "zrv10-cli: not overwriting the instrument's project without --yes\n";
        return 2;
    }
    TDeviceSession session(options, out, err, args.Yes);
    // The names go to the instrument in its own character table, the one a read decoded them with.
    int codePage = options.CodePage;
    if (!options.CodePageGiven) {
        if (ReadConfigFromDevice(session.context(), session.Config) != TDeviceResult::Done)
            return session.failed();
        codePage = session.Config.InstrumentCodePage;
    }
    auto project = std::make_unique<TProject>();
    QString error;
    if (!LoadProjectFile(args.Positional.first(), *project, codePage, options.Units.Locale, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    // --yes answers the question that lists them: the names that change are told all the same.
    const QStringList changing = NamesNotHeld(*project, codePage);
    if (args.Yes && !changing.isEmpty())
        err << "zrv10-cli: warning: the character table " << codePage << " cannot hold every character of: \""
            << changing.join(QStringLiteral("\", \"")) << '"' << Qt::endl;
    // --code-page: the names go out in that table, whatever the instrument's is.
    const std::optional<int> table = options.CodePageGiven ? std::optional<int>(codePage) : std::nullopt;
    switch (
        session.shown(SaveProjectToDevice(session.context(), *project, session.Config, args.Verify, table))) {
    case TDeviceResult::Done:
        return 0;
    case TDeviceResult::NothingDone:
        err << "zrv10-cli: the instrument's project was left as it was\n";
        return 1;
    case TDeviceResult::Failed:
    case TDeviceResult::Cancelled:
        break;
    }
    return session.failed();
}

int RunDeviceReadRecords(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (usageError(!deviceArgs(options).Positional.isEmpty() || options.Output.isEmpty(),
                   "device read-records -o DIR", err))
        return 2;
    TDeviceSession session(options, out, err, false);
    auto store = std::make_unique<TRecordStore>();
    // Every record is wanted: the first one stands for the choice, the loop below takes them all.
    const TRecordChooser first = [](const QStringList& captions) -> std::optional<int> {
        return captions.isEmpty() ? std::nullopt : std::optional<int>(0);
    };
    switch (session.shown(ReadRecordsFromDevice(session.context(), *store, session.Config.InstrumentCodePage,
                                                options.Units, session.Catalogue, first))) {
    case TDeviceResult::Done:
        break;
    case TDeviceResult::NothingDone:
        return 0; // an empty record area: nothing to write, and the message said so
    case TDeviceResult::Failed:
    case TDeviceResult::Cancelled:
        return session.failed();
    }

    QDir dir(options.Output);
    const bool created = !dir.exists();
    if (created && !QDir().mkpath(options.Output)) {
        err << "zrv10-cli: cannot create " << options.Output << "\n";
        return 1;
    }
    QStringList written;
    const int count = store->heldHeaders();
    for (int i = 0; i < count; ++i) {
        ChooseDeviceRecord(*store, [i](const QStringList&) { return std::optional<int>(i); });
        // Four digits sort the names in the instrument's order; the header table holds 2101 records.
        const QString path =
            dir.filePath(QStringLiteral("record-%1.r9q4").arg(i + 1, 4, 10, QLatin1Char('0')));
        QString error;
        if (!SaveRecordFile(*store, path, &error)) {
            err << "zrv10-cli: " << error << "\n";
            for (const QString& done : written)
                QFile::remove(done);
            if (created)
                QDir().rmdir(options.Output);
            return 1;
        }
        written << path;
    }
    out << "Wrote " << written.size() << " records to " << options.Output << "\n";
    return 0;
}

int RunDeviceReadValves(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (usageError(!deviceArgs(options).Positional.isEmpty(), "device read-valves", err))
        return 2;
    TDeviceSession session(options, out, err, false);
    auto catalogue = std::make_unique<TValveCatalogue>();
    const TApplicationPaths paths = ProcessApplicationPaths();
    CreateUserFolders(paths);
    const QString directory = qtPath(paths.DataDir);
    // Table slots beyond the instrument's counts keep what the old cache held, as in the program.
    LoadValveCache(directory, *catalogue);
    QString cacheError;
    if (session.shown(ReadValvesFromDevice(session.context(), *catalogue, directory, &cacheError)) !=
        TDeviceResult::Done)
        return session.failed();
    if (!cacheError.isEmpty()) {
        err << "zrv10-cli: " << cacheError << "\n";
        return 1;
    }
    return 0;
}
