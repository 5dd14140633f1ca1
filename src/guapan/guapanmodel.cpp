#include "guapan/guapanmodel.h"

#include "calendar/today.h"
#include "chart/charttext.h"
#include "chart/momentwords.h"
#include "chart/najiastems.h"
#include "chart/summary.h"
#include "chart/words.h"
#include "chart/yingqi.h"
#include "qtcore/textconv.h"
#include "widgets/traditional.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// The 要点 at the foot: "趋势" with its word and sentence, then the open conditions
// (待出空 …) or, with `full`, every item, one a line.
void summaryFoot(GuapanModel &model, const Summary &summary, bool full)
{
    if (summary.reason.empty())
        return;
    const QString trend = summary.trend ? qs(trendName(*summary.trend)) + u"——"_s : QString();
    model.foot << GuapanFieldLine{{GuapanField{u"趋势"_s, trend + qs(summary.reason), {}}}, true};
    bool first = true;
    for (const SummaryItem &item : summary.items) {
        if (!full && item.kind != SummaryKind::Condition)
            continue;
        model.foot << GuapanFieldLine{
            {GuapanField{first ? (full ? u"要点"_s : u"待条件"_s) : QString(), qs(item.text), {}}}, true};
        first = false;
    }
}

QString voidPair(const std::array<Branch, 2> &voids)
{
    return qs(branchName(voids[0])) + qs(branchName(voids[1]));
}

// The palace, the soul and the type of a hexagram: "兑宫·归魂·六冲".
QString titleDetail(const HexagramRow &row, HexagramType type)
{
    QStringList parts{qs(palaceWords(row))};
    if (!soulWords(row.soul).empty())
        parts << qs(soulWords(row.soul));
    if (type != HexagramType::None)
        parts << qs(hexagramTypeName(type));
    return parts.join(u"·"_s);
}

// 六亲 and 纳甲 of line n of `row`, the relative reckoned in the original's palace.
QString lineLabel(Relative relative, const HexagramRow &row, int n, bool stems)
{
    return qs(relativeName(relative)) + qs(stems ? stemBranchLabel(row, n) : branchLabel(row, n));
}

QList<GuapanFieldLine> headerOf(const Chart &chart, const GuapanWords &words)
{
    const CastInput &in = chart.input;
    QList<GuapanFieldLine> lines;
    const auto add = [&lines](GuapanFieldLine line) {
        if (!line.fields.isEmpty())
            lines << line;
    };
    // The month and day builds picked apart from the moment are flagged, and 旬空
    // follows the day it belongs to: the day pillar, or the 日建 picked by hand.
    const bool monthByHand = in.pickedByHand(DayPart::MonthBuild)
                             || (in.monthBuild && chart.pillars && in.monthBuild != chart.pillars->month.branch());
    const bool dayByHand
        = in.dayBuild
          && (in.pickedByHand(DayPart::DayBuild) || in.pickedByHand(DayPart::DayStem)
              || (chart.pillars
                  && (in.dayBuild != chart.pillars->day.branch() || in.dayStem != chart.pillars->day.stem())));
    const bool voidOnPillar = chart.pillars && chart.voids && !dayByHand;
    const QString voidWords = chart.voids ? u"（"_s + voidPair(*chart.voids) + u"空）"_s : QString();

    GuapanFieldLine moment;
    if (in.moment) {
        GuapanField f{u"起卦时间"_s, qs(momentOriginWords(chart)), {}};
        if (const auto lunar = lunarDateOf(*in.clockMoment(), in.dayBoundary))
            f.note = u"农历"_s + qs(lunarDateWords(*lunar));
        moment.fields << f;
    }
    if (!words.castMethod.isEmpty())
        moment.fields << GuapanField{u"起卦方式"_s, words.castMethod.simplified(), {}};
    add(moment);
    if (const QString solar = qs(solarTimeWords(chart)); !solar.isEmpty())
        add({{GuapanField{u"真太阳时"_s, solar.mid(solar.indexOf(u'：') + 1), {}}}});
    for (const std::u16string &warning : warningLines(chart)) {
        const QString w = qs(warning);
        add({{GuapanField{u"临界"_s, w.mid(w.indexOf(u'：') + 1), {}}}});
    }

    if (chart.pillars) {
        const Pillars &p = *chart.pillars;
        add({{GuapanField{u"四柱"_s,
                          qs(sexagenaryName(p.year)) + u"年 "_s + qs(sexagenaryName(p.month)) + u"月 "_s
                              + qs(sexagenaryName(p.day)) + u"日"_s + (voidOnPillar ? voidWords : QString()) + u" "_s
                              + qs(sexagenaryName(p.hour)) + u"时"_s,
                          {}}}});
    }

    GuapanFieldLine builds;
    if (in.monthBuild)
        builds.fields << GuapanField{u"月建"_s, qs(branchName(*in.monthBuild)),
                                     monthByHand ? qs(ByHandWord) : QString()};
    if (in.dayBuild)
        builds.fields << GuapanField{u"日建"_s,
                                     (chart.day ? qs(sexagenaryName(*chart.day)) : qs(branchName(*in.dayBuild)))
                                         + (voidOnPillar ? QString() : voidWords),
                                     dayByHand ? qs(ByHandWord) : QString()};
    add(builds);

    // The case's own words on one line each, however they were typed.
    GuapanFieldLine matter;
    if (in.category)
        matter.fields << GuapanField{u"占类"_s, qs(categoryName(*in.category)), {}};
    if (const QString question = words.question.simplified(); !question.isEmpty())
        matter.fields << GuapanField{u"卜问何事"_s, question, {}};
    add(matter);
    if (in.sex)
        add({{GuapanField{u"性别"_s, qs(sexName(*in.sex)), {}}}});
    // "用神：妻财（二爻）  两现：五爻", as the copied text has it after its 占类.
    if (chart.reading.useGod)
        add({{GuapanField{u"用神"_s, qs(useGodValueWords(chart)).simplified(), {}}}});
    return lines;
}

GuapanModel simplifiedModel(const Chart &chart, const GuapanWords &words);

// Every word of the model in Traditional characters.
void toTraditional(GuapanModel &model)
{
    const auto convert = [](QString &text) {
        if (const std::optional<QString> t = lotgrid::toTraditional(text))
            text = *t;
    };
    const auto lines = [&](QList<GuapanFieldLine> &list) {
        for (GuapanFieldLine &line : list)
            for (GuapanField &f : line.fields)
                for (QString *s : {&f.label, &f.value, &f.note})
                    convert(*s);
    };
    lines(model.header);
    lines(model.foot);
    for (GuapanHexagramTitle *t : {&model.original, &model.changed}) {
        convert(t->name);
        convert(t->detail);
    }
    for (QString &w : model.titleWords)
        convert(w);
    for (GuapanField &f : model.minor) {
        convert(f.label);
        convert(f.value);
    }
    for (GuapanRowModel &row : model.rows) {
        for (QString *s : {&row.spirit, &row.hidden, &row.label, &row.role, &row.changedLabel, &row.changedRole})
            convert(*s);
        for (QString &m : row.marks)
            convert(m);
        for (QString &m : row.changedMarks)
            convert(m);
    }
}

} // namespace

GuapanModel guapanModel(const Chart &chart, const GuapanWords &words)
{
    GuapanModel model = simplifiedModel(chart, words);
    if (words.traditional)
        toTraditional(model);
    return model;
}

namespace {

GuapanModel simplifiedModel(const Chart &chart, const GuapanWords &words)
{
    GuapanModel model;
    model.header = headerOf(chart, words);
    if (!chart.original)
        return model;
    model.complete = true;
    model.hasChanged = chart.hasMovingLine() && chart.changed;
    model.original = {qs(hexagramName(*chart.original)), titleDetail(*chart.original, chart.analysis.originalType)};
    if (model.hasChanged) {
        model.changed = {qs(hexagramName(*chart.changed)), titleDetail(*chart.changed, chart.analysis.changedType)};
        if (!chart.analysis.typeChange().empty())
            model.titleWords << qs(chart.analysis.typeChange());
    }
    if (const auto &lone = chart.analysis.lone)
        model.titleWords << qs(LoneKindNames[static_cast<std::size_t>(lone->kind)]);
    for (std::u16string_view w : chart.analysis.fanFuWords())
        model.titleWords << qs(w);
    if (const Reading &r = chart.reading; r.hu && r.cuo && r.zong)
        model.minor << GuapanField{u"互"_s, qs(hexagramName(*r.hu)), {}}
                    << GuapanField{u"错"_s, qs(hexagramName(*r.cuo)), {}}
                    << GuapanField{u"综"_s, qs(hexagramName(*r.zong)), {}};

    const LineMark &mark = chart.input.mark;
    for (int n = 6; n >= 1; --n) {
        const ChartLine &l = chart.line(n);
        GuapanRowModel &row = model.rows[static_cast<std::size_t>(6 - n)];
        row.line = n;
        row.spirit = qs(l.spirit);
        if (l.hidden) {
            // The hidden spirit stands on the palace's pure hexagram, and takes its stem from there.
            row.hidden = lineLabel(l.hidden->relative, pureHexagramOf(chart.original->palace), n, words.najiaStems);
            row.hiddenVoid = l.hiddenVoid;
        }
        row.label = lineLabel(l.relative, *chart.original, n, words.najiaStems);
        row.isVoid = l.isVoid;
        row.yang = l.cast.value == u'1';
        row.moving = l.cast.moving;
        row.role = qs(roleName(l.role));
        if (row.moving)
            row.movingMark = row.yang ? u"○"_s : u"×"_s;
        if (model.hasChanged) {
            row.changedLabel = lineLabel(l.changedRelative, *chart.changed, n, words.najiaStems);
            row.changedYang = chart.changed->key[static_cast<std::size_t>(n - 1)] == u'1';
            row.changedVoid = l.changedVoid;
            row.changedRole = qs(roleName(l.changedRole));
        }
        // The use god of the reading (by 占类 or picked by hand); a 伏神 mark picked by hand is shown too.
        const auto &g = chart.reading.useGod;
        row.useGod = g && g->isLine(n);
        row.hiddenUseGod
            = (g && g->hidden && g->position == n) || (mark.kind == MarkKind::Hidden && mark.line == n && l.hidden);
        const LineReading &lr = chart.reading.line(n);
        if (row.useGod || row.hiddenUseGod)
            row.marks << u"用神"_s;
        else if (g && g->changed && g->position == n)
            row.marks << u"变为用神"_s;
        else if (g && g->timing == n)
            row.marks << u"两现定期"_s;
        else if (g && lr.support != Support::None)
            row.marks << qs(supportName(lr.support));
        if (lr.strength)
            row.marks << qs(strengthVerdict(*lr.strength));
        const std::size_t i = static_cast<std::size_t>(n - 1);
        if (const StaticMark m = chart.analysis.marks[i]; m != StaticMark::None)
            row.marks << qs(staticMarkName(m));
        if (const BreakKind k = chart.analysis.breakKinds[i]; k != BreakKind::None)
            row.marks << qs(BreakKindNames[static_cast<std::size_t>(k)]);
        if (const VoidKind k = chart.analysis.voidKinds[i]; k != VoidKind::None)
            row.marks << qs(VoidKindNames[static_cast<std::size_t>(k)]);
        if (model.hasChanged && row.moving) {
            const std::vector<Change> &changes = chart.analysis.changes[i];
            for (const Change c : changes)
                row.changedMarks << qs(changeName(c));
            // The 应期 rules read a change into a 合 whatever the school marks;
            // the chart says it wherever they may cite it.
            if (std::ranges::find(changes, Change::Combine) == changes.end() && combines(l.branch, l.changedBranch))
                row.changedMarks << qs(changeName(Change::Combine));
            if (lr.changeStage)
                row.changedMarks << u"化"_s + qs(stageName(*lr.changeStage));
            if (lr.changedStrength)
                row.changedMarks << qs(strengthVerdict(*lr.changedStrength));
        }
        model.hasSpirits = model.hasSpirits || !row.spirit.isEmpty();
        model.hasHidden = model.hasHidden || !row.hidden.isEmpty();
    }

    if (const auto &gs = chart.analysis.guaShen)
        model.foot << GuapanFieldLine{{GuapanField{u"卦身"_s, qs(guaShenWords(*gs)), {}}}};
    if (!chart.analysis.shenSha.empty()) {
        GuapanFieldLine line{{}, true};
        for (const std::u16string &w : shenShaWords(chart.analysis.shenSha))
            line.fields << GuapanField{line.fields.isEmpty() ? u"神煞"_s : QString(), qs(w), {}};
        model.foot << line;
    }
    if (const std::u16string relations = relationWords(chart); !relations.empty())
        model.foot << GuapanFieldLine{{GuapanField{{}, qs(relations), {}}}, true};
    if (const std::u16string fushen = fuShenWords(chart); !fushen.empty())
        model.foot << GuapanFieldLine{{GuapanField{u"伏神"_s, qs(fushen).mid(3), {}}}, true};
    // The first 应期 candidates, the rules of a date together; a moving 忌神's on a line of their own.
    std::vector<YingqiCandidate> own, taboo;
    for (const YingqiCandidate &c : chart.yingqi)
        (c.line == YingqiLine::Taboo ? taboo : own).push_back(c);
    const auto cutOff = yingqiCutOff(chart);
    for (const auto &[list, label] : {std::pair{&own, u"应期参考"_s}, std::pair{&taboo, u"忌神应期"_s}}) {
        GuapanFieldLine timing{{}, true};
        for (const std::u16string &date : yingqiFirst(*list, 3))
            timing.fields << GuapanField{timing.fields.isEmpty() ? label : QString(), qs(date), {}};
        if (cutOff && list == &own && !timing.fields.isEmpty())
            timing.fields.last().value += u"（止于%1）"_s.arg(qs(isoDate(*cutOff)));
        if (!timing.fields.isEmpty())
            model.foot << timing;
    }
    summaryFoot(model, summaryOf(chart), words.fullSummary);
    for (GuapanRowModel &row : model.rows)
        row.picked = words.picked.contains(row.line);
    return model;
}

} // namespace

} // namespace lotgrid
