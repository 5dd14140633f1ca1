// The chart written out, without windows: one chart's text and JSON in
// microseconds (target: a few µs), and the start of the lotgrid-chart process
// against /bin/true, both spawned and waited for N times.
#include "chart/charttext.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lotgrid;

extern char **environ;

namespace {

template<typename F>
double microsecondsPerCall(int calls, F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f(i);
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

// Milliseconds per run of `argv`, its output thrown away; negative when it cannot run.
double millisecondsPerRun(int runs, char *const argv[])
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid
            || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return -1;
        }
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    posix_spawn_file_actions_destroy(&actions);
    return spent.count() / runs;
}

} // namespace

int main()
{
    // 雷泽归妹 to 雷水解 at 2000-01-01 12:00: spirits, 旬空, hidden spirit, marks and 神煞 all present.
    CastInput in;
    const char *lines = "978788";
    for (int n = 1; n <= 6; ++n)
        in.line(n)
            = {lines[n - 1] == '7' || lines[n - 1] == '9' ? u'1' : u'0', lines[n - 1] == '6' || lines[n - 1] == '9'};
    in.moment = Moment{{2000, 1, 1}, 12, 0};
    in.dayStem = 4;
    in.dayBuild = Branch::Wu;
    in.monthBuild = Branch::Zi;
    const Chart chart = chartOf(in);

    constexpr int Calls = 200'000;
    std::size_t checksum = 0;
    const double chartUs = microsecondsPerCall(Calls, [&](int) { checksum += chartOf(in).analysis.shenSha.size(); });
    const double textUs = microsecondsPerCall(Calls, [&](int) { checksum += chartText(chart).size(); });
    const double jsonUs = microsecondsPerCall(Calls, [&](int) { checksum += chartJson(chart).size(); });
    const double allUs = microsecondsPerCall(Calls, [&](int) {
        const Chart c = chartOf(in);
        checksum += toUtf8(chartText(c)).size() + chartJson(c).size();
    });

    constexpr int Runs = 300;
    char chartExe[] = LOTGRID_CHART_EXE;
    char linesArg[] = "978788";
    char timeOpt[] = "--time";
    char timeArg[] = "2000-01-01 12:00";
    char jsonOpt[] = "--json";
    char trueExe[] = "/bin/true";
    char *const chartArgv[] = {chartExe, linesArg, timeOpt, timeArg, jsonOpt, nullptr};
    char *const trueArgv[] = {trueExe, nullptr};
    const double trueMs = millisecondsPerRun(Runs, trueArgv);
    const double chartMs = millisecondsPerRun(Runs, chartArgv);

    std::printf("chartOf:                          %.3f us\n", chartUs);
    std::printf("chart text:                       %.3f us\n", textUs);
    std::printf("chart JSON:                       %.3f us (target: at most 10 us)\n", jsonUs);
    std::printf("chartOf + text (UTF-8) + JSON:    %.3f us\n", allUs);
    std::printf("process start, /bin/true:         %.3f ms\n", trueMs);
    std::printf("process start, lotgrid-chart --json: %.3f ms, %.2fx /bin/true (target: at most 1.3x)\n", chartMs,
                chartMs / trueMs);
    std::printf("(checksum %zu)\n", checksum);
    return trueMs < 0 || chartMs < 0 ? 1 : 0;
}
