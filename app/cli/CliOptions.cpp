// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliOptions.h"

#include "files/ProcessPaths.h"
#include "files/Settings.h"
#include "localisation/InstrumentCodePage.h"

#include <QFileInfo>
#include <QCommandLineParser>

#include <functional>

namespace {

// The instrument's character tables (InstrumentText.h).
constexpr int MaxInstrumentCodePage = 11;

int unitByName(const QString& text, int count, const std::function<QStringList(int)>& names) {
    for (int i = 0; i < count; ++i)
        for (const QString& name : names(i))
            if (text.compare(name, Qt::CaseInsensitive) == 0)
                return i;
    bool ok = false;
    const int index = text.toInt(&ok);
    return ok && index >= 0 && index < count ? index : -1;
}

} // namespace

int FlowUnitByName(const QString& text) {
    return unitByName(text, FlowUnitCount, [](int i) { return QStringList{FlowUnitName(i), FlowUnitListName(i)}; });
}

int PressureUnitByName(const QString& text) {
    return unitByName(text, PressureUnitCount, [](int i) { return QStringList{PressureUnitName(i)}; });
}

QString TCliOptions::extraValue(const QString& name) const {
    for (int i = 0; i + 1 < Extra.size(); i += 2)
        if (Extra.at(i) == name)
            return Extra.at(i + 1);
    return {};
}

QString TCliOptions::textCsvOrJson(QTextStream& err) const {
    const QString format = extraValue(QStringLiteral("--format"));
    if (format.isEmpty())
        return QStringLiteral("text");
    if (format == QLatin1String("text") || format == QLatin1String("csv") || format == QLatin1String("json"))
        return format;
    err << "zrv10-cli: --format takes text, csv or json, not \"" << format << "\"\n";
    return {};
}

TCliOptions ParseCliOptions(const QStringList& args, const QString& programFilePath,
                            const std::vector<TCliOptionSpec>& commandOptions, const QString& usage,
                            const QString& description) {
    TCliOptions o;
    const TApplicationPaths paths = ResolveApplicationPaths(
        QFileInfo(programFilePath).absolutePath().toStdString(), TPathEnvironment::fromProcess());
    const TSettings settings = LoadSettings(qtPath(paths.SettingsFile));
    o.Units.FlowUnit = settings.FlowUnit;
    o.Units.PressureUnit = settings.PressureUnit;
    o.CodePage = InstrumentCodePageFor(settings.CurrentLanguage, 0);

    QCommandLineParser parser;
    parser.setApplicationDescription(usage + (description.isEmpty() ? QString() : u'\n' + description));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Shows the version."));
    const QCommandLineOption flowUnit(QStringLiteral("flow-unit"),
                                      QStringLiteral("Flow unit by name (l/h, m3/h, ...) or index 0..8."),
                                      QStringLiteral("UNIT"));
    const QCommandLineOption pressureUnit(QStringLiteral("pressure-unit"),
                                          QStringLiteral("Pressure unit by name (Pa, kPa, bar, ...) or index 0..10."),
                                          QStringLiteral("UNIT"));
    const QCommandLineOption codePage(QStringLiteral("code-page"),
                                      QStringLiteral("Character table of the instrument's texts."),
                                      QStringLiteral("N"));
    const QCommandLineOption output(QStringLiteral("o"), QStringLiteral("Output file or folder."),
                                    QStringLiteral("FILE"));
    parser.addOptions({help, version, flowUnit, pressureUnit, codePage, output});
    std::vector<QCommandLineOption> own;
    for (const TCliOptionSpec& declared : commandOptions) {
        own.emplace_back(QLatin1String(declared.Name), QLatin1String(declared.Description),
                         declared.ValueName ? QLatin1String(declared.ValueName) : QString());
        parser.addOption(own.back());
    }
    parser.addPositionalArgument(QStringLiteral("ARGS"), QString(), QString());

    if (!parser.parse(QStringList(QStringLiteral("zrv10-cli")) + args)) {
        o.Error = parser.errorText();
        return o;
    }
    // Qt's own first line names the program by its path, and the positional placeholder says nothing.
    o.HelpText = parser.helpText();
    o.HelpText = o.HelpText.mid(o.HelpText.indexOf(u'\n') + 1);
    if (const qsizetype arguments = o.HelpText.indexOf(QStringLiteral("\nArguments:")); arguments >= 0)
        o.HelpText.truncate(arguments + 1);
    o.Help = parser.isSet(help);
    o.Version = parser.isSet(version);
    o.Positional = parser.positionalArguments();
    o.Output = parser.value(output);
    if (parser.isSet(flowUnit)) {
        o.Units.FlowUnit = FlowUnitByName(parser.value(flowUnit));
        if (o.Units.FlowUnit < 0)
            o.Error = QStringLiteral("--flow-unit takes a unit name or 0 to %1").arg(FlowUnitCount - 1);
    }
    if (parser.isSet(pressureUnit)) {
        o.Units.PressureUnit = PressureUnitByName(parser.value(pressureUnit));
        if (o.Units.PressureUnit < 0)
            o.Error = QStringLiteral("--pressure-unit takes a unit name or 0 to %1").arg(PressureUnitCount - 1);
    }
    if (parser.isSet(codePage)) {
        bool ok = false;
        o.CodePage = parser.value(codePage).toInt(&ok);
        ok = ok && o.CodePage >= 0 && o.CodePage <= MaxInstrumentCodePage;
        o.CodePageGiven = ok;
        if (!ok)
            o.Error =
                QStringLiteral("--code-page takes a character table from 0 to %1").arg(MaxInstrumentCodePage);
    }
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (!parser.isSet(own[i]))
            continue;
        const QString name = QStringLiteral("--") + QLatin1String(commandOptions[i].Name);
        const bool takesValue = commandOptions[i].ValueName != nullptr;
        // An empty value would quietly mean "not given" further on.
        if (takesValue && parser.value(own[i]).trimmed().isEmpty())
            o.Error = QStringLiteral("%1 needs a value").arg(name);
        o.Extra << name << (takesValue ? parser.value(own[i]) : QString());
    }
    return o;
}
