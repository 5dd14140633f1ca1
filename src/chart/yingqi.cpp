#include "chart/yingqi.h"

#include "calendar/solarterms.h"
#include "chart/chart.h"
#include "chart/words.h"

#include <algorithm>
#include <tuple>

namespace lotgrid {

namespace {

std::u16string str(std::u16string_view s)
{
    return std::u16string(s);
}

std::u16string twoDigits(int n)
{
    return {static_cast<char16_t>(u'0' + n / 10 % 10), static_cast<char16_t>(u'0' + n % 10)};
}

Branch clashOf(Branch b)
{
    return branchAt(static_cast<int>(b) + 6);
}

Branch combineOf(Branch b)
{
    return branchAt(13 - static_cast<int>(b));
}

// The civil day the moment is read on: its own, or with 子初换日 from 23:00 the next one.
std::int64_t castDay(const Moment &m, DayBoundary b)
{
    return dayNumber(m.date) + (b == DayBoundary::Zi23 && m.hour == 23 ? 1 : 0);
}

struct MonthStart {
    CivilDate date;
    Sexagenary pillar;
    std::u16string_view term;
};

// The months whose 节 falls after the moment, the first `count` of them, as
// far as the term table reaches.
std::vector<MonthStart> monthsAfter(const Moment &m, DayBoundary b, int count)
{
    std::vector<MonthStart> out;
    const std::int64_t from = minuteNumber(m);
    for (int year = m.date.year; static_cast<int>(out.size()) < count && year <= m.date.year + 2; ++year)
        for (int n = 1; n <= 23 && static_cast<int>(out.size()) < count; n += 2) {
            const auto at = termMoment(year, n);
            if (!at || minuteNumber(*at) <= from)
                continue;
            if (const auto p = pillarsOf(*at, b))
                out.push_back({at->date, p->month, TermNames[static_cast<std::size_t>(n)]});
        }
    return out;
}

// How the line is named in a reason: "用神妻财卯木", "世爻卯木", "用神伏神妻财卯木".
std::u16string subject(const TimingLine &t)
{
    std::u16string s = t.hidden ? u"伏神" : t.useGod ? u"用神" : u"世爻";
    if (t.useGod)
        s += relativeName(t.relative);
    return s + str(branchName(t.branch)) + str(elementName(branchElement(t.branch)));
}

class Collector
{
public:
    Collector(const Chart &chart, const TimingLine &line)
        : m_line(line)
    {
        const Moment &m = *chart.input.moment;
        m_day0 = castDay(m, chart.input.dayBoundary);
        const std::int64_t last = dayNumber(LastChartMoment.date);
        for (int k = 1; k <= YingqiDays && m_day0 + k <= last; ++k)
            m_days.push_back(m_day0 + k);
        m_months = monthsAfter(m, chart.input.dayBoundary, YingqiMonths);
    }

    // The first days (at most YingqiRepeats) whose branch is `b`.
    void days(YingqiRule rule, Branch b, const std::u16string &why)
    {
        int found = 0;
        for (std::int64_t d : m_days) {
            const Sexagenary p = dayPillar(civilFromDays(d));
            if (p.branch() != b)
                continue;
            add(civilFromDays(d), YingqiUnit::Day, p, rule, why);
            if (++found == YingqiRepeats)
                break;
        }
    }

    void months(YingqiRule rule, Branch b, const std::u16string &why)
    {
        int found = 0;
        for (const MonthStart &s : m_months) {
            if (s.pillar.branch() != b)
                continue;
            add(s.date, YingqiUnit::Month, s.pillar, rule, why);
            if (++found == YingqiRepeats)
                break;
        }
    }

    // The first 甲 day after the cast: the next 旬 opens.
    void nextDecade(const std::u16string &why)
    {
        const int stem = dayPillar(civilFromDays(m_day0)).stem();
        const std::int64_t d = m_day0 + (10 - stem);
        if (std::ranges::find(m_days, d) != m_days.end())
            add(civilFromDays(d), YingqiUnit::Day, dayPillar(civilFromDays(d)), YingqiRule::LeaveVoid, why);
    }

    // The next month that opens: the month of 月破 is over.
    void nextMonth(const std::u16string &why)
    {
        if (!m_months.empty()) {
            const MonthStart &s = m_months.front();
            add(s.date, YingqiUnit::Month, s.pillar, YingqiRule::MendBreak, why + u"（" + str(s.term) + u"）");
        }
    }

    std::vector<YingqiCandidate> take()
    {
        std::ranges::stable_sort(m_out, [](const YingqiCandidate &a, const YingqiCandidate &b) {
            return std::tuple{dayNumber(a.date), a.rule, a.unit} < std::tuple{dayNumber(b.date), b.rule, b.unit};
        });
        return std::move(m_out);
    }

private:
    void add(CivilDate date, YingqiUnit unit, Sexagenary p, YingqiRule rule, const std::u16string &why)
    {
        m_out.push_back({date, unit, p, rule, m_line.position, why});
    }

    const TimingLine &m_line;
    std::int64_t m_day0 = 0;
    std::vector<std::int64_t> m_days;
    std::vector<MonthStart> m_months;
    std::vector<YingqiCandidate> m_out;
};

} // namespace

std::optional<TimingLine> timingLineOf(const Chart &chart)
{
    if (!chart.original)
        return std::nullopt;
    const CastInput &in = chart.input;
    TimingLine t;
    const auto &g = chart.reading.useGod;
    t.useGod = g.has_value();
    t.position = g ? g->position : chart.original->world;
    t.hidden = g && g->hidden;
    const ChartLine &l = chart.line(t.position);
    if (t.hidden) {
        t.relative = l.hidden->relative;
        t.branch = l.hidden->branch;
        t.isVoid = l.hiddenVoid;
        const StaticMark mark = staticMark(t.branch, in.monthBuild, in.dayBuild);
        const auto s = strengthOf(t.branch, in.monthBuild, in.dayBuild,
                                  mark == StaticMark::None ? std::vector<StaticMark>{} : std::vector{mark});
        if (s)
            t.strong = s->strong;
    } else {
        t.relative = l.relative;
        t.branch = l.branch;
        t.moving = l.cast.moving;
        t.isVoid = l.isVoid;
        if (const auto &s = chart.reading.line(t.position).strength)
            t.strong = s->strong;
    }
    t.monthBroken = in.monthBuild && clashes(t.branch, *in.monthBuild);
    t.dayClashed = in.dayBuild && clashes(t.branch, *in.dayBuild);

    if (in.dayBuild && combines(t.branch, *in.dayBuild))
        t.heldBy = u"日建";
    else if (in.monthBuild && combines(t.branch, *in.monthBuild))
        t.heldBy = u"月建";
    else if (t.moving && chart.changed && combines(t.branch, l.changedBranch))
        t.heldBy = u"变爻";
    for (int n = 1; n <= 6 && !t.heldBy; ++n)
        if (n != t.position && chart.line(n).cast.moving && combines(t.branch, chart.line(n).branch))
            t.heldBy = str(linePlaceName(n));

    // A line on the tomb's own branch stands on it (临) rather than in it.
    const Branch tomb = stageBranch(branchElement(t.branch), Stage::Tomb);
    if (t.branch == tomb)
        return t;
    if (in.dayBuild == tomb) {
        t.tomb = tomb;
        t.tombBy = u"日墓";
    }
    for (int n = 1; n <= 6 && !t.tomb; ++n)
        if ((t.hidden || n != t.position) && chart.line(n).cast.moving && chart.line(n).branch == tomb) {
            t.tomb = tomb;
            t.tombBy = u"动墓";
        }
    return t;
}

std::vector<YingqiCandidate> yingqiOf(const Chart &chart)
{
    const auto line = timingLineOf(chart);
    if (!line || !chart.input.moment || !inChartRange(*chart.input.moment))
        return {};
    const TimingLine &t = *line;
    Collector c(chart, t);
    const std::u16string who = subject(t);
    const std::u16string b = str(branchName(t.branch));

    c.months(YingqiRule::Value, t.branch, who + u"，逢" + b + u"月值之");
    c.days(YingqiRule::Value, t.branch, who + u"，逢" + b + u"日值之");

    const bool staticStrong = !t.moving && t.strong == true;
    if (staticStrong || t.heldBy) {
        const std::u16string day = str(branchName(clashOf(t.branch))) + u"日";
        std::u16string why = who;
        if (staticStrong)
            why += u"安静而旺，逢" + day + u"冲起";
        if (staticStrong && t.heldBy)
            why += u"；";
        if (t.heldBy)
            why += u"被" + *t.heldBy + u"合住，逢" + day + u"冲开";
        c.days(YingqiRule::Clash, clashOf(t.branch), why);
    }

    if (t.moving || t.dayClashed || t.monthBroken) {
        const std::u16string day = str(branchName(combineOf(t.branch))) + u"日";
        const std::u16string why = t.moving ? who + u"发动，逢" + day + u"合而成"
                                            : who + u"逢" + (t.monthBroken ? u"月" : u"日") + u"冲，待" + day + u"合之";
        c.days(YingqiRule::Combine, combineOf(t.branch), why);
    }

    if (t.isVoid) {
        c.nextDecade(who + u"旬空，出旬之日");
        c.days(YingqiRule::FillVoid, t.branch, who + u"旬空，逢" + b + u"日填实");
    }

    if (t.monthBroken) {
        c.months(YingqiRule::MendBreak, t.branch, who + u"月破，逢" + b + u"月补之");
        c.days(YingqiRule::MendBreak, t.branch, who + u"月破，逢" + b + u"日补之");
        c.nextMonth(who + u"月破，出月之时");
    }

    if (t.tomb)
        c.days(YingqiRule::ClashTomb, clashOf(*t.tomb),
               who + u"入" + str(t.tombBy) + str(branchName(*t.tomb)) + u"，逢" + str(branchName(clashOf(*t.tomb)))
                   + u"日冲开墓库");

    if (t.strong == false) {
        const Element e = branchElement(t.branch);
        for (const Stage s : {Stage::Birth, Stage::Peak}) {
            const Branch at = stageBranch(e, s);
            c.days(YingqiRule::BirthPeak, at,
                   who + u"衰弱，逢" + str(branchName(at)) + u"日" + str(stageName(s)) + u"之地而得气");
        }
    }
    return c.take();
}

std::u16string isoDate(const CivilDate &d)
{
    std::u16string year;
    for (int y = d.year, i = 0; i < 4; ++i, y /= 10)
        year.insert(year.begin(), static_cast<char16_t>(u'0' + y % 10));
    return year + u"-" + twoDigits(d.month) + u"-" + twoDigits(d.day);
}

std::vector<std::u16string> yingqiFirst(const std::vector<YingqiCandidate> &list, std::size_t count)
{
    std::vector<std::u16string> out;
    for (std::size_t k = 0; k < list.size();) {
        const YingqiCandidate &c = list[k];
        if (out.size() == count)
            break;
        std::u16string rules;
        for (; k < list.size() && list[k].date == c.date && list[k].unit == c.unit; ++k) {
            if (!rules.empty())
                rules += u"、";
            rules += yingqiRuleName(list[k].rule);
        }
        out.push_back(isoDate(c.date) + u" " + sexagenaryName(c.pillar) + str(yingqiUnitName(c.unit)) + u"（" + rules
                      + u"）");
    }
    return out;
}

} // namespace lotgrid
