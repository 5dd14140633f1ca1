#include "chart/aiquestion.h"

#include "chart/charttext.h"
#include "chart/hexagrams.h"
#include "chart/summary.h"
#include "chart/words.h"
#include "chart/yingqi.h"
#include "chart/zhouyi.h"

namespace lotgrid {

namespace {

// Appends the pieces one by one (no temporaries joined with +, which GCC 12
// warns about falsely on some targets).
void put(std::u16string &out, std::initializer_list<std::u16string_view> parts)
{
    for (const std::u16string_view p : parts)
        out += p;
}

std::u16string place(int n)
{
    return std::u16string(linePlaceName(n));
}

// "初爻妻财子水".
std::u16string lineName(const Chart &chart, int n)
{
    const ChartLine &l = chart.line(n);
    std::u16string out = place(n);
    out += relativeLabel(l.relative, l.branch);
    return out;
}

std::u16string tiesWords(const BuildTies &ties)
{
    std::u16string out;
    for (const Tie t : ties.ties)
        out += tieName(t);
    return out.empty() ? u"无生克冲合" : out;
}

// "月令旺，月建扶，日建生，于日建为长生，为旺": the facts behind a line's strength.
std::u16string strengthWords(const LineStrength &s)
{
    std::u16string out;
    const auto add = [&out](std::u16string_view head, std::u16string_view tail = {}) {
        put(out, {out.empty() ? u"" : u"，", head, tail});
    };
    if (s.season)
        add(u"月令", seasonName(*s.season));
    if (s.month)
        add(u"月建", tiesWords(*s.month));
    if (s.monthBroken)
        add(u"月破");
    if (s.day)
        add(u"日建", tiesWords(*s.day));
    if (s.stage)
        add(u"于日建为", stageName(*s.stage));
    add(s.strong ? u"为旺" : u"为衰");
    if (s.why && !s.why->empty()) {
        out += u"（";
        for (std::size_t k = 0; k < s.why->size(); ++k)
            put(out, {k ? u"、" : u"", (*s.why)[k]});
        out += u"）";
    }
    return out;
}

// How the school chooses among lines of the relative.
std::u16string_view twiceWords(TwiceRule rule)
{
    switch (rule) {
    case TwiceRule::Ancient:
        return u"（取舍按增删卜易两现章古法：取旺，次取动，舍月破与旬空，同等取下）";
    case TwiceRule::WorldHeld:
        return u"（取舍按卜筮正宗：持世为先，次临月日，次月破、旬空、动爻，同等取下）";
    case TwiceRule::Common:
        break;
    }
    return u"（取舍：舍静用动，舍衰用旺，舍月破与旬空，舍闲爻用持世，同等取下）";
}

std::u16string useGodFacts(const Chart &chart)
{
    const CastInput &in = chart.input;
    const auto &g = chart.reading.useGod;
    if (!g) {
        if (in.category == Category::Marriage && !in.sex)
            return u"用神：未定（婚恋按性别取用，未选性别）\n";
        return u"用神：未定（未选占类，也未手选）\n";
    }
    std::u16string out;
    put(out, {u"用神：", g->world ? u"世爻" : relativeName(g->relative)});
    if (g->fromBuild()) {
        put(out, {u"，卦中不现，取", g->source == UseGodSource::Month ? u"月建" : u"日建",
                  relativeLabel(g->relative, g->branch)});
    } else if (g->changed) {
        put(out, {u"，卦中不现，取", place(g->position), u"变出之", relativeLabel(g->relative, g->branch)});
    } else if (const auto &hidden = chart.line(g->position).hidden; g->hidden && hidden) {
        put(out, {u"，伏于", place(g->position), u"之下（", relativeLabel(hidden->relative, hidden->branch), u"）"});
        if (const std::u16string fushen = fuShenWords(chart); !fushen.empty())
            put(out, {u"，", fushen});
    } else {
        put(out, {u"，在", lineName(chart, g->position)});
    }
    if (g->source == UseGodSource::Manual)
        out += u"（手选）";
    else if (in.category)
        put(out, {u"（按占类“", categoryName(*in.category), u"”取）"});
    out += u"\n";
    if (!g->candidates.empty()) {
        out += g->hidden ? u"又伏于：" : g->changed ? u"又变出于：" : u"两现，另见于：";
        for (std::size_t k = 0; k < g->candidates.size(); ++k)
            put(out, {k ? u"、" : u"", place(g->candidates[k])});
        out += twiceWords(in.options.twice);
        out += u"\n";
    }
    if (g->timing)
        put(out, {u"定应期之爻：", lineName(chart, *g->timing), u"（两现之空破爻，以旺爻定吉凶，以空破之爻定应期）\n"});
    return out;
}

// Each of 原神, 忌神 and 仇神 where it stands: on lines of the hexagram; else
// hidden ("子水，伏于初爻") or changed out of a moving line ("子水，初爻化出");
// "卦中不现" only when it is nowhere.
std::u16string supportWords(const Chart &chart)
{
    const Element useGod = chart.reading.useGod->element;
    std::u16string out;
    for (const Support s : {Support::Origin, Support::Taboo, Support::Foe}) {
        std::u16string lines;
        const auto add = [&lines](std::initializer_list<std::u16string_view> parts) {
            if (!lines.empty())
                lines += u"、";
            put(lines, parts);
        };
        for (int n = 1; n <= 6; ++n)
            if (chart.reading.line(n).support == s)
                add({lineName(chart, n)});
        const bool shown = !lines.empty();
        if (!shown)
            for (int n = 1; n <= 6; ++n)
                if (const auto &h = chart.line(n).hidden; h && supportOf(useGod, branchElement(h->branch)) == s)
                    add({branchName(h->branch), elementName(branchElement(h->branch)), u"，伏于", place(n)});
        if (!shown)
            for (int n = 1; n <= 6; ++n)
                if (const ChartLine &l = chart.line(n); l.cast.moving && supportOf(useGod, l.changedElement) == s)
                    add({branchName(l.changedBranch), elementName(l.changedElement), u"，", place(n), u"化出"});
        put(out, {supportName(s), u"：", lines.empty() ? u"卦中不现" : std::u16string_view(lines), u"\n"});
    }
    return out;
}

// The 要点 items and the trend, one a line.
std::u16string summaryFacts(const Chart &chart)
{
    const Summary summary = summaryOf(chart);
    std::u16string out = u"断卦要点（程序按规则汇总，供参考，不是断语）：\n";
    for (const SummaryItem &item : summary.items) {
        put(out, {item.text});
        if (!item.source.empty())
            put(out, {u"（", item.source, u"）"});
        out += u"\n";
    }
    put(out, {trendLine(summary), u"\n"});
    return out;
}

std::u16string lineFacts(const Chart &chart)
{
    std::u16string out;
    for (int n = 6; n >= 1; --n) {
        const ChartLine &l = chart.line(n);
        const LineReading &r = chart.reading.line(n);
        out += lineName(chart, n);
        if (l.role == Role::World)
            out += u"（世）";
        else if (l.role == Role::Response)
            out += u"（应）";
        if (l.cast.moving)
            put(out, {u"，动，变", relativeLabel(l.changedRelative, l.changedBranch)});
        if (l.isVoid)
            out += u"，旬空";
        out += u"：";
        out += r.strength ? strengthWords(*r.strength) : u"旺衰未定（未选月建日建）";
        if (r.changedStrength)
            put(out, {u"；变爻", strengthWords(*r.changedStrength)});
        for (const std::u16string_view w : lineMarkWords(chart, n))
            put(out, {u"；", w});
        if (r.changeStage)
            out += *r.changeStage == Stage::Birth ? u"；化长生" : u"；化帝旺";
        if (l.hidden)
            put(out,
                {u"；下伏", relativeLabel(l.hidden->relative, l.hidden->branch), l.hiddenVoid ? u"（旬空）" : u""});
        out += u"\n";
    }
    return out;
}

std::u16string relationFacts(const Chart &chart)
{
    std::u16string out;
    for (const Harmony &h : chart.reading.harmonies) {
        out += u"三合：";
        for (const HarmonyMember &m : h.members)
            out += branchName(m.branch);
        put(out, {elementName(h.element), u"局"});
        if (!h.form.empty())
            put(out, {u"（", h.form, u"）"});
        out += u"\n";
    }
    for (const Tomb &t : chart.reading.tombs) {
        put(out, {u"入墓：", lineName(chart, t.position)});
        if (t.by == TombBy::Day)
            out += u"入日墓\n";
        else if (t.by == TombBy::Moving)
            put(out, {u"入动墓（", place(t.from), u"）\n"});
        else
            out += u"化墓\n";
    }
    for (const std::u16string_view w : chart.analysis.fanFuWords())
        put(out, {u"反吟伏吟：", w, u"\n"});
    return out;
}

} // namespace

std::u16string aiQuestionText(const Chart &chart, std::u16string_view question)
{
    if (!chart.original)
        return {};
    const CastInput &in = chart.input;
    const std::u16string sex = in.sex ? std::u16string(sexName(*in.sex)) : std::u16string();
    std::u16string out = u"请根据下面这一卦六爻的排盘和程序已算出的事实，为我断卦。\n\n";
    put(out, {u"所问之事：", question.empty() ? u"（未写）" : question, u"\n"});
    put(out, {u"占类：", in.category ? categoryName(*in.category) : u"未选"});
    put(out, {u"  性别：", sex.empty() ? u"未选" : std::u16string_view(sex), u"\n\n"});
    put(out, {u"【排盘】\n", chartText(chart, question, sex, false), u"\n"});
    out += u"【已算出的事实】\n";
    out += useGodFacts(chart);
    if (chart.reading.useGod)
        out += supportWords(chart);
    put(out, {u"各爻旺衰与标记（上爻在前）：\n", lineFacts(chart)});
    out += relationFacts(chart);
    if (const std::vector<YingqiCandidate> &timing = chart.yingqi; !timing.empty()) {
        out += u"应期候选（按规则列出，供取舍，不是断语）：\n";
        for (const YingqiCandidate &c : timing)
            put(out, {isoDate(c.date), u" ", sexagenaryName(c.pillar), yingqiUnitName(c.unit), u" ",
                      yingqiRuleName(c.rule), u"：", c.why, u"\n"});
        if (const auto end = yingqiCutOff(chart))
            put(out, {u"（排盘所及止于", isoDate(*end), u"，其后的日期未列）\n"});
    }
    out += summaryFacts(chart);
    put(out, {u"\n【周易经文】（依朱熹《易学启蒙·考变占》所取，供参考）\n", textsBlock(chart)});
    out += u"\n【要求】\n";
    out += u"只依据以上排盘和事实断卦，不要重新起卦，也不要改动用神、旺衰和各项标记。"
           u"每推断一步，写明它依据的规则（如“月破”“回头克”“用神旺相”“原神发动”），"
           u"最后用一两句话给出结论。\n";
    return out;
}

} // namespace lotgrid
