#include "cli/quote.h"

#include <array>
#include <cstdint>

namespace lotgrid::cli {

namespace {

constexpr std::string_view HexDigits = "0123456789ABCDEF";

bool continuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at s[at], or 0 when none starts there.
// The second byte's range excludes overlong forms, surrogates and code points
// past U+10FFFF (the table of well-formed sequences in the Unicode standard).
std::size_t sequenceLength(std::string_view s, std::size_t at)
{
    const auto b = static_cast<unsigned char>(s[at]);
    if (b < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (s.size() - at < length)
        return 0;
    const auto second = static_cast<unsigned char>(s[at + 1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!continuation(static_cast<unsigned char>(s[at + k])))
            return 0;
    return length;
}

// The code point of one valid sequence.
char32_t codePoint(std::string_view c)
{
    const auto lead = static_cast<unsigned char>(c[0]);
    if (c.size() == 1)
        return lead;
    constexpr std::array<unsigned char, 5> LeadBits{0, 0, 0x1F, 0x0F, 0x07};
    char32_t cp = lead & LeadBits[c.size()];
    for (std::size_t k = 1; k < c.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(c[k]) & 0x3F);
    return cp;
}

// Characters that move the cursor, reorder the line or end it.
bool mustEscape(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x200E || cp == 0x200F || (cp >= 0x2028 && cp <= 0x202E)
           || (cp >= 0x2066 && cp <= 0x2069);
}

void appendHex(std::string &out, std::uint32_t value, int digits)
{
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out.push_back(HexDigits[(value >> shift) & 0xF]);
}

void appendEscaped(std::string &out, std::string_view c)
{
    if (sequenceLength(c, 0) != c.size()) { // a stray byte
        out.append("\\x");
        appendHex(out, static_cast<unsigned char>(c[0]), 2);
        return;
    }
    const char32_t cp = codePoint(c);
    switch (cp) {
    case U'"':
        out.append("\\\"");
        return;
    case U'\\':
        out.append("\\\\");
        return;
    case U'\n':
        out.append("\\n");
        return;
    case U'\r':
        out.append("\\r");
        return;
    case U'\t':
        out.append("\\t");
        return;
    default:
        break;
    }
    if (!mustEscape(cp)) {
        out.append(c);
    } else if (cp < 0x80) {
        out.append("\\x");
        appendHex(out, cp, 2);
    } else {
        out.append("\\u");
        appendHex(out, cp, 4);
    }
}

} // namespace

bool wellFormedUtf8(std::string_view s)
{
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t length = sequenceLength(s, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::vector<std::string_view> utf8Characters(std::string_view s)
{
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t length = sequenceLength(s, at);
        const std::size_t taken = length == 0 ? 1 : length;
        characters.push_back(s.substr(at, taken));
        at += taken;
    }
    return characters;
}

std::string quoted(std::string_view s, std::size_t limit)
{
    std::string out(1, '"');
    std::size_t count = 0;
    for (std::size_t at = 0; at < s.size(); ++count) {
        if (count == limit) {
            out.append("…");
            break;
        }
        const std::size_t length = sequenceLength(s, at);
        const std::size_t taken = length == 0 ? 1 : length;
        appendEscaped(out, s.substr(at, taken));
        at += taken;
    }
    out.push_back('"');
    return out;
}

} // namespace lotgrid::cli

namespace lotgrid::cli {

std::u16string toUtf16(std::string_view s)
{
    std::u16string out;
    for (const std::string_view c : utf8Characters(s)) {
        const char32_t cp = sequenceLength(c, 0) == c.size() ? codePoint(c) : U'\uFFFD';
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

} // namespace lotgrid::cli
