#include "calendar/zones.h"

#include <algorithm>

#ifdef LOTGRID_HAVE_TZDB
#include <date/tz.h>

#include <chrono>
#endif

namespace lotgrid {

namespace {

// The years of China's summer time: Asia/Shanghai also carries the summer
// times of the 1940s and the local mean time before 1901, which a moment typed
// as 北京时间 has never been meant to follow.
constexpr int FirstSummerYear = 1986;
constexpr int LastSummerYear = 1991;
constexpr std::string_view ChinaZone = "Asia/Shanghai";
constexpr int StandardOffset = 8 * 60;

#ifdef LOTGRID_HAVE_TZDB

// The database's zone, or nullptr when it has none of that name or cannot be read.
const date::time_zone *findZone(std::string_view iana)
{
    if (iana.empty())
        return nullptr;
    try {
        return date::locate_zone(iana);
    } catch (...) { // std::runtime_error for an unknown name, or an unreadable database
        return nullptr;
    }
}

date::local_time<std::chrono::minutes> localTime(const Moment &m)
{
    using namespace std::chrono;
    const date::local_days day{date::year{m.date.year} / m.date.month / m.date.day};
    return day + hours{m.hour} + minutes{m.minute};
}

// The zone's offset and summer time at a local moment, read as toChinaStandardTime says.
date::sys_info infoAt(const date::time_zone &zone, const Moment &m)
{
    return zone.get_info(localTime(m)).first;
}

#endif

} // namespace

std::optional<CommonZone> commonZone(std::u16string_view name)
{
    const auto it = std::ranges::find(CommonZones, name, &CommonZone::name);
    return it != CommonZones.end() ? std::optional(*it) : std::nullopt;
}

std::optional<CommonZone> commonZoneByIana(std::string_view iana)
{
    const auto it = std::ranges::find(CommonZones, iana, &CommonZone::iana);
    return it != CommonZones.end() ? std::optional(*it) : std::nullopt;
}

bool haveZoneDatabase()
{
#ifdef LOTGRID_HAVE_TZDB
    return findZone(ChinaZone) != nullptr;
#else
    return false;
#endif
}

bool isKnownZone(std::string_view iana)
{
#ifdef LOTGRID_HAVE_TZDB
    return findZone(iana) != nullptr;
#else
    (void)iana;
    return false;
#endif
}

ZoneResult toChinaStandardTime(const Moment &typed, std::string_view iana, bool standardTime)
{
    if (!isValid(typed))
        return {std::nullopt, ZoneError::InvalidMoment};
    ZonedMoment z{typed, typed, StandardOffset, false};
#ifdef LOTGRID_HAVE_TZDB
    if (iana.empty()) {
        if (!standardTime && typed.date.year >= FirstSummerYear && typed.date.year <= LastSummerYear) {
            if (const date::time_zone *china = findZone(ChinaZone)) {
                const date::sys_info info = infoAt(*china, typed);
                if (info.save != std::chrono::minutes{0}) {
                    z.summerTime = true;
                    z.offsetMinutes = static_cast<int>(info.offset.count() / 60);
                }
            }
        }
    } else {
        const date::time_zone *zone = findZone(iana);
        if (!zone)
            return {std::nullopt, haveZoneDatabase() ? ZoneError::UnknownZone : ZoneError::NoDatabase};
        const date::sys_info info = infoAt(*zone, typed);
        z.offsetMinutes = static_cast<int>(info.offset.count() / 60);
        z.summerTime = info.save != std::chrono::minutes{0};
    }
#else
    (void)standardTime;
    if (!iana.empty())
        return {std::nullopt, ZoneError::NoDatabase};
#endif
    z.standard = momentFromMinutes(minuteNumber(typed) - z.offsetMinutes + StandardOffset);
    if (!inChartRange(z.standard))
        return {std::nullopt, ZoneError::OutOfRange};
    return {z, {}};
}

std::optional<Moment> fromChinaStandardTime(const Moment &standard, std::string_view iana)
{
    if (iana.empty())
        return standard;
#ifdef LOTGRID_HAVE_TZDB
    const date::time_zone *zone = findZone(iana);
    if (!zone || !isValid(standard))
        return std::nullopt;
    const date::sys_seconds utc{std::chrono::minutes{minuteNumber(standard) - StandardOffset}};
    const date::sys_info info = zone->get_info(utc);
    return momentFromMinutes(minuteNumber(standard) - StandardOffset + info.offset.count() / 60);
#else
    return std::nullopt;
#endif
}

std::vector<std::string> zoneNames()
{
    std::vector<std::string> names;
#ifdef LOTGRID_HAVE_TZDB
    try {
        const date::tzdb &db = date::get_tzdb();
        for (const date::time_zone &z : db.zones)
            names.emplace_back(z.name());
    } catch (...) { // an unreadable database offers no names
        names.clear();
    }
    std::ranges::sort(names);
#endif
    return names;
}

} // namespace lotgrid
