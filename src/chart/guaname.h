#pragma once
// 卦名 entry: a cast written by the names of its hexagrams, as books and
// forums give it — "山火贲", "贲", "贲之艮", "山火贲 初爻动", "火山旅 二五爻动",
// "贲之艮为山". A hexagram is named in full ("山火贲", "乾为天") or by its
// short name ("贲", "大有", "乾"); the changed hexagram follows 之, and the
// moving lines are named by their places before 爻动 (初 二 三 四 五 上, or
// the digits 1 to 6). The lines come out as if typed.

#include "chart/cast.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lotgrid {

struct HexagramRow;

enum class GuaNameErrorKind : std::uint8_t {
    Empty,        // nothing given
    UnknownName,  // `text` names no hexagram
    BadLines,     // `text` is not a list of line places before 爻动
    SameHexagram, // the changed hexagram is the original: no moving line reaches it
    LinesDisagree // the moving lines given do not turn the original into the changed hexagram
};

struct GuaNameError {
    GuaNameErrorKind kind = GuaNameErrorKind::Empty;
    std::u16string text;
};

// The six lines the text names, line 1 first, or the error.
std::optional<std::array<CastLine, 6>> linesFromGuaName(std::u16string_view text, GuaNameError &error);

// The hexagram named `name` in full or by its short name, or nullptr.
const HexagramRow *hexagramByName(std::u16string_view name);

// The short name: "贲" of 山火贲, "乾" of 乾为天, "大有" of 火天大有.
std::u16string_view shortHexagramName(const HexagramRow &row);

// The error in words, for a message.
std::u16string guaNameErrorText(const GuaNameError &error);

} // namespace lotgrid
