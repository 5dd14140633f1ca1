#include "chart/analysis.h"

#include "core/sexagenary.h"

#include <algorithm>
#include <bit>

namespace lotgrid {

std::vector<Change> lineChanges(Branch original, Branch changed, std::optional<std::array<Branch, 2>> voids,
                                std::optional<Branch> month, bool combine)
{
    std::vector<Change> out;
    for (const BranchStep &s : AdvanceSteps) {
        if (s.from == original && s.to == changed)
            out.push_back(Change::Advance);
        else if (s.from == changed && s.to == original)
            out.push_back(Change::Retreat);
    }
    const Element o = branchElement(original);
    const Element c = branchElement(changed);
    if (generates(c, o))
        out.push_back(Change::ReturnGenerate);
    else if (overcomes(c, o))
        out.push_back(Change::ReturnOvercome);
    if (combine && combines(original, changed))
        out.push_back(Change::Combine);
    if (changed == stageBranch(o, Stage::Tomb))
        out.push_back(Change::Tomb);
    else if (changed == stageBranch(o, Stage::Extinction))
        out.push_back(Change::Extinction);
    if (voids && std::ranges::find(*voids, changed) != voids->end())
        out.push_back(Change::Void);
    if (month && clashes(changed, *month))
        out.push_back(Change::MonthBroken);
    if (changed == original)
        out.push_back(Change::Repeat);
    else if (clashes(changed, original))
        out.push_back(Change::Reverse);
    return out;
}

std::optional<std::array<Branch, 2>> dayVoids(std::optional<int> dayStem, std::optional<Branch> dayBranch)
{
    if (!dayStem || !dayBranch)
        return std::nullopt;
    const auto day = sexagenaryOf(*dayStem, *dayBranch);
    if (!day)
        return std::nullopt;
    return voidBranches(*day);
}

std::u16string_view schoolMarkNote(std::u16string_view word)
{
    // clang-format off
    static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 8> Notes{{
        {u"真空", u"真空：旬空之爻休囚安静，无日建动爻生扶，或空而又破，到底无用（增删卜易旬空章）。"},
        {u"假空", u"假空：旬空之爻旺相、发动，或得日建动爻生扶，出空填实之日即有用（增删卜易旬空章）。"},
        {u"真破", u"真破：月破之爻安静，无日建动爻生扶，到底无用（增删卜易月破章）。"},
        {u"目下破", u"目下破：月破之爻发动，或得日建动爻生，或化出回头生，出月、填实或逢合之时仍有用（增删卜易月破章）。"},
        {u"冲实", u"冲实：旬空之爻逢日建相冲，冲空则实，不作空论（增删卜易月破章）。"},
        {u"化合", u"化合：动爻化出之支与本爻六合，主和合、羁绊（增删卜易六合章）。"},
        {u"独发", u"独发：卦中只此一爻发动，吉凶多系于此爻（增删卜易独静独发章）。"},
        {u"独静", u"独静：卦中五爻皆动，只此一爻安静，吉凶多系于此爻（增删卜易独静独发章）。"},
    }};
    // clang-format on
    for (const auto &[w, note] : Notes)
        if (w == word)
            return note;
    return {};
}

std::optional<LoneLine> loneLineOf(unsigned movingMask)
{
    movingMask &= 63u;
    const int count = std::popcount(movingMask);
    if (count == 1)
        return LoneLine{LoneKind::Moving, std::countr_zero(movingMask) + 1};
    if (count == 5)
        return LoneLine{LoneKind::Still, std::countr_zero(~movingMask) + 1};
    return std::nullopt;
}

namespace {

// Generated (生) or helped (扶: the same element) by `by`.
bool helpedBy(Branch line, Branch by)
{
    return generates(branchElement(by), branchElement(line)) || branchElement(by) == branchElement(line);
}

// 真空 or 假空 of line `i` (0-based), which is void.
VoidKind voidKindOf(const HexagramRow &original, const CastInput &in, std::size_t i, bool broken)
{
    const Branch b = original.branches[i];
    if (broken)
        return VoidKind::True;
    const bool season = in.monthBuild && strongInMonth(b, *in.monthBuild);
    bool helped = in.dayBuild && helpedBy(b, *in.dayBuild);
    for (std::size_t k = 0; k < 6 && !helped; ++k)
        helped = k != i && in.lines[k].moving && helpedBy(b, original.branches[k]);
    return season || in.lines[i].moving || helped ? VoidKind::False : VoidKind::True;
}

// 真破 or 目下破 of line `i` (0-based), which is in 月破.
BreakKind breakKindOf(const HexagramRow &original, const HexagramRow *changed, const CastInput &in, std::size_t i)
{
    const Branch b = original.branches[i];
    const auto generatesLine = [b](Branch by) { return generates(branchElement(by), branchElement(b)); };
    bool helped = in.lines[i].moving || (in.dayBuild && generatesLine(*in.dayBuild));
    for (std::size_t k = 0; k < 6 && !helped; ++k)
        helped = k != i && in.lines[k].moving && generatesLine(original.branches[k]);
    helped = helped || (in.lines[i].moving && changed && generatesLine(changed->branches[i]));
    return helped ? BreakKind::Present : BreakKind::True;
}

// The trigram of lines `first`..`first + 2` of a LineKey: Trigram lists the
// trigrams from 乾 111 down to 坤 000, reading line 1 as the highest bit.
Trigram trigramAt(std::u16string_view key, std::size_t first)
{
    int bits = 0;
    for (std::size_t i = first; i < first + 3; ++i)
        bits = bits * 2 + (key[i] == u'1' ? 1 : 0);
    return static_cast<Trigram>(7 - bits);
}

} // namespace

std::vector<FanFu> fanFuOf(const HexagramRow &original, const HexagramRow &changed, unsigned movingMask,
                           bool facingTrigrams)
{
    std::vector<FanFu> out;
    std::array<bool, 2> reverse{}, repeat{};
    for (std::size_t half = 0; half < 2; ++half) {
        const std::size_t first = half * 3;
        if ((movingMask >> first & 7u) == 0)
            continue;
        bool allClash = true, allSame = true;
        for (std::size_t i = first; i < first + 3; ++i) {
            allClash = allClash && clashes(original.branches[i], changed.branches[i]);
            allSame = allSame && original.branches[i] == changed.branches[i];
        }
        const bool facing
            = FacingTrigram[static_cast<std::size_t>(trigramAt(original.key, first))] == trigramAt(changed.key, first);
        reverse[half] = allClash || (facingTrigrams && facing);
        repeat[half] = allSame;
    }
    if (reverse[0])
        out.push_back(FanFu::InnerReverse);
    if (reverse[1])
        out.push_back(FanFu::OuterReverse);
    if (repeat[0])
        out.push_back(FanFu::InnerRepeat);
    if (repeat[1])
        out.push_back(FanFu::OuterRepeat);
    if ((movingMask & 63u) == 63u && trigramAt(original.key, 0) == trigramAt(original.key, 3))
        out.push_back(FanFu::HexagramReverse);
    return out;
}

std::vector<std::u16string_view> Analysis::fanFuWords() const
{
    std::vector<std::u16string_view> words;
    for (FanFu f : fanFu)
        words.push_back(fanFuName(f));
    return words;
}

std::vector<int> linesCarrying(const std::array<Branch, 6> &branches, Branch b)
{
    std::vector<int> lines;
    for (int i = 0; i < 6; ++i)
        if (branches[static_cast<std::size_t>(i)] == b)
            lines.push_back(i + 1);
    return lines;
}

GuaShen guaShenOf(const HexagramRow &row)
{
    const Branch b = guaShenBranch(row);
    return {b, linesCarrying(row.branches, b)};
}

std::vector<ShenShaEntry> shenShaOf(std::optional<int> dayStem, std::optional<Branch> dayBranch,
                                    std::optional<Branch> monthBuild, BladeRule bladeRule)
{
    std::vector<ShenShaEntry> out;
    if (dayStem && *dayStem >= 0 && *dayStem <= 9) {
        const StemShenShaRow &r = StemShenSha[static_cast<std::size_t>(*dayStem)];
        out.push_back({ShenSha::Nobleman, r.nobleman, 2});
        out.push_back({ShenSha::Salary, {r.salary, r.salary}, 1});
        const Branch blade = bladeOf(*dayStem, r.salary, bladeRule);
        out.push_back({ShenSha::Blade, {blade, blade}, 1});
        out.push_back({ShenSha::Literary, {r.literary, r.literary}, 1});
    }
    if (dayBranch) {
        for (const BranchShenShaRow &r : BranchShenSha) {
            if (std::ranges::find(r.group, *dayBranch) == r.group.end())
                continue;
            for (const auto &[kind, b] :
                 {std::pair{ShenSha::Horse, r.horse}, std::pair{ShenSha::Peach, r.peach},
                  std::pair{ShenSha::General, r.general}, std::pair{ShenSha::Canopy, r.canopy},
                  std::pair{ShenSha::Robbery, r.robbery}, std::pair{ShenSha::Disaster, r.disaster}})
                out.push_back({kind, {b, b}, 1});
        }
    }
    if (monthBuild) {
        const Branch doctor = branchAt(static_cast<int>(*monthBuild) - 1);
        out.push_back({ShenSha::Doctor, {doctor, doctor}, 1});
    }
    return out;
}

Analysis analyse(const CastInput &input)
{
    Analysis a;
    a.shenSha = shenShaOf(input.dayStem, input.dayBuild, input.monthBuild, input.options.blade);

    std::u16string key(6, u' '), changedKey(6, u' ');
    unsigned movingMask = 0;
    for (int n = 1; n <= 6; ++n) {
        const CastLine &line = input.line(n);
        key[static_cast<std::size_t>(n - 1)] = line.value;
        changedKey[static_cast<std::size_t>(n - 1)] = changedValue(line.value, line.moving);
        if (line.moving)
            movingMask |= 1u << (n - 1);
    }
    const bool anyMoving = movingMask != 0;
    const HexagramRow *original = FindHexagramByKey(key);
    if (!original)
        return a;
    a.originalType = hexagramType(original->branches);
    a.guaShen = guaShenOf(*original);

    const HexagramRow *changed = anyMoving ? FindHexagramByKey(changedKey) : nullptr;
    if (changed) {
        a.changedType = hexagramType(changed->branches);
        a.fanFu = fanFuOf(*original, *changed, movingMask, input.options.facingTrigramsReverse);
    }

    const SchoolOptions &school = input.options;
    if (school.loneLine)
        a.lone = loneLineOf(movingMask);
    const auto voids = dayVoids(input.dayStem, input.dayBuild);
    for (std::size_t i = 0; i < 6; ++i) {
        const Branch b = original->branches[i];
        const bool isVoid = voids && std::ranges::find(*voids, b) != voids->end();
        if (input.lines[i].moving) {
            a.marks[i] = movingMark(b, input.monthBuild);
            // 冲空则实: the day's clash fills a moving void line as well.
            if (school.movingFillByClash && a.marks[i] == StaticMark::None
                && staticMark(b, input.monthBuild, input.dayBuild, isVoid) == StaticMark::FilledByClash)
                a.marks[i] = StaticMark::FilledByClash;
            if (changed)
                a.changes[i] = lineChanges(b, changed->branches[i], voids, input.monthBuild, school.changeCombine);
        } else {
            a.marks[i] = staticMark(b, input.monthBuild, input.dayBuild, isVoid);
        }
        if (!school.voidKinds)
            continue;
        const bool broken = a.marks[i] == StaticMark::MonthBroken;
        if (isVoid)
            a.voidKinds[i] = voidKindOf(*original, input, i, broken);
        if (broken)
            a.breakKinds[i] = breakKindOf(*original, changed, input, i);
    }
    return a;
}

} // namespace lotgrid
