// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Settings.h"

#include "files/IniFile.h"
#include "files/SafeFileWriter.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t lastFlowUnit = 8;
constexpr int32_t lastPressureUnit = 10;

const QString units = QStringLiteral("Units");
const QString print = QStringLiteral("Print");
const QString options = QStringLiteral("Options");
const QString xls = QStringLiteral("XLS");
const QString device = QStringLiteral("Device");
const QString balancing = QStringLiteral("Balancing");
const QString tolerance = QStringLiteral("Tolerance");
const QString verifyAfterWrite = QStringLiteral("VerifyAfterWrite");
const QString commissioning = QStringLiteral("Commissioning");
const QString minPressureKey = QStringLiteral("MinDifferentialPressure");
constexpr double maxTolerance = 1000.0;
constexpr double maxMinPressure = 1.0e7;

// "2.5" or "2,5"; none when missing, no number or not finite.
std::optional<double> readDecimal(const IniFile& ini, const QString& section, const QString& key) {
    const std::optional<QString> text = ini.value(section, key);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double value = QString(*text).replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double readTolerance(const IniFile& ini) {
    const std::optional<double> value = readDecimal(ini, balancing, tolerance);
    return value ? std::clamp(*value, 0.0, maxTolerance) : DefaultBalancingTolerance;
}

QString decimalText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

TCommissioningSettings readCommissioning(const IniFile& ini) {
    TCommissioningSettings c;
    c.Engineer = ini.readString(commissioning, QStringLiteral("Engineer"), QString());
    c.Firm = ini.readString(commissioning, QStringLiteral("Firm"), QString());
    c.InstrumentSerial = ini.readString(commissioning, QStringLiteral("InstrumentSerial"), QString());
    c.CalibrationDate = QDate::fromString(
        ini.readString(commissioning, QStringLiteral("CalibrationDate"), QString()), Qt::ISODate);
    const std::optional<double> minPressure = readDecimal(ini, commissioning, minPressureKey);
    if (minPressure && *minPressure >= 0)
        c.MinDifferentialPressure = std::min(*minPressure, maxMinPressure);
    return c;
}

// A key is written when it holds something or the file already names it, so that a file that never
// knew the section keeps its bytes. Texts with a line break lose it: the file is line based.
void writeCommissioning(IniFile& ini, const TCommissioningSettings& c) {
    const auto put = [&ini](const QString& key, const QString& value, bool isDefault) {
        if (!isDefault || ini.value(commissioning, key))
            ini.setValue(commissioning, key, QString(value).replace(u'\r', u' ').replace(u'\n', u' '));
    };
    put(QStringLiteral("Engineer"), c.Engineer, c.Engineer.isEmpty());
    put(QStringLiteral("Firm"), c.Firm, c.Firm.isEmpty());
    put(QStringLiteral("InstrumentSerial"), c.InstrumentSerial, c.InstrumentSerial.isEmpty());
    put(QStringLiteral("CalibrationDate"), c.CalibrationDate.toString(Qt::ISODate), c.CalibrationDate.isNull());
    put(minPressureKey, decimalText(c.MinDifferentialPressure),
        c.MinDifferentialPressure == DefaultMinDifferentialPressure);
}

} // namespace

QString SettingsPathForProgram(const QString& programFilePath) {
    const qsizetype slash = programFilePath.lastIndexOf(u'/');
    const qsizetype dot = programFilePath.lastIndexOf(u'.');
    const QString base = dot > slash ? programFilePath.left(dot) : programFilePath;
    return base + QStringLiteral(".ini");
}

TSettings LoadSettings(const QString& iniPath) {
    return LoadSettingsBytes(IniFile::fromFile(iniPath, nullptr).value_or(IniFile()).bytes());
}

TSettings LoadSettingsBytes(const QByteArray& bytes) {
    const IniFile ini(bytes);
    TSettings s;
    s.FlowUnit = ini.readInt(units, QStringLiteral("Flow"), s.FlowUnit);
    s.PressureUnit = ini.readInt(units, QStringLiteral("Pressure"), s.PressureUnit);
    TPrintMargins& m = s.PrintMargins;
    m.Left = ini.readInt(print, QStringLiteral("Left"), m.Left);
    m.Right = ini.readInt(print, QStringLiteral("Right"), m.Right);
    m.Top = ini.readInt(print, QStringLiteral("Top"), m.Top);
    m.Bottom = ini.readInt(print, QStringLiteral("Bottom"), m.Bottom);
    s.CurrentLanguage = ini.readInt(options, QStringLiteral("Language"), s.CurrentLanguage);

    // The valve, flow and presetting keys serve import and export alike; only their defaults differ.
    TSpreadsheetColumns& c = s.SpreadsheetColumns;
    c.FirstLine = ini.readInt(xls, QStringLiteral("first_line"), c.FirstLine);
    c.Name1 = ini.readInt(xls, QStringLiteral("col_name1"), c.Name1);
    c.Name2 = ini.readInt(xls, QStringLiteral("col_name2"), c.Name2);
    c.Name3 = ini.readInt(xls, QStringLiteral("col_name3"), c.Name3);
    c.ImportValve = ini.readInt(xls, QStringLiteral("col_valve"), c.ImportValve);
    c.ImportRequestFlow = ini.readInt(xls, QStringLiteral("col_req_flow"), c.ImportRequestFlow);
    c.ImportPresetting = ini.readInt(xls, QStringLiteral("col_init_preset"), c.ImportPresetting);
    c.ImportDimension = ini.readInt(xls, QStringLiteral("col_dimension"), c.ImportDimension);
    c.ExportValve = ini.readInt(xls, QStringLiteral("col_valve"), c.ExportValve);
    c.ExportFinalFlow = ini.readInt(xls, QStringLiteral("col_req_flow"), c.ExportFinalFlow);
    c.ExportFinalPresetting = ini.readInt(xls, QStringLiteral("col_init_preset"), c.ExportFinalPresetting);

    s.Driver = ini.readString(device, QStringLiteral("Driver"), QString());
    s.VerifyAfterWrite = ini.readInt(device, verifyAfterWrite, 1) != 0;
    s.BalancingTolerance = readTolerance(ini);
    s.Commissioning = readCommissioning(ini);

    s.PressureUnit = std::clamp(s.PressureUnit, 0, lastPressureUnit);
    s.FlowUnit = std::clamp(s.FlowUnit, 0, lastFlowUnit);
    return s;
}

QByteArray SettingsBytes(const QByteArray& before, const TSettings& settings) {
    IniFile ini(before);
    const TPrintMargins& m = settings.PrintMargins;
    ini.setInt(units, QStringLiteral("Flow"), settings.FlowUnit);
    ini.setInt(units, QStringLiteral("Pressure"), settings.PressureUnit);
    ini.setInt(options, QStringLiteral("Language"), settings.CurrentLanguage);
    ini.setInt(print, QStringLiteral("Left"), m.Left);
    ini.setInt(print, QStringLiteral("Right"), m.Right);
    ini.setInt(print, QStringLiteral("Top"), m.Top);
    ini.setInt(print, QStringLiteral("Bottom"), m.Bottom);
    // A file that never named a tolerance keeps its lines as they were while the default holds.
    if (settings.BalancingTolerance != TSettings().BalancingTolerance || ini.value(balancing, tolerance))
        ini.setValue(balancing, tolerance, decimalText(settings.BalancingTolerance));
    if (!settings.VerifyAfterWrite || ini.value(device, verifyAfterWrite))
        ini.setInt(device, verifyAfterWrite, settings.VerifyAfterWrite ? 1 : 0);
    writeCommissioning(ini, settings.Commissioning);
    return ini.bytes();
}

bool SaveSettings(const QString& iniPath, const TSettings& settings, QString* error) {
    // An existing file that cannot be read is not overwritten: its other sections would be lost.
    const std::optional<IniFile> ini = IniFile::fromFile(iniPath, error);
    if (!ini)
        return false;
    const QByteArray after = SettingsBytes(ini->bytes(), settings);
    // Nothing to do when the file already holds these values; a read-only install then closes quietly.
    if (after == ini->bytes())
        return true;
    return writeFileAtomically(iniPath, after, error);
}
