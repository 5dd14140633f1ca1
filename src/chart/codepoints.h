#pragma once
// Reading UTF-16 text one code point at a time, for the writers of UTF-8 and JSON.

#include <cstddef>
#include <string_view>

namespace lotgrid {

// The code point at text[i], with i moved past the second half of a surrogate
// pair; an unpaired surrogate reads as U+FFFD.
inline char32_t codePointAt(std::u16string_view text, std::size_t &i)
{
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
        c = 0xFFFD;
    }
    return c;
}

} // namespace lotgrid
