#pragma once
// The moment of a cast from what the user gave: a date and time typed on a
// zone's clock, whether 北京时间 is kept as typed on a summer-time day, and a
// place (or longitude) for true solar time. The result is the CastInput's
// moment in China Standard Time and, when anything of that was used, its
// MomentOrigin for the header.

#include "calendar/zones.h"
#include "chart/cast.h"

#include <optional>
#include <string>

namespace lotgrid {

struct MomentClock {
    std::string zone;                // IANA name; empty for 北京时间
    bool standardTime = false;       // 北京时间 typed on a summer-time day is standard time already
    std::optional<double> longitude; // 真太阳时 at this longitude; none: off
    std::u16string place;            // the city of that longitude, for the header
    friend bool operator==(const MomentClock &, const MomentClock &) = default;
};

struct CastMoment {
    Moment moment; // China Standard Time
    std::optional<MomentOrigin> origin;
};

struct CastMomentResult {
    std::optional<CastMoment> value;
    ZoneError error = ZoneError::UnknownZone; // when no value
};

CastMomentResult castMomentOf(const Moment &typed, const MomentClock &clock);

// Sets the moment and its origin on the cast, and the day stem and the month
// and day builds from its pillars (reckoned with the cast's day boundary, so
// set that first).
void setCastMoment(CastInput &input, const CastMoment &moment);

// The header's name of a zone: its Chinese name when it is in the zone list, else the IANA name.
std::u16string zoneDisplayName(std::string_view iana);

// "东经87.62°", "西经74.01°".
std::u16string longitudeWords(double longitude);

} // namespace lotgrid
