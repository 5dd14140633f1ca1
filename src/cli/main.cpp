// lotgrid-chart: see cli/chartcli.h.
#include "cli/chartcli.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const lotgrid::cli::CliResult r = lotgrid::cli::runChartCli(args);
    if (!r.err.empty())
        std::fputs(r.err.c_str(), stderr);
    if (!r.out.empty()) {
        const bool written = std::fwrite(r.out.data(), 1, r.out.size(), stdout) == r.out.size();
        if (std::fflush(stdout) != 0 || !written) {
            std::fputs("lotgrid-chart: could not write the chart to standard output\n", stderr);
            return 1;
        }
    }
    return r.status;
}
