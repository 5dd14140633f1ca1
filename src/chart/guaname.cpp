#include "chart/guaname.h"

#include "chart/hexagrams.h"

#include <algorithm>

namespace lotgrid {

namespace {

constexpr std::u16string_view Separators = u" \t\u3000,，、;；";
constexpr std::u16string_view LinePlaces = u"初二三四五上";
constexpr std::u16string_view LineDigits = u"123456";
constexpr std::u16string_view Moves = u"爻动";

// Other ways the names are written: the old form of 遁 and the traditional forms.
struct Alias {
    std::u16string_view written;
    std::u16string_view name;
};
constexpr std::array<Alias, 7> Aliases{{{u"遯", u"遁"},
                                        {u"無妄", u"无妄"},
                                        {u"頤", u"颐"},
                                        {u"蠱", u"蛊"},
                                        {u"謙", u"谦"},
                                        {u"漸", u"渐"},
                                        {u"豐", u"丰"}}};

std::u16string_view trimmed(std::u16string_view s)
{
    while (!s.empty() && Separators.find(s.front()) != std::u16string_view::npos)
        s.remove_prefix(1);
    while (!s.empty() && Separators.find(s.back()) != std::u16string_view::npos)
        s.remove_suffix(1);
    return s;
}

} // namespace

std::u16string_view shortHexagramName(const HexagramRow &row)
{
    const std::u16string_view name = hexagramName(row);
    // "乾为天": the doubled trigrams are called by the trigram; "山火贲": the images of the two trigrams come first.
    return name.size() == 3 && name[1] == u'为' ? name.substr(0, 1) : name.substr(2);
}

const HexagramRow *hexagramByName(std::u16string_view name)
{
    std::u16string n(name);
    for (const Alias &a : Aliases)
        for (std::size_t at; (at = n.find(a.written)) != std::u16string::npos;)
            n.replace(at, a.written.size(), a.name);
    for (const HexagramRow &row : HexagramTable)
        if (hexagramName(row) == n || shortHexagramName(row) == n)
            return &row;
    return nullptr;
}

std::optional<std::array<CastLine, 6>> linesFromGuaName(std::u16string_view text, GuaNameError &error)
{
    const auto fail = [&error](GuaNameErrorKind kind, std::u16string_view words) {
        error = {kind, std::u16string(words)};
        return std::nullopt;
    };
    text = trimmed(text);
    if (text.empty())
        return fail(GuaNameErrorKind::Empty, {});

    // The moving lines: the places just before 爻动 at the end ("二五爻动", "初爻动", "2、5爻动").
    std::optional<std::array<bool, 6>> moving;
    if (text.ends_with(Moves)) {
        std::size_t start = text.size() - Moves.size();
        std::array<bool, 6> lines{};
        bool any = false;
        while (start > 0) {
            const char16_t c = text[start - 1];
            auto at = LinePlaces.find(c);
            if (at == std::u16string_view::npos)
                at = LineDigits.find(c);
            if (at != std::u16string_view::npos)
                lines[at] = any = true;
            else if (!(any && Separators.find(c) != std::u16string_view::npos && c != u' ' && c != u'\u3000'))
                break;
            --start;
        }
        if (!any)
            return fail(GuaNameErrorKind::BadLines, text.substr(start));
        moving = lines;
        text = trimmed(text.substr(0, start));
    }

    const auto zhi = text.find(u'之');
    const std::u16string_view originalName = trimmed(text.substr(0, zhi));
    const HexagramRow *original = hexagramByName(originalName);
    if (!original)
        return fail(GuaNameErrorKind::UnknownName, originalName.empty() ? text : originalName);
    const HexagramRow *changed = nullptr;
    if (zhi != std::u16string_view::npos) {
        const std::u16string_view changedName = trimmed(text.substr(zhi + 1));
        changed = hexagramByName(changedName);
        if (!changed)
            return fail(GuaNameErrorKind::UnknownName, changedName.empty() ? text : changedName);
        if (changed == original)
            return fail(GuaNameErrorKind::SameHexagram, text);
    }

    std::array<CastLine, 6> lines;
    for (std::size_t i = 0; i < 6; ++i) {
        lines[i].value = original->key[i];
        lines[i].moving = changed ? original->key[i] != changed->key[i] : moving && (*moving)[i];
    }
    if (changed && moving && !std::ranges::equal(lines, *moving, {}, &CastLine::moving))
        return fail(GuaNameErrorKind::LinesDisagree, text);
    return lines;
}

std::u16string guaNameErrorText(const GuaNameError &error)
{
    const std::u16string quoted = u"「" + error.text + u"」";
    switch (error.kind) {
    case GuaNameErrorKind::Empty:
        return u"没有写卦名：如「山火贲」「贲之艮」「火山旅 二五爻动」";
    case GuaNameErrorKind::UnknownName:
        return quoted + u"不是六十四卦的卦名";
    case GuaNameErrorKind::BadLines:
        return quoted + u"没有写明哪几爻动：用初、二、三、四、五、上（或1到6）写在「爻动」之前";
    case GuaNameErrorKind::SameHexagram:
        return quoted + u"的之卦就是本卦：没有动爻能变出同一卦";
    case GuaNameErrorKind::LinesDisagree:
        return quoted + u"中写的动爻变不出所写的之卦";
    }
    return {};
}

} // namespace lotgrid
