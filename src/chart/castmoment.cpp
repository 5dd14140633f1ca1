#include "chart/castmoment.h"

#include "calendar/solartime.h"

#include <cmath>
#include <cstdio>

namespace lotgrid {

CastMomentResult castMomentOf(const Moment &typed, const MomentClock &clock)
{
    const ZoneResult zoned = toChinaStandardTime(typed, clock.zone, clock.standardTime);
    if (!zoned.moment)
        return {std::nullopt, zoned.error};
    CastMoment out{zoned.moment->standard, std::nullopt};
    const bool otherClock = !clock.zone.empty() || zoned.moment->summerTime;
    if (clock.longitude && !isLongitude(*clock.longitude))
        return {std::nullopt, ZoneError::InvalidMoment};
    if (otherClock || clock.longitude) {
        MomentOrigin o;
        o.zone = clock.zone;
        o.zoneName = clock.zone.empty() ? std::u16string(BeijingTimeName) : zoneDisplayName(clock.zone);
        o.typed = typed;
        o.summerTime = zoned.moment->summerTime;
        if (clock.longitude) {
            o.longitude = clock.longitude;
            o.place = clock.place;
            o.solar = trueSolarTime(out.moment, *clock.longitude);
            if (!inChartRange(*o.solar))
                return {std::nullopt, ZoneError::OutOfRange};
        }
        out.origin = o;
    }
    return {out, {}};
}

void setCastMoment(CastInput &input, const CastMoment &moment)
{
    input.moment = moment.moment;
    input.origin = moment.origin;
    // The spirits, the builds and the void branches all come from the moment's pillars.
    input = followingMoment(input, {true, true, true});
}

std::u16string zoneDisplayName(std::string_view iana)
{
    if (const auto z = commonZoneByIana(iana))
        return std::u16string(z->name);
    return {iana.begin(), iana.end()};
}

std::u16string longitudeWords(double longitude)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.2f", std::fabs(longitude));
    std::u16string out = longitude < 0 ? u"西经" : u"东经";
    for (const char *c = digits; *c; ++c)
        out += static_cast<char16_t>(*c);
    return out + u"°";
}

} // namespace lotgrid
