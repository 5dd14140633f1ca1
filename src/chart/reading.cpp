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

constexpr std::array<std::u16string_view, 6> PositionNames{u"初爻", u"二爻", u"三爻", u"四爻", u"五爻", u"上爻"};

std::u16string positionName(int n)
{
    return str(PositionNames[static_cast<std::size_t>(n - 1)]);
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
    bool holdsWorld = false;
    bool atBuild = false; // on the month or the day build's branch
};

// True when `a` is to be taken over `b` as the use god.
bool preferred(const Place &a, const Place &b, TwiceRule rule)
{
    switch (rule) {
    case TwiceRule::Ancient: {
        const auto rank = [](const Place &p) {
            return std::tuple{p.strong, p.moving, !p.broken, !p.isVoid, -p.position};
        };
        return rank(a) > rank(b);
    }
    case TwiceRule::WorldHeld: {
        const auto rank = [](const Place &p) {
            return std::tuple{p.holdsWorld, p.atBuild, p.broken, p.isVoid, p.moving, -p.position};
        };
        return rank(a) > rank(b);
    }
    case TwiceRule::Common:
        break;
    }
    const auto rank
        = [](const Place &p) { return std::tuple{p.moving, p.strong, !p.broken, !p.isVoid, p.holdsRole, -p.position}; };
    return rank(a) > rank(b);
}

// The moving lines with their branches, but the one at `except`.
std::vector<std::pair<int, Branch>> moversOf(const Chart &chart, int except = 0)
{
    std::vector<std::pair<int, Branch>> out;
    for (int n = 1; n <= 6; ++n)
        if (n != except && chart.line(n).cast.moving)
            out.emplace_back(n, chart.line(n).branch);
    return out;
}

bool atBuild(const CastInput &in, Branch b)
{
    return in.monthBuild == b || in.dayBuild == b;
}

UseGod useGodAt(bool world, Relative relative, Branch branch, int position, UseGodSource source)
{
    UseGod g;
    g.world = world;
    g.relative = relative;
    g.element = branchElement(branch);
    g.branch = branch;
    g.position = position;
    g.source = source;
    return g;
}

// The best place by the rule, and the rest bottom first.
UseGod pickPlace(const std::vector<Place> &places, Relative relative, TwiceRule rule)
{
    const auto best
        = std::ranges::max_element(places, [rule](const Place &a, const Place &b) { return preferred(b, a, rule); });
    UseGod g = useGodAt(false, relative, best->branch, best->position, UseGodSource::Auto);
    g.hidden = best->hidden;
    const Place *timing = nullptr;
    for (const Place &p : places) {
        if (p.position == best->position)
            continue;
        g.candidates.push_back(p.position);
        if (rule == TwiceRule::Ancient && (p.isVoid || p.broken)
            && (!timing || preferred(p, *timing, TwiceRule::Ancient)))
            timing = &p;
    }
    if (timing)
        g.timing = timing->position;
    return g;
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
        g.branch = picked.branch;
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
        return useGodAt(true, l.relative, l.branch, world, UseGodSource::Auto);
    }
    const TwiceRule rule = in.options.twice;

    std::vector<Place> places;
    for (int n = 1; n <= 6; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        if (l.relative == target->relative)
            places.push_back({n, false, l.branch, l.cast.moving, isStrong(reading.lines[i].strength),
                              isBroken(reading.lines[i].strength), l.isVoid, l.role != Role::None,
                              l.role == Role::World, atBuild(in, l.branch)});
    }
    if (!places.empty())
        return pickPlace(places, target->relative, rule);

    const Element palace = chart.palaceElement();
    if (in.options.absent == AbsentRule::Builds) {
        // 飞伏神章: 用神不现者，即以日月为用神.
        for (const auto &[build, source] :
             {std::pair{in.monthBuild, UseGodSource::Month}, std::pair{in.dayBuild, UseGodSource::Day}}) {
            if (!build || relativeOf(palace, branchElement(*build)) != target->relative)
                continue;
            return useGodAt(false, target->relative, *build, 0, source);
        }
    }
    if (in.options.absent == AbsentRule::Changed && chart.changed) {
        // 启蒙节要: 用神不出现，查变爻.
        for (int n = 1; n <= 6; ++n) {
            const std::size_t i = static_cast<std::size_t>(n - 1);
            const ChartLine &l = chart.lines[i];
            if (l.cast.moving && l.changedRelative == target->relative)
                places.push_back({n, false, l.changedBranch, false, isStrong(reading.lines[i].changedStrength),
                                  isBroken(reading.lines[i].changedStrength), l.changedVoid, false, false,
                                  atBuild(in, l.changedBranch)});
        }
        if (!places.empty()) {
            UseGod g = pickPlace(places, target->relative, rule);
            g.changed = true;
            g.timing.reset();
            return g;
        }
    }
    for (int n = 1; n <= 6; ++n) {
        const ChartLine &l = chart.line(n);
        if (!l.hidden || l.hidden->relative != target->relative)
            continue;
        const auto s = strengthOffLine(chart, l.hidden->branch, l.hiddenVoid);
        places.push_back({n, true, l.hidden->branch, false, isStrong(s), isBroken(s), l.hiddenVoid, false, false,
                          atBuild(in, l.hidden->branch)});
    }
    if (places.empty())
        return std::nullopt;
    UseGod g = pickPlace(places, target->relative, rule);
    const ChartLine &flying = chart.line(g.position);
    g.fushen = fuShenOutlook(g.branch, flying.branch, chart.line(g.position).hiddenVoid, flying.isVoid, in.monthBuild,
                             in.dayBuild, moversOf(chart, g.position));
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
        Harmony h{e, {}, {}};
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

// The lowest line on `b`, moving or static as asked.
std::optional<HarmonyMember> lineOn(const Chart &chart, Branch b, bool moving)
{
    for (int n = 1; n <= 6; ++n)
        if (chart.line(n).cast.moving == moving && chart.line(n).branch == b)
            return HarmonyMember{b, HarmonySource::Line, n};
    return std::nullopt;
}

// The three harmonies in the four forms of 增删卜易 三合章.
std::vector<Harmony> bookHarmoniesOf(const Chart &chart)
{
    std::vector<Harmony> out;
    for (const Element e : {Element::Water, Element::Wood, Element::Fire, Element::Metal}) {
        const std::array<Branch, 3> triad{stageBranch(e, Stage::Birth), stageBranch(e, Stage::Peak),
                                          stageBranch(e, Stage::Tomb)};
        Harmony h{e, {}, {}};
        std::array<std::optional<HarmonyMember>, 3> moving, still;
        int movers = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            moving[k] = lineOn(chart, triad[k], true);
            still[k] = lineOn(chart, triad[k], false);
            movers += moving[k] ? 1 : 0;
        }
        bool found = false;
        if (movers == 3 || (movers == 2 && std::ranges::all_of(std::array{0, 1, 2}, [&](int k) {
                                return moving[k] || still[k];
                            }))) {
            for (std::size_t k = 0; k < 3; ++k)
                h.members[k] = moving[k] ? *moving[k] : *still[k];
            h.form = HarmonyFormNames[movers == 3 ? 0 : 1];
            found = true;
        }
        // 内卦初爻、三爻动 (外卦四爻、六爻), their changed branches completing the three.
        for (const auto &[a, b, form] : {std::tuple{1, 3, 2}, std::tuple{4, 6, 3}}) {
            if (found || !chart.changed || !chart.line(a).cast.moving || !chart.line(b).cast.moving)
                continue;
            const std::array<HarmonyMember, 4> pool{
                HarmonyMember{chart.line(a).branch, HarmonySource::Line, a},
                HarmonyMember{chart.line(b).branch, HarmonySource::Line, b},
                HarmonyMember{chart.line(a).changedBranch, HarmonySource::Changed, a},
                HarmonyMember{chart.line(b).changedBranch, HarmonySource::Changed, b}};
            bool complete = true;
            for (std::size_t k = 0; k < 3 && complete; ++k) {
                const auto it = std::ranges::find(pool, triad[k], &HarmonyMember::branch);
                complete = it != pool.end();
                if (complete)
                    h.members[k] = *it;
            }
            if (complete) {
                h.form = HarmonyFormNames[static_cast<std::size_t>(form)];
                found = true;
            }
        }
        if (found)
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

std::vector<std::u16string> bookStrongReasons(Branch branch, std::optional<Branch> month, std::optional<Branch> day,
                                              const std::vector<std::pair<int, Branch>> &movers,
                                              std::optional<Branch> change)
{
    std::vector<std::u16string> out;
    const Element e = branchElement(branch);
    // A build clashing the line (辰 and 戌) breaks it rather than helping it.
    const auto build = [&](std::optional<Branch> b, std::u16string_view name) {
        if (!b || clashes(*b, branch))
            return;
        if (*b == branch)
            out.push_back(std::u16string(u"临") + str(name));
        else if (generates(branchElement(*b), e))
            out.push_back(str(name) + u"生");
        else if (branchElement(*b) == e)
            out.push_back(str(name) + u"扶");
    };
    build(month, u"月建");
    build(day, u"日建");
    for (const auto &[n, b] : movers) {
        if (generates(branchElement(b), e))
            out.push_back(positionName(n) + u"动生");
        else if (branchElement(b) == e && !clashes(b, branch))
            out.push_back(positionName(n) + u"动扶");
    }
    if (change) {
        if (generates(branchElement(*change), e))
            out.push_back(u"化回头生");
        else if (std::ranges::any_of(AdvanceSteps,
                                     [&](const BranchStep &s) { return s.from == branch && s.to == *change; }))
            out.push_back(u"化进神");
    }
    if (day && stageAt(e, *day) == Stage::Birth)
        out.push_back(u"日建长生");
    if (day && stageAt(e, *day) == Stage::Peak)
        out.push_back(u"日建帝旺");
    return out;
}

FuShenOutlook fuShenOutlook(Branch hidden, Branch flying, bool hiddenVoid, bool flyingVoid, std::optional<Branch> month,
                            std::optional<Branch> day, const std::vector<std::pair<int, Branch>> &movers)
{
    FuShenOutlook o;
    const Element h = branchElement(hidden);
    const Element f = branchElement(flying);
    const auto season
        = [&month](Element e) { return month ? std::optional{seasonOf(e, branchElement(*month))} : std::nullopt; };
    const auto strong
        = [](std::optional<Season> s) { return s && (*s == Season::Prosperous || *s == Season::Assisted); };
    const auto weak = [](std::optional<Season> s) { return s && *s != Season::Prosperous && *s != Season::Assisted; };
    const auto tombOrEnd = [](Element e, Branch at) {
        const Stage s = stageAt(e, at);
        return s == Stage::Tomb ? std::u16string_view(u"墓") : s == Stage::Extinction ? u"绝" : u"";
    };
    const bool hiddenBroken = month && clashes(hidden, *month);
    const bool flyingBroken = month && clashes(flying, *month);

    // 伏神有用: what brings it out.
    if (strong(season(h)))
        o.helps.push_back(u"伏神旺相");
    for (const auto &[b, name] : {std::pair{month, u"月建"}, std::pair{day, u"日建"}})
        if (b && generates(branchElement(*b), h))
            o.helps.push_back(str(name) + u"生伏神");
    if (generates(f, h))
        o.helps.push_back(u"飞神生伏神");
    for (const auto &[n, b] : movers)
        if (generates(branchElement(b), h))
            o.helps.push_back(positionName(n) + u"动生伏神");
    if (flyingBroken)
        o.helps.push_back(u"飞神月破");
    else if (month && overcomes(branchElement(*month), f))
        o.helps.push_back(u"月建克飞神");
    if (day && clashes(flying, *day))
        o.helps.push_back(u"日建冲飞神");
    else if (day && overcomes(branchElement(*day), f))
        o.helps.push_back(u"日建克飞神");
    for (const auto &[n, b] : movers) {
        if (clashes(flying, b))
            o.helps.push_back(positionName(n) + u"动冲飞神");
        else if (overcomes(branchElement(b), f))
            o.helps.push_back(positionName(n) + u"动克飞神");
    }
    if (flyingVoid)
        o.helps.push_back(u"飞神旬空");
    if (weak(season(f)))
        o.helps.push_back(u"飞神休囚");
    if (day && !tombOrEnd(f, *day).empty())
        o.helps.push_back(std::u16string(u"飞神") + str(tombOrEnd(f, *day)) + u"于日建");

    // 伏神无用: what keeps it down.
    if (weak(season(h)))
        o.blocks.push_back(u"伏神休囚");
    if (hiddenBroken)
        o.blocks.push_back(u"月建冲伏神");
    else if (month && overcomes(branchElement(*month), h))
        o.blocks.push_back(u"月建克伏神");
    if (day && clashes(hidden, *day))
        o.blocks.push_back(u"日建冲伏神");
    else if (day && overcomes(branchElement(*day), h))
        o.blocks.push_back(u"日建克伏神");
    if (strong(season(f)) && overcomes(f, h))
        o.blocks.push_back(u"飞神旺相克伏神");
    for (const auto &[b, name] :
         {std::pair{month, u"月建"}, std::pair{day, u"日建"}, std::pair{std::optional{flying}, u"飞神"}})
        if (b && !tombOrEnd(h, *b).empty())
            o.blocks.push_back(std::u16string(u"伏神") + str(tombOrEnd(h, *b)) + u"于" + str(name));
    if (weak(season(h)) && hiddenVoid)
        o.blocks.push_back(u"伏神休囚值旬空");
    if (weak(season(h)) && hiddenBroken)
        o.blocks.push_back(u"伏神休囚值月破");

    o.state = o.helps.empty() ? FuShenState::Stuck : o.blocks.empty() ? FuShenState::Out : FuShenState::Blocked;
    return o;
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

std::optional<LineStrength> strengthOffLine(const Chart &chart, Branch b, bool isVoid)
{
    const CastInput &in = chart.input;
    auto s = strengthOf(b, in.monthBuild, in.dayBuild, markList(staticMark(b, in.monthBuild, in.dayBuild, isVoid)));
    if (s && in.options.bookStrength) {
        s->why = bookStrongReasons(b, in.monthBuild, in.dayBuild, moversOf(chart));
        s->strong = !s->why->empty();
    }
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
        const bool changing = chart.changed && chart.hasMovingLine();
        if (lr.strength && in.options.bookStrength) {
            const auto change = changing && l.cast.moving ? std::optional{l.changedBranch} : std::nullopt;
            lr.strength->why = bookStrongReasons(l.branch, in.monthBuild, in.dayBuild,
                                                 moversOf(chart, static_cast<int>(i) + 1), change);
            lr.strength->strong = !lr.strength->why->empty();
        }
        if (!changing)
            continue;
        // A moving line's change is broken as the analysis says (化月破); a still line's
        // counterpart in the changed hexagram by the analysis's rule for a moving line.
        const auto &changes = chart.analysis.changes[i];
        const bool broken = l.cast.moving ? std::ranges::find(changes, Change::MonthBroken) != changes.end()
                                          : movingMark(l.changedBranch, in.monthBuild) == StaticMark::MonthBroken;
        lr.changedStrength = strengthOf(l.changedBranch, in.monthBuild, in.dayBuild,
                                        markList(broken ? StaticMark::MonthBroken : StaticMark::None));
        if (lr.changedStrength && in.options.bookStrength) {
            lr.changedStrength->why = bookStrongReasons(l.changedBranch, in.monthBuild, in.dayBuild, {});
            lr.changedStrength->strong = !lr.changedStrength->why->empty();
        }
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
    r.harmonies = in.options.bookHarmonies ? bookHarmoniesOf(chart) : harmoniesOf(chart);
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

std::u16string strengthVerdict(const LineStrength &s)
{
    std::u16string out(s.strong ? u"旺" : u"衰");
    if (s.season)
        out += std::u16string(u" · ") + std::u16string(seasonName(*s.season));
    if (s.stage)
        out += std::u16string(u" · ") + std::u16string(stageName(*s.stage));
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
    if (s.why) {
        std::u16string why;
        for (const std::u16string &w : *s.why)
            why += (why.empty() ? u"" : u"、") + w;
        return s.why->empty() ? u"不临日月，不得日月动爻变爻生扶，不逢长生帝旺，为衰（增删卜易用神宜旺）。"
                              : why + u"，为旺（增删卜易用神宜旺：临日月、得生扶、逢长生帝旺皆谓之旺）。";
    }
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
