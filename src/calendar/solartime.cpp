#include "calendar/solartime.h"

#include <cmath>
#include <numbers>

namespace lotgrid {

namespace {

constexpr double Radians = std::numbers::pi / 180.0;

// Julian centuries of 36525 days from J2000.0 (2000-01-01 12:00 TT), from an
// instant in China Standard Time. TT and UT differ by about a minute, which
// moves the equation of time by far less than a second.
double centuriesSinceJ2000(const Moment &standard)
{
    const double minutesUtc = static_cast<double>(minuteNumber(standard)) - 8 * 60;
    const double j2000 = static_cast<double>(minuteNumber({{2000, 1, 1}, 12, 0}));
    return (minutesUtc - j2000) / (1440.0 * 36525.0);
}

} // namespace

double equationOfTime(const Moment &standard)
{
    const double t = centuriesSinceJ2000(standard);
    const double meanLongitude = (280.46646 + t * (36000.76983 + t * 0.0003032)) * Radians; // L0
    const double meanAnomaly = (357.52911 + t * (35999.05029 - t * 0.0001537)) * Radians;   // M
    const double eccentricity = 0.016708634 - t * (0.000042037 + t * 0.0000001267);         // e
    const double obliquity
        = (23.0 + 26.0 / 60 + 21.448 / 3600 - t * (46.8150 + t * (0.00059 - t * 0.001813)) / 3600) * Radians; // ε
    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double e = eccentricity;
    const double radians = y * std::sin(2 * meanLongitude) - 2 * e * std::sin(meanAnomaly)
                           + 4 * e * y * std::sin(meanAnomaly) * std::cos(2 * meanLongitude)
                           - 0.5 * y * y * std::sin(4 * meanLongitude) - 1.25 * e * e * std::sin(2 * meanAnomaly);
    return radians / Radians * 4.0; // one degree of the sun's hour angle is four minutes
}

double solarOffsetMinutes(const Moment &standard, double longitude)
{
    return (longitude - StandardMeridian) * 4.0 + equationOfTime(standard);
}

Moment trueSolarTime(const Moment &standard, double longitude)
{
    const double offset = solarOffsetMinutes(standard, longitude);
    return momentFromMinutes(minuteNumber(standard) + static_cast<std::int64_t>(std::lround(offset)));
}

} // namespace lotgrid
