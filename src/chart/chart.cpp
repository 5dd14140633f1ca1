#include "chart/chart.h"

#include "chart/spirits.h"

#include <algorithm>

namespace lotgrid {

namespace {

Role roleOf(const HexagramRow &row, int n)
{
    return n == row.world ? Role::World : n == row.response ? Role::Response : Role::None;
}

bool isVoidBranch(const std::optional<std::array<Branch, 2>> &voids, Branch b)
{
    return voids && std::ranges::find(*voids, b) != voids->end();
}

} // namespace

bool Chart::hasMovingLine() const
{
    return std::ranges::any_of(input.lines, [](const CastLine &l) { return l.moving; });
}

Element Chart::palaceElement() const
{
    return original ? lotgrid::palaceElement(original->palace) : Element::Metal;
}

const HexagramRow &pureHexagramOf(Trigram palace)
{
    // The head of a palace is its only member with the world on line 6.
    return *std::ranges::find_if(HexagramTable,
                                 [palace](const HexagramRow &r) { return r.palace == palace && r.world == 6; });
}

Chart chartOfRows(const HexagramRow *original, const HexagramRow *changed)
{
    Chart chart;
    chart.original = original;
    chart.changed = changed;
    const Element palace = original ? palaceElement(original->palace) : Element::Metal;
    for (int n = 1; n <= 6; ++n) {
        ChartLine &line = chart.lines[static_cast<std::size_t>(n - 1)];
        if (original) {
            line.branch = original->branches[n - 1];
            line.element = branchElement(line.branch);
            line.relative = relativeOf(palace, line.element);
            line.role = roleOf(*original, n);
        }
        if (changed) {
            line.changedBranch = changed->branches[n - 1];
            line.changedElement = branchElement(line.changedBranch);
            line.changedRelative = relativeOf(palace, line.changedElement);
            line.changedRole = roleOf(*changed, n);
        }
    }
    if (original) {
        // Each relative the six lines lack hides under the line at the same
        // place on the palace's pure hexagram that carries it.
        std::array<bool, 5> present{};
        for (const ChartLine &line : chart.lines)
            present[static_cast<std::size_t>(line.relative)] = true;
        const HexagramRow &pure = pureHexagramOf(original->palace);
        for (int n = 1; n <= 6; ++n) {
            const Branch b = pure.branches[n - 1];
            const Relative r = relativeOf(palace, branchElement(b));
            if (!present[static_cast<std::size_t>(r)])
                chart.lines[static_cast<std::size_t>(n - 1)].hidden = HiddenSpirit{r, b};
        }
    }
    return chart;
}

Chart chartOf(const CastInput &input)
{
    std::u16string key, changedKey;
    for (const CastLine &l : input.lines) {
        if (l.value != u'1' && l.value != u'0')
            break;
        key += l.value;
        changedKey += changedValue(l.value, l.moving);
    }
    const HexagramRow *original = FindHexagramByKey(key);
    Chart chart = chartOfRows(original, original ? FindHexagramByKey(changedKey) : nullptr);
    chart.input = input;
    for (int n = 1; n <= 6; ++n)
        chart.lines[static_cast<std::size_t>(n - 1)].cast = input.line(n);

    if (input.dayStem) {
        const auto spirits = spiritsForStem(*input.dayStem);
        for (int n = 1; n <= 6; ++n)
            chart.lines[static_cast<std::size_t>(n - 1)].spirit = spirits[static_cast<std::size_t>(n - 1)];
    }
    if (input.dayStem && input.dayBuild)
        chart.day = sexagenaryOf(*input.dayStem, *input.dayBuild);
    if (chart.day)
        chart.voids = voidBranches(*chart.day);
    if (input.moment) {
        const Moment clock = *input.clockMoment();
        chart.pillars = pillarsOf(*input.moment, clock, input.dayBoundary);
        chart.warnings = boundaryWarnings(*input.moment, clock, input.dayBoundary);
    }
    chart.analysis = analyse(input);
    if (original) {
        for (ChartLine &line : chart.lines) {
            line.isVoid = isVoidBranch(chart.voids, line.branch);
            line.changedVoid = isVoidBranch(chart.voids, line.changedBranch);
            line.hiddenVoid = line.hidden && isVoidBranch(chart.voids, line.hidden->branch);
        }
    }
    chart.reading = readingOf(chart);
    chart.yingqi = yingqiOf(chart);
    return chart;
}

} // namespace lotgrid
