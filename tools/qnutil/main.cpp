// qnutil: entry point, command table, help and console output.
#include "Command.h"

#include <QNUtility.h>

#include <cstdio>
#include <charconv>
#include <cwchar>

namespace qnutil {

namespace {
std::vector<Command>& Table()
{
    static std::vector<Command> table;
    return table;
}

void Write(FILE* stream, DWORD handleId, const std::wstring& text)
{
    HANDLE handle = ::GetStdHandle(handleId);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    if (text.empty())
        return;
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                            nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

int Help()
{
    std::wstring text = L"usage: qnutil COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& c : Commands()) {
        std::wstring line = L"  " + std::wstring(c.name) + L" " + c.usage;
        if (line.size() < 44)
            line.append(44 - line.size(), L' ');
        else
            line += L"\n" + std::wstring(44, L' ');
        text += line + c.summary + L"\n";
    }
    Out(text);
    return 0;
}
} // namespace

Registration::Registration(const wchar_t* name, const wchar_t* usage, const wchar_t* summary, CommandFn run)
{
    Table().push_back({name, usage, summary, run});
}

const std::vector<Command>& Commands() { return Table(); }

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void Out(const std::wstring& text) { Write(stdout, STD_OUTPUT_HANDLE, text); }

void Err(const std::wstring& text) { Write(stderr, STD_ERROR_HANDLE, text); }

int Fail(const wchar_t* command, const std::wstring& message, int code)
{
    Err(L"qnutil " + std::wstring(command) + L": " + message + L"\n");
    return code;
}

int Usage(const wchar_t* command)
{
    for (const Command& c : Commands()) {
        if (std::wcscmp(c.name, command) == 0) {
            Err(L"usage: qnutil " + std::wstring(c.name) + L" " + c.usage + L"\n");
            return 2;
        }
    }
    return 2;
}

std::optional<int> DecimalIn(const std::wstring& text, int low, int high)
{
    std::string ascii;
    for (wchar_t ch : text) {
        if (ch < L'0' || ch > L'9')
            return std::nullopt;
        ascii += static_cast<char>(ch);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ascii.empty() || error != std::errc() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::wstring Hex(unsigned long long value, int digits)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%0*llX", digits, value);
    return buffer;
}

} // namespace qnutil

int wmain(int argc, wchar_t** argv)
{
    using namespace qnutil;
    if (argc < 2 || std::wcscmp(argv[1], L"help") == 0 || std::wcscmp(argv[1], L"--help") == 0 ||
        std::wcscmp(argv[1], L"-h") == 0)
        return argc < 2 ? (Help(), 2) : Help();
    std::vector<std::wstring> args(argv + 2, argv + argc);
    for (const Command& c : Commands()) {
        if (std::wcscmp(c.name, argv[1]) == 0)
            return c.run(args);
    }
    Err(L"qnutil: unknown command '" + std::wstring(argv[1]) + L"' (try 'qnutil help')\n");
    return 2;
}
