#pragma once
// A tool of lotgrid-mcp: its name, what it does, the JSON schemas of its
// arguments and of its structured result, and the function that runs it. The
// server checks the arguments against the input schema before the call, so a
// tool reads them without checking their types again.

#include <nlohmann/json.hpp>

#include <functional>
#include <string>

namespace lotgrid::mcp {

using Json = nlohmann::ordered_json; // keeps keys in the order written

// A call's outcome: the structured result and its text, or a tool error whose
// text is one sentence saying what is wrong with the request.
struct ToolResult {
    Json structured; // an object; null with an error
    std::string text;
    bool isError = false;
    // The structured result already written as JSON text by the tool, which
    // then stands for `structured`: the chart's JSON goes into the answer as
    // its writer wrote it, never built as a value and written out again.
    std::string structuredJson = {};

    static ToolResult error(std::string sentence) { return {nullptr, std::move(sentence), true, {}}; }
};

struct Tool {
    std::string name;
    std::string title;
    std::string description;
    Json inputSchema;  // an object schema of the arguments
    Json outputSchema; // an object schema of ToolResult::structured
    std::function<ToolResult(const Json &arguments)> call;
};

} // namespace lotgrid::mcp
