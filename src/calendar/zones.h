#pragma once
// The clock a moment is typed on. The chart reckons in China Standard Time
// (UTC+8); a moment typed on another zone's clock is turned into it through the
// system's time zone database (the IANA zones), so that every rule of every
// zone, summer time included, is the database's own.
//
// 北京时间 is the clock of China as it ran: from 1986 to 1991 the country kept
// summer time (UTC+9) in the warm months, so a moment typed on such a day is an
// hour ahead of standard time and is taken back by the database's Asia/Shanghai
// rules, unless the caller says the moment was already reckoned in standard
// time. Other years keep the typed moment as it stands.
//
// A build without the zone database (the Windows one) knows 北京时间 alone and
// takes it as standard time throughout.

#include "calendar/moment.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid {

// The zones practitioners commonly cast from, as the zone list offers them,
// 北京时间 first. Each is named by its Chinese name and its IANA name; the
// zone's city is in the city table under the same Chinese name.
struct CommonZone {
    std::u16string_view name; // "纽约"
    std::string_view iana;    // "America/New_York"; empty for 北京时间
};

// clang-format off
inline constexpr std::array<CommonZone, 24> CommonZones{{
    {u"北京时间", ""},                 {u"香港", "Asia/Hong_Kong"},     {u"澳门", "Asia/Macau"},
    {u"台北", "Asia/Taipei"},          {u"新加坡", "Asia/Singapore"},   {u"吉隆坡", "Asia/Kuala_Lumpur"},
    {u"曼谷", "Asia/Bangkok"},         {u"首尔", "Asia/Seoul"},         {u"东京", "Asia/Tokyo"},
    {u"悉尼", "Australia/Sydney"},     {u"墨尔本", "Australia/Melbourne"}, {u"奥克兰", "Pacific/Auckland"},
    {u"迪拜", "Asia/Dubai"},           {u"莫斯科", "Europe/Moscow"},    {u"柏林", "Europe/Berlin"},
    {u"巴黎", "Europe/Paris"},         {u"伦敦", "Europe/London"},      {u"纽约", "America/New_York"},
    {u"多伦多", "America/Toronto"},    {u"芝加哥", "America/Chicago"},  {u"丹佛", "America/Denver"},
    {u"洛杉矶", "America/Los_Angeles"}, {u"温哥华", "America/Vancouver"}, {u"火奴鲁鲁", "Pacific/Honolulu"},
}};
// clang-format on

inline constexpr std::u16string_view BeijingTimeName = u"北京时间";

// The common zone named `name` (Chinese or IANA), or none.
std::optional<CommonZone> commonZone(std::u16string_view name);
std::optional<CommonZone> commonZoneByIana(std::string_view iana);

// Whether this build reads the zone database; without it only 北京时间 is known.
bool haveZoneDatabase();

// Whether `iana` names a zone of the database.
bool isKnownZone(std::string_view iana);

enum class ZoneError : std::uint8_t {
    UnknownZone,   // no such zone in the database
    NoDatabase,    // a zone other than 北京时间, in a build without the database
    OutOfRange,    // the moment in China Standard Time lies outside the chart's span
    InvalidMoment, // not a date and time of the calendar
};

struct ZonedMoment {
    Moment typed;            // as typed, on the zone's clock
    Moment standard;         // the same instant in China Standard Time
    int offsetMinutes = 0;   // the zone's offset from UTC at that instant (540 for 北京时间 in summer time)
    bool summerTime = false; // the zone's clock ran on summer (daylight saving) time
};

struct ZoneResult {
    std::optional<ZonedMoment> moment;
    ZoneError error = ZoneError::UnknownZone; // when no moment
};

// The moment typed on the clock of `iana` (empty: 北京时间) in China Standard
// Time. A moment the clock skipped when it was set forward is read with the
// offset from before the change; one it showed twice when set back is read as
// the first of the two. With `standardTime`, a 北京时间 moment is taken as
// standard time even on a summer-time day.
ZoneResult toChinaStandardTime(const Moment &typed, std::string_view iana, bool standardTime = false);

// The moment on the clock of `iana` of an instant given in China Standard
// Time; none for an unknown zone or without the database. For 北京时间 it is
// the moment itself.
std::optional<Moment> fromChinaStandardTime(const Moment &standard, std::string_view iana);

// Every zone name of the database, sorted; empty without it.
std::vector<std::string> zoneNames();

} // namespace lotgrid
