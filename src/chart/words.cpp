#include "chart/words.h"
#include "chart/codepoints.h"

namespace lotgrid {

namespace {

// The 神煞 by the short names practitioners write under a chart, in ShenSha order.
constexpr std::array<std::u16string_view, 11> ShenShaShortNames{u"贵人", u"禄",   u"羊刃", u"文昌", u"驿马", u"桃花",
                                                                u"将星", u"华盖", u"劫煞", u"灾煞", u"天医"};
static_assert(ShenShaShortNames.size() == ShenShaNames.size());

std::u16string twoDigits(int n)
{
    return {static_cast<char16_t>(u'0' + n / 10 % 10), static_cast<char16_t>(u'0' + n % 10)};
}

// 真空 / 假空 and 真破 / 目下破 of line `i`, when the school tells them.
std::vector<std::u16string_view> kindWords(const Analysis &a, std::size_t i)
{
    std::vector<std::u16string_view> words;
    if (a.breakKinds[i] != BreakKind::None)
        words.push_back(BreakKindNames[static_cast<std::size_t>(a.breakKinds[i])]);
    if (a.voidKinds[i] != VoidKind::None)
        words.push_back(VoidKindNames[static_cast<std::size_t>(a.voidKinds[i])]);
    return words;
}

// The words of a line's marks: 月破 / 暗动 / 日破 on a static line, the changes of a moving one.
std::vector<std::u16string_view> markWords(const Chart &chart, std::size_t i)
{
    std::vector<std::u16string_view> words;
    if (chart.analysis.marks[i] != StaticMark::None)
        words.push_back(staticMarkName(chart.analysis.marks[i]));
    for (std::u16string_view w : kindWords(chart.analysis, i))
        words.push_back(w);
    for (Change c : chart.analysis.changes[i])
        words.push_back(changeName(c));
    return words;
}

std::u16string positionList(const std::vector<int> &positions)
{
    std::u16string out;
    for (int p : positions) {
        out += out.empty() ? u"" : u"、";
        out += linePlaceName(p);
    }
    return out;
}

// Where the use god stands: "初爻", "伏于初爻", "四爻变", "月建寅".
std::u16string useGodPlace(const UseGod &g)
{
    if (g.fromBuild())
        return std::u16string(g.source == UseGodSource::Month ? u"月建" : u"日建")
               + std::u16string(branchName(g.branch));
    const std::u16string place(linePlaceName(g.position));
    return g.hidden ? std::u16string(u"伏于") + place : g.changed ? place + u"变" : place;
}

// "三合：申子辰水局（月建申、初爻子、三爻变辰）".
std::u16string harmonyText(const Harmony &h)
{
    std::u16string out;
    for (const HarmonyMember &m : h.members)
        out += branchName(m.branch);
    out += std::u16string(elementName(h.element)) + u"局（";
    if (!h.form.empty())
        out += std::u16string(h.form) + u"，";
    for (std::size_t k = 0; k < h.members.size(); ++k) {
        const HarmonyMember &m = h.members[k];
        out += k ? u"、" : u"";
        if (m.source == HarmonySource::Month)
            out += u"月建";
        else if (m.source == HarmonySource::Day)
            out += u"日建";
        else {
            out += linePlaceName(m.position);
            out += m.source == HarmonySource::Changed ? u"变" : u"";
        }
        out += branchName(m.branch);
    }
    return out + u"）";
}

// "初爻入日墓", "二爻入动墓（三爻）", "三爻化墓".
std::u16string tombText(const Tomb &t)
{
    const std::u16string line(linePlaceName(t.position));
    switch (t.by) {
    case TombBy::Day:
        return line + u"入日墓";
    case TombBy::Moving:
        return line + u"入动墓（" + std::u16string(linePlaceName(t.from)) + u"）";
    case TombBy::Changed:
        return line + u"化墓";
    }
    return {};
}

} // namespace

std::u16string palaceWords(const HexagramRow &row)
{
    return std::u16string(TrigramNames.substr(static_cast<int>(row.palace), 1)) + u"宫";
}

std::u16string_view soulWords(Soul s)
{
    return s == Soul::Wandering ? u"游魂" : s == Soul::Returning ? u"归魂" : u"";
}

std::u16string chartMomentWords(const Moment &m)
{
    std::u16string year;
    for (int y = m.date.year, i = 0; i < 4; ++i, y /= 10)
        year.insert(year.begin(), static_cast<char16_t>(u'0' + y % 10));
    return year + u"-" + twoDigits(m.date.month) + u"-" + twoDigits(m.date.day) + u" " + twoDigits(m.hour) + u":"
           + twoDigits(m.minute);
}

// "占类：求财  用神：妻财（初爻）  两现：五爻"; the use god alone when picked by hand without a category.
std::u16string useGodWords(const Chart &chart)
{
    std::u16string line;
    if (chart.input.category) {
        line += u"占类：";
        line += categoryName(*chart.input.category);
        line += u"  ";
    }
    if (const std::u16string useGod = useGodValueWords(chart); !useGod.empty()) {
        line += u"用神：";
        line += useGod;
    }
    return line;
}

// "伏神：有阻（得：日建生伏神；阻：伏神休囚）" of a hidden use god; empty otherwise.
std::u16string fuShenWords(const Chart &chart)
{
    const auto &g = chart.reading.useGod;
    if (!g || !g->fushen)
        return {};
    const FuShenOutlook &f = *g->fushen;
    const auto list = [](const std::vector<std::u16string> &words) {
        std::u16string out;
        for (const std::u16string &w : words)
            out += (out.empty() ? u"" : u"、") + w;
        return out;
    };
    std::u16string line
        = std::u16string(u"伏神：") + std::u16string(FuShenStateNames[static_cast<std::size_t>(f.state)]);
    if (f.helps.empty() && f.blocks.empty())
        return line;
    line += u"（";
    if (!f.helps.empty())
        line += std::u16string(u"得：") + list(f.helps);
    if (!f.helps.empty() && !f.blocks.empty())
        line += u"；";
    if (!f.blocks.empty())
        line += std::u16string(u"阻：") + list(f.blocks);
    return line + u"）";
}

std::u16string pillarsWords(const Pillars &p)
{
    return sexagenaryName(p.year) + u"年 " + sexagenaryName(p.month) + u"月 " + sexagenaryName(p.day) + u"日 "
           + sexagenaryName(p.hour) + u"时";
}

std::u16string lineNotation(const CastInput &input)
{
    std::u16string out;
    for (const CastLine &l : input.lines) {
        if (l.value != u'1' && l.value != u'0')
            return {};
        out += l.value == u'1' ? (l.moving ? u'9' : u'7') : (l.moving ? u'6' : u'8');
    }
    return out;
}

std::string toUtf8(std::u16string_view text)
{
    // Each UTF-16 unit takes at most three bytes (a pair of them four), written
    // in place and the rest cut off.
    std::string out(text.size() * 3, '\0');
    char *p = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = codePointAt(text, i);
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

std::vector<std::u16string_view> lineMarkWords(const Chart &chart, int line)
{
    if (line < 1 || line > 6)
        return {};
    return markWords(chart, static_cast<std::size_t>(line - 1));
}

std::u16string guaShenWords(const GuaShen &guaShen)
{
    std::u16string words(branchName(guaShen.branch));
    if (!guaShen.positions.empty()) {
        words += u"（";
        for (std::size_t k = 0; k < guaShen.positions.size(); ++k) {
            if (k)
                words += u"、";
            words += linePlaceName(guaShen.positions[k]);
        }
        words += u"）";
    }
    return words;
}

std::vector<std::u16string> shenShaWords(const std::vector<ShenShaEntry> &entries)
{
    std::vector<std::u16string> words;
    for (const ShenShaEntry &e : entries) {
        std::u16string w = std::u16string(ShenShaShortNames[static_cast<std::size_t>(e.kind)]) + u"：";
        for (Branch b : e.list())
            w += branchName(b);
        words.push_back(std::move(w));
    }
    return words;
}

std::u16string useGodValueWords(const Chart &chart)
{
    const auto &g = chart.reading.useGod;
    if (!g)
        return chart.input.category == Category::Marriage && !chart.input.sex ? u"未定（婚恋需性别）" : u"";
    std::u16string words = std::u16string(g->world ? u"世" : relativeName(g->relative)) + u"（";
    words += useGodPlace(*g);
    words += std::u16string(g->source == UseGodSource::Manual ? u"·手选" : u"") + u"）";
    if (!g->candidates.empty())
        words += (g->hidden ? u"  又伏于：" : g->changed ? u"  又变于：" : u"  两现：") + positionList(g->candidates);
    if (g->timing)
        words += std::u16string(u"  定应期：") + std::u16string(linePlaceName(*g->timing));
    return words;
}

std::u16string relationWords(const Chart &chart)
{
    const Reading &reading = chart.reading;
    std::u16string line;
    for (const Harmony &h : reading.harmonies) {
        line += line.empty() ? u"三合：" : u"  三合：";
        line += harmonyText(h);
    }
    if (!reading.tombs.empty()) {
        line += line.empty() ? u"入墓：" : u"  入墓：";
        for (std::size_t k = 0; k < reading.tombs.size(); ++k) {
            line += k ? u"、" : u"";
            line += tombText(reading.tombs[k]);
        }
    }
    return line;
}

std::u16string relatedHexagramWords(const Chart &chart)
{
    const Reading &reading = chart.reading;
    if (!reading.hu || !reading.cuo || !reading.zong)
        return {};
    return u"互卦：" + std::u16string(hexagramName(*reading.hu)) + u"  错卦："
           + std::u16string(hexagramName(*reading.cuo)) + u"  综卦：" + std::u16string(hexagramName(*reading.zong));
}

} // namespace lotgrid
