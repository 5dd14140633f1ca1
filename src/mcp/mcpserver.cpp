#include "mcp/mcpserver.h"

#include "cli/quote.h"
#include "mcp/charttools.h"
#include "mcp/journaltools.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <exception>

namespace lotgrid::mcp {

namespace {

// A failed request: the code and the message of its error response.
struct RequestError {
    RpcError code;
    std::string message;
};

// No message of the protocol nests deeper: a deeper one is refused before it is parsed.
constexpr int DeepestMessage = 64;

// Whether the arrays and objects of `text` nest deeper than `limit`, what
// strings hold aside.
bool nestsDeeper(std::string_view text, int limit)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

// The characters of UTF-8 text: its bytes that do not continue a sequence.
std::size_t characters(const std::string &text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string quoted(const std::string &s)
{
    return "\"" + s + "\"";
}

bool hasType(const Json &value, const std::string &type)
{
    if (type == "object")
        return value.is_object();
    if (type == "array")
        return value.is_array();
    if (type == "string")
        return value.is_string();
    if (type == "integer")
        return value.is_number_integer();
    if (type == "boolean")
        return value.is_boolean();
    if (type == "null")
        return value.is_null();
    return false;
}

// The member `key` of `object`, an empty object when it has none.
const Json &member(const Json &object, const char *key)
{
    static const Json none = Json::object();
    const auto it = object.find(key);
    return it != object.end() ? *it : none;
}

std::string dump(const Json &value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// `text` as a JSON string, appended to `out` as dump() writes it: UTF-8 as it
// stands, quotes, backslashes and control characters escaped. Text that is not
// well-formed UTF-8 is left to dump(), which replaces what it cannot read.
void appendJsonText(std::string &out, const std::string &text)
{
    if (!cli::wellFormedUtf8(text)) {
        out += dump(text);
        return;
    }
    constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, from, i - from);
        from = i + 1;
        out += '\\';
        switch (c) {
        case '"':
        case '\\':
            out += static_cast<char>(c);
            break;
        case '\b':
            out += 'b';
            break;
        case '\t':
            out += 't';
            break;
        case '\n':
            out += 'n';
            break;
        case '\f':
            out += 'f';
            break;
        case '\r':
            out += 'r';
            break;
        default:
            out += "u00";
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
        }
    }
    out.append(text, from);
    out += '"';
}

// The result of tools/call as JSON text appended to `out`: its content (one
// text), isError and, without an error, the structured content.
void appendToolResultJson(std::string &out, const ToolResult &r)
{
    out += R"({"content":[{"type":"text","text":)";
    appendJsonText(out, r.text);
    out += r.isError ? R"(}],"isError":true)" : R"(}],"isError":false,"structuredContent":)";
    if (!r.isError)
        out += r.structuredJson.empty() ? dump(r.structured) : r.structuredJson;
    out += '}';
}

} // namespace

Json errorResponse(const Json &id, RpcError code, const std::string &message)
{
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", static_cast<int>(code)}, {"message", message}}}};
}

std::optional<std::string> schemaProblem(const Json &schema, const Json &value, const std::string &name)
{
    if (const auto type = schema.find("type");
        type != schema.end() && type->is_string() && !hasType(value, type->get<std::string>()))
        return name + " must be of type " + type->get<std::string>();
    if (const auto choices = schema.find("enum");
        choices != schema.end() && std::find(choices->begin(), choices->end(), value) == choices->end())
        return name + " must be one of " + choices->dump();
    if (value.is_number_integer()) {
        // An unsigned number past the signed range compares as a negative one: refused as out of range.
        if (value.is_number_unsigned() && value.get<std::uint64_t>() > std::uint64_t(INT64_MAX))
            return name + " is out of range";
        const std::int64_t n = value.get<std::int64_t>();
        if (const auto least = schema.find("minimum"); least != schema.end() && n < least->get<std::int64_t>())
            return name + " must be at least " + least->dump();
        if (const auto most = schema.find("maximum"); most != schema.end() && n > most->get<std::int64_t>())
            return name + " must be at most " + most->dump();
    }
    if (const auto longest = schema.find("maxLength");
        value.is_string() && longest != schema.end()
        && characters(value.get_ref<const std::string &>()) > longest->get<std::size_t>())
        return name + " must be at most " + longest->dump() + " characters long";
    if (value.is_object()) {
        const Json &properties = member(schema, "properties");
        for (const auto &[key, argument] : value.items()) {
            const auto property = properties.find(key);
            if (property == properties.end() && schema.value("additionalProperties", true) == false)
                return "unknown argument " + quoted(key);
            if (property != properties.end())
                if (auto problem = schemaProblem(*property, argument, quoted(key)))
                    return problem;
        }
        for (const Json &key : schema.value("required", Json::array()))
            if (!value.contains(key.get<std::string>()))
                return "missing argument " + quoted(key.get<std::string>());
    }
    return std::nullopt;
}

McpServer::McpServer(std::vector<Tool> tools, std::string version)
    : m_tools(std::move(tools))
    , m_version(std::move(version))
    , m_toolList({{"tools", Json::array()}})
{
    for (const Tool &t : m_tools)
        m_toolList["tools"].push_back({{"name", t.name},
                                       {"title", t.title},
                                       {"description", t.description},
                                       {"inputSchema", t.inputSchema},
                                       {"outputSchema", t.outputSchema}});
}

std::optional<std::string> McpServer::reply(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    if (line.empty())
        return std::nullopt;
    if (nestsDeeper(line, DeepestMessage))
        return errorResponse(nullptr, RpcError::Parse,
                             "the message nests deeper than " + std::to_string(DeepestMessage) + " levels")
            .dump();
    const Json message = Json::parse(line, nullptr, false);
    std::string text = message.is_discarded() ? dump(errorResponse(nullptr, RpcError::Parse, "the message is not JSON"))
                                              : answer(message);
    if (text.empty())
        return std::nullopt;
    return text;
}

Json McpServer::handle(const Json &message)
{
    const std::string text = answer(message);
    return text.empty() ? Json() : Json::parse(text);
}

std::string McpServer::answer(const Json &message)
{
    if (!message.is_object())
        return dump(errorResponse(nullptr, RpcError::InvalidRequest, "a message must be one JSON object"));
    const auto id = message.find("id");
    const auto method = message.find("method");
    if (id != message.end() && !id->is_string() && !id->is_number_integer())
        return dump(errorResponse(nullptr, RpcError::InvalidRequest, "a request's id must be a string or an integer"));
    if (method == message.end() && (message.contains("result") || message.contains("error")))
        return {}; // a response; the server sends no requests, so none is awaited
    if (id == message.end())
        return {}; // a notification, answered by nobody
    const auto version = message.find("jsonrpc");
    if (version == message.end() || *version != "2.0" || method == message.end() || !method->is_string())
        return dump(errorResponse(*id, RpcError::InvalidRequest, "a request needs \"jsonrpc\": \"2.0\" and a method"));
    const Json &params = member(message, "params");
    if (!params.is_object())
        return dump(errorResponse(*id, RpcError::InvalidParams, "params must be an object"));
    try {
        const std::string &name = method->get_ref<const std::string &>();
        // The result is written as text, after the members every response has.
        std::string out = R"({"jsonrpc":"2.0","id":)" + dump(*id) + R"(,"result":)";
        if (name == "tools/call") {
            const ToolResult result = callTool(params);
            // Room for the whole answer and the line break after it: written once, never moved.
            out.reserve(out.size() + result.text.size() * 5 / 4 + result.structuredJson.size() + 96);
            appendToolResultJson(out, result);
        } else {
            out += dump(dispatch(name, params));
        }
        out += '}';
        return out;
    } catch (const RequestError &e) {
        return dump(errorResponse(*id, e.code, e.message));
    } catch (const std::exception &e) {
        return dump(errorResponse(*id, RpcError::Internal, e.what()));
    }
}

Json McpServer::dispatch(const std::string &method, const Json &params)
{
    if (method == "initialize") {
        if (params.contains("protocolVersion") && !params["protocolVersion"].is_string())
            throw RequestError{RpcError::InvalidParams, "protocolVersion must be a string"};
        // The one version this server speaks; a client that cannot will disconnect.
        return {{"protocolVersion", ProtocolVersion},
                {"capabilities", {{"tools", {{"listChanged", false}}}}},
                {"serverInfo", {{"name", "lotgrid"}, {"title", "Lotgrid 六爻"}, {"version", m_version}}},
                {"instructions", "Six-line (六爻) charts from a cast, the time or two numbers, and the user's "
                                 "Lotgrid case journal, which is only read."}};
    }
    if (method == "ping")
        return Json::object();
    if (method == "tools/list")
        return m_toolList;
    throw RequestError{RpcError::MethodNotFound, "method not found: " + method};
}

ToolResult McpServer::callTool(const Json &params)
{
    const auto name = params.find("name");
    if (name == params.end() || !name->is_string())
        throw RequestError{RpcError::InvalidParams, "tools/call needs the tool's name"};
    const auto tool = std::find_if(m_tools.begin(), m_tools.end(), [&](const Tool &t) { return t.name == *name; });
    if (tool == m_tools.end())
        throw RequestError{RpcError::InvalidParams, "unknown tool " + quoted(name->get<std::string>())};
    const Json &arguments = member(params, "arguments");
    if (auto problem = schemaProblem(tool->inputSchema, arguments, "arguments"))
        throw RequestError{RpcError::InvalidParams, tool->name + ": " + *problem};
    return tool->call(arguments);
}

std::vector<Tool> lotgridTools(const QString &journalPath, bool allowWrite)
{
    std::vector<Tool> tools = chartTools();
    for (Tool &t : journalTools(journalPath, allowWrite))
        tools.push_back(std::move(t));
    return tools;
}

} // namespace lotgrid::mcp
