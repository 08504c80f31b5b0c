// zrv10-cli project ...: the project file as the main window would show it.
#include "CliOptions.h"

#include "files/ProcessPaths.h"
#include "files/ProjectFile.h"
#include "localisation/Translator.h"
#include "model/InstrumentText.h"
#include "model/ValveCache.h"
#include "model/ValveCatalogue.h"

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

} // namespace

int RunProjectShow(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (options.Positional.size() != 1) {
        err << "usage: zrv10-cli project show FILE.proj\n";
        return 2;
    }
    const TUnits& units = options.Units;
    auto project = std::make_unique<TProject>();
    QString error;
    if (!LoadProjectFile(options.Positional.first(), *project, options.CodePage, units.Locale, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    // Valve names come from the cache the desktop program keeps.
    auto catalogue = std::make_unique<TValveCatalogue>();
    const bool haveValves = LoadValveCache(qtPath(ProcessApplicationPaths().DataDir), *catalogue);

    const int codePage = options.CodePage;
    const TProjectHeader& h = project->Header;
    const TIdentityTranslator translator;
    out << "Project:     " << DecodeInstrumentText(h.Name, NameFieldSize, codePage) << "\n"
        << "Last change: " << DecodeInstrumentText(h.Last_Change, NameFieldSize, codePage) << "\n"
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
                                   DecodeInstrumentText(b.Name, NameFieldSize, codePage),
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
