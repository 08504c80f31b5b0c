#include "CliOptions.h"

#include "files/ProcessPaths.h"
#include "files/Settings.h"
#include "localisation/InstrumentCodePage.h"

#include <QFileInfo>

namespace {

bool takeInt(const QStringList& args, int& i, int& out, QString& error) {
    bool ok = false;
    if (i + 1 < args.size())
        out = args.at(i + 1).toInt(&ok);
    if (!ok)
        error = QStringLiteral("%1 needs a whole number").arg(args.at(i));
    ++i;
    return ok;
}

} // namespace

QString TCliOptions::extraValue(const QString& name) const {
    for (int i = 0; i + 1 < Extra.size(); i += 2)
        if (Extra.at(i) == name)
            return Extra.at(i + 1);
    return {};
}

TCliOptions ParseCliOptions(const QStringList& args, const QString& programFilePath) {
    TCliOptions o;
    const TApplicationPaths paths = ResolveApplicationPaths(
        QFileInfo(programFilePath).absolutePath().toStdString(), TPathEnvironment::fromProcess());
    const TSettings settings = LoadSettings(qtPath(paths.SettingsFile));
    o.Units.FlowUnit = settings.FlowUnit;
    o.Units.PressureUnit = settings.PressureUnit;
    o.CodePage = InstrumentCodePageFor(settings.CurrentLanguage, 0);
    for (int i = 0; i < args.size() && o.Error.isEmpty(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--flow-unit")) {
            if (takeInt(args, i, o.Units.FlowUnit, o.Error) && (o.Units.FlowUnit < 0 || o.Units.FlowUnit >= FlowUnitCount))
                o.Error = QStringLiteral("--flow-unit takes 0 to %1").arg(FlowUnitCount - 1);
        } else if (a == QLatin1String("--pressure-unit")) {
            if (takeInt(args, i, o.Units.PressureUnit, o.Error) &&
                (o.Units.PressureUnit < 0 || o.Units.PressureUnit >= PressureUnitCount))
                o.Error = QStringLiteral("--pressure-unit takes 0 to %1").arg(PressureUnitCount - 1);
        } else if (a == QLatin1String("--code-page")) {
            takeInt(args, i, o.CodePage, o.Error);
        } else if (a == QLatin1String("-o")) {
            if (i + 1 >= args.size())
                o.Error = QStringLiteral("-o needs a file name");
            else
                o.Output = args.at(++i);
        } else if (a.startsWith(QLatin1String("--"))) {
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(QLatin1String("--")))
                o.Extra << a << QString();
            else
                o.Extra << a << args.at(++i);
        } else {
            o.Positional << a;
        }
    }
    return o;
}
