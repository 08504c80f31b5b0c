// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ExactUnits.h"

#include "model/Units.h"

#include <QString>

#include <array>
#include <cmath>

namespace {

// factor = Numerator / Denominator, in the order of the unit tables of Units.cpp.
struct TRatio {
    long long Numerator;
    long long Denominator;
};

// A US gallon per hour taken as 0.2641708 l/h, as the display factors were.
constexpr std::array<TRatio, FlowUnitCount> flowRatios{{
    {1, 3600000},                 // m3/s
    {1, 60000},                   // m3/min
    {1, 1000},                    // m3/h
    {1, 3600},                    // l/s
    {1, 60},                      // l/min
    {1, 1},                       // l/h
    {2641708, 10000000LL * 3600}, // gal/s
    {2641708, 10000000LL * 60},   // gal/m
    {2641708, 10000000},          // gal/h
}};

constexpr std::array<TRatio, PressureUnitCount> pressureRatios{{
    {1, 1},          // Pa
    {1, 100},        // hPa
    {1, 1000},       // kPa
    {1, 1000000},    // MPa
    {1, 100},        // mbar
    {1, 100000},     // bar
    {145, 1000000},  // psi
    {102, 10000000}, // at
    {102, 1000000},  // mWs
    {102, 1000},     // mmWs
    {7501, 1000000}, // mmHg
}};

using Wide = unsigned __int128;

QString wideDigits(Wide n) {
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(n % 10)));
        n /= 10;
    } while (n != 0);
    return digits;
}

// The value is taken as the decimal it was read from (its shortest form, which reads back as the
// same double), multiplied by the ratio in integers, and the quotient carried to 22 digits, the last
// one marking a remainder; the nearest double to that is the nearest double to the exact product.
double scaled(double value, const TRatio& r) {
    if (!std::isfinite(value) || value == 0 || r.Numerator == r.Denominator)
        return value * r.Numerator / r.Denominator;
    const QString shortest = QString::number(std::fabs(value), 'e', QLocale::FloatingPointShortest);
    const qsizetype e = shortest.indexOf(u'e');
    QString mantissa = shortest.left(e);
    mantissa.remove(u'.');
    int exponent = shortest.mid(e + 1).toInt() - int(mantissa.size() - 1);
    Wide n = Wide(mantissa.toULongLong()) * Wide(r.Numerator); // at most 17 digits times 7
    const Wide enough =
        Wide(r.Denominator) * Wide(1000000000000000000ULL) * 10000; // 22 digits in the quotient
    while (n < enough) {
        n *= 10;
        --exponent;
    }
    Wide quotient = n / Wide(r.Denominator);
    if (n % Wide(r.Denominator) != 0) {
        quotient = quotient * 10 + 1;
        --exponent;
    }
    const double result = (wideDigits(quotient) + u'e' + QString::number(exponent)).toDouble();
    return value < 0 ? -result : result;
}

template <std::size_t N>
double convert(double value, const std::array<TRatio, N>& ratios, std::int32_t unit) {
    if (unit < 0 || static_cast<std::size_t>(unit) >= N)
        return value;
    return scaled(value, ratios[static_cast<std::size_t>(unit)]);
}

} // namespace

double ToFlowUnitExactly(double litresPerHour, std::int32_t unit) {
    return convert(litresPerHour, flowRatios, unit);
}

double ToPressureUnitExactly(double pascal, std::int32_t unit) {
    return convert(pascal, pressureRatios, unit);
}
