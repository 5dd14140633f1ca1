#pragma once
// Arguments as the command line's messages echo them. An argument comes from
// anywhere (a script, a paste, a file name) and goes to a terminal, so what is
// echoed is kept to one short line of valid UTF-8 that cannot steer the
// terminal: control characters are escaped, a byte that is not part of a
// valid UTF-8 character is shown as \xHH, and a long argument is cut.

#include <string>
#include <string_view>
#include <vector>

namespace lotgrid::cli {

// The characters of `s`: each a whole UTF-8 sequence (no overlong forms, no
// surrogates, nothing past U+10FFFF) or a single byte that starts none.
std::vector<std::string_view> utf8Characters(std::string_view s);

// Whether `s` is well-formed UTF-8: whole sequences only, as utf8Characters reads them.
bool wellFormedUtf8(std::string_view s);

// At most `limit` characters of `s` in double quotes, with "…" before the
// closing quote when more follow. Escaped: \" and \\, \n \r \t, the other C0
// and C1 controls and DEL as \xHH or \u{HHHH}, and the characters that reorder
// or break a line of text (U+2028, U+2029, the bidirectional controls).
std::string quoted(std::string_view s, std::size_t limit = 40);

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string toUtf16(std::string_view s);

} // namespace lotgrid::cli
