// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli project ...: the project file as the main window would show it.
#include "CliOptions.h"

#include "files/ProjectCheck.h"
#include "files/ProjectComparisonFile.h"
#include "files/ProcessPaths.h"
#include "files/ProjectFile.h"
#include "files/Settings.h"
#include "model/Translator.h"
#include "model/ProjectComparison.h"
#include "model/ProjectNames.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <memory>

namespace {

QString valveText(const TValveCatalogue* catalogue, int valveIndex, int codePage) {
    if (!catalogue || !IsKnownValve(*catalogue, valveIndex))
        return QStringLiteral("valve %1").arg(valveIndex);
    const int manufacturer = ManufacturerOfValve(*catalogue, valveIndex);
    return ManufacturerNameAt(*catalogue, manufacturer, codePage) + QStringLiteral(" / ") +
           ValveNameAt(*catalogue, valveIndex, codePage);
}

// The project file at path, or null after the reason went to err.
std::unique_ptr<TProject> loadProject(const TCliOptions& options, const QString& path, QTextStream& err) {
    auto project = std::make_unique<TProject>();
    QString error;
    if (LoadProjectFile(path, *project, options.CodePage, options.Units.Locale, &error))
        return project;
    err << "zrv10-cli: " << error << "\n";
    return nullptr;
}

// The project file of the command line.
std::unique_ptr<TProject> loadProject(const TCliOptions& options, QTextStream& err) {
    return loadProject(options, options.Positional.first(), err);
}

} // namespace

int RunProjectShow(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (options.Positional.size() != 1) {
        err << "usage: zrv10-cli project show FILE.proj\n";
        return 2;
    }
    const TUnits& units = options.Units;
    const std::unique_ptr<TProject> project = loadProject(options, err);
    if (!project)
        return 1;
    // Valve names come from the cache the desktop program keeps.
    auto catalogue = std::make_unique<TValveCatalogue>();
    const bool haveValves = LoadValveCache(qtPath(ProcessApplicationPaths().DataDir), *catalogue);

    const int codePage = options.CodePage;
    const TProjectHeader& h = project->Header;
    const TIdentityTranslator translator;
    out << "Project:     " << NameText(*project, h.Name) << "\n"
        << "Last change: " << NameText(*project, h.Last_Change) << "\n"
        << "Locked:      " << (project->isLocked() ? "yes" : "no") << "\n"
        << "Branches:    " << project->branchCount() << "\n\n";

    const QStringList columns = {QStringLiteral("#"),
                                 QStringLiteral("Name"),
                                 haveValves ? QStringLiteral("Valve") : QStringLiteral("Valve index"),
                                 units.FlowCaption(QStringLiteral("Requested flow")),
                                 units.FlowCaption(QStringLiteral("Initial flow")),
                                 QStringLiteral("Initial presetting"),
                                 units.PressureCaption(QStringLiteral("Initial pressure")),
                                 units.FlowCaption(QStringLiteral("Final flow")),
                                 QStringLiteral("Final presetting"),
                                 units.PressureCaption(QStringLiteral("Final pressure"))};
    out << columns.join(u'\t') << "\n";
    for (int i = 0; i < project->branchCount(); ++i) {
        const TBranch& b = project->Branches[i];
        const QStringList cells = {QString::number(i + 1),
                                   NameText(*project, b.Name),
                                   haveValves ? valveText(catalogue.get(), b.Valve_Index, codePage)
                                              : QString::number(b.Valve_Index),
                                   units.FormatFlow(b.Request_Flow),
                                   units.FormatFlow(b.Initial_Flow),
                                   units.FormatPresetting(b.Initial_Presetting, translator),
                                   units.FormatPressure(b.Initial_Pressure),
                                   units.FormatFlow(b.Final_Flow),
                                   units.FormatPresetting(b.Final_Presetting, translator),
                                   units.FormatPressure(b.Final_Pressure)};
        out << cells.join(u'\t') << "\n";
    }
    return 0;
}

int RunProjectCheck(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const char* usage = "usage: zrv10-cli project check FILE.proj [--tolerance P|-L,+H] [--require-complete] "
                        "[--format text|csv|json]\n";
    if (options.Positional.size() != 1) {
        err << usage;
        return 2;
    }
    const QString format = options.textCsvOrJson(err);
    if (format.isEmpty())
        return 2;
    const TApplicationPaths paths = ProcessApplicationPaths();
    TTolerance tolerance = TTolerance::symmetric(LoadSettings(qtPath(paths.SettingsFile)).BalancingTolerance);
    if (options.Extra.contains(QStringLiteral("--tolerance"))) {
        const QString text = options.extraValue(QStringLiteral("--tolerance"));
        const std::optional<TTolerance> given = ParseToleranceOption(text);
        if (!given) {
            err << "zrv10-cli: --tolerance takes a number of per cent from 0 to 1000 (either way) or two, "
                   "below and above, as in --tolerance=-5,+10; not \"" << text << "\"\n";
            return 2;
        }
        tolerance = *given;
    }
    const std::unique_ptr<TProject> project = loadProject(options, err);
    if (!project)
        return 1;
    // Valve names come from the cache the desktop program keeps; without it the column stays empty.
    auto catalogue = std::make_unique<TValveCatalogue>();
    LoadValveCache(qtPath(paths.DataDir), *catalogue);

    const TProjectCheckFormat kind = format == QLatin1String("csv")    ? TProjectCheckFormat::Csv
                                     : format == QLatin1String("json") ? TProjectCheckFormat::Json
                                                                       : TProjectCheckFormat::Text;
    const TProjectCheckResult result = CheckProject({*project, *catalogue, options.CodePage, tolerance,
                                                     options.hasFlag(QStringLiteral("--require-complete"))},
                                                    kind,
                                                    options.Units, TIdentityTranslator());
    out << result.Output;
    return result.ExitStatus;
}

int RunProjectCompare(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const char* usage = "usage: zrv10-cli project compare OLD.proj NEW.proj [--format text|csv|json]\n";
    if (options.Positional.size() != 2) {
        err << usage;
        return 2;
    }
    const QString format = options.textCsvOrJson(err);
    if (format.isEmpty())
        return 2;
    const std::unique_ptr<TProject> older = loadProject(options, options.Positional.at(0), err);
    if (!older)
        return 1;
    const std::unique_ptr<TProject> newer = loadProject(options, options.Positional.at(1), err);
    if (!newer)
        return 1;
    const TApplicationPaths paths = ProcessApplicationPaths();
    const double tolerance = LoadSettings(qtPath(paths.SettingsFile)).BalancingTolerance;
    // Valve names come from the cache the desktop program keeps; without it they stay empty.
    auto catalogue = std::make_unique<TValveCatalogue>();
    LoadValveCache(qtPath(paths.DataDir), *catalogue);

    const TProjectComparison comparison = CompareProjects(*older, *newer, tolerance);
    const TComparisonReportInput report{NameText(*older, older->Header.Name), NameText(*newer, newer->Header.Name),
                                        comparison, *catalogue, options.CodePage};
    if (format == QLatin1String("csv"))
        out << QString::fromUtf8(ProjectComparisonCsv(report));
    else if (format == QLatin1String("json"))
        out << QString::fromUtf8(ProjectComparisonJson(report));
    else
        out << ProjectComparisonText(report, options.Units, TIdentityTranslator());
    // Differences are the answer, not a failure.
    return 0;
}
