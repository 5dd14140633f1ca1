#include "chart/summary.h"

#include "chart/words.h"

#include <algorithm>
#include <initializer_list>

namespace lotgrid {

namespace {

// The books and chapters the items cite, and the rule each one states.
struct Source {
    std::u16string_view name;
    std::u16string_view rule;
};

constexpr Source UseGodChapter{u"增删卜易·用神章", u"所占之事取一爻为用神，占类定其六亲，或以世爻为用。"};
constexpr Source TwiceAncient{u"增删卜易·两现章",
                              u"舍其休囚而用旺相，舍其静爻而用动爻，此古法也；得其验者，应乎旬空月破。"};
constexpr Source TwiceWorld{u"卜筮正宗·十八问答",
                            u"舍其闲爻而用持世，舍其无权而用月日，舍其不破而用月破，舍其不空而用旬空。"};
constexpr Source TwiceCommon{u"通行·两现取用", u"舍静用动，舍衰用旺，舍破舍空，舍闲爻用世应，同等取下。"};
constexpr Source HiddenChapter{
    u"增删卜易·飞伏神章", u"凡卦，用神不现者，即以日月为用神；伏神旺相、得生、飞神受制则可出，休囚受克、入墓则难出。"};
constexpr Source ChangedAbsent{u"卜筮正宗·启蒙节要",
                               u"凡卦中用神不出现，查变爻有不必寻伏神矣。倘变爻又无，然后查用神伏于何爻之下。"};
constexpr Source ManualUseGod{u"", u"用神由手选标记指定。"};
constexpr Source BookStrength{u"增删卜易·各门类题头总注",
                              u"得用临日月，或遇日月动爻变爻生扶，或用爻遇长生、逢帝旺，皆谓之旺。"};
constexpr Source CommonStrength{u"通行·月日旺衰", u"得月令旺相或日建临生扶，且不逢月破者为旺，否则为衰。"};
constexpr Source BuildsChapter{u"增删卜易·月将章、日辰章",
                               u"月建日辰临、生、扶用神则用神有气，克、冲用神则用神受伤；日月为重。"};
constexpr Source MovingChapter{u"增删卜易·动静生克章", u"动爻能生克冲合静爻；动爻生扶用神为助，克冲用神为伤。"};
constexpr Source ChangeChapter{
    u"增删卜易·动变生克冲合章",
    u"变爻只生克本位之动爻：回头生、化进神为得助，回头克、化退、化墓、化绝、化空、化破为受伤。"};
constexpr Source RolesChapter{u"增删卜易·元神忌神衰旺章",
                              u"原神、忌神旺相、发动、得日辰生扶者有力；休囚、旬空、月破、化退、入墓者无力。"};
constexpr Source VoidChapter{u"增删卜易·旬空章", u"旺不为空，动不为空，有日建动爻生扶者亦不为空；出空、填实之日应之。"};
constexpr Source BrokenChapter{
    u"增删卜易·月破章", u"月破之爻动、得日建动爻生扶或化出生之者为目下破，出月、填实、逢合之时应之；静而无助为真破。"};
constexpr Source TombChapter{u"增删卜易·各门类应期总注", u"入三墓俱喜冲开；遇六合亦宜相击。"};
constexpr Source WeakChapter{u"增删卜易·各门类应期总注", u"衰绝者遇生遇旺。"};
constexpr Source WorldChapter{u"增删卜易·世应章", u"世为己，应为人；世应相生相合为和，相克相冲为乖，空破者无力。"};
constexpr Source ClashChapter{u"增删卜易·六冲章", u"卦逢六冲，事多散而不聚；六合变六冲者，先合后散。"};
constexpr Source CombineChapter{u"增删卜易·六合章", u"卦逢六合，事多和合成就；六冲变六合者，先散后聚。"};
constexpr Source FanFuChapter{u"增删卜易·反伏章", u"反吟者，卦变相冲，事多反复；伏吟者，变与本同，事多呻吟不进。"};
constexpr Source FanFuFacing{u"卜筮正宗·黄金策", u"反吟者，卦变相冲或变入对宫之卦，事多反复。"};
constexpr Source LoneChapter{u"增删卜易·独静独发章", u"一爻独发，以动爻为事之所主；五爻皆动，以独静之爻为主。"};
constexpr Source HarmonyBook{u"增删卜易·三合章",
                             u"三爻动；两爻动，一爻不动；内卦初爻、三爻动，动而变出之爻成三合；外卦四爻、六爻动，同。"};
constexpr Source HarmonyCommon{u"通行·三合", u"动爻、变爻与静爻、月建、日建凑成申子辰等三合，即成局。"};

using Text = std::u16string;

void put(Text &out, std::initializer_list<std::u16string_view> parts)
{
    for (const std::u16string_view p : parts)
        out += p;
}

// "丑土".
Text label(Branch b)
{
    Text out(branchName(b));
    out += elementName(branchElement(b));
    return out;
}

// "二爻寅木".
Text lineLabel(const Chart &chart, int n)
{
    Text out(linePlaceName(n));
    out += label(chart.line(n).branch);
    return out;
}

void joinTo(Text &out, const std::vector<Text> &words, std::u16string_view sep = u"、")
{
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (k)
            out += sep;
        out += words[k];
    }
}

bool has(const std::vector<Change> &changes, Change c)
{
    return std::ranges::find(changes, c) != changes.end();
}

bool helpsTie(Tie t)
{
    return t == Tie::Same || t == Tie::Generates || t == Tie::Supports;
}

// The one tie of a build to a line that helps or harms it: 临, 生, 扶 or 克 (as tiesOf tells them).
std::optional<Tie> forceTie(Branch line, Branch build)
{
    const Element l = branchElement(line), b = branchElement(build);
    if (line == build)
        return Tie::Same;
    if (l == b)
        return Tie::Supports;
    if (generates(b, l))
        return Tie::Generates;
    if (overcomes(b, l))
        return Tie::Overcomes;
    return std::nullopt;
}

bool buildHelps(Branch line, std::optional<Branch> build)
{
    if (!build)
        return false;
    const auto t = forceTie(line, *build);
    return t && helpsTie(*t);
}

// What the trend weighs: one force on the use god.
struct Force {
    Text word;
    std::vector<int> positions;
    int weight = 0; // > 0 helps, < 0 harms, 0 only named
    const Source *source = nullptr;
};

// Where the use god stands and how.
struct Subject {
    Branch branch{};
    int line = 0;        // the line itself, when it is one of the original hexagram
    int under = 0;       // the line a hidden use god lies under
    bool moving = false; // a moving line of the original hexagram
    bool strong = false; // by the school's strength
    bool isVoid = false; //
    bool broken = false; // the month build clashes it
    VoidKind voidKind = VoidKind::None;
    BreakKind breakKind = BreakKind::None;
    bool filled = false; // 冲实: void and clashed by the day
    std::optional<LineStrength> strength;
};

class Builder
{
public:
    Builder(const Chart &chart)
        : m_chart(chart)
        , m_in(chart.input)
    {
    }

    Summary build();

private:
    void add(SummaryKind kind, Text text, std::vector<int> positions, const Source &source, int weight = 0)
    {
        m_out.items.push_back({kind, std::move(text), std::move(positions), source.name, source.rule, weight});
    }

    Subject subjectOf(const UseGod &g) const;
    void useGodItems(const UseGod &g);
    void forceItems();
    void roleItems();
    void conditionItems();
    void worldItems();
    void hexagramItems();
    void decide();
    std::optional<Text> firstDate(std::initializer_list<YingqiRule> rules) const;
    bool roleStrong(int n) const { return m_roleStrong[static_cast<std::size_t>(n - 1)]; }
    bool lineRoleStrong(int n) const;

    const Chart &m_chart;
    const CastInput &m_in;
    Summary m_out;
    std::optional<UseGod> m_god;
    Subject m_s;
    std::vector<Force> m_helps, m_harms;
    std::vector<Text> m_waits; // the open conditions, as named in the trend's sentence
    Text m_fatal;              // why the use god cannot act at all: 真空, 真破, 伏神难出
    std::array<bool, 6> m_roleStrong{};
};

Subject Builder::subjectOf(const UseGod &g) const
{
    Subject s;
    s.branch = g.branch;
    const auto movers = [&] {
        std::vector<std::pair<int, Branch>> out;
        for (int n = 1; n <= 6; ++n)
            if (m_chart.line(n).cast.moving && (g.hidden || g.fromBuild() || n != g.position))
                out.emplace_back(n, m_chart.line(n).branch);
        return out;
    };
    const bool dayHelps = buildHelps(s.branch, m_in.dayBuild);
    const auto moverHelps = [&] {
        return std::ranges::any_of(movers(), [&](const auto &m) {
            const Element e = branchElement(m.second);
            return e == branchElement(s.branch) || generates(e, branchElement(s.branch));
        });
    };
    s.isVoid = m_chart.voids && std::ranges::find(*m_chart.voids, s.branch) != m_chart.voids->end();
    s.broken = m_in.monthBuild && clashes(s.branch, *m_in.monthBuild);
    if (g.isLine(g.position)) {
        const std::size_t i = static_cast<std::size_t>(g.position - 1);
        s.line = g.position;
        s.moving = m_chart.lines[i].cast.moving;
        s.strength = m_chart.reading.lines[i].strength;
        s.voidKind = m_chart.analysis.voidKinds[i];
        s.breakKind = m_chart.analysis.breakKinds[i];
        s.filled = m_chart.analysis.marks[i] == StaticMark::FilledByClash;
    } else {
        s.under = g.hidden ? g.position : 0;
        s.strength = g.changed ? m_chart.reading.line(g.position).changedStrength
                               : strengthOffLine(m_chart, s.branch, s.isVoid);
        s.filled = s.isVoid && m_in.dayBuild && clashes(s.branch, *m_in.dayBuild) && !g.changed;
        if (m_in.options.voidKinds) {
            // The same rules the analysis applies to a line, on a branch that stands on none.
            const bool seasonStrong = m_in.monthBuild && strongInMonth(s.branch, *m_in.monthBuild);
            if (s.isVoid)
                s.voidKind = !s.broken && (seasonStrong || dayHelps || moverHelps()) ? VoidKind::False : VoidKind::True;
            if (s.broken)
                s.breakKind = dayHelps || moverHelps() ? BreakKind::Present : BreakKind::True;
        }
    }
    s.strong = s.strength && s.strength->strong;
    return s;
}

void Builder::useGodItems(const UseGod &g)
{
    Text text = u"用神：";
    const Source *why = &UseGodChapter;
    std::vector<int> at;
    if (g.fromBuild()) {
        put(text, {g.source == UseGodSource::Month ? u"月建" : u"日建", relativeName(g.relative), label(g.branch),
                   u"（卦中不现，以日月为用）"});
        why = &HiddenChapter;
    } else if (g.changed) {
        put(text,
            {linePlaceName(g.position), u"化出", relativeName(g.relative), label(g.branch), u"（卦中不现，取变爻）"});
        why = &ChangedAbsent;
        at = {g.position};
    } else if (g.hidden) {
        put(text, {relativeName(g.relative), label(g.branch), u"伏于", linePlaceName(g.position), u"（卦中不现）"});
        why = &HiddenChapter;
        at = {g.position};
    } else {
        put(text, {g.world ? u"世爻（" : u"", linePlaceName(g.position), relativeName(g.relative),
                   label(m_chart.line(g.position).branch), g.world ? u"）" : u""});
        at = {g.position};
        if (!g.candidates.empty()) {
            text += u"（两现取此）";
            why = m_in.options.twice == TwiceRule::Ancient     ? &TwiceAncient
                  : m_in.options.twice == TwiceRule::WorldHeld ? &TwiceWorld
                                                               : &TwiceCommon;
        }
    }
    if (g.source == UseGodSource::Manual) {
        text += u"（手选）";
        why = &ManualUseGod;
    } else if (m_in.category && !g.fromBuild() && !g.changed && !g.hidden && g.candidates.empty()) {
        put(text, {u"（占", categoryName(*m_in.category), u"）"});
    }
    if (g.timing) {
        put(text, {u"，", lineLabel(m_chart, *g.timing), u"定应期"});
        at.push_back(*g.timing);
        std::ranges::sort(at);
    }
    add(SummaryKind::UseGod, std::move(text), std::move(at), *why);

    if (!m_s.strength)
        return;
    const LineStrength &st = *m_s.strength;
    Text words = m_s.strong ? u"用神旺" : u"用神衰";
    std::vector<Text> reasons;
    if (st.why) {
        reasons = *st.why;
    } else {
        if (st.season && (*st.season == Season::Prosperous || *st.season == Season::Assisted))
            reasons.push_back(Text(u"月令") + Text(seasonName(*st.season)));
        if (st.day)
            for (const Tie t : st.day->ties)
                if (helpsTie(t))
                    reasons.push_back(Text(u"日建") + Text(tieName(t)));
    }
    if (!m_s.strong) {
        reasons.clear();
        if (st.season)
            reasons.push_back(Text(u"月令") + Text(seasonName(*st.season)));
        if (st.monthBroken)
            reasons.emplace_back(u"月破");
        if (st.why)
            reasons.emplace_back(u"无日月动变生扶");
    }
    if (!reasons.empty()) {
        words += u"：";
        joinTo(words, reasons);
    }
    add(SummaryKind::UseGod, std::move(words), m_s.line ? std::vector<int>{m_s.line} : std::vector<int>{},
        m_in.options.bookStrength ? BookStrength : CommonStrength);
}

// 原神 and 忌神 有力 when 旺相, moving or helped by the day, and none of 旬空,
// 月破, 化退 or 入墓 holds; 无力 otherwise.
bool Builder::lineRoleStrong(int n) const
{
    const std::size_t i = static_cast<std::size_t>(n - 1);
    const ChartLine &l = m_chart.lines[i];
    const auto &st = m_chart.reading.lines[i].strength;
    const bool seasonStrong
        = st && st->season && (*st->season == Season::Prosperous || *st->season == Season::Assisted);
    const bool dayHelps = st && st->day && std::ranges::any_of(st->day->ties, helpsTie);
    const bool inTomb = std::ranges::any_of(m_chart.reading.tombs, [n](const Tomb &t) { return t.position == n; });
    const bool weak = l.isVoid || (st && st->monthBroken)
                      || (l.cast.moving && has(m_chart.analysis.changes[i], Change::Retreat)) || inTomb;
    return (seasonStrong || l.cast.moving || dayHelps) && !weak;
}

void Builder::forceItems()
{
    const Element e = branchElement(m_s.branch);
    const auto build = [&](std::optional<Branch> b, std::u16string_view name) {
        const auto t = b ? forceTie(m_s.branch, *b) : std::nullopt;
        if (!t)
            return;
        Text word = Text(name) + Text(tieName(*t));
        if (helpsTie(*t))
            m_helps.push_back({std::move(word), {}, BuildWeight, &BuildsChapter});
        else
            m_harms.push_back({std::move(word), {}, -BuildWeight, &BuildsChapter});
    };
    // A month that clashes the line breaks it (月破): that is weighed as 真破 or waited on as 目下破, not as 克.
    if (!m_s.broken)
        build(m_in.monthBuild, u"月建");
    build(m_in.dayBuild, u"日建");
    if (m_in.dayBuild && clashes(m_s.branch, *m_in.dayBuild) && !m_s.filled && !m_s.strong)
        m_harms.push_back({m_s.moving ? u"日冲（冲散）" : u"日冲（日破）", {}, -BuildWeight, &BuildsChapter});
    if (m_in.dayBuild && m_in.options.bookStrength && m_s.strength && m_s.strength->stage
        && !buildHelps(m_s.branch, m_in.dayBuild)
        && (*m_s.strength->stage == Stage::Birth || *m_s.strength->stage == Stage::Peak))
        m_helps.push_back({Text(u"日建") + Text(stageName(*m_s.strength->stage)), {}, BuildWeight, &BuildsChapter});

    for (int n = 1; n <= 6; ++n) {
        const ChartLine &l = m_chart.line(n);
        if (!l.cast.moving || n == m_s.line)
            continue;
        const Element le = l.element;
        const bool strong = roleStrong(n);
        const Text who = lineLabel(m_chart, n) + u"动";
        if (le == e || generates(le, e)) {
            Text word = who + (le == e ? u"扶" : u"生") + (strong ? u"" : u"（无力）");
            m_helps.push_back({std::move(word), {n}, strong ? MoverWeight : 0, &MovingChapter});
        } else if (overcomes(le, e) || clashes(l.branch, m_s.branch)) {
            Text word = who + (overcomes(le, e) ? u"克" : u"冲") + (strong ? u"" : u"（无力）");
            m_harms.push_back({std::move(word), {n}, strong ? -MoverWeight : 0, &MovingChapter});
        } else if (generates(e, le)) {
            m_harms.push_back({who + u"泄", {n}, 0, &MovingChapter});
        } else if (overcomes(e, le)) {
            m_harms.push_back({who + u"耗", {n}, 0, &MovingChapter});
        }
    }

    if (m_s.line && m_s.moving) {
        const std::size_t i = static_cast<std::size_t>(m_s.line - 1);
        for (const Change c : m_chart.analysis.changes[i]) {
            const int sign = c == Change::ReturnGenerate || c == Change::Advance ? 1
                             : c == Change::ReturnOvercome || c == Change::Retreat || c == Change::Tomb
                                     || c == Change::Extinction || c == Change::Void || c == Change::MonthBroken
                                 ? -1
                                 : 0;
            if (sign)
                (sign > 0 ? m_helps : m_harms)
                    .push_back({Text(u"用神") + Text(changeName(c)), {m_s.line}, sign * ChangeWeight, &ChangeChapter});
        }
    }

    const auto list = [&](SummaryKind kind, std::u16string_view head, const std::vector<Force> &forces) {
        if (forces.empty())
            return;
        Text text(head);
        std::vector<int> at;
        int weight = 0;
        for (const Force &f : forces) {
            if (&f != &forces.front())
                text += u"、";
            text += f.word;
            at.insert(at.end(), f.positions.begin(), f.positions.end());
            weight += f.weight;
        }
        std::ranges::sort(at);
        at.erase(std::unique(at.begin(), at.end()), at.end());
        // The heaviest force names the chapter.
        const Force &first = *std::ranges::max_element(
            forces, [](const Force &a, const Force &b) { return std::abs(a.weight) < std::abs(b.weight); });
        add(kind, std::move(text), std::move(at), *first.source, weight);
    };
    list(SummaryKind::Help, u"生扶：", m_helps);
    list(SummaryKind::Harm, u"克害：", m_harms);
}

void Builder::roleItems()
{
    for (const Support role : {Support::Origin, Support::Taboo}) {
        std::vector<Text> words;
        std::vector<int> at;
        for (int n = 1; n <= 6; ++n) {
            if (m_chart.reading.line(n).support != role || n == m_s.line)
                continue;
            Text w = lineLabel(m_chart, n);
            if (m_chart.line(n).cast.moving)
                w += u"动";
            w += roleStrong(n) ? u"有力" : u"无力";
            words.push_back(std::move(w));
            at.push_back(n);
        }
        if (words.empty())
            continue;
        Text text = Text(supportName(role)) + u"：";
        joinTo(text, words);
        add(SummaryKind::Role, std::move(text), std::move(at), RolesChapter);
    }
}

std::optional<Text> Builder::firstDate(std::initializer_list<YingqiRule> rules) const
{
    for (const YingqiCandidate &c : m_chart.yingqi)
        if (c.line == YingqiLine::UseGod && std::ranges::find(rules, c.rule) != rules.end()) {
            Text out = isoDate(c.date) + u" " + sexagenaryName(c.pillar);
            out += yingqiUnitName(c.unit);
            return out;
        }
    return std::nullopt;
}

void Builder::conditionItems()
{
    const std::vector<int> at = m_s.line    ? std::vector<int>{m_s.line}
                                : m_s.under ? std::vector<int>{m_s.under}
                                            : std::vector<int>{};
    const auto wait
        = [&](std::u16string_view what, std::u16string_view note, std::optional<Text> date, const Source &source) {
              Text text = Text(u"待") + Text(what);
              if (!note.empty())
                  put(text, {u"（", note, u"）"});
              if (date)
                  put(text, {u"：", *date});
              m_waits.emplace_back(Text(u"待") + Text(what));
              add(SummaryKind::Condition, std::move(text), at, source);
          };
    if (m_s.isVoid && !m_s.filled) {
        if (m_s.voidKind == VoidKind::True)
            m_fatal = u"用神真空，无生扶，为无用之爻";
        else
            wait(u"出空", m_s.voidKind == VoidKind::False ? u"假空" : u"旬空",
                 firstDate({YingqiRule::LeaveVoid, YingqiRule::FillVoid, YingqiRule::Clash}), VoidChapter);
    }
    if (m_s.broken) {
        if (m_s.breakKind == BreakKind::True) {
            if (m_fatal.empty())
                m_fatal = u"用神真破，静而无助，为无用之爻";
        } else {
            wait(u"出月/填实", m_s.breakKind == BreakKind::Present ? u"目下破" : u"月破",
                 firstDate({YingqiRule::MendBreak, YingqiRule::Combine}), BrokenChapter);
        }
    }
    if (const auto t = timingLineOf(m_chart); t && t->useGod) {
        if (t->tomb)
            wait(u"冲开", Text(t->tombBy) + Text(branchName(*t->tomb)), firstDate({YingqiRule::ClashTomb}),
                 TombChapter);
        // A static line the day or the month combines is 合起 (helped), not held.
        const bool raised = !m_s.moving && (t->heldBy == u"日建" || t->heldBy == u"月建");
        if (t->heldBy && !raised)
            wait(u"冲开", Text(u"合住于") + *t->heldBy, firstDate({YingqiRule::Clash}), TombChapter);
    }
    if (m_god->hidden && m_god->fushen) {
        const FuShenOutlook &f = *m_god->fushen;
        if (f.state == FuShenState::Stuck) {
            if (m_fatal.empty())
                m_fatal = u"伏神难出，无可提拔";
        } else {
            wait(u"出伏", FuShenStateNames[static_cast<std::size_t>(f.state)],
                 firstDate({YingqiRule::Value, YingqiRule::Clash, YingqiRule::Combine}), HiddenChapter);
        }
    }
    if (m_s.strength && !m_s.strong && m_fatal.empty())
        wait(u"生旺", u"用神衰", firstDate({YingqiRule::BirthPeak}), WeakChapter);
}

void Builder::worldItems()
{
    const int w = m_chart.original->world, r = m_chart.original->response;
    const ChartLine &wl = m_chart.line(w), &rl = m_chart.line(r);
    Text text;
    text.reserve(32);
    put(text, {u"世", linePlaceName(w), branchName(wl.branch), elementName(wl.element), u"，应", linePlaceName(r),
               branchName(rl.branch), elementName(rl.element), u"："});
    put(text, {wl.element == rl.element            ? u"比和"
               : generates(wl.element, rl.element) ? u"世生应"
               : generates(rl.element, wl.element) ? u"应生世"
               : overcomes(wl.element, rl.element) ? u"世克应"
                                                   : u"应克世"});
    if (clashes(wl.branch, rl.branch))
        text += u"、相冲";
    if (combines(wl.branch, rl.branch))
        text += u"、相合";
    for (const auto &[line, name] : {std::pair{w, u"世"}, std::pair{r, u"应"}}) {
        const std::size_t i = static_cast<std::size_t>(line - 1);
        // 冲空则实不为空.
        if (m_chart.lines[i].isVoid && m_chart.analysis.marks[i] != StaticMark::FilledByClash)
            put(text, {u"、", name, u"空"});
        if (m_chart.analysis.marks[i] == StaticMark::MonthBroken)
            put(text, {u"、", name, u"破"});
    }
    add(SummaryKind::WorldResponse, std::move(text), {std::min(w, r), std::max(w, r)}, WorldChapter);
}

void Builder::hexagramItems()
{
    const Analysis &a = m_chart.analysis;
    const bool moving = m_chart.hasMovingLine() && m_chart.changed;
    if (a.originalType != HexagramType::None || (moving && a.changedType != HexagramType::None)) {
        Text text;
        const std::u16string_view change = a.typeChange();
        if (!change.empty())
            text = Text(change);
        else if (a.originalType != HexagramType::None)
            text = Text(u"本卦") + Text(hexagramTypeName(a.originalType));
        else
            text = Text(u"变卦") + Text(hexagramTypeName(a.changedType));
        const HexagramType decisive
            = change.empty() && a.originalType != HexagramType::None ? a.originalType : a.changedType;
        add(SummaryKind::Hexagram, std::move(text), {},
            decisive == HexagramType::SixClash ? ClashChapter : CombineChapter);
    }
    for (const FanFu f : a.fanFu) {
        const bool inner = f == FanFu::InnerReverse || f == FanFu::InnerRepeat;
        const bool whole = f == FanFu::HexagramReverse;
        std::vector<int> at;
        for (int n = 1; n <= 6; ++n)
            if (whole || (inner ? n <= 3 : n >= 4))
                at.push_back(n);
        const bool reverse = f == FanFu::InnerReverse || f == FanFu::OuterReverse;
        add(SummaryKind::Hexagram, Text(fanFuName(f)), std::move(at),
            reverse && m_in.options.facingTrigramsReverse ? FanFuFacing : FanFuChapter);
    }
    if (a.lone)
        add(SummaryKind::Hexagram,
            Text(LoneKindNames[static_cast<std::size_t>(a.lone->kind)]) + u"：" + lineLabel(m_chart, a.lone->position),
            {a.lone->position}, LoneChapter);
    if (!m_god)
        return;
    const Element e = m_god->element;
    for (const Harmony &h : m_chart.reading.harmonies) {
        const bool onIt = std::ranges::any_of(h.members, [&](const HarmonyMember &m) {
            return m.position == m_s.line && m_s.line && m.source == HarmonySource::Line;
        });
        std::u16string_view tie = h.element == e            ? u"成用神局"
                                  : generates(h.element, e) ? u"生用神"
                                  : overcomes(h.element, e) ? u"克用神"
                                  : onIt                    ? u"用神在局中"
                                                            : u"";
        if (tie.empty())
            continue;
        Text text;
        std::vector<int> at;
        for (const HarmonyMember &m : h.members) {
            text += branchName(m.branch);
            if (m.position)
                at.push_back(m.position);
        }
        put(text, {u"合", elementName(h.element), u"局"});
        if (!h.form.empty())
            put(text, {u"（", h.form, u"）"});
        put(text, {u"，", tie});
        std::ranges::sort(at);
        at.erase(std::unique(at.begin(), at.end()), at.end());
        add(SummaryKind::Hexagram, std::move(text), std::move(at),
            m_in.options.bookHarmonies ? HarmonyBook : HarmonyCommon);
    }
}

// The weighing: a use god that cannot act (真空, 真破, 伏神难出) is 不利; else
// the forces' weights are summed (日月 3, 动爻 2, 变爻 1): below zero 不利;
// above zero 有利, or 待条件 while a condition stays open; at zero 待条件 when
// nothing weighs either way and a condition is open, else 难断.
void Builder::decide()
{
    int help = 0, harm = 0;
    for (const Force &f : m_helps)
        help += f.weight;
    for (const Force &f : m_harms)
        harm -= f.weight;
    const auto words = [](const std::vector<Force> &forces) {
        std::vector<Text> out;
        int top = 0;
        for (const Force &f : forces)
            top = std::max(top, std::abs(f.weight));
        for (const Force &f : forces)
            if (top && std::abs(f.weight) == top)
                out.push_back(f.word);
        Text joined;
        joinTo(joined, out);
        return joined;
    };
    Text waits;
    joinTo(waits, m_waits);
    Text &r = m_out.reason;
    if (!m_fatal.empty()) {
        m_out.trend = Trend::Unfavourable;
        r = m_fatal + u"。";
    } else if (help > harm) {
        const bool open = !m_waits.empty();
        m_out.trend = open ? Trend::Conditional : Trend::Favourable;
        put(r, {u"用神得", words(m_helps), harm ? u"，生扶重于克害" : u"，无克害", open ? u"，尚" : u"",
                open ? std::u16string_view(waits) : u"", u"。"});
    } else if (harm > help) {
        m_out.trend = Trend::Unfavourable;
        put(r, {u"用神受", words(m_harms), help ? u"，克害重于生扶" : u"，无生扶", u"。"});
    } else if (help == 0 && !m_waits.empty()) {
        m_out.trend = Trend::Conditional;
        put(r, {u"用神无生扶亦无克害，", waits, u"。"});
    } else {
        m_out.trend = Trend::Undecided;
        r = help ? u"生扶与克害相当，难断。" : u"用神无生扶亦无克害，难断。";
    }
}

Summary Builder::build()
{
    m_god = m_chart.reading.useGod;
    m_out.items.reserve(12);
    if (m_god) {
        for (int n = 1; n <= 6; ++n)
            m_roleStrong[static_cast<std::size_t>(n - 1)] = lineRoleStrong(n);
        m_s = subjectOf(*m_god);
        useGodItems(*m_god);
        forceItems();
        roleItems();
        conditionItems();
    }
    worldItems();
    hexagramItems();
    if (m_god) {
        decide();
    } else if (m_in.category == Category::Marriage && !m_in.sex) {
        m_out.reason = u"婚恋按性别取用神，未选性别，无用神，只列世应与卦象。";
    } else {
        m_out.reason = u"未选占类，无用神，只列世应与卦象。";
    }
    return std::move(m_out);
}

} // namespace

std::vector<const SummaryItem *> Summary::ofKind(SummaryKind kind) const
{
    std::vector<const SummaryItem *> out;
    for (const SummaryItem &item : items)
        if (item.kind == kind)
            out.push_back(&item);
    return out;
}

Summary summaryOf(const Chart &chart)
{
    if (!chart.original)
        return {};
    return Builder(chart).build();
}

std::u16string trendLine(const Summary &summary)
{
    if (summary.reason.empty())
        return {};
    if (!summary.trend)
        return u"趋势：—（" + summary.reason + u"）";
    return u"趋势：" + std::u16string(trendName(*summary.trend)) + u"——" + summary.reason;
}

} // namespace lotgrid
