// The chart written out, without windows: one chart's text and JSON in
// microseconds (target: a few µs), and the start of the lotgrid-chart process
// against /bin/true, both spawned and waited for N times.
#include "chart/charttext.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lotgrid;

extern char **environ;

namespace {

// Microseconds of processor time this thread spent so far, which a busy
// machine does not stretch as it does the time on the clock.
double cpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

struct PerCall {
    double us = 0;    // on the clock
    double cpuUs = 0; // processor time
};

template<typename F>
PerCall microsecondsPerCall(int calls, F &&f)
{
    const double cpu = cpuMicroseconds();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f(i);
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return {spent.count() / calls, (cpuMicroseconds() - cpu) / calls};
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
    const PerCall chartUs = microsecondsPerCall(Calls, [&](int) { checksum += chartOf(in).analysis.shenSha.size(); });
    const PerCall textUs = microsecondsPerCall(Calls, [&](int) { checksum += chartText(chart).size(); });
    const PerCall jsonUs = microsecondsPerCall(Calls, [&](int) { checksum += chartJson(chart).size(); });
    const PerCall allUs = microsecondsPerCall(Calls, [&](int) {
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

    const auto print = [](const char *what, PerCall t, const char *target) {
        std::printf("%-33s %.3f us (processor time %.3f us)%s\n", what, t.us, t.cpuUs, target);
    };
    print("chartOf:", chartUs, "");
    print("chart text:", textUs, "");
    print("chart JSON:", jsonUs, " (target: at most 10 us)");
    print("chartOf + text (UTF-8) + JSON:", allUs, "");
    std::printf("process start, /bin/true:         %.3f ms\n", trueMs);
    std::printf("process start, lotgrid-chart --json: %.3f ms, %.2fx /bin/true (target: at most 1.3x)\n", chartMs,
                chartMs / trueMs);
    std::printf("(checksum %zu)\n", checksum);
    return trueMs < 0 || chartMs < 0 ? 1 : 0;
}
