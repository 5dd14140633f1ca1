#include "cli/console.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#endif

namespace lotgrid::cli {

std::vector<std::string> utf8Arguments(int argc, char **argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return args;
}

#ifdef _WIN32

namespace {

// An unpaired surrogate, which Windows allows in a command line, becomes U+FFFD.
std::string toUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring toUtf16(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), units);
    return out;
}

// Writes to a console in pieces small enough for every version of WriteConsoleW,
// never splitting a surrogate pair.
bool writeConsole(HANDLE console, std::wstring_view text)
{
    constexpr std::size_t Piece = 8192;
    while (!text.empty()) {
        std::size_t n = std::min(Piece, text.size());
        if (n < text.size() && IS_HIGH_SURROGATE(text[n - 1]))
            --n;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(n), &written, nullptr) || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

} // namespace

std::vector<std::string> utf8Arguments(int argc, wchar_t **argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(toUtf8(argv[i]));
    return args;
}

bool writeUtf8(std::FILE *stream, std::string_view text)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        return writeConsole(handle, toUtf16(text));
    }
    _setmode(_fileno(stream), _O_BINARY);
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && written;
}

#else

bool writeUtf8(std::FILE *stream, std::string_view text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && written;
}

#endif

} // namespace lotgrid::cli
