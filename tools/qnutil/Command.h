// qnutil: a console host of QNUtility.dll. Each subsystem registers its commands
// from its own cmd_<subsystem>.cpp:
//
//   static int RunCrc(std::span<const std::wstring> args);
//   static const qnutil::Registration crc{L"crc", L"FILE...", L"CRC-64 of each file", RunCrc};
//
// A command returns the process exit code: 0 on success, 1 when an input was
// bad (after a message on stderr), 2 for a usage error.
#pragma once

#include <QNPlatform.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qnutil {

using CommandFn = int (*)(std::span<const std::wstring> args);

struct Command {
    const wchar_t* name;
    const wchar_t* usage;   // the arguments, for the help text
    const wchar_t* summary; // one line
    CommandFn run;
};

// Registers a command at start-up; define one static instance per command.
struct Registration {
    Registration(const wchar_t* name, const wchar_t* usage, const wchar_t* summary, CommandFn run);
};

const std::vector<Command>& Commands();

// Console output in UTF-16, written as UTF-8 when redirected.
void Out(const std::wstring& text);
void Err(const std::wstring& text);
// "qnutil <name>: <message>" on stderr; returns `code`.
int Fail(const wchar_t* command, const std::wstring& message, int code = 1);
// Usage line of a command on stderr; returns 2.
int Usage(const wchar_t* command);

std::wstring Hex(unsigned long long value, int digits);

// A decimal number of plain digits within [low, high] (from_chars: no sign,
// no spaces); nullopt otherwise.
std::optional<int> DecimalIn(const std::wstring& text, int low, int high);

// The folder of qnutil.exe, with its trailing separator.
std::wstring ProgramFolder();

// COM for the calling thread (apartment-threaded) while in scope.
struct ComScope {
    HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComScope()
    {
        if (SUCCEEDED(hr))
            ::CoUninitialize();
    }
    ComScope() = default;
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

// A loaded module, freed when the owner goes.
class OwnedModule {
public:
    explicit OwnedModule(HMODULE module) : m_module(module) {}
    ~OwnedModule()
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    OwnedModule(const OwnedModule&) = delete;
    OwnedModule& operator=(const OwnedModule&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

} // namespace qnutil
