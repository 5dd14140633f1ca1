#include "chart/charttext.h"

#include "chart/momentwords.h"
#include "chart/summary.h"
#include "chart/yingqi.h"

#include <algorithm>
#include <array>

namespace lotgrid {

namespace {

constexpr char16_t Wide = u'\u3000'; // the ideographic space that pads every column

// A yang line is one unbroken bar, a yin line a bar with a gap, five columns wide.
constexpr std::u16string_view YangBar = u"▅▅▅▅▅";
constexpr std::u16string_view YinBar = u"▅▅　▅▅";

// `text` padded with ideographic spaces to `width` columns (every character here is one column).
std::u16string cell(std::u16string_view text, std::size_t width)
{
    std::u16string out(text);
    if (out.size() < width)
        out.append(width - out.size(), Wide);
    return out;
}

std::u16string_view voidMark(bool isVoid)
{
    return isVoid ? u"空" : u"　";
}

// "雷泽归妹（兑宫·归魂）", with the hexagram's type after it when it has one.
std::u16string hexagramCaption(const HexagramRow &row, HexagramType type)
{
    std::u16string out = std::u16string(hexagramName(row)) + u"（" + palaceWords(row);
    if (row.soul != Soul::None)
        out += std::u16string(u"·") + std::u16string(soulWords(row.soul));
    out += u"）";
    if (type != HexagramType::None)
        out += std::u16string(1, Wide) + std::u16string(hexagramTypeName(type));
    return out;
}

std::u16string voidsText(const std::array<Branch, 2> &voids)
{
    return std::u16string(branchName(voids[0])) + std::u16string(branchName(voids[1]));
}

// "流派：卜筮正宗", "流派：增删卜易（自定义）"; empty for the modern rules (通行),
// whose text stays as it was before the schools (the JSON lists the options).
std::u16string schoolLine(const SchoolOptions &o)
{
    const bool custom = schoolOf(o) == School::Custom;
    if (o.base == School::Common)
        return {};
    return std::u16string(u"流派：") + std::u16string(schoolName(o.base)) + (custom ? u"（自定义）" : u"");
}

void trimRight(std::u16string &line)
{
    while (!line.empty() && (line.back() == Wide || line.back() == u' '))
        line.pop_back();
}

// "应期参考：2026-12-15 乙卯日（值）  …": the first few candidates; empty without one.
// A moving 忌神's candidates follow on a line of their own, "忌神应期：…"; when the
// days or months looked for run past the chart's last day, the line says so.
std::array<std::u16string, 2> yingqiLines(const Chart &chart)
{
    std::vector<YingqiCandidate> own, taboo;
    for (const YingqiCandidate &c : chart.yingqi)
        (c.line == YingqiLine::Taboo ? taboo : own).push_back(c);
    std::array<std::u16string, 2> lines;
    for (const std::u16string &date : yingqiFirst(own, 4))
        lines[0] += (lines[0].empty() ? u"应期参考：" : u"  ") + date;
    for (const std::u16string &date : yingqiFirst(taboo, 4))
        lines[1] += (lines[1].empty() ? u"忌神应期：" : u"  ") + date;
    if (const auto end = yingqiCutOff(chart); end && !lines[0].empty())
        lines[0] += std::u16string(u"（止于") + isoDate(*end) + u"）";
    return lines;
}

} // namespace

std::vector<std::u16string> summaryLines(const Summary &summary)
{
    std::vector<std::u16string> lines;
    if (summary.items.empty() && summary.reason.empty())
        return lines;
    lines.emplace_back(u"要点：");
    for (const SummaryItem &item : summary.items)
        lines.push_back(std::u16string(1, Wide) + item.text);
    if (const std::u16string trend = trendLine(summary); !trend.empty())
        lines.push_back(std::u16string(1, Wide) + trend);
    return lines;
}

std::u16string chartText(const Chart &chart, std::u16string_view question, std::u16string_view sex, bool withSummary)
{
    if (!chart.original)
        return {};
    const CastInput &in = chart.input;
    const bool moving = chart.hasMovingLine() && chart.changed;
    std::u16string out;
    const auto emit = [&out](std::u16string line) {
        trimRight(line);
        out += line;
        out += u'\n';
    };

    // The builds are shown on a line of their own unless the moment's pillars already give them.
    const bool buildsFromPillars = chart.pillars && in.monthBuild == chart.pillars->month.branch()
                                   && in.dayBuild == chart.pillars->day.branch()
                                   && in.dayStem == chart.pillars->day.stem();
    const bool buildsLine = (in.monthBuild || in.dayBuild) && !buildsFromPillars;
    if (in.moment) {
        std::u16string line = u"起卦时间：" + momentOriginWords(chart);
        if (chart.pillars) {
            line += u"  " + pillarsWords(*chart.pillars);
        }
        if (chart.voids && !buildsLine)
            line += u"  旬空：" + voidsText(*chart.voids);
        emit(line);
        if (const std::u16string solar = solarTimeWords(chart); !solar.empty())
            emit(solar);
        for (std::u16string &warning : warningLines(chart))
            emit(std::move(warning));
    }
    if (buildsLine) {
        std::u16string line;
        if (in.monthBuild)
            line += u"月建：" + std::u16string(branchName(*in.monthBuild)) + u"  ";
        if (in.dayBuild)
            line += u"日建：" + (chart.day ? sexagenaryName(*chart.day) : std::u16string(branchName(*in.dayBuild)))
                    + u"  ";
        if (chart.voids)
            line += u"旬空：" + voidsText(*chart.voids);
        emit(line);
    }
    if (!question.empty())
        emit(u"卜问何事：" + std::u16string(question));
    if (!sex.empty())
        emit(u"性别：" + std::u16string(sex));
    else if (in.sex)
        emit(u"性别：" + std::u16string(sexName(*in.sex)));
    if (const std::u16string line = useGodWords(chart); !line.empty())
        emit(line);
    if (const std::u16string line = fuShenWords(chart); !line.empty())
        emit(line);

    std::u16string heads = u"本卦：" + hexagramCaption(*chart.original, chart.analysis.originalType);
    if (moving) {
        heads += u"  变卦：" + hexagramCaption(*chart.changed, chart.analysis.changedType);
        const std::u16string_view typeChange = chart.analysis.typeChange();
        if (!typeChange.empty())
            heads += u"  " + std::u16string(typeChange);
        if (const auto &lone = chart.analysis.lone)
            heads += std::u16string(u"  ") + std::u16string(LoneKindNames[static_cast<std::size_t>(lone->kind)]) + u"（"
                     + std::u16string(linePlaceName(lone->position)) + u"）";
        const auto fanFu = chart.analysis.fanFuWords();
        for (std::size_t k = 0; k < fanFu.size(); ++k)
            heads += (k ? std::u16string(1, Wide) : std::u16string(u"  ")) + std::u16string(fanFu[k]);
    }
    emit(heads);

    const bool spirits = std::ranges::any_of(chart.lines, [](const ChartLine &l) { return !l.spirit.empty(); });
    const bool hidden = std::ranges::any_of(chart.lines, [](const ChartLine &l) { return l.hidden.has_value(); });
    const Reading &reading = chart.reading;
    const auto &useGod = reading.useGod;
    const bool supports = useGod.has_value();
    const bool strengths
        = std::ranges::any_of(reading.lines, [](const LineReading &l) { return l.strength.has_value(); });
    for (int n = 6; n >= 1; --n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        const bool yang = l.cast.value == u'1';
        std::u16string row;
        const auto column = [&row](std::u16string_view text) {
            row += text;
            row += Wide;
        };
        if (spirits)
            column(cell(l.spirit, 2));
        if (hidden)
            column(cell(l.hidden ? relativeLabel(l.hidden->relative, l.hidden->branch) : std::u16string(), 4)
                   + std::u16string(voidMark(l.hidden && l.hiddenVoid))
                   + std::u16string(useGod && useGod->hidden ? (useGod->position == n ? u"用" : u"　") : u""));
        column(yang ? YangBar : YinBar);
        column(relativeLabel(l.relative, l.branch) + std::u16string(voidMark(l.isVoid)));
        column(cell(roleName(l.role), 1));
        column(l.cast.moving ? (yang ? u"○" : u"×") : u"　");
        if (moving) {
            if (l.cast.moving) {
                column(u"→");
                column(relativeLabel(l.changedRelative, l.changedBranch) + std::u16string(voidMark(l.changedVoid)));
            } else {
                column(cell({}, 1));
                column(cell({}, 5));
            }
        }
        const LineReading &lr = reading.lines[i];
        if (supports)
            column(cell(useGod->isLine(n) ? u"用神" : supportName(lr.support), 2));
        if (strengths)
            column(cell(lr.strength ? strengthShort(*lr.strength) : std::u16string(), 4));
        for (std::u16string_view word : lineMarkWords(chart, n))
            column(word);
        if (lr.changeStage)
            column(u"化" + std::u16string(stageName(*lr.changeStage)));
        emit(row);
    }

    if (const auto &gs = chart.analysis.guaShen)
        emit(u"卦身：" + guaShenWords(*gs));
    if (!chart.analysis.shenSha.empty()) {
        std::u16string line;
        for (const std::u16string &entry : shenShaWords(chart.analysis.shenSha)) {
            line += line.empty() ? u"" : u"  ";
            line += entry;
        }
        emit(line);
    }
    if (const std::u16string line = relationWords(chart); !line.empty())
        emit(line);
    if (const std::u16string line = relatedHexagramWords(chart); !line.empty())
        emit(line);
    if (const std::u16string line = schoolLine(in.options); !line.empty())
        emit(line);
    for (const std::u16string &line : yingqiLines(chart))
        if (!line.empty())
            emit(line);
    if (withSummary)
        for (std::u16string &line : summaryLines(summaryOf(chart)))
            emit(std::move(line));
    return out;
}

} // namespace lotgrid
