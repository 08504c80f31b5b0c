// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Units.h"

#include "model/Translator.h"
#include "model/Markers.h"
#include "model/ParseNumber.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

struct TUnitInfo {
    const char* name;
    // The single-precision value nearest the nominal factor, widened: stored and displayed values
    // of other installations were computed with exactly these.
    double factor;
    int decimals;
};

constexpr std::array<TUnitInfo, FlowUnitCount> flowUnits{{
    {"m3/s", 2.7777778655035945e-07, 1},
    {"m3/min", 1.6666666851961054e-05, 1},
    {"m3/h", 0.0010000000474974513, 1},
    {"l/s", 0.00027777778450399637, 3},
    {"l/min", 0.01666666753590107, 1},
    {"l/h", 1.0, 1},
    {"gal/s", 7.33807755750604e-05, 3},
    {"gal/m", 0.004402846563607454, 2},
    {"gal/h", 0.2641707956790924, 1},
}};

constexpr std::array<TUnitInfo, PressureUnitCount> pressureUnits{{
    {"Pa", 1.0, 0},
    {"hPa", 0.009999999776482582, 0},
    {"kPa", 0.0010000000474974513, 1},
    {"MPa", 9.999999974752427e-07, 4},
    {"mbar", 0.009999999776482582, 0},
    {"bar", 9.999999747378752e-06, 3},
    {"psi", 0.0001449999981559813, 2},
    {"at", 1.0200000360782724e-05, 3},
    {"mWs", 0.00010199999815085903, 2},
    {"mmWs", 0.10199999809265137, 0},
    {"mmHg", 0.007501000072807074, 0},
}};

constexpr TUnitInfo unknownUnit{"---", 1.0, 1};

constexpr int flowUnitGallonsPerMinute = 7;

constexpr double maxFlow = 10000000.0;
constexpr double minPressure = -200000.0;
constexpr double maxPressure = 2000000.0;
constexpr int maxSignificantDigits = 10;

template <std::size_t N> const TUnitInfo& unitAt(const std::array<TUnitInfo, N>& table, int32_t unit) {
    if (unit < 0 || static_cast<std::size_t>(unit) >= N)
        return unknownUnit;
    return table[static_cast<std::size_t>(unit)];
}

std::string toChars(double value, std::chars_format format, int precision) {
    // Enough for any finite double in fixed notation with a few decimals.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return std::string(buffer.data(), result.ptr);
}

int significantDigits(const std::string& fixed) {
    const auto first = fixed.find_first_of("123456789");
    if (first == std::string::npos)
        return 0;
    int count = 0;
    for (auto i = first; i < fixed.size(); ++i)
        count += fixed[i] != '.';
    return count;
}

// The value rounded to its first maxSignificantDigits digits, written out in fixed notation with
// zeros in place of the dropped digits.
std::string fixedFromSignificant(double value, int decimals) {
    const std::string scientific = toChars(value, std::chars_format::scientific, maxSignificantDigits - 1);
    const auto exponentAt = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string digits;
    for (auto i = std::size_t(negative ? 1 : 0); i < exponentAt; ++i)
        if (scientific[i] != '.')
            digits += scientific[i];
    int exponent = std::stoi(scientific.substr(exponentAt + 1));
    if (exponent < 0) {
        digits.insert(0, static_cast<std::size_t>(-exponent), '0');
        exponent = 0;
    }

    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    const auto shownDigits = integerDigits + static_cast<std::size_t>(decimals);
    // Only reached when the fixed text had more digits, so padding is all that is needed.
    digits.resize(std::max(digits.size(), shownDigits), '0');
    std::string text(negative ? 1 : 0, '-');
    text.append(digits, 0, integerDigits);
    if (decimals > 0) {
        text += '.';
        text.append(digits, integerDigits, static_cast<std::size_t>(decimals));
    }
    return text;
}

// Adds one unit in the last place of a fixed-notation number, away from zero: "9.99" gives "10.00".
std::string awayFromZero(std::string text) {
    auto i = text.size();
    while (i-- > 0) {
        char& c = text[i];
        if (c == '.')
            continue;
        if (c == '-')
            break;
        if (c != '9') {
            ++c;
            return text;
        }
        c = '0';
    }
    text.insert(i + 1, 1, '1'); // i stands on the sign, or before the text
    return text;
}

// Half-way values round away from zero, as people round by hand; the library rounds them to even.
// Only a value that is exactly half-way counts: 7.25 is, 1.005 is held just below it.
std::string roundedFixed(double value, int decimals) {
    const std::string longer = toChars(value, std::chars_format::fixed, decimals + 40);
    const auto cut = longer.size() - 40;
    const bool halfWay =
        longer[cut] == '5' && longer.find_first_not_of('0', cut + 1) == std::string::npos;
    if (!halfWay)
        return toChars(value, std::chars_format::fixed, decimals);
    std::string text = longer.substr(0, decimals > 0 ? cut : cut - 1); // without the '.' at 0 decimals
    return awayFromZero(std::move(text));
}

// Fixed notation rounded to the last shown digit and to at most 10 significant digits, with the
// locale's decimal separator but no group separator and a plain "-", so the text reads back with
// ParseNumber under the same locale.
QString formatFixed(double value, int decimals, const QLocale& locale) {
    // A presetting from the instrument's bytes may be anything; shown like a value out of range.
    if (!std::isfinite(value))
        return QStringLiteral("-----");
    std::string text = roundedFixed(value, decimals);
    const int significant = significantDigits(text);
    if (significant > maxSignificantDigits)
        text = fixedFromSignificant(value, decimals);
    // A tiny negative value shown as zero must not look negative.
    if (significant == 0 && text.front() == '-')
        text.erase(0, 1);
    QString result = QString::fromLatin1(text);
    result.replace(u'.', locale.decimalPoint());
    return result;
}

constexpr int readoutDigits = 3;
constexpr int maxReadoutDecimals = 12;

int readoutDecimals(double value, int unitDecimals) {
    if (!std::isfinite(value) || value == 0.0)
        return unitDecimals;
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    return std::clamp(readoutDigits - 1 - magnitude, unitDecimals, std::max(unitDecimals, maxReadoutDecimals));
}

QString formatMeasured(double value, bool valid, const TUnitInfo& unit, const QLocale& locale, bool readout) {
    if (value == NoValue)
        return {};
    if (!valid)
        return QStringLiteral("-----");
    const double shown = value * unit.factor;
    return formatFixed(shown, readout ? readoutDecimals(shown, unit.decimals) : unit.decimals, locale);
}

QString caption(const QString& text, const char* fallback, const char* unitName) {
    const QString shown = text.isEmpty() ? QString::fromLatin1(fallback) : text;
    return shown + QStringLiteral(" [") + QString::fromLatin1(unitName) + u']';
}

std::optional<double> tryParseMeasured(const QString& text, const TUnitInfo& unit, const QLocale& locale) {
    if (text.isEmpty())
        return NoValue;
    const std::optional<double> value = TryParseNumber(text, locale);
    if (!value)
        return std::nullopt;
    return *value / unit.factor;
}

double parseMeasured(const QString& text, const TUnitInfo& unit, const QLocale& locale) {
    return tryParseMeasured(text, unit, locale).value_or(0.0);
}

} // namespace

QString FlowUnitName(int32_t unit) {
    return QString::fromLatin1(unitAt(flowUnits, unit).name);
}

QString FlowUnitListName(int32_t unit) {
    if (unit == flowUnitGallonsPerMinute)
        return QStringLiteral("gal/min");
    return FlowUnitName(unit);
}

double FlowFactor(int32_t unit) {
    return unitAt(flowUnits, unit).factor;
}

int FlowDecimals(int32_t unit) {
    return unitAt(flowUnits, unit).decimals;
}

QString PressureUnitName(int32_t unit) {
    return QString::fromLatin1(unitAt(pressureUnits, unit).name);
}

double PressureFactor(int32_t unit) {
    return unitAt(pressureUnits, unit).factor;
}

int PressureDecimals(int32_t unit) {
    return unitAt(pressureUnits, unit).decimals;
}

bool IsValidFlow(double litresPerHour) {
    // Written as "inside" so that NaN from a damaged file is invalid.
    return litresPerHour == NoValue || (litresPerHour >= 0.0 && litresPerHour <= maxFlow);
}

bool IsValidPressure(double pascal) {
    return pascal == NoValue || (pascal >= minPressure && pascal <= maxPressure);
}

QString FormatReadout(double shownValue, int unitDecimals, const QLocale& locale) {
    return formatFixed(shownValue, readoutDecimals(shownValue, unitDecimals), locale);
}

QString TUnits::FormatFlow(double litresPerHour) const {
    return formatMeasured(litresPerHour, IsValidFlow(litresPerHour), unitAt(flowUnits, FlowUnit), Locale, false);
}

QString TUnits::FormatPressure(double pascal) const {
    return formatMeasured(pascal, IsValidPressure(pascal), unitAt(pressureUnits, PressureUnit), Locale, false);
}

QString TUnits::ReadoutFlow(double litresPerHour) const {
    return formatMeasured(litresPerHour, IsValidFlow(litresPerHour), unitAt(flowUnits, FlowUnit), Locale, true);
}

QString TUnits::ReadoutPressure(double pascal) const {
    return formatMeasured(pascal, IsValidPressure(pascal), unitAt(pressureUnits, PressureUnit), Locale, true);
}

QString TUnits::FormatPresetting(double presetting, const ITranslator& translator) const {
    if (presetting == PresettingEmpty)
        return {};
    if (presetting == PresettingNone)
        return translator.Translate(QStringLiteral("None"));
    return formatFixed(presetting, 2, Locale);
}

QString TUnits::FlowUnitName() const {
    return ::FlowUnitName(FlowUnit);
}

QString TUnits::PressureUnitName() const {
    return ::PressureUnitName(PressureUnit);
}

double TUnits::FlowFactor() const {
    return ::FlowFactor(FlowUnit);
}

double TUnits::PressureFactor() const {
    return ::PressureFactor(PressureUnit);
}

QString TUnits::FlowCaption(const QString& text) const {
    return caption(text, "Flow", unitAt(flowUnits, FlowUnit).name);
}

QString TUnits::PressureCaption(const QString& text) const {
    return caption(text, "Pressure", unitAt(pressureUnits, PressureUnit).name);
}

double TUnits::ParseFlow(const QString& text) const {
    return parseMeasured(text, unitAt(flowUnits, FlowUnit), Locale);
}

double TUnits::ParsePressure(const QString& text) const {
    return parseMeasured(text, unitAt(pressureUnits, PressureUnit), Locale);
}

std::optional<double> TUnits::TryParseFlow(const QString& text) const {
    return tryParseMeasured(text, unitAt(flowUnits, FlowUnit), Locale);
}

std::optional<double> TUnits::TryParsePressure(const QString& text) const {
    return tryParseMeasured(text, unitAt(pressureUnits, PressureUnit), Locale);
}
