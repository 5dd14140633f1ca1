#pragma once
// The command line's arguments and streams in UTF-8 on every system. On Linux
// they are UTF-8 already and pass unchanged. On Windows the arguments arrive in
// UTF-16 (wmain) and are converted, where main()'s would come in the ANSI code
// page with every other character lost or "best fitted" (a full-width ７ to 7);
// the streams are switched to binary, so that "\n" stays "\n" and a file or pipe
// gets the same bytes as on Linux, and a console is written in UTF-16 through
// the console itself, so that the text reads right whatever its code page.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace lotgrid::cli {

// argv[1..argc) as UTF-8 strings.
std::vector<std::string> utf8Arguments(int argc, char **argv);
#ifdef _WIN32
std::vector<std::string> utf8Arguments(int argc, wchar_t **argv);
#endif

// Writes UTF-8 text whole to stdout or stderr and flushes it; false when it
// could not.
bool writeUtf8(std::FILE *stream, std::string_view text);

} // namespace lotgrid::cli
