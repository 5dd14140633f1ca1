#pragma once
// lotgrid-mcp: the engine and the case journal for assistants and scripts, as
// a Model Context Protocol server (protocol version 2025-06-18). Messages are
// JSON-RPC 2.0, one per line. The server answers initialize, ping, tools/list
// and tools/call; a notification gets no answer, any other method -32601.
//
// Errors come in two kinds. A message that is not JSON gets -32700, one that
// is not a request -32600, and a request whose parameters break the method's
// or the tool's schema -32602. A message nested deeper than any of the protocol
// (64 levels) gets -32700 without being parsed. A tool given a well-formed request it cannot
// serve (a bad cast, a time out of range, no such case, an unreadable
// journal) returns a result with isError and one sentence saying why.
//
// The server is a function of the messages it is given, so it runs without a
// process; main() feeds it the lines of standard input.

#include "mcp/tool.h"

#include <optional>
#include <string_view>
#include <vector>

class QString;

namespace lotgrid::mcp {

enum class RpcError : int {
    Parse = -32700,
    InvalidRequest = -32600,
    MethodNotFound = -32601,
    InvalidParams = -32602,
    Internal = -32603,
};

class McpServer
{
public:
    static constexpr std::string_view ProtocolVersion = "2025-06-18";

    McpServer(std::vector<Tool> tools, std::string version);

    // The answer to one line of input, a JSON text without a line break; none
    // for a notification, a response or a blank line.
    std::optional<std::string> reply(std::string_view line);

    // The answer to one parsed message; null when none is due.
    Json handle(const Json &message);

private:
    Json dispatch(const std::string &method, const Json &params);
    Json callTool(const Json &params);

    std::vector<Tool> m_tools;
    std::string m_version;
    Json m_toolList; // the result of tools/list
};

// An error response to the request `id` (null when it is not known).
Json errorResponse(const Json &id, RpcError code, const std::string &message);

// The tools of lotgrid-mcp, the journal's at `journalPath`; journal_record_outcome
// writes only with `allowWrite` (--allow-write).
std::vector<Tool> lotgridTools(const QString &journalPath, bool allowWrite = false);

// What is wrong with `value` against the JSON schema `schema`, or none. Knows
// the schemas the tools use: object (properties, required,
// additionalProperties), string (maxLength, in characters), integer (within
// 64 bits) and boolean, enum, minimum and maximum.
std::optional<std::string> schemaProblem(const Json &schema, const Json &value, const std::string &name);

} // namespace lotgrid::mcp
