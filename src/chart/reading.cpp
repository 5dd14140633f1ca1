#include "chart/reading.h"

#include "chart/chart.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace lotgrid {

namespace {

std::u16string str(std::u16string_view s)
{
    return std::u16string(s);
}

// "寅木".
std::u16string branchWithElement(Branch b)
{
    return str(branchName(b)) + str(elementName(branchElement(b)));
}

std::u16string_view buildWord(Build which)
{
    return which == Build::Month ? u"月建" : u"日建";
}

bool isMonthMark(StaticMark m)
{
    return m == StaticMark::MonthBroken;
}

// One place the use god may stand: a line of the relative, or a hidden spirit of it.
struct Place {
    int position = 0;
    bool hidden = false;
    Branch branch{};
    bool moving = false;
    bool strong = false;
    bool broken = false;
    bool isVoid = false;
    bool holdsRole = false;
};

// True when `a` is to be taken over `b` as the use god.
bool preferred(const Place &a, const Place &b)
{
    const auto rank
        = [](const Place &p) { return std::tuple{p.moving, p.strong, !p.broken, !p.isVoid, p.holdsRole, -p.position}; };
    return rank(a) > rank(b);
}

std::vector<StaticMark> lineMarks(const Chart &chart, std::size_t i)
{
    std::vector<StaticMark> marks;
    if (chart.analysis.marks[i] != StaticMark::None)
        marks.push_back(chart.analysis.marks[i]);
    return marks;
}

std::vector<StaticMark> markList(StaticMark m)
{
    return m == StaticMark::None ? std::vector<StaticMark>{} : std::vector<StaticMark>{m};
}

bool isStrong(const std::optional<LineStrength> &s)
{
    return s && s->strong;
}

bool isBroken(const std::optional<LineStrength> &s)
{
    return s && s->monthBroken;
}

std::optional<UseGod> chooseUseGod(const Chart &chart, const Reading &reading)
{
    const CastInput &in = chart.input;
    if (in.mark.kind == MarkKind::UseGod && in.mark.line >= 1 && in.mark.line <= 6) {
        const ChartLine &picked = chart.line(in.mark.line);
        UseGod g;
        g.relative = picked.relative;
        g.element = picked.element;
        g.position = in.mark.line;
        g.source = UseGodSource::Manual;
        for (int n = 1; n <= 6; ++n)
            if (n != in.mark.line && chart.line(n).relative == picked.relative)
                g.candidates.push_back(n);
        return g;
    }
    if (!in.category)
        return std::nullopt;
    const auto target = useGodTarget(*in.category, in.sex);
    if (!target)
        return std::nullopt;
    if (target->world) {
        const int world = chart.original->world;
        const ChartLine &l = chart.line(world);
        return UseGod{true, l.relative, l.element, world, false, {}, UseGodSource::Auto};
    }

    std::vector<Place> places;
    for (int n = 1; n <= 6; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        if (l.relative == target->relative)
            places.push_back({n, false, l.branch, l.cast.moving, isStrong(reading.lines[i].strength),
                              isBroken(reading.lines[i].strength), l.isVoid, l.role != Role::None});
    }
    if (places.empty()) {
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &l = chart.line(n);
            if (!l.hidden || l.hidden->relative != target->relative)
                continue;
            const auto s = strengthOf(l.hidden->branch, in.monthBuild, in.dayBuild,
                                      markList(staticMark(l.hidden->branch, in.monthBuild, in.dayBuild, l.hiddenVoid)));
            places.push_back({n, true, l.hidden->branch, false, isStrong(s), isBroken(s), l.hiddenVoid, false});
        }
    }
    if (places.empty())
        return std::nullopt;
    const auto best = std::ranges::max_element(places, [](const Place &a, const Place &b) { return preferred(b, a); });
    UseGod g{false, target->relative,  branchElement(best->branch), best->position, best->hidden,
             {},    UseGodSource::Auto};
    for (const Place &p : places)
        if (p.position != best->position)
            g.candidates.push_back(p.position);
    return g;
}

// The source of `b` for a harmony, by the order the Harmony comment gives.
std::optional<HarmonyMember> harmonySource(const Chart &chart, Branch b)
{
    for (int n = 1; n <= 6; ++n)
        if (chart.line(n).cast.moving && chart.line(n).branch == b)
            return HarmonyMember{b, HarmonySource::Line, n};
    for (int n = 1; n <= 6; ++n)
        if (chart.line(n).cast.moving && chart.changed && chart.line(n).changedBranch == b)
            return HarmonyMember{b, HarmonySource::Changed, n};
    for (int n = 1; n <= 6; ++n)
        if (chart.line(n).branch == b)
            return HarmonyMember{b, HarmonySource::Line, n};
    if (chart.input.monthBuild == b)
        return HarmonyMember{b, HarmonySource::Month, 0};
    if (chart.input.dayBuild == b)
        return HarmonyMember{b, HarmonySource::Day, 0};
    return std::nullopt;
}

std::vector<Harmony> harmoniesOf(const Chart &chart)
{
    std::vector<Harmony> out;
    for (const Element e : {Element::Water, Element::Wood, Element::Fire, Element::Metal}) {
        Harmony h{e, {}};
        bool complete = true, moved = false;
        for (std::size_t k = 0; k < 3; ++k) {
            const Stage s = std::array{Stage::Birth, Stage::Peak, Stage::Tomb}[k];
            const auto member = harmonySource(chart, stageBranch(e, s));
            if (!member) {
                complete = false;
                break;
            }
            h.members[k] = *member;
            moved = moved || member->source == HarmonySource::Changed
                    || (member->source == HarmonySource::Line && chart.line(member->position).cast.moving);
        }
        if (complete && moved)
            out.push_back(h);
    }
    return out;
}

std::vector<Tomb> tombsOf(const Chart &chart)
{
    std::vector<Tomb> out;
    for (int n = 1; n <= 6; ++n) {
        const ChartLine &l = chart.line(n);
        // A line on the tomb's own branch stands on it (临) rather than in it.
        const Branch tomb = stageBranch(l.element, Stage::Tomb);
        if (l.branch == tomb)
            continue;
        if (chart.input.dayBuild == tomb)
            out.push_back({n, TombBy::Day, 0});
        for (int m = 1; m <= 6; ++m)
            if (m != n && chart.line(m).cast.moving && chart.line(m).branch == tomb)
                out.push_back({n, TombBy::Moving, m});
        if (l.cast.moving && chart.changed && l.changedBranch == tomb)
            out.push_back({n, TombBy::Changed, 0});
    }
    return out;
}

} // namespace

std::vector<Tie> tiesOf(Branch line, Branch build)
{
    std::vector<Tie> ties;
    const Element l = branchElement(line);
    const Element b = branchElement(build);
    if (line == build)
        ties.push_back(Tie::Same);
    if (generates(b, l))
        ties.push_back(Tie::Generates);
    if (line != build && l == b)
        ties.push_back(Tie::Supports);
    if (overcomes(b, l))
        ties.push_back(Tie::Overcomes);
    if (combines(line, build))
        ties.push_back(Tie::Combines);
    if (clashes(line, build))
        ties.push_back(Tie::Clashes);
    return ties;
}

std::optional<LineStrength> strengthOf(Branch branch, std::optional<Branch> month, std::optional<Branch> day,
                                       const std::vector<StaticMark> &marks)
{
    if (!month && !day)
        return std::nullopt;
    LineStrength s;
    const auto helps = [](const std::vector<Tie> &ties) {
        return std::ranges::any_of(ties,
                                   [](Tie t) { return t == Tie::Same || t == Tie::Generates || t == Tie::Supports; });
    };
    bool hasMonth = false, hasDay = false;
    if (month) {
        s.season = seasonOf(branchElement(branch), branchElement(*month));
        s.month = BuildTies{tiesOf(branch, *month), {}};
        std::ranges::copy_if(marks, std::back_inserter(s.month->marks), isMonthMark);
        s.monthBroken = !s.month->marks.empty();
        hasMonth = *s.season == Season::Prosperous || *s.season == Season::Assisted;
    }
    if (day) {
        s.day = BuildTies{tiesOf(branch, *day), {}};
        std::ranges::copy_if(marks, std::back_inserter(s.day->marks), [](StaticMark m) { return !isMonthMark(m); });
        s.stage = stageAt(branchElement(branch), *day);
        hasDay = helps(s.day->ties);
    }
    s.strong = (hasMonth || hasDay) && !s.monthBroken;
    return s;
}

std::u16string huKey(std::u16string_view key)
{
    if (key.size() != 6)
        return {};
    return str(key.substr(1, 3)) + str(key.substr(2, 3));
}

std::u16string cuoKey(std::u16string_view key)
{
    std::u16string out(key);
    for (char16_t &c : out)
        c = changedValue(c, true);
    return out;
}

std::u16string zongKey(std::u16string_view key)
{
    return {key.rbegin(), key.rend()};
}

Reading readingOf(const Chart &chart)
{
    Reading r;
    if (!chart.original)
        return r;
    const CastInput &in = chart.input;
    for (std::size_t i = 0; i < 6; ++i) {
        const ChartLine &l = chart.lines[i];
        LineReading &lr = r.lines[i];
        lr.strength = strengthOf(l.branch, in.monthBuild, in.dayBuild, lineMarks(chart, i));
        if (!chart.changed || !chart.hasMovingLine())
            continue;
        // A moving line's change is broken as the analysis says (化月破); a still line's
        // counterpart in the changed hexagram by the analysis's rule for a moving line.
        const auto &changes = chart.analysis.changes[i];
        const bool broken = l.cast.moving ? std::ranges::find(changes, Change::MonthBroken) != changes.end()
                                          : movingMark(l.changedBranch, in.monthBuild) == StaticMark::MonthBroken;
        lr.changedStrength = strengthOf(l.changedBranch, in.monthBuild, in.dayBuild,
                                        markList(broken ? StaticMark::MonthBroken : StaticMark::None));
        if (l.cast.moving) {
            const Stage s = stageAt(l.element, l.changedBranch);
            if (s == Stage::Birth || s == Stage::Peak)
                lr.changeStage = s;
        }
    }
    r.useGod = chooseUseGod(chart, r);
    if (r.useGod)
        for (std::size_t i = 0; i < 6; ++i)
            r.lines[i].support = supportOf(r.useGod->element, chart.lines[i].element);
    r.harmonies = harmoniesOf(chart);
    r.tombs = tombsOf(chart);
    r.hu = FindHexagramByKey(huKey(chart.original->key));
    r.cuo = FindHexagramByKey(cuoKey(chart.original->key));
    r.zong = FindHexagramByKey(zongKey(chart.original->key));
    return r;
}

std::u16string strengthShort(const LineStrength &s)
{
    std::u16string out;
    if (s.season)
        out += seasonName(*s.season);
    if (s.season && s.stage)
        out += u'·';
    if (s.stage)
        out += stageName(*s.stage);
    return out;
}

std::u16string seasonNote(Element line, Branch month)
{
    const std::u16string m = str(buildWord(Build::Month)) + branchWithElement(month);
    const std::u16string l = str(elementName(line));
    switch (seasonOf(line, branchElement(month))) {
    case Season::Prosperous:
        return m + u"，与爻之" + l + u"同气，为旺。";
    case Season::Assisted:
        return m + u"生爻之" + l + u"，为相。";
    case Season::Resting:
        return u"爻之" + l + u"生" + m + u"，泄气为休。";
    case Season::Confined:
        return u"爻之" + l + u"克" + m + u"，为囚。";
    case Season::Dead:
        return m + u"克爻之" + l + u"，为死。";
    }
    return {};
}

std::u16string tieNote(Tie tie, Branch line, Branch build, Build which)
{
    const std::u16string w = str(buildWord(which));
    switch (tie) {
    case Tie::Same:
        return w + str(branchName(build)) + u"与爻同支，爻临" + (which == Build::Month ? u"月建。" : u"日建。");
    case Tie::Generates:
        return w + branchWithElement(build) + u"生爻之" + branchWithElement(line) + u"。";
    case Tie::Supports:
        return w + branchWithElement(build) + u"与爻之" + branchWithElement(line) + u"同气，为扶。";
    case Tie::Overcomes:
        return w + branchWithElement(build) + u"克爻之" + branchWithElement(line) + u"。";
    case Tie::Combines:
        return w + str(branchName(build)) + u"与爻之" + str(branchName(line)) + u"六合。";
    case Tie::Clashes:
        return w + str(branchName(build)) + u"与爻之" + str(branchName(line)) + u"相冲。";
    }
    return {};
}

std::u16string stageNote(Element line, Branch day)
{
    return str(elementName(line)) + u"长生在" + str(branchName(stageBranch(line, Stage::Birth))) + u"，至日建"
           + str(branchName(day)) + u"为" + str(stageName(stageAt(line, day))) + u"。";
}

std::u16string changeStageNote(Element line, Branch changed)
{
    const Stage s = stageAt(line, changed);
    return u"爻之" + str(elementName(line)) + str(stageName(s)) + u"在" + str(branchName(changed)) + u"，动而化出"
           + str(branchName(changed)) + u"，为化" + str(stageName(s)) + u"。";
}

std::u16string strongNote(const LineStrength &s)
{
    const bool monthHelps = s.season && (*s.season == Season::Prosperous || *s.season == Season::Assisted);
    const bool dayHelps = s.day && std::ranges::any_of(s.day->ties, [](Tie t) {
                              return t == Tie::Same || t == Tie::Generates || t == Tie::Supports;
                          });
    if (s.monthBroken)
        return u"月建冲破此爻（月破），纵有生扶亦作衰论。";
    if (monthHelps && dayHelps)
        return u"得月令旺相，又得日建临、生或扶，为旺。";
    if (monthHelps)
        return u"得月令旺相，为旺。";
    if (dayHelps)
        return u"虽不得月令，得日建临、生或扶，亦为旺。";
    if (s.season && s.day)
        return u"不得月令旺相，也不得日建临、生或扶，为衰。";
    if (s.season)
        return u"不得月令旺相，为衰（日建未知）。";
    return u"不得日建临、生或扶，为衰（月建未知）。";
}

std::u16string_view ruleText(ReadingRule rule)
{
    // clang-format off
    static constexpr std::array<std::u16string_view, 14> Texts{
        u"用神取所占之事所属的六亲（自身、出行、疾病取世爻）；两现时舍静用动、舍衰用旺、舍破用不破、舍空用不空、舍闲爻用世应，再取下爻；卦中不现则取伏神。",
        u"生用神之爻为原神，原神旺动则用神得生。",
        u"克用神之爻为忌神，忌神旺动则用神受伤。",
        u"克原神之爻为仇神，仇神动则原神受制。",
        u"得月令旺相，或得日建临、生、扶者为旺，逢月破者不论；其余为衰。",
        u"动爻、变爻与月建日建凑齐三合之三支（至少一支出自动爻或其变爻），合成一局，其五行力大。",
        u"爻之五行墓于日建，为入日墓，主受困。",
        u"爻之五行墓于卦中另一动爻之支，为入动墓，主受困。",
        u"动爻化出自身五行之墓，为化入墓，主受困。",
        u"动爻化出本爻五行之长生，为化长生，主得生助。",
        u"动爻化出本爻五行之帝旺，为化帝旺，主力强。",
        u"本卦二、三、四爻为下卦，三、四、五爻为上卦，成互卦，看事之中间过程。",
        u"本卦六爻阴阳皆反，为错卦。",
        u"本卦六爻上下颠倒，为综卦，看事之反面。",
    };
    // clang-format on
    return Texts[static_cast<std::size_t>(rule)];
}

} // namespace lotgrid
