#include "chart/charttext.h"

#include <algorithm>
#include <array>

namespace lotgrid {

namespace {

constexpr char16_t Wide = u'\u3000'; // the ideographic space that pads every column

// Names of the lines as the 卦身 line shows them.
constexpr std::array<std::u16string_view, 6> PositionNames{u"初爻", u"二爻", u"三爻", u"四爻", u"五爻", u"上爻"};

// The 神煞 by the short names practitioners write under a chart, in ShenSha order.
constexpr std::array<std::u16string_view, 11> ShenShaShortNames{u"贵人", u"禄",   u"羊刃", u"文昌", u"驿马", u"桃花",
                                                                u"将星", u"华盖", u"劫煞", u"灾煞", u"天医"};
static_assert(ShenShaShortNames.size() == ShenShaNames.size());

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

std::u16string palaceName(const HexagramRow &row)
{
    return std::u16string(TrigramNames.substr(static_cast<int>(row.palace), 1)) + u"宫";
}

std::u16string_view soulName(Soul s)
{
    return s == Soul::Wandering ? u"游魂" : s == Soul::Returning ? u"归魂" : u"";
}

// "雷泽归妹（兑宫·归魂）", with the hexagram's type after it when it has one.
std::u16string hexagramCaption(const HexagramRow &row, HexagramType type)
{
    std::u16string out = std::u16string(hexagramName(row)) + u"（" + palaceName(row);
    if (row.soul != Soul::None)
        out += std::u16string(u"·") + std::u16string(soulName(row.soul));
    out += u"）";
    if (type != HexagramType::None)
        out += std::u16string(1, Wide) + std::u16string(hexagramTypeName(type));
    return out;
}

std::u16string twoDigits(int n)
{
    return {static_cast<char16_t>(u'0' + n / 10 % 10), static_cast<char16_t>(u'0' + n % 10)};
}

std::u16string momentText(const Moment &m)
{
    std::u16string year;
    for (int y = m.date.year, i = 0; i < 4; ++i, y /= 10)
        year.insert(year.begin(), static_cast<char16_t>(u'0' + y % 10));
    return year + u"-" + twoDigits(m.date.month) + u"-" + twoDigits(m.date.day) + u" " + twoDigits(m.hour) + u":"
           + twoDigits(m.minute);
}

std::u16string voidsText(const std::array<Branch, 2> &voids)
{
    return std::u16string(branchName(voids[0])) + std::u16string(branchName(voids[1]));
}

// The words of a line's marks: 月破 / 暗动 / 日破 on a static line, the changes of a moving one.
std::vector<std::u16string_view> markWords(const Chart &chart, std::size_t i)
{
    std::vector<std::u16string_view> words;
    if (chart.analysis.marks[i] != StaticMark::None)
        words.push_back(staticMarkName(chart.analysis.marks[i]));
    for (Change c : chart.analysis.changes[i])
        words.push_back(changeName(c));
    return words;
}

void trimRight(std::u16string &line)
{
    while (!line.empty() && (line.back() == Wide || line.back() == u' '))
        line.pop_back();
}

} // namespace

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

std::u16string chartText(const Chart &chart, std::u16string_view question, std::u16string_view sex)
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
        std::u16string line = u"起卦时间：" + momentText(*in.moment);
        if (chart.pillars) {
            const Pillars &p = *chart.pillars;
            line += u"  " + sexagenaryName(p.year) + u"年 " + sexagenaryName(p.month) + u"月 " + sexagenaryName(p.day)
                    + u"日 " + sexagenaryName(p.hour) + u"时";
        }
        if (chart.voids && !buildsLine)
            line += u"  旬空：" + voidsText(*chart.voids);
        emit(line);
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

    std::u16string heads = u"本卦：" + hexagramCaption(*chart.original, chart.analysis.originalType);
    if (moving) {
        heads += u"  变卦：" + hexagramCaption(*chart.changed, chart.analysis.changedType);
        const std::u16string_view typeChange = chart.analysis.typeChange();
        if (!typeChange.empty())
            heads += u"  " + std::u16string(typeChange);
    }
    emit(heads);

    const bool spirits = std::ranges::any_of(chart.lines, [](const ChartLine &l) { return !l.spirit.empty(); });
    const bool hidden = std::ranges::any_of(chart.lines, [](const ChartLine &l) { return l.hidden.has_value(); });
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
                   + std::u16string(voidMark(l.hidden && l.hiddenVoid)));
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
        for (std::u16string_view word : markWords(chart, i))
            column(word);
        emit(row);
    }

    if (const auto &gs = chart.analysis.guaShen) {
        std::u16string line = u"卦身：" + std::u16string(branchName(gs->branch));
        if (!gs->positions.empty()) {
            line += u"（";
            for (std::size_t k = 0; k < gs->positions.size(); ++k)
                line += (k ? u"、" : u"")
                        + std::u16string(PositionNames[static_cast<std::size_t>(gs->positions[k] - 1)]);
            line += u"）";
        }
        emit(line);
    }
    if (!chart.analysis.shenSha.empty()) {
        std::u16string line;
        for (const ShenShaEntry &e : chart.analysis.shenSha) {
            if (!line.empty())
                line += u"  ";
            line += std::u16string(ShenShaShortNames[static_cast<std::size_t>(e.kind)]) + u"：";
            for (Branch b : e.list())
                line += branchName(b);
        }
        emit(line);
    }
    return out;
}

namespace {

// Appends `text` as UTF-8; with `escapeJson` the characters JSON cannot hold in a string are escaped.
void appendUtf8(std::string &out, std::u16string_view text, bool escapeJson)
{
    static constexpr char Hex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            if (escapeJson && (c == u'"' || c == u'\\')) {
                out += '\\';
                out += static_cast<char>(c);
            } else if (escapeJson && c < 0x20) {
                out += "\\u00";
                out += Hex[c >> 4];
                out += Hex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    appendUtf8(out, text, false);
    return out;
}

namespace {

// A JSON writer for one compact object: values are appended in order and the
// commas between them are placed by the writer.
class Json
{
public:
    Json() { m_out.reserve(4096); }
    std::string take() { return std::move(m_out); }

    Json &open() { return opening('{'); }
    Json &close() { return closing('}'); }
    Json &openArray() { return opening('['); }
    Json &closeArray() { return closing(']'); }

    // Keys are this program's own ASCII words, or the 神煞 names.
    Json &key(std::string_view k)
    {
        comma();
        m_out += '"';
        m_out += k;
        m_out += "\":";
        m_needComma = false;
        return *this;
    }
    Json &key(std::u16string_view k)
    {
        comma();
        m_out += '"';
        appendUtf8(m_out, k, true);
        m_out += "\":";
        m_needComma = false;
        return *this;
    }
    Json &value(std::u16string_view s)
    {
        comma();
        m_out += '"';
        appendUtf8(m_out, s, true);
        m_out += '"';
        m_needComma = true;
        return *this;
    }
    Json &value(bool b) { return literal(b ? "true" : "false"); }
    Json &value(int n) { return literal(std::to_string(n)); }
    Json &null() { return literal("null"); }
    // A string, or null when empty.
    Json &orNull(std::u16string_view s) { return s.empty() ? null() : value(s); }

private:
    void comma()
    {
        if (m_needComma)
            m_out += ',';
    }
    Json &opening(char c)
    {
        comma();
        m_out += c;
        m_needComma = false;
        return *this;
    }
    Json &closing(char c)
    {
        m_out += c;
        m_needComma = true;
        return *this;
    }
    Json &literal(std::string_view text)
    {
        comma();
        m_out += text;
        m_needComma = true;
        return *this;
    }

    std::string m_out;
    bool m_needComma = false;
};

void hexagramHead(Json &j, const HexagramRow &row)
{
    j.key("key").value(row.key);
    j.key("text").value(row.text);
    j.key("name").value(hexagramName(row));
    j.key("palace").value(palaceName(row));
}

} // namespace

std::string chartJson(const Chart &chart)
{
    if (!chart.original)
        return "{}\n";
    const CastInput &in = chart.input;
    const bool moving = chart.hasMovingLine() && chart.changed;
    Json j;
    j.open();
    j.key("lines").value(lineNotation(in));
    j.key("time");
    if (in.moment)
        j.value(momentText(*in.moment));
    else
        j.null();
    j.key("pillars");
    if (chart.pillars) {
        const Pillars &p = *chart.pillars;
        j.open();
        j.key("year").value(sexagenaryName(p.year));
        j.key("month").value(sexagenaryName(p.month));
        j.key("day").value(sexagenaryName(p.day));
        j.key("hour").value(sexagenaryName(p.hour));
        j.close();
    } else {
        j.null();
    }
    j.key("void").openArray();
    if (chart.voids)
        for (Branch b : *chart.voids)
            j.value(branchName(b));
    j.closeArray();

    j.key("original").open();
    hexagramHead(j, *chart.original);
    j.key("element").value(elementName(chart.palaceElement()));
    j.key("lines").openArray();
    for (int n = 1; n <= 6; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        const ChartLine &l = chart.lines[i];
        j.open();
        j.key("position").value(n);
        j.key("yang").value(l.cast.value == u'1');
        j.key("moving").value(l.cast.moving);
        j.key("branch").value(branchName(l.branch));
        j.key("element").value(elementName(l.element));
        j.key("relative").value(relativeName(l.relative));
        j.key("spirit").orNull(l.spirit);
        j.key("role").orNull(roleName(l.role));
        j.key("void").value(l.isVoid);
        j.key("hidden");
        if (l.hidden) {
            j.open();
            j.key("relative").value(relativeName(l.hidden->relative));
            j.key("branch").value(branchName(l.hidden->branch));
            j.key("element").value(elementName(branchElement(l.hidden->branch)));
            j.close();
        } else {
            j.null();
        }
        j.key("marks").openArray();
        if (chart.analysis.marks[i] != StaticMark::None)
            j.value(staticMarkName(chart.analysis.marks[i]));
        j.closeArray();
        if (l.cast.moving) {
            j.key("changes").openArray();
            for (Change c : chart.analysis.changes[i])
                j.value(changeName(c));
            j.closeArray();
        }
        j.close();
    }
    j.closeArray();
    j.close();

    j.key("changed");
    if (moving) {
        j.open();
        hexagramHead(j, *chart.changed);
        j.key("lines").openArray();
        for (int n = 1; n <= 6; ++n) {
            const ChartLine &l = chart.line(n);
            j.open();
            j.key("position").value(n);
            j.key("yang").value(chart.changed->key[static_cast<std::size_t>(n - 1)] == u'1');
            j.key("branch").value(branchName(l.changedBranch));
            j.key("element").value(elementName(l.changedElement));
            j.key("relative").value(relativeName(l.changedRelative));
            j.close();
        }
        j.closeArray();
        j.close();
    } else {
        j.null();
    }

    j.key("types").open();
    j.key("original").orNull(hexagramTypeName(chart.analysis.originalType));
    j.key("changed").orNull(moving ? hexagramTypeName(chart.analysis.changedType) : std::u16string_view{});
    j.close();

    j.key("guashen");
    if (const auto &gs = chart.analysis.guaShen) {
        j.open();
        j.key("branch").value(branchName(gs->branch));
        j.key("positions").openArray();
        for (int p : gs->positions)
            j.value(p);
        j.closeArray();
        j.close();
    } else {
        j.null();
    }

    j.key("shensha").open();
    for (const ShenShaEntry &e : chart.analysis.shenSha) {
        j.key(shenShaName(e.kind)).openArray();
        for (Branch b : e.list())
            j.value(branchName(b));
        j.closeArray();
    }
    j.close();
    j.close();
    return j.take() + "\n";
}

std::u16string chartMomentWords(const Moment &moment)
{
    return momentText(moment);
}

std::u16string palaceWords(const HexagramRow &row)
{
    return palaceName(row);
}

std::u16string_view soulWords(Soul soul)
{
    return soulName(soul);
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
        for (std::size_t k = 0; k < guaShen.positions.size(); ++k)
            words += (k ? u"、" : u"")
                     + std::u16string(PositionNames[static_cast<std::size_t>(guaShen.positions[k] - 1)]);
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

} // namespace lotgrid
