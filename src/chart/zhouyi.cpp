#include "chart/zhouyi.h"

#include "chart/chart.h"
#include "chart/charttext.h"
#include "chart/zhouyitext.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace lotgrid {

namespace {

using zhouyi_detail::Texts;

std::size_t indexOf(const HexagramRow &row)
{
    const auto *first = HexagramTable.data();
    const auto *p = &row;
    return p >= first && p < first + HexagramTable.size() ? static_cast<std::size_t>(p - first) : 0;
}

const HexagramRow *changedRow(const HexagramRow &original, const std::array<bool, 6> &moving)
{
    std::u16string key(original.key);
    for (std::size_t i = 0; i < key.size() && i < moving.size(); ++i)
        key[i] = changedValue(key[i], moving[i]);
    return FindHexagramByKey(key);
}

bool contains(std::u16string_view text, std::u16string_view phrase)
{
    return text.find(phrase) != std::u16string_view::npos;
}

} // namespace

const ZhouyiText &zhouyiText(const HexagramRow &row)
{
    return Texts[indexOf(row)];
}

const HexagramRow *FindHexagramByShortName(std::u16string_view name)
{
    const auto it = std::ranges::find(Texts, name, &ZhouyiText::name);
    return it == Texts.end() ? nullptr : &HexagramTable[static_cast<std::size_t>(it - Texts.begin())];
}

std::u16string_view readingRuleName(int moving)
{
    static constexpr std::array<std::u16string_view, 7> names{u"静卦",   u"一爻变", u"二爻变", u"三爻变",
                                                              u"四爻变", u"五爻变", u"六爻变"};
    return names[static_cast<std::size_t>(std::clamp(moving, 0, 6))];
}

TextsToRead textsToRead(const HexagramRow &original, const std::array<bool, 6> &moving)
{
    const HexagramRow *changed = changedRow(original, moving);
    if (!changed) // never: every key of six "0"/"1" names a row
        changed = &original;
    TextsToRead r;
    std::vector<int> movingLines, staticLines;
    for (int line = 1; line <= 6; ++line)
        (moving[static_cast<std::size_t>(line - 1)] ? movingLines : staticLines).push_back(line);
    r.moving = static_cast<int>(movingLines.size());
    const auto lineOf = [](const HexagramRow *row, int line) { return TextToRead{row, TextPart::Line, line, {}}; };
    switch (r.moving) {
    case 0:
        r.read = {{&original, TextPart::Judgement, 0, {}}};
        break;
    case 1:
    case 2: // the upper of two the main
        for (int line : movingLines)
            r.read.push_back(lineOf(&original, line));
        r.main = r.moving - 1;
        break;
    case 3:
        r.read = {{&original, TextPart::Judgement, 0, u"贞"}, {changed, TextPart::Judgement, 0, u"悔"}};
        r.main = movingLines.front() == 1 ? 0 : 1;
        break;
    case 4:
    case 5: // the lower of two the main
        for (int line : staticLines)
            r.read.push_back(lineOf(changed, line));
        break;
    default:
        if (!zhouyiText(original).allLines.text.empty())
            r.read = {{&original, TextPart::AllLines, 0, {}}};
        else
            r.read = {{changed, TextPart::Judgement, 0, {}}};
        break;
    }
    return r;
}

std::optional<TextsToRead> textsToRead(const Chart &chart)
{
    if (!chart.original)
        return std::nullopt;
    std::array<bool, 6> moving{};
    for (int line = 1; line <= 6; ++line)
        moving[static_cast<std::size_t>(line - 1)] = chart.line(line).cast.moving;
    return textsToRead(*chart.original, moving);
}

std::u16string_view textPartName(const TextToRead &t)
{
    switch (t.part) {
    case TextPart::Judgement:
        return u"卦辞";
    case TextPart::Line:
        return u"爻辞";
    case TextPart::AllLines:
        break;
    }
    return t.hexagram && t.hexagram->key == u"000000" ? u"用六" : u"用九";
}

std::u16string_view textOf(const TextToRead &t)
{
    if (!t.hexagram)
        return {};
    const ZhouyiText &z = zhouyiText(*t.hexagram);
    switch (t.part) {
    case TextPart::Judgement:
        return z.judgement;
    case TextPart::Line:
        return t.line >= 1 && t.line <= 6 ? z.lines[static_cast<std::size_t>(t.line - 1)].text : std::u16string_view{};
    case TextPart::AllLines:
        break;
    }
    return z.allLines.text;
}

std::u16string_view xiangOf(const TextToRead &t)
{
    if (!t.hexagram)
        return {};
    const ZhouyiText &z = zhouyiText(*t.hexagram);
    switch (t.part) {
    case TextPart::Judgement:
        return z.image;
    case TextPart::Line:
        return t.line >= 1 && t.line <= 6 ? z.lines[static_cast<std::size_t>(t.line - 1)].xiang : std::u16string_view{};
    case TextPart::AllLines:
        break;
    }
    return z.allLines.xiang;
}

std::u16string textsBlock(const Chart &chart)
{
    const std::optional<TextsToRead> texts = textsToRead(chart);
    if (!texts)
        return {};
    constexpr std::u16string_view indent = u"\u3000\u3000\u3000";
    constexpr std::u16string_view under = u"\u3000\u3000\u3000\u3000";
    std::u16string out = u"经文（";
    out += readingRuleName(texts->moving);
    out += u"）：\n";
    for (std::size_t i = 0; i < texts->read.size(); ++i) {
        const TextToRead &t = texts->read[i];
        out += static_cast<int>(i) == texts->main ? std::u16string_view(u"【主】") : indent;
        out += zhouyiText(*t.hexagram).name;
        out += u' ';
        if (t.part == TextPart::Judgement) {
            out += u"卦辞";
            if (!t.role.empty())
                out.append(u"（").append(t.role).append(u"）");
            out += u"：";
        }
        out.append(textOf(t)).append(u"\n");
        if (t.part == TextPart::Judgement)
            out.append(under).append(u"彖曰：").append(zhouyiText(*t.hexagram).tuan).append(u"\n");
        out.append(under).append(u"象曰：").append(xiangOf(t)).append(u"\n");
    }
    return out;
}

nlohmann::ordered_json textsJson(const TextsToRead &texts)
{
    using Json = nlohmann::ordered_json;
    Json read = Json::array();
    for (const TextToRead &t : texts.read) {
        const bool judgement = t.part == TextPart::Judgement;
        read.push_back({{"hexagram", toUtf8(zhouyiText(*t.hexagram).name)},
                        {"part", toUtf8(textPartName(t))},
                        {"line", t.part == TextPart::Line ? Json(t.line) : Json(nullptr)},
                        {"role", t.role.empty() ? Json(nullptr) : Json(toUtf8(t.role))},
                        {"text", toUtf8(textOf(t))},
                        {"tuan", judgement ? Json(toUtf8(zhouyiText(*t.hexagram).tuan)) : Json(nullptr)},
                        {"xiang", toUtf8(xiangOf(t))}});
    }
    return {{"rule", toUtf8(readingRuleName(texts.moving))}, {"read", std::move(read)}, {"main", texts.main}};
}

nlohmann::ordered_json textsJson(const Chart &chart)
{
    const std::optional<TextsToRead> texts = textsToRead(chart);
    return texts ? textsJson(*texts) : nlohmann::ordered_json(nullptr);
}

std::vector<TextHit> searchZhouyi(std::u16string_view phrase)
{
    std::vector<TextHit> hits;
    if (phrase.empty())
        return hits;
    for (std::size_t i = 0; i < Texts.size(); ++i) {
        const ZhouyiText &z = Texts[i];
        const HexagramRow *row = &HexagramTable[i];
        if (contains(hexagramName(*row), phrase) || contains(z.judgement, phrase) || contains(z.tuan, phrase)
            || contains(z.image, phrase))
            hits.push_back({row, TextPart::Judgement, 0});
        for (int line = 1; line <= 6; ++line) {
            const ZhouyiLine &l = z.lines[static_cast<std::size_t>(line - 1)];
            if (contains(l.text, phrase) || contains(l.xiang, phrase))
                hits.push_back({row, TextPart::Line, line});
        }
        if (contains(z.allLines.text, phrase) || contains(z.allLines.xiang, phrase))
            hits.push_back({row, TextPart::AllLines, 0});
    }
    return hits;
}

} // namespace lotgrid
