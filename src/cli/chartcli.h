#pragma once
// lotgrid-chart: a chart from the command line, as the text the window copies
// or as JSON. The whole command is one function of its arguments so that tests
// run it without a process; main() only hands over argv and the two streams.

#include <span>
#include <string>
#include <string_view>

namespace lotgrid::cli {

// Exit statuses.
inline constexpr int ExitOk = 0;
inline constexpr int ExitBadInput = 2;

struct CliResult {
    int status = ExitOk;
    std::string out; // for stdout; empty on bad input
    std::string err; // for stderr: one line saying what is wrong, or empty
};

// Runs `lotgrid-chart` on its arguments (without the program name).
CliResult runChartCli(std::span<const std::string_view> args);

// The text --help prints.
std::string_view chartCliHelp();

} // namespace lotgrid::cli
