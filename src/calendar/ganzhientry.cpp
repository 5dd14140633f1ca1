#include "calendar/ganzhientry.h"

#include "calendar/solarterms.h"

#include <algorithm>
#include <cstdlib>

namespace lotgrid {

namespace {

constexpr std::u16string_view Separators = u" \t\u3000,，、;；.。";
constexpr std::u16string_view Places = u"年月日时時";

int placeOf(char16_t c)
{
    const auto at = Places.find(c);
    return at == std::u16string_view::npos ? -1 : std::min(static_cast<int>(at), 3);
}

std::optional<PillarPattern> &slot(GanzhiQuery &q, int place)
{
    return place == 0 ? q.year : place == 1 ? q.month : place == 2 ? q.day : q.hour;
}

int monthCount(Branch b) // 寅 = 0 .. 丑 = 11
{
    return (static_cast<int>(b) + 10) % 12;
}

// The stems the hour may carry on a day of stem `dayStem` (五鼠遁). The 子 hour
// from 23:00 is the next day's first, so with the day turning at midnight a
// day also holds the 子 hour of the next day's stem.
bool hourStemFits(int dayStem, Branch hour, int hourStem, DayBoundary b)
{
    const auto stemOn = [hour](int day) { return (day % 5 * 2 + static_cast<int>(hour)) % 10; };
    return hourStem == stemOn(dayStem)
           || (hour == Branch::Zi && b == DayBoundary::Midnight && hourStem == stemOn(dayStem + 1));
}

bool matchesQuery(const GanzhiQuery &q, const Pillars &p)
{
    return (!q.year || q.year->matches(p.year)) && (!q.month || q.month->matches(p.month))
           && (!q.day || q.day->matches(p.day)) && (!q.hour || q.hour->matches(p.hour));
}

} // namespace

std::u16string patternText(const PillarPattern &p)
{
    std::u16string out;
    if (p.stem)
        out += StemNames[static_cast<std::size_t>(*p.stem)];
    out += BranchNames[static_cast<std::size_t>(p.branch)];
    return out;
}

std::optional<GanzhiQuery> parseGanzhi(std::u16string_view text, GanzhiError &error)
{
    GanzhiQuery q;
    std::vector<PillarPattern> unplaced;
    bool placed = false;
    std::size_t i = 0;
    const auto fail = [&error](GanzhiErrorKind kind, std::u16string words) {
        error = {kind, std::move(words)};
        return std::nullopt;
    };
    while (i < text.size()) {
        if (Separators.find(text[i]) != std::u16string_view::npos) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        PillarPattern p;
        if (const auto s = StemNames.find(text[i]); s != std::u16string_view::npos) {
            p.stem = static_cast<int>(s);
            ++i;
        }
        const auto b = i < text.size() ? BranchNames.find(text[i]) : std::u16string_view::npos;
        if (b == std::u16string_view::npos)
            return fail(GanzhiErrorKind::Unreadable, std::u16string(text.substr(start, i - start + 1)));
        p.branch = static_cast<Branch>(b);
        ++i;
        if (p.stem && !sexagenaryOf(*p.stem, p.branch))
            return fail(GanzhiErrorKind::NotInCycle, patternText(p));
        const int place = i < text.size() ? placeOf(text[i]) : -1;
        if (place < 0) {
            unplaced.push_back(p);
            continue;
        }
        ++i;
        placed = true;
        std::optional<PillarPattern> &s = slot(q, place);
        if (s)
            return fail(GanzhiErrorKind::Twice, std::u16string(text.substr(start, i - start)));
        s = p;
    }
    if (!unplaced.empty()) {
        if (placed || unplaced.size() < 3 || unplaced.size() > 4)
            return fail(GanzhiErrorKind::Unplaced, {});
        for (std::size_t k = 0; k < unplaced.size(); ++k)
            slot(q, static_cast<int>(k)) = unplaced[k];
    }
    if (!q.year && !q.month && !q.day && !q.hour)
        return fail(GanzhiErrorKind::Empty, {});
    // 五虎遁: the 寅 month of a 甲 or 己 year is 丙寅, and the months count on.
    if (q.year && q.year->stem && q.month && q.month->stem
        && *q.month->stem != (*q.year->stem % 5 * 2 + 2 + monthCount(q.month->branch)) % 10)
        return fail(GanzhiErrorKind::YearMonthStems, patternText(*q.year) + u"年" + patternText(*q.month) + u"月");
    return q;
}

std::vector<GanzhiMatch> findGanzhi(const GanzhiQuery &q, DayBoundary b, int firstYear, int lastYear,
                                    const CivilDate &today, GanzhiError &error)
{
    std::vector<GanzhiMatch> out;
    if (q.day && q.day->stem && q.hour && q.hour->stem
        && !hourStemFits(*q.day->stem, q.hour->branch, *q.hour->stem, b)) {
        error = {GanzhiErrorKind::DayHourStems, patternText(*q.day) + u"日" + patternText(*q.hour) + u"时"};
        return out;
    }
    const std::int64_t first = std::max(dayNumber({firstYear, 1, 1}), dayNumber(FirstChartMoment.date));
    const std::int64_t last = std::min(dayNumber({lastYear, 12, 31}), dayNumber(LastChartMoment.date));
    std::optional<GanzhiMatch> open; // the stretch being gathered
    std::vector<std::int64_t> cuts;
    for (std::int64_t d = first; d <= last; ++d) {
        if (q.day && !q.day->matches(dayPillar(civilFromDays(d))))
            continue;
        // The minutes the day's pillar covers, cut where an hour begins or a term falls.
        const std::int64_t start = d * 1440 - (b == DayBoundary::Zi23 ? 60 : 0);
        const std::int64_t end = start + 1440;
        cuts.assign({start});
        for (std::int64_t at = d * 1440 + 60; at < end; at += 120)
            if (at > start)
                cuts.push_back(at);
        const int year = civilFromDays(d).year;
        for (int n = 1; n <= 23; n += 2)
            for (int y : {year - 1, year})
                if (const auto t = termMoment(y, n); t && minuteNumber(*t) > start && minuteNumber(*t) < end)
                    cuts.push_back(minuteNumber(*t));
        std::ranges::sort(cuts);
        cuts.push_back(end);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const Moment from = momentFromMinutes(cuts[k]);
            const auto p = pillarsOf(from, b);
            if (p && matchesQuery(q, *p)) {
                const Moment to = momentFromMinutes(cuts[k + 1] - 1);
                if (open && minuteNumber(open->to) + 1 == cuts[k])
                    open->to = to;
                else {
                    if (open)
                        out.push_back(*open);
                    open = GanzhiMatch{from, to, *p};
                }
            }
        }
    }
    if (open)
        out.push_back(*open);
    if (out.empty()) {
        error = {GanzhiErrorKind::NoDate, {}};
        return out;
    }
    const std::int64_t now = dayNumber(today) * 1440;
    std::ranges::stable_sort(out, {}, [now](const GanzhiMatch &m) { return std::llabs(minuteNumber(m.from) - now); });
    return out;
}

Moment chartMomentOf(const GanzhiMatch &match, const GanzhiQuery &query)
{
    if (!query.hour) {
        const Moment noon{match.from.date, 12, 0};
        if (minuteNumber(noon) >= minuteNumber(match.from) && minuteNumber(noon) <= minuteNumber(match.to))
            return noon;
    }
    return match.from;
}

std::u16string ganzhiErrorText(const GanzhiError &error, int firstYear, int lastYear)
{
    const std::u16string quoted = u"「" + error.text + u"」";
    switch (error.kind) {
    case GanzhiErrorKind::Empty:
        return u"没有写干支：如「卯月戊寅日」或「丙午年 己亥月 乙卯日 庚辰时」";
    case GanzhiErrorKind::Unreadable:
        return quoted + u"不是干支：每柱写天干地支（或只写地支），后接年、月、日或时";
    case GanzhiErrorKind::NotInCycle:
        return quoted + u"不是六十甲子中的一对：阳干配阳支，阴干配阴支";
    case GanzhiErrorKind::Twice:
        return quoted + u"重复了：年、月、日、时各只能写一次";
    case GanzhiErrorKind::Unplaced:
        return u"请在每柱后写明年、月、日或时；不写时须按年、月、日（、时）依次写三柱或四柱";
    case GanzhiErrorKind::YearMonthStems:
        return quoted + u"不可能同时成立：月干须由年干按五虎遁推出";
    case GanzhiErrorKind::DayHourStems:
        return quoted + u"不可能同时成立：时干须由日干按五鼠遁推出";
    case GanzhiErrorKind::NoDate: {
        const auto number = [](int n) {
            std::u16string s;
            for (const char c : std::to_string(n))
                s += static_cast<char16_t>(c);
            return s;
        };
        return number(firstYear) + u"—" + number(lastYear) + u"年间没有这样的日子";
    }
    }
    return {};
}

} // namespace lotgrid
