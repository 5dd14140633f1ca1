#include "chart/analysis.h"

#include "core/sexagenary.h"

#include <algorithm>

namespace lotgrid {

std::vector<Change> lineChanges(Branch original, Branch changed, std::optional<std::array<Branch, 2>> voids)
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
    if (changed == stageBranch(o, Stage::Tomb))
        out.push_back(Change::Tomb);
    else if (changed == stageBranch(o, Stage::Extinction))
        out.push_back(Change::Extinction);
    if (voids && std::ranges::find(*voids, changed) != voids->end())
        out.push_back(Change::Void);
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
                                    std::optional<Branch> monthBuild)
{
    std::vector<ShenShaEntry> out;
    if (dayStem && *dayStem >= 0 && *dayStem <= 9) {
        const StemShenShaRow &r = StemShenSha[static_cast<std::size_t>(*dayStem)];
        out.push_back({ShenSha::Nobleman, r.nobleman, 2});
        out.push_back({ShenSha::Salary, {r.salary, r.salary}, 1});
        const Branch blade = branchAt(static_cast<int>(r.salary) + 1);
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
    a.shenSha = shenShaOf(input.dayStem, input.dayBuild, input.monthBuild);

    std::u16string key(6, u' '), changedKey(6, u' ');
    bool anyMoving = false;
    for (int n = 1; n <= 6; ++n) {
        const CastLine &line = input.line(n);
        key[static_cast<std::size_t>(n - 1)] = line.value;
        changedKey[static_cast<std::size_t>(n - 1)] = changedValue(line.value, line.moving);
        anyMoving = anyMoving || line.moving;
    }
    const HexagramRow *original = FindHexagramByKey(key);
    if (!original)
        return a;
    a.originalType = hexagramType(original->branches);
    a.guaShen = guaShenOf(*original);

    const HexagramRow *changed = anyMoving ? FindHexagramByKey(changedKey) : nullptr;
    if (changed)
        a.changedType = hexagramType(changed->branches);

    const auto voids = dayVoids(input.dayStem, input.dayBuild);
    for (std::size_t i = 0; i < 6; ++i) {
        if (input.lines[i].moving) {
            if (changed)
                a.changes[i] = lineChanges(original->branches[i], changed->branches[i], voids);
        } else {
            a.marks[i] = staticMark(original->branches[i], input.monthBuild, input.dayBuild);
        }
    }
    return a;
}

} // namespace lotgrid
