// lotgrid-mcp as a client meets it, through its pipes: the round trip of one
// `chart` tool call in a running server against /bin/cat echoing a line of the
// answer's size through the same pipes (target: at most 12 times), and the server's
// start, from the spawn to its answer to `initialize`, against /bin/true. The
// same call answered in this process shows what the pipes and the scheduler add,
// and the chart's JSON read back as a value the share of that step.
#include "chart/charttext.h"
#include "cli/chartcli.h"
#include "mcp/charttools.h"
#include "mcp/mcpserver.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr std::string_view Initialize = R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":)"
                                        R"({"protocolVersion":"2025-06-18","capabilities":{},)"
                                        R"("clientInfo":{"name":"bench","version":"1"}}})"
                                        "\n";
// 雷泽归妹 to 雷水解 at 2000-01-01 12:00: spirits, 旬空, hidden spirit, marks and 神煞 all present.
constexpr std::string_view ChartCall = R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"chart",)"
                                       R"("arguments":{"lines":"978788","time":"2000-01-01 12:00"}}})"
                                       "\n";

using Clock = std::chrono::steady_clock;

class Server
{
public:
    bool start(char *const argv[])
    {
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const bool spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        m_to = in[1];
        m_from = out[0];
        return spawned;
    }

    // Sends one line and reads one answer line; its length, or 0 on failure.
    std::size_t roundTrip(std::string_view request)
    {
        if (write(m_to, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            return 0;
        std::size_t length = 0;
        for (;;) {
            const std::size_t end = m_buffer.find('\n');
            if (end != std::string::npos) {
                length = end + 1;
                m_buffer.erase(0, length);
                return length;
            }
            char chunk[65536];
            const ssize_t n = read(m_from, chunk, sizeof chunk);
            if (n <= 0)
                return 0;
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // The processor time the process has spent so far, in microseconds (from
    // /proc: a busy machine stretches the time on the clock, not this).
    double cpuUs() const
    {
        std::FILE *stat = std::fopen(("/proc/" + std::to_string(m_pid) + "/stat").c_str(), "r");
        if (!stat)
            return 0;
        char line[1024] = {};
        const bool read = std::fgets(line, sizeof line, stat) != nullptr;
        std::fclose(stat);
        const char *after = read ? std::strrchr(line, ')') : nullptr; // the name may hold spaces
        unsigned long user = 0, system = 0;
        if (!after
            || std::sscanf(after + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
            return 0;
        return static_cast<double>(user + system) * 1e6 / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

    bool stop()
    {
        close(m_to);
        close(m_from);
        int status = 0;
        return waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t m_pid = 0;
    int m_to = -1;
    int m_from = -1;
    std::string m_buffer;
};

double millisecondsSince(Clock::time_point start, int runs)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

} // namespace

int main()
{
    char mcpExe[] = LOTGRID_MCP_EXE;
    char journalOpt[] = "--journal";
    char journalArg[] = "/nonexistent/journal.sqlite";
    char *const mcpArgv[] = {mcpExe, journalOpt, journalArg, nullptr};
    char trueExe[] = "/bin/true";
    char *const trueArgv[] = {trueExe, nullptr};

    constexpr int Starts = 100;
    auto start = Clock::now();
    for (int i = 0; i < Starts; ++i) {
        Server s;
        if (!s.start(trueArgv) || !s.stop())
            return 1;
    }
    const double trueMs = millisecondsSince(start, Starts);
    start = Clock::now();
    for (int i = 0; i < Starts; ++i) {
        Server s;
        if (!s.start(mcpArgv) || s.roundTrip(Initialize) == 0 || !s.stop())
            return 1;
    }
    const double startMs = millisecondsSince(start, Starts);

    lotgrid::mcp::McpServer inProcess(lotgrid::mcp::lotgridTools(QString::fromLatin1(journalArg)), "bench");
    constexpr int Replies = 20'000;
    std::size_t replied = 0;
    start = Clock::now();
    for (int i = 0; i < Replies; ++i)
        replied += inProcess.reply(ChartCall)->size();
    const double replyUs = millisecondsSince(start, Replies) * 1000;

    std::string error;
    lotgrid::CastInput input;
    input.lines = *lotgrid::cli::parseLines("978788", error);
    lotgrid::cli::setMoment(input, *lotgrid::cli::parseTime("2000-01-01 12:00", error));
    const lotgrid::Chart chart = lotgrid::chartOf(input);
    std::size_t checksum = 0;
    start = Clock::now();
    for (int i = 0; i < Replies; ++i)
        checksum += lotgrid::mcp::chartValue(chart).size();
    const double valueUs = millisecondsSince(start, Replies) * 1000;
    start = Clock::now();
    for (int i = 0; i < Replies; ++i)
        checksum += lotgrid::chartJson(chart).size();
    const double jsonUs = millisecondsSince(start, Replies) * 1000;

    Server server;
    if (!server.start(mcpArgv) || server.roundTrip(Initialize) == 0)
        return 1;
    constexpr int Calls = 20'000;
    std::size_t bytes = 0;
    double cpu = server.cpuUs();
    start = Clock::now();
    for (int i = 0; i < Calls; ++i)
        bytes += server.roundTrip(ChartCall);
    const double callUs = millisecondsSince(start, Calls) * 1000;
    const double callCpuUs = (server.cpuUs() - cpu) / Calls;
    if (!server.stop() || bytes < Calls * 100u)
        return 1;

    // The floor: /bin/cat echoing a line of the answer's size through the same pipes.
    char catExe[] = "/bin/cat";
    char *const catArgv[] = {catExe, nullptr};
    std::string echoed(bytes / Calls - 1, 'x');
    echoed += '\n';
    Server cat;
    if (!cat.start(catArgv))
        return 1;
    cpu = cat.cpuUs();
    start = Clock::now();
    for (int i = 0; i < Calls; ++i)
        if (cat.roundTrip(echoed) != echoed.size())
            return 1;
    const double catUs = millisecondsSince(start, Calls) * 1000;
    const double catCpuUs = (cat.cpuUs() - cpu) / Calls;
    if (!cat.stop())
        return 1;

    std::printf("chart tool call, answered in process:   %.1f us (%zu bytes)\n", replyUs, replied / Replies);
    std::printf("  the chart's JSON as a value (parsed): %.1f us (its text alone %.1f us)\n", valueUs, jsonUs);
    std::printf("chart tool call, round trip:            %.1f us (%zu bytes per answer)\n", callUs, bytes / Calls);
    std::printf("/bin/cat echoing a line of that size:    %.1f us\n", catUs);
    std::printf("the call against the echo:              %.1fx (target: at most 12x)\n", callUs / catUs);
    std::printf("processor time per call: lotgrid-mcp %.1f us, /bin/cat %.1f us\n", callCpuUs, catCpuUs);
    std::printf("process start, /bin/true:               %.3f ms\n", trueMs);
    std::printf("lotgrid-mcp start to its initialize answer: %.3f ms\n", startMs);
    std::printf("(checksum %zu)\n", checksum);
    return 0;
}
