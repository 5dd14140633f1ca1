// lotgrid-mcp: see mcp/mcpserver.h. Reads one message per line from standard
// input and writes each answer as one line on standard output, flushed at
// once; anything else it has to say goes to standard error.
#include "core/version.h"
#include "journal/journal.h"
#include "mcp/mcpserver.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr std::string_view Help = R"(Usage: lotgrid-mcp [--journal PATH] [--allow-write]

A Model Context Protocol server on standard input and output (JSON-RPC 2.0,
one message per line) with the tools chart, cast_by_time, cast_by_numbers,
journal_search, journal_case and journal_record_outcome. An MCP client starts
it; it stops at the end of its input.

  --journal PATH  the case journal to read; else the environment variable
                  LOTGRID_JOURNAL, else the program's own journal
                  (~/.local/share/lotgrid/journal.sqlite)
  --allow-write   let journal_record_outcome record outcomes of cases in the
                  journal; without it the journal is never written
  --help          print this help
  --version       print the version
)";

// A message longer than this is refused unread, so no input exhausts memory.
constexpr std::size_t LargestMessage = 4 * 1024 * 1024;

// Reads the next line into `line` without its line break; false at the end of
// the input. `tooLong` is set, and the line emptied, past LargestMessage. A
// line may hold any byte, a NUL too: it ends at its line break, and the parser
// refuses what is not JSON.
bool readLine(std::FILE *in, std::string &line, bool &tooLong)
{
    line.clear();
    tooLong = false;
    int c = std::getc(in);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::getc(in)) {
        if (tooLong)
            continue;
        line.push_back(static_cast<char>(c));
        if (line.size() > LargestMessage) {
            tooLong = true;
            line.clear();
        }
    }
    return true;
}

bool writeLine(const std::string &text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fputc('\n', stdout) != EOF
           && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);                   // Qt SQL loads its driver through it
    QCoreApplication::setApplicationName(u"lotgrid"_s); // the journal lives in the program's folder
    QCoreApplication::setApplicationVersion(QString::fromUtf8(lotgrid::Version));

    QString journal = qEnvironmentVariable("LOTGRID_JOURNAL");
    bool allowWrite = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(Help.data(), stdout);
            return 0;
        }
        if (a == "--version") {
            std::printf("lotgrid-mcp %.*s\n", int(lotgrid::Version.size()), lotgrid::Version.data());
            return 0;
        }
        if (a == "--allow-write") {
            allowWrite = true;
        } else if (a == "--journal" && i + 1 < argc) {
            journal = QString::fromLocal8Bit(argv[++i]);
        } else if (a.starts_with("--journal=")) {
            journal = QString::fromLocal8Bit(a.substr(10));
        } else {
            std::fprintf(stderr, "lotgrid-mcp: unknown argument \"%s\"; see --help\n", argv[i]);
            return 2;
        }
    }
    if (journal.isEmpty())
        journal = lotgrid::Journal::defaultPath();

    std::signal(SIGPIPE, SIG_IGN); // a closed client ends the server through a failed write
    using namespace lotgrid::mcp;
    McpServer server(lotgridTools(journal, allowWrite), std::string(lotgrid::Version));
    std::string line;
    bool tooLong = false;
    while (readLine(stdin, line, tooLong)) {
        const auto answer = tooLong ? errorResponse(nullptr, RpcError::Parse, "the message is longer than 4 MiB").dump()
                                    : server.reply(line);
        if (answer && !writeLine(*answer)) {
            std::fputs("lotgrid-mcp: standard output is closed\n", stderr);
            return 1;
        }
    }
    return 0;
}
