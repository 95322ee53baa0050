// qnutil commands of the text helpers: escape, unescape, nextname, script.
#include "Command.h"

#include <QNUtility.h>
#include <afx/atlbase.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <vector>

namespace {

using qnutil::Fail;
using qnutil::Out;

struct FlagName {
    const wchar_t* name;
    eQNEscapeOperations flag;
};

constexpr FlagName kFlags[] = {
    {L"Apostrophe", eEscApostrophe}, {L"Quote", eEscQuote},   {L"Backslash", eEscBackslash},
    {L"NewLine", eEscNewLine},       {L"Return", eEscReturn}, {L"Tab", eEscTab},
    {L"Control", eEscControl},       {L"Octal", eEscOctal},   {L"Hex", eEscHex},
    {L"Unicode", eEscUnicode},       {L"OtherAsUnicode", eEscOtherAsUnicode},
    {L"LFToCRLF", eEscLFToCRLF},     {L"DropCR", eEscDropCR},
};

bool SameNoCase(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return i == a.size() && !b[i];
}

// "Quote,NewLine" (names with or without the eEsc prefix, any case, or a
// number such as 0x0408) to a set of flags. False at an unknown name.
bool ParseFlags(const std::wstring& list, eQNEscapeOperations* ops, std::wstring* bad)
{
    unsigned value = 0;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L',', start);
        if (end == std::wstring::npos)
            end = list.size();
        std::wstring name = list.substr(start, end - start);
        if (name.size() > 4 && SameNoCase(name.substr(0, 4), L"eEsc"))
            name = name.substr(4);
        bool known = false;
        for (const FlagName& f : kFlags) {
            if (SameNoCase(name, f.name)) {
                value |= f.flag;
                known = true;
            }
        }
        if (!known && !name.empty()) {
            wchar_t* rest = nullptr;
            const unsigned long number = std::wcstoul(name.c_str(), &rest, 0);
            known = rest && *rest == 0 && number <= 0x1FFF;
            value |= static_cast<unsigned>(number);
        }
        if (!known) {
            *bad = name;
            return false;
        }
        start = end + 1;
    }
    *ops = static_cast<eQNEscapeOperations>(value);
    return true;
}

std::wstring ResultText(HRESULT hr) { return L"result 0x" + qnutil::Hex(static_cast<unsigned long>(hr), 8); }

// escape/unescape --ops LIST TEXT
int RunEscaping(const wchar_t* command, std::span<const std::wstring> args, bool escape)
{
    if (args.size() != 3 || args[0] != L"--ops")
        return qnutil::Usage(command);
    eQNEscapeOperations ops{};
    std::wstring bad;
    if (!ParseFlags(args[1], &ops, &bad))
        return Fail(command, L"unknown operation '" + bad + L"'", 2);
    CComBSTR out;
    HRESULT hr;
    if (escape) {
        hr = CQNUtility::EscapeText(args[2].c_str(), ops, &out);
    } else {
        CComBSTR in(static_cast<int>(args[2].size()), args[2].data());
        hr = CQNUtility::UnescapeText(in, ops, &out);
    }
    if (hr != S_OK)
        return Fail(command, ResultText(hr));
    Out(std::wstring(out, out.Length()) + L"\n");
    return 0;
}

int RunEscape(std::span<const std::wstring> args) { return RunEscaping(L"escape", args, true); }
int RunUnescape(std::span<const std::wstring> args) { return RunEscaping(L"unescape", args, false); }

bool ParseInt(const std::wstring& text, int* value)
{
    wchar_t* rest = nullptr;
    errno = 0;
    const long parsed = std::wcstol(text.c_str(), &rest, 10);
    if (text.empty() || !rest || *rest || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

// nextname NAME [--step N] [--max N] [--count K]
int RunNextName(std::span<const std::wstring> args)
{
    if (args.empty())
        return qnutil::Usage(L"nextname");
    int step = 1;
    int maxLength = 32;
    int count = 1;
    for (size_t i = 1; i < args.size(); i += 2) {
        int* target = args[i] == L"--step" ? &step : args[i] == L"--max" ? &maxLength : args[i] == L"--count" ? &count
                                                                                                                : nullptr;
        if (!target || i + 1 >= args.size())
            return qnutil::Usage(L"nextname");
        if (!ParseInt(args[i + 1], target))
            return Fail(L"nextname", L"'" + args[i + 1] + L"' is not a number", 2);
    }
    if (count < 1)
        return Fail(L"nextname", L"--count must be at least 1", 2);
    CString name = args[0].c_str();
    const HRESULT hr = CQNUtility::MakeNextSequenceName(name, step, maxLength);
    if (FAILED(hr))
        return Fail(L"nextname", ResultText(hr));
    std::wstring text = std::wstring(static_cast<LPCWSTR>(name)) + L"\n";
    for (int i = 1; i < count; ++i) {
        CQNUtility::MakeNextSequenceName(name);
        text += std::wstring(static_cast<LPCWSTR>(name)) + L"\n";
    }
    Out(text);
    return 0;
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// A script file as UTF-16: UTF-16LE with its byte order mark, else UTF-8
// (with or without one).
bool ReadScript(const std::wstring& path, CString* script)
{
    std::unique_ptr<FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
    if (!file)
        return false;
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    if (std::ferror(file.get()) || bytes.size() > size_t(INT_MAX))
        return false;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        *script = CString(reinterpret_cast<LPCWSTR>(bytes.data() + 2), static_cast<int>((bytes.size() - 2) / 2));
        return true;
    }
    size_t skip = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    const char* utf8 = reinterpret_cast<const char*>(bytes.data() + skip);
    const int length = static_cast<int>(bytes.size() - skip);
    if (length == 0) {
        script->Empty();
        return true;
    }
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8, length, nullptr, 0);
    if (wide <= 0)
        return false;
    LPWSTR buffer = script->GetBuffer(wide);
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, length, buffer, wide);
    script->ReleaseBuffer(wide);
    return true;
}

// script replace FIND REPLACEMENT FILE
int RunScript(std::span<const std::wstring> args)
{
    if (args.size() != 4 || args[0] != L"replace")
        return qnutil::Usage(L"script");
    if (args[1].empty())
        return Fail(L"script", L"the text to find is empty", 2);
    CString script;
    if (!ReadScript(args[3], &script))
        return Fail(L"script", args[3] + L": cannot read");
    const int count = CQNUtility::ReplaceSkipStringAndComment(script, args[1].c_str(), args[2].c_str(), 0);
    Out(std::wstring(static_cast<LPCWSTR>(script), static_cast<size_t>(script.GetLength())));
    qnutil::Err(std::to_wstring(count) + (count == 1 ? L" replacement\n" : L" replacements\n"));
    return 0;
}

const qnutil::Registration escape{L"escape", L"--ops LIST TEXT",
                                  L"TEXT with backslash escapes (LIST: Quote,NewLine,... or a number)", RunEscape};
const qnutil::Registration unescape{L"unescape", L"--ops LIST TEXT", L"TEXT with the escapes of LIST read back",
                                    RunUnescape};
const qnutil::Registration nextname{L"nextname", L"NAME [--step N] [--max N] [--count K]",
                                    L"the next K names of the numbered sequence after NAME", RunNextName};
const qnutil::Registration script{L"script", L"replace FIND REPLACEMENT FILE",
                                  L"FILE with FIND replaced outside literals and comments (count on stderr)",
                                  RunScript};

} // namespace
