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
std::vector<MonthStart> monthsAfter(const Moment &m, int count)
{
    std::vector<MonthStart> out;
    const std::int64_t from = minuteNumber(m);
    for (int year = m.date.year; static_cast<int>(out.size()) < count && year <= m.date.year + 2; ++year)
        for (int n = 1; n <= 23 && static_cast<int>(out.size()) < count; n += 2) {
            const auto at = termMoment(year, n);
            if (!at || minuteNumber(*at) <= from)
                continue;
            // The month the 节 opens, counted as pillarsOf counts the months
            // (1984's 寅 month is 丙寅; 小寒, n = 1, opens the 丑 month of the year before).
            if (inChartRange(*at))
                out.push_back({at->date, sexagenaryAt(12LL * (year - 1984) + (n - 3) / 2 + 2),
                               TermNames[static_cast<std::size_t>(n)]});
        }
    return out;
}

// How the line is named in a reason: "用神妻财卯木", "世爻卯木", "伏神妻财卯木",
// "用神妻财寅木（月建）", "两现妻财丑土", "忌神官鬼酉金".
std::u16string subject(const TimingLine &t)
{
    std::u16string s = t.line == YingqiLine::Timing  ? u"两现"
                       : t.line == YingqiLine::Taboo ? u"忌神"
                       : t.hidden                    ? u"伏神"
                       : t.changedLine               ? u"用神变爻"
                       : t.useGod                    ? u"用神"
                                                     : u"世爻";
    if (t.useGod || t.line != YingqiLine::UseGod)
        s += relativeName(t.relative);
    s += str(branchName(t.branch)) + str(elementName(branchElement(t.branch)));
    if (!t.build.empty())
        s += std::u16string(u"（") + str(t.build) + u"）";
    return s;
}

class Collector
{
public:
    Collector(const Chart &chart)
    {
        const Moment &m = *chart.input.moment;
        m_day0 = castDay(*chart.input.clockMoment(), chart.input.dayBoundary); // the day of true solar time, when set
        const std::int64_t last = dayNumber(LastChartMoment.date);
        for (int k = 1; k <= YingqiDays && m_day0 + k <= last; ++k)
            m_days.push_back(m_day0 + k);
        m_months = monthsAfter(m, YingqiMonths);
    }

    // The line the candidates that follow are for.
    void setLine(const TimingLine &line) { m_line = &line; }

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
        m_out.push_back({date, unit, p, rule, m_line->position, why, m_line->line});
    }

    const TimingLine *m_line = nullptr;
    std::int64_t m_day0 = 0;
    std::vector<std::int64_t> m_days;
    std::vector<MonthStart> m_months;
    std::vector<YingqiCandidate> m_out;
};

bool helpsLine(const std::vector<Tie> &ties)
{
    return std::ranges::any_of(ties, [](Tie t) { return t == Tie::Same || t == Tie::Generates || t == Tie::Supports; });
}

// Fills in what the rules look at beyond the line's branch, place and strength.
void completeState(const Chart &chart, TimingLine &t, const std::optional<LineStrength> &s)
{
    const CastInput &in = chart.input;
    if (s) {
        t.strong = s->strong;
        t.veryStrong = s->season == Season::Prosperous && s->day && helpsLine(s->day->ties);
    }
    t.monthBroken = in.monthBuild && clashes(t.branch, *in.monthBuild);
    t.dayClashed = in.dayBuild && clashes(t.branch, *in.dayBuild);

    if (in.dayBuild && combines(t.branch, *in.dayBuild))
        t.heldBy = u"日建";
    else if (in.monthBuild && combines(t.branch, *in.monthBuild))
        t.heldBy = u"月建";
    else if (t.changed && combines(t.branch, *t.changed))
        t.heldBy = u"变爻";
    // A hidden spirit's 飞神 holds it in a 合 as it holds it in its tomb.
    for (int n = 1; n <= 6 && !t.heldBy; ++n)
        if ((t.hidden || n != t.position) && chart.line(n).cast.moving && combines(t.branch, chart.line(n).branch))
            t.heldBy = str(linePlaceName(n));

    // A line on the tomb's own branch stands on it (临) rather than in it.
    const Branch tomb = stageBranch(branchElement(t.branch), Stage::Tomb);
    if (t.branch == tomb)
        return;
    if (in.dayBuild == tomb) {
        t.tomb = tomb;
        t.tombBy = u"日墓";
    }
    for (int n = 1; n <= 6 && !t.tomb; ++n)
        if ((t.hidden || n != t.position) && chart.line(n).cast.moving && chart.line(n).branch == tomb) {
            t.tomb = tomb;
            t.tombBy = u"动墓";
        }
    if (!t.tomb && in.options.bookYingqi && t.changed == tomb) {
        t.tomb = tomb;
        t.tombBy = u"化墓";
    }
}

// The line at `position` as it stands in the chart.
TimingLine lineState(const Chart &chart, int position, YingqiLine which)
{
    const ChartLine &l = chart.line(position);
    TimingLine t;
    t.position = position;
    t.line = which;
    t.relative = l.relative;
    t.branch = l.branch;
    t.moving = l.cast.moving;
    t.isVoid = l.isVoid;
    if (t.moving && chart.changed)
        t.changed = l.changedBranch;
    completeState(chart, t, chart.reading.line(position).strength);
    return t;
}

bool isVoidBranch(const Chart &chart, Branch b)
{
    return chart.voids && std::ranges::find(*chart.voids, b) != chart.voids->end();
}

// The candidates of one line by every rule.
void collect(const Chart &chart, const TimingLine &t, Collector &c)
{
    c.setLine(t);
    const bool book = chart.input.options.bookYingqi;
    const std::u16string who = subject(t);
    const std::u16string b = str(branchName(t.branch));
    const auto day = [](Branch x) { return str(branchName(x)) + u"日"; };

    c.months(YingqiRule::Value, t.branch, who + u"，逢" + b + u"月值之");
    c.days(YingqiRule::Value, t.branch, who + u"，逢" + b + u"日值之");

    const bool staticStrong = !t.moving && t.strong == true;
    const bool voidClash = book && t.isVoid;
    if (staticStrong || t.heldBy || voidClash) {
        std::vector<std::u16string> parts;
        if (staticStrong)
            parts.push_back(std::u16string(u"安静而旺，逢") + day(clashOf(t.branch)) + u"冲起");
        if (t.heldBy)
            parts.push_back(std::u16string(u"被") + *t.heldBy + u"合住，逢" + day(clashOf(t.branch)) + u"冲开");
        if (voidClash)
            parts.push_back(std::u16string(u"旬空，逢") + day(clashOf(t.branch)) + u"冲空则实");
        std::u16string why = who;
        for (std::size_t k = 0; k < parts.size(); ++k)
            why += (k ? u"；" : u"") + parts[k];
        c.days(YingqiRule::Clash, clashOf(t.branch), why);
    }
    if (voidClash)
        c.months(YingqiRule::Clash, clashOf(t.branch),
                 who + u"旬空，逢" + str(branchName(clashOf(t.branch))) + u"月冲空则实");
    if (book && t.heldBy) {
        // 遇六合亦宜相击: the branch holding it clashed away.
        const Branch partner = combineOf(t.branch);
        c.days(YingqiRule::Clash, clashOf(partner),
               who + u"与" + str(branchName(partner)) + u"作合，逢" + day(clashOf(partner)) + u"冲其合神");
    }

    if (t.moving || t.dayClashed || t.monthBroken) {
        const std::u16string d = day(combineOf(t.branch));
        const std::u16string why = t.moving ? who + u"发动，逢" + d + u"合而成"
                                            : who + u"逢" + (t.monthBroken ? u"月" : u"日") + u"冲，待" + d + u"合之";
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
               who + u"入" + str(t.tombBy) + str(branchName(*t.tomb)) + u"，逢" + day(clashOf(*t.tomb)) + u"冲开墓库");

    if (t.strong == false) {
        const Element e = branchElement(t.branch);
        for (const Stage s : {Stage::Birth, Stage::Peak}) {
            const Branch at = stageBranch(e, s);
            c.days(YingqiRule::BirthPeak, at,
                   who + u"衰弱，逢" + str(branchName(at)) + u"日" + str(stageName(s)) + u"之地而得气");
        }
    }
    if (!book)
        return;

    const Branch tomb = stageBranch(branchElement(t.branch), Stage::Tomb);
    if (t.veryStrong && tomb != t.branch) {
        // 太旺者逢墓逢冲.
        c.days(YingqiRule::MeetTomb, tomb, who + u"太旺，逢" + day(tomb) + u"入墓");
        if (t.tomb != tomb)
            c.days(YingqiRule::ClashTomb, clashOf(tomb), who + u"太旺，逢" + day(clashOf(tomb)) + u"冲其墓库");
    }
    if (!t.changed)
        return;
    const Branch to = *t.changed;
    const std::u16string toWords = std::u16string(u"化出") + str(branchName(to)) + str(elementName(branchElement(to)));
    if (isVoidBranch(chart, to))
        c.days(YingqiRule::LeaveVoid, to, who + toWords + u"旬空，逢" + day(to) + u"出空");
    if (chart.input.monthBuild && clashes(to, *chart.input.monthBuild)) {
        c.months(YingqiRule::MendBreak, to, who + toWords + u"月破，逢" + str(branchName(to)) + u"月补之");
        c.days(YingqiRule::MendBreak, to, who + toWords + u"月破，逢" + day(to) + u"补之");
    }
    const auto changes = lineChanges(t.branch, to, std::nullopt);
    for (const Change ch : changes)
        if (ch == Change::Advance || ch == Change::Retreat) {
            const std::u16string why = who + str(changeName(ch)) + u"，逢" + str(branchName(to));
            c.months(YingqiRule::AdvanceRetreat, to, why + u"月应之");
            c.days(YingqiRule::AdvanceRetreat, to, why + u"日应之");
        }
}

// A moving 忌神: its own day, and the day of its void branch or changed branch (when the harm comes).
void collectTaboo(const Chart &chart, int position, Collector &c)
{
    const TimingLine t = lineState(chart, position, YingqiLine::Taboo);
    c.setLine(t);
    const std::u16string who = subject(t);
    c.days(YingqiRule::Value, t.branch, who + u"发动，逢" + str(branchName(t.branch)) + u"日值之");
    if (t.isVoid)
        c.days(YingqiRule::LeaveVoid, t.branch, who + u"旬空，逢" + str(branchName(t.branch)) + u"日出空");
    if (t.changed && isVoidBranch(chart, *t.changed))
        c.days(YingqiRule::LeaveVoid, *t.changed,
               who + u"化出" + str(branchName(*t.changed)) + u"旬空，逢" + str(branchName(*t.changed)) + u"日出空");
}

} // namespace

std::optional<TimingLine> timingLineOf(const Chart &chart)
{
    if (!chart.original)
        return std::nullopt;
    const auto &g = chart.reading.useGod;
    if (!g)
        return lineState(chart, chart.original->world, YingqiLine::UseGod);
    if (!g->hidden && !g->changed && !g->fromBuild()) {
        TimingLine t = lineState(chart, g->position, YingqiLine::UseGod);
        t.useGod = true;
        return t;
    }
    // A hidden spirit, a changed line or a build: a branch on no line of the original hexagram.
    TimingLine t;
    t.useGod = true;
    t.position = g->position;
    t.hidden = g->hidden;
    t.changedLine = g->changed;
    t.build = g->source == UseGodSource::Month ? u"月建" : g->source == UseGodSource::Day ? u"日建" : u"";
    t.relative = g->relative;
    t.branch = g->branch;
    t.isVoid = isVoidBranch(chart, t.branch);
    completeState(chart, t,
                  g->changed ? chart.reading.line(g->position).changedStrength
                             : strengthOffLine(chart, t.branch, t.isVoid));
    return t;
}

std::optional<CivilDate> yingqiCutOff(const Chart &chart)
{
    const auto &m = chart.input.moment;
    if (!chart.original || !m || !inChartRange(*m))
        return std::nullopt;
    const bool daysCut = castDay(*m, chart.input.dayBoundary) + YingqiDays > dayNumber(LastChartMoment.date);
    // The twelve 节 after a moment fall in its year or the next, which the term
    // table holds unless the next is past the chart's last year: only then are they counted.
    static_assert(YingqiMonths <= 12);
    const bool monthsCut = m->date.year + 1 >= LastChartMoment.date.year
                           && static_cast<int>(monthsAfter(*m, YingqiMonths).size()) < YingqiMonths;
    return daysCut || monthsCut ? std::optional{LastChartMoment.date} : std::nullopt;
}

std::vector<YingqiCandidate> yingqiOf(const Chart &chart)
{
    const auto line = timingLineOf(chart);
    if (!line || !chart.input.moment || !inChartRange(*chart.input.moment))
        return {};
    Collector c(chart);
    collect(chart, *line, c);
    const auto &g = chart.reading.useGod;
    if (g && g->timing) {
        TimingLine t = lineState(chart, *g->timing, YingqiLine::Timing);
        t.useGod = true;
        collect(chart, t, c);
    }
    if (g && chart.input.options.bookYingqi)
        for (int n = 1; n <= 6; ++n)
            if (chart.line(n).cast.moving && chart.reading.line(n).support == Support::Taboo)
                collectTaboo(chart, n, c);
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
            rules += YingqiLineNames[static_cast<std::size_t>(list[k].line)];
            rules += yingqiRuleName(list[k].rule);
        }
        out.push_back(isoDate(c.date) + u" " + sexagenaryName(c.pillar) + str(yingqiUnitName(c.unit)) + u"（" + rules
                      + u"）");
    }
    return out;
}

} // namespace lotgrid
