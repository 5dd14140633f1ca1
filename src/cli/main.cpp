// lotgrid-chart: see cli/chartcli.h.
#include "cli/chartcli.h"
#include "cli/console.h"

#ifdef _WIN32
int wmain(int argc, wchar_t **argv)
#else
int main(int argc, char **argv)
#endif
{
    const std::vector<std::string> utf8 = lotgrid::cli::utf8Arguments(argc, argv);
    const std::vector<std::string_view> args(utf8.begin(), utf8.end());
    const lotgrid::cli::CliResult r = lotgrid::cli::runChartCli(args);
    if (!r.err.empty())
        lotgrid::cli::writeUtf8(stderr, r.err);
    if (!r.out.empty() && !lotgrid::cli::writeUtf8(stdout, r.out)) {
        lotgrid::cli::writeUtf8(stderr, "lotgrid-chart: could not write the chart to standard output\n");
        return 1;
    }
    return r.status;
}
