#pragma once
// True solar time (真太阳时): the time the sun itself keeps at a place. It
// differs from China Standard Time, the mean time of 120° east, by the place's
// longitude (four minutes for every degree) and by the equation of time, the
// lead or lag of the true sun on the mean sun over the year (up to about 16
// minutes either way). A practitioner who reckons the hour (时辰) by the sun
// takes the hour, and across midnight the day, from it; the 节 stay the
// astronomical instants they are.

#include "calendar/moment.h"

namespace lotgrid {

// The longitude China Standard Time keeps, degrees east.
inline constexpr double StandardMeridian = 120.0;

// The equation of time at an instant given in China Standard Time, in minutes:
// apparent solar time minus mean solar time (positive in early November, about
// +16.4, negative in mid-February, about −14.2). Meeus, Astronomical Algorithms,
// ch. 28 (formula 28.3, from the sun's mean longitude and mean anomaly, the
// eccentricity of the earth's orbit and the obliquity of the ecliptic); good
// to well under a minute.
double equationOfTime(const Moment &standard);

// The true solar time at `longitude` (degrees, east positive, −180..180) of an
// instant in China Standard Time, to the nearest minute.
Moment trueSolarTime(const Moment &standard, double longitude);

// The difference trueSolarTime makes, in minutes (unrounded).
double solarOffsetMinutes(const Moment &standard, double longitude);

constexpr bool isLongitude(double degrees)
{
    return degrees >= -180.0 && degrees <= 180.0;
}

} // namespace lotgrid
